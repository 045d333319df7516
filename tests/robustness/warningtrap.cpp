#include "warningtrap.h"

#include <QStringList>

namespace {

QStringList caught;
QtMessageHandler chained = nullptr;

} // namespace

WarningTrap::WarningTrap()
{
    previous = qInstallMessageHandler(&WarningTrap::handle);
    chained = previous;
}

WarningTrap::~WarningTrap()
{
    qInstallMessageHandler(previous);
    chained = nullptr;
}

QString WarningTrap::take()
{
    const QString messages = caught.join(u'\n');
    caught.clear();
    return messages;
}

void WarningTrap::handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // What the headless platform says it cannot do for a window or a popup menu.
    const bool harmless = message.contains(u"does not support propagateSizeHints()")
        || message.contains(u"does not support raise()")
        || message.contains(u"does not support grabbing the keyboard");
    if (type != QtDebugMsg && type != QtInfoMsg && !harmless)
        caught.append(message);
    if (chained)
        chained(type, context, message);
}
