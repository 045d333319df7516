#include "guideshots.h"
#include "windowdriver.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

#include <cstdio>

namespace {

// The pictures show the program as its German-speaking users see it, drawn
// without a display and at plain scale, whatever the caller's environment.
void pinEnvironment()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "de_DE.UTF-8");
    qputenv("LANG", "de_DE.UTF-8");
    qputenv("LANGUAGE", "");
    qunsetenv("QT_SCALE_FACTOR");
}

} // namespace

int main(int argc, char **argv)
{
    pinEnvironment();
    QApplication application(argc, argv);
    // Keeps the user's own settings of the program out of the pictures and
    // untouched by them.
    QStandardPaths::setTestModeEnabled(true);

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: velmora_screenshots <folder for the pictures>\n");
        return 2;
    }
    const QDir folder(arguments.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "velmora_screenshots: cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    const bool written = writeGuidePictures(folder);
    clearProgramSettings();
    return written ? 0 : 1;
}
