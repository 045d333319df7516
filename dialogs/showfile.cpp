#include "dialogs/showfile.h"

#include "ui_showfile.h"

#include <QFile>
#include <QMessageBox>
#include <QStringList>
#include <QStringListModel>
#include <QTextStream>

namespace {

// One entry per line, without its terminator; blank lines stay as empty entries.
QStringList readLines(QFile &file)
{
    QStringList lines;
    QTextStream stream(&file);
    while (!stream.atEnd())
        lines.append(stream.readLine());
    return lines;
}

} // namespace

ShowFile::ShowFile(QWidget *parent, const QString &fileName)
    : QDialog(parent, Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
    , ui(new Ui::ShowFile)
    , model(new QStringListModel)
{
    QFile file(fileName);
    ui->setupUi(this);
    ui->LV_Textfile->setViewMode(QListView::ListMode);
    if (file.open(QIODevice::ReadOnly)) {
        model->setStringList(readLines(file));
        ui->LV_Textfile->setModel(model);
    } else {
        QMessageBox::information(nullptr, QStringLiteral("error"), file.errorString(),
                                 QMessageBox::Ok);
    }
}

ShowFile::~ShowFile()
{
    delete ui;
    // The view notices the model's destruction and falls back to an empty one.
    delete model;
}
