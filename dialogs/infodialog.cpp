#include "dialogs/infodialog.h"

#include "dialogs/showfile.h"

#include "ui_infodialog.h"

#include <QMessageBox>

InfoDialog::InfoDialog(QWidget *parent, const QString &text)
    : QDialog(parent)
    , ui(new Ui::InfoDialog)
{
    ui->setupUi(this);
    ui->LAB_InfoText->setText(text);
}

InfoDialog::~InfoDialog()
{
    delete ui;
}

void InfoDialog::on_PUB_QtInfoButton_clicked()
{
    QMessageBox::aboutQt(this, QStringLiteral("About Qt"));
}

void InfoDialog::on_PUB_LGPL_clicked()
{
    ShowFile viewer(nullptr, QStringLiteral(":/resource/resource/COPYING.LESSER"));
    viewer.exec();
}
