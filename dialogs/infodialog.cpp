#include "dialogs/infodialog.h"

InfoDialog::InfoDialog(QWidget *parent, const QString &text)
    : QDialog(parent)
    , ui(nullptr)
{
    Q_UNUSED(text)
}

InfoDialog::~InfoDialog() = default;

void InfoDialog::on_PUB_QtInfoButton_clicked() { }

void InfoDialog::on_PUB_LGPL_clicked() { }
