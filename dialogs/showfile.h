#pragma once

#include <QDialog>

class QStringListModel;

namespace Ui {
class ShowFile;
}

// A modal viewer that shows a text file line by line in a list view; the
// program uses it for the embedded LGPL text.
class ShowFile : public QDialog
{
    Q_OBJECT

public:
    ShowFile(QWidget *parent, const QString &fileName);
    ~ShowFile() override;

private:
    Ui::ShowFile *ui;
    QStringListModel *model;
};
