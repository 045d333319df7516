#include "dialogs/infotext.h"

QString programInfoText()
{
    return QStringLiteral("Velmora");
}
