#include "dialogs/showfile.h"

ShowFile::ShowFile(QWidget *parent, const QString &fileName)
    : QDialog(parent, Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
    , ui(nullptr)
    , model(nullptr)
{
    Q_UNUSED(fileName)
}

ShowFile::~ShowFile() = default;
