#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    // Links the program's windows to its menu entry, the desktop file of this name.
    QApplication::setDesktopFileName(QStringLiteral(VELMORA_DESKTOP_FILE_NAME));
    MainWindow window;
    window.show();
    return application.exec();
}
