#include "modaldriver.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

constexpr int pollIntervalMs = 5;
constexpr qint64 giveUpAfterMs = 20000;

} // namespace

void ModalDriver::addStep(const char *className, Action action)
{
    steps.append({QByteArray(className), std::move(action)});
}

void ModalDriver::chooseFromMenu(const QString &entry)
{
    addStep("QMenu", [entry](QWidget *menu) {
        // Down walks the enabled entries from the top; separators are passed over.
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions) {
            if (action->isSeparator() || !action->isEnabled())
                continue;
            QTest::keyClick(menu, Qt::Key_Down);
            if (action->text() == entry)
                break;
        }
        QTest::keyClick(menu, Qt::Key_Return);
        // An entry the menu does not have leaves it open; close it so that the
        // test fails on what it finds instead of hanging.
        if (menu->isVisible())
            menu->close();
    });
}

void ModalDriver::start()
{
    clock.start();
    schedulePoll();
}

void ModalDriver::schedulePoll()
{
    QTimer::singleShot(pollIntervalMs, this, &ModalDriver::poll);
}

bool ModalDriver::isNextWindow(const QWidget *modal) const
{
    return modal && modal != lastWindow && modal->isVisible()
        && modal->inherits(steps.at(done).className.constData());
}

void ModalDriver::poll()
{
    if (done == steps.size())
        return;
    QWidget *modal = QApplication::activePopupWidget();
    if (!modal)
        modal = QApplication::activeModalWidget();
    if (clock.hasExpired(giveUpAfterMs)) {
        stalled = true;
        if (modal)
            modal->close();
    } else if (isNextWindow(modal) && !modal->isActiveWindow()) {
        // The offscreen platform has no window manager to hand the activation
        // back to a dialog when the modal window above it closes.
        modal->activateWindow();
    } else if (isNextWindow(modal)) {
        lastWindow = modal;
        const Action action = steps.at(done++).action;
        schedulePoll();
        action(modal);
        return;
    }
    schedulePoll();
}
