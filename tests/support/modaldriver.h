#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

// Walks a test through nested modal windows and popup menus: each step waits
// until a window of its class is the active popup or modal window (and differs
// from the one the previous step acted on), then acts on it. It polls with fresh single-shot timers
// because an action may itself block in a nested exec(). If the walk stalls, it
// closes the modal windows so that the test fails instead of hanging.
class ModalDriver : public QObject
{
public:
    using Action = std::function<void(QWidget *)>;

    void addStep(const char *className, Action action);
    // A step that chooses the entry of a popup menu with the arrow keys and
    // Return; "Submenu/Entry" chooses an entry of a submenu.
    void chooseFromMenu(const QString &entry);
    void start();
    int stepsDone() const { return done; }
    bool gaveUp() const { return stalled; }

private:
    struct Step
    {
        QByteArray className;
        Action action;
    };

    void schedulePoll();
    void poll();
    bool isNextWindow(const QWidget *modal) const;

    QList<Step> steps;
    int done = 0;
    bool stalled = false;
    QPointer<QWidget> lastWindow;
    QElapsedTimer clock;
};
