#include "throwawaysettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

void useThrowAwaySettings()
{
    // A fresh folder for every test process: nothing stored by an earlier run,
    // or by another test running at the same time, can leak into this one.
    static const QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));
}
