#include "guideshots.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The pictures show the program as its German-speaking users see it, drawn
// without a display and at plain scale, whatever the caller's environment.
// The window keeps its settings in a folder of its own that goes with the
// generator, so the user's settings neither leak into the pictures nor change,
// and tests running at the same time cannot disturb it.
void pinEnvironment(const QTemporaryDir &settingsFolder)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settingsFolder.path()));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "de_DE.UTF-8");
    qputenv("LANG", "de_DE.UTF-8");
    qputenv("LANGUAGE", "");
    qunsetenv("QT_SCALE_FACTOR");
}

} // namespace

int main(int argc, char **argv)
{
    const QTemporaryDir settingsFolder;
    if (!settingsFolder.isValid()) {
        std::fprintf(stderr, "velmora_screenshots: cannot create a settings folder\n");
        return 1;
    }
    pinEnvironment(settingsFolder);
    QApplication application(argc, argv);

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
    return writeGuidePictures(folder) ? 0 : 1;
}
