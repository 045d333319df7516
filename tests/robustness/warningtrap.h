#pragma once

#include <QString>
#include <QtGlobal>

// Collects every warning, critical or fatal message the toolkit or the program
// prints while it is installed, so that a test can fail on it after each
// action. Messages still reach the previous handler. The offscreen platform's
// note that it cannot propagate size hints is harmless and let through.
class WarningTrap
{
public:
    WarningTrap();
    ~WarningTrap();
    WarningTrap(const WarningTrap &) = delete;
    WarningTrap &operator=(const WarningTrap &) = delete;

    // The messages caught since the last call, one a line; empty if none.
    QString take();

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message);

    QtMessageHandler previous = nullptr;
};
