#pragma once

#include "hostiletexts.h"
#include "loadchecker.h"

#include <QList>
#include <QPointF>
#include <QRandomGenerator>
#include <QString>
#include <Qt>

#include <optional>

class ModalDriver;
class WindowDriver;
class QGraphicsView;

// A random user of the main window: types random and hostile texts into the
// fields (finished with Return, Enter or Tab), pastes full-length texts,
// presses Return in unchanged fields, moves sliders with the keyboard and to
// random and extreme values, drags the marker inside, across and far outside
// the chart, freely and held to its circles with modifiers that change during
// the drag, presses the chart's keys, chooses from the chart's menu (also in
// the middle of a drag), sets tasks by number, some refused, and asks for
// hints, changes the SWR spin boxes, the cross-fade and Z0. Every action
// uses real key and mouse events where a user would, and the checker looks at
// the window after each one. The same seed gives the same actions, up to the
// numbers that "Neue Aufgabe" draws, which the actions' descriptions name.
class Monkey
{
public:
    Monkey(WindowDriver &panel, quint32 seed);

    // One random action, then the checks; an empty text if all is well.
    QString step();
    // A checked entry: the text typed into the field and Return pressed.
    QString enter(const QString &name, const QString &text);
    const UserAction &lastAction() const { return action; }
    LoadChecker &checker() { return loadChecker; }

private:
    void typeIntoField(const QString &name, const QString &text, bool paste);
    void finishEntry(const QString &name, int editsBefore);
    void typeRandomEntry();
    void typeZ0();
    void pressReturnUnchanged();
    void pressSliderKey();
    void setSliderValue();
    void dragMarker();
    void pressChartKey();
    void useChartMenu();
    void useExerciseMenu();
    bool openChartMenu(ModalDriver &menu, int steps);
    void changeSwr();
    void hoverChart();
    void crossFade();

    QString fieldText(const QString &name);
    QPointF randomViewportTarget(const QGraphicsView &view);
    std::optional<QPointF> landingAim(const QGraphicsView &view, Qt::KeyboardModifiers modifiers);
    void noteSliderMove(const QString &name, int valueBefore);

    WindowDriver &panel;
    QRandomGenerator random;
    LoadChecker loadChecker;
    UserAction action;
    QList<Hostile::Paste> pastes;
};
