#include "modaldriver.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <algorithm>

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
        // Down walks the enabled entries from the top, passing over separators;
        // an entry that is not there or disabled closes the menu unchosen.
        QList<QAction *> enabled = menu->actions();
        enabled.removeIf(
            [](const QAction *action) { return action->isSeparator() || !action->isEnabled(); });
        const auto found = std::find_if(enabled.cbegin(), enabled.cend(),
                                        [&entry](const QAction *a) { return a->text() == entry; });
        if (found == enabled.cend()) {
            QTest::keyClick(menu, Qt::Key_Escape);
            return;
        }
        for (auto walked = enabled.cbegin(); walked <= found; ++walked)
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
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
