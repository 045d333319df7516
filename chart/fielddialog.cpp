#include "chart/fielddialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

namespace FieldDialog {

QDialogButtonBox *okCancelButtons(QDialog &dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QCoreApplication::translate("QDialog", "OK"));
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(QCoreApplication::translate("QDialog", "Abbrechen"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

void showRefused(QLineEdit &field, const QString &reason)
{
    field.setStyleSheet(QStringLiteral("color: Red;"));
    field.setToolTip(reason);
    field.setAccessibleDescription(reason);
}

} // namespace FieldDialog
