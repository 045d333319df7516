#include "chart/exercisedialog.h"

#include "chart/fielddialog.h"
#include "electrics/exercise.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

ExerciseDialog::ExerciseDialog(QWidget *parent)
    : QDialog(parent)
    , field(new QLineEdit(this))
    , reason(new QLabel(this))
{
    setWindowTitle(tr("Aufgabe"));
    auto *prompt = new QLabel(tr("Nummer der Aufgabe (%1 bis %2):")
                                  .arg(Electrics::firstExerciseNumber)
                                  .arg(Electrics::lastExerciseNumber),
                              this);
    prompt->setBuddy(field);
    field->setObjectName(QStringLiteral("LED_AUFGABE"));
    field->setAccessibleName(tr("Nummer der Aufgabe"));
    reason->setStyleSheet(QStringLiteral("color: Red;"));
    reason->hide();
    QDialogButtonBox *buttons = FieldDialog::okCancelButtons(*this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(field);
    layout->addWidget(reason);
    layout->addWidget(buttons);
}

std::optional<QString> ExerciseDialog::refusal(const QString &text)
{
    const QLocale locale;
    bool whole = false;
    const int number = locale.toInt(text.trimmed(), &whole);
    if (!whole) {
        bool numeric = false;
        locale.toDouble(text.trimmed(), &numeric);
        return numeric ? tr("Keine ganze Zahl") : tr("Keine Zahl");
    }
    if (number < Electrics::firstExerciseNumber || number > Electrics::lastExerciseNumber)
        return tr("Nur Aufgaben %1 bis %2")
            .arg(Electrics::firstExerciseNumber)
            .arg(Electrics::lastExerciseNumber);
    return std::nullopt;
}

// Return in the field presses OK, the default button, and arrives here.
void ExerciseDialog::accept()
{
    if (const std::optional<QString> refused = refusal(field->text())) {
        FieldDialog::showRefused(*field, *refused);
        reason->setText(*refused);
        reason->show();
        return;
    }
    accepted = QLocale().toInt(field->text().trimmed());
    QDialog::accept();
}
