#include "chart/lineimpedancedialog.h"

#include "chart/fielddialog.h"
#include "electrics/conversions.h"
#include "electrics/formatting.h"
#include "electrics/valueparser.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace {

using namespace Qt::StringLiterals;

// Why the text was not taken, in the words of the window's own fields.
QString refusalReason(EntryRefusal cause, const QString &text)
{
    return Electrics::refusalReason(cause, text,
                                    u"die Leitungsimpedanz muss zwischen 0,1 Ω und 10 kΩ liegen"_s);
}

} // namespace

LineImpedanceDialog::LineImpedanceDialog(double startOhms, QWidget *parent)
    : QDialog(parent)
    , field(new QLineEdit(Electrics::formatNumber(startOhms, 1), this))
{
    setWindowTitle(tr("Leitungsimpedanz"));
    field->setObjectName(u"LED_ZLEITUNG"_s);
    field->setAccessibleName(tr("Leitungsimpedanz in Ω"));
    field->setToolTip(tr("Die Impedanz der Leitungen, die von nun an gezeichnet werden, "
                         "in Ω (0,1 Ω bis 10 kΩ)"));
    usualToolTip = field->toolTip();
    usualStyle = field->styleSheet();

    auto *layout = new QFormLayout(this);
    layout->addRow(tr("Z<sub>L</sub> (Ω):"), field);
    layout->addRow(FieldDialog::okCancelButtons(*this));
}

void LineImpedanceDialog::accept()
{
    ValueEntry entry;
    entry.text = field->text();
    entry.nonNegative = true;
    Electrics::parsePlainNumber(entry);
    if (!entry.error && !Electrics::isUsableReferenceImpedance(entry.value)) {
        entry.error = true;
        entry.cause = EntryRefusal::OutOfRange;
    }
    if (entry.error || entry.empty) {
        const QString reason = tr("Nicht übernommen: ")
            + refusalReason(entry.error ? entry.cause : EntryRefusal::NotANumber, field->text());
        FieldDialog::showRefused(*field, reason);
        return;
    }
    field->setStyleSheet(usualStyle);
    field->setToolTip(usualToolTip);
    field->setAccessibleDescription(QString());
    taken = entry.value;
    QDialog::accept();
}

std::optional<double> LineImpedanceDialog::ask(double startOhms, QWidget *parent)
{
    LineImpedanceDialog dialog(startOhms, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.impedance();
}
