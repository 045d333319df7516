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

namespace {

// Escape closes one menu at a time, a submenu before the menu it opened
// from; a deeper chain than this is never opened here.
void escapeMenus()
{
    constexpr int deepestChain = 8;
    for (int level = 0; level < deepestChain; ++level) {
        QWidget *popup = QApplication::activePopupWidget();
        if (!popup)
            return;
        QTest::keyClick(popup, Qt::Key_Escape);
    }
}

// Down walks the enabled entries from the top, passing over separators, up
// to the entry; an entry that is not there or disabled closes the menu, and
// every menu it was opened from, unchosen. "Submenu/Entry" opens the submenu
// with Right and goes on in it.
void chooseIn(QWidget *menu, const QString &entry)
{
    const QString first = entry.section(u'/', 0, 0);
    const QString rest = entry.section(u'/', 1);
    QList<QAction *> enabled = menu->actions();
    enabled.removeIf(
        [](const QAction *action) { return action->isSeparator() || !action->isEnabled(); });
    const auto found = std::find_if(enabled.cbegin(), enabled.cend(),
                                    [&first](const QAction *a) { return a->text() == first; });
    if (found == enabled.cend()) {
        escapeMenus();
        return;
    }
    auto *popup = qobject_cast<QMenu *>(menu);
    for (qsizetype walked = 0; walked < enabled.size() && popup->activeAction() != *found; ++walked)
        QTest::keyClick(menu, Qt::Key_Down);
    if (rest.isEmpty()) {
        QTest::keyClick(menu, Qt::Key_Return);
        return;
    }
    QTest::keyClick(menu, Qt::Key_Right);
    QWidget *submenu = QApplication::activePopupWidget();
    if (!submenu || submenu == menu) {
        escapeMenus();
        return;
    }
    chooseIn(submenu, rest);
}

} // namespace

void ModalDriver::chooseFromMenu(const QString &entry)
{
    addStep("QMenu", [entry](QWidget *menu) { chooseIn(menu, entry); });
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
