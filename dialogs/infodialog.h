#pragma once

#include <QDialog>

namespace Ui {
class InfoDialog;
}

// The program information dialog: name, version, build time, purpose and
// licence notice, with buttons for the LGPL text and the toolkit's About box.
// Built anew for every click on the main window's Info button.
class InfoDialog : public QDialog
{
    Q_OBJECT

public:
    InfoDialog(QWidget *parent, const QString &text);
    ~InfoDialog() override;

private slots:
    void on_PUB_QtInfoButton_clicked();
    void on_PUB_LGPL_clicked();

private:
    Ui::InfoDialog *ui;
};
