#include "dialogs/infotext.h"

#include <QLatin1String>
#include <QStringList>

QString versionText(int major, int minor)
{
    return QString::number(major) + u'.' + QStringLiteral("%1").arg(minor, 2, 10, QLatin1Char('0'));
}

QString programInfoText()
{
    // __DATE__ and __TIME__ are those of the compilation of this file: "Aug  9 2026", "11:52:15".
    const QStringList lines {
        QStringLiteral("Velmora - Version ")
            + versionText(VELMORA_VERSION_MAJOR, VELMORA_VERSION_MINOR)
            + QStringLiteral(", compiled on ") + QLatin1String(__DATE__) + QStringLiteral(", ")
            + QLatin1String(__TIME__),
        QString(),
        QStringLiteral("Purpose: Learn how a Smith-Chart works,"),
        QStringLiteral("blend between Smith Chart and reflection coefficent Gamma"),
        QString(),
        QStringLiteral("Velmora (C) 2025-2026 the Velmora developers"),
        QStringLiteral("This program is distributed in the hope that it will be useful,"),
        QStringLiteral("but WITHOUT ANY WARRANTY; without even the implied warranty of"),
        QStringLiteral("MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE."),
        QString(),
        QStringLiteral("Updates and bug reports: the Velmora project page and its issue tracker"),
    };
    return lines.join(u'\n');
}
