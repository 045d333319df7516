#pragma once

class QDialog;
class QDialogButtonBox;
class QLineEdit;
class QString;

// What the chart's small dialogs of one field share: their buttons, and how
// the field shows a text it cannot take.
namespace FieldDialog {

// "OK" and "Abbrechen", accepting and rejecting the dialog.
QDialogButtonBox *okCancelButtons(QDialog &dialog);
// The field turns red and carries the reason as its tooltip and its
// description for a screen reader.
void showRefused(QLineEdit &field, const QString &reason);

} // namespace FieldDialog
