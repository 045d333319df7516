// Marker drag: a real left-button drag across the chart, each mouse move followed
// by the repaint of the whole window, at the form's size and at full HD. Beside
// it, the same drag painting only what changed (as the event loop does), the
// arrow keys on the focused chart stepping the marker the same way, and what
// repainting costs when nothing has changed: the whole window and the chart's
// viewport alone, the floor under every figure that includes a repaint.

#include "bench/benchsupport.h"

#include "app/mainwindow.h"

#include <QApplication>
#include <QGraphicsView>
#include <QSize>
#include <QTest>

#include <cstdio>

namespace {

constexpr int movesPerLeg = 30;
constexpr int idleRepaints = 200;
constexpr int keyStepsPerLeg = 10;

// Times every move of a drag along the path; `timedMove` moves and paints.
template<typename TimedMove> QList<double> dragMoveTimes(MainWindow &window, TimedMove &&timedMove)
{
    const QList<QPointF> path = Bench::dragPath(Bench::chartView(window), movesPerLeg);
    QList<double> times;
    Bench::MarkerDrag drag(window);
    for (const QPointF &position : path)
        times.append(timedMove([&] { drag.moveTo(position); }));
    if (!drag.markerFollows())
        std::fprintf(stderr, "bench_drag: the marker did not follow the mouse\n");
    return times;
}

// Times each press of the arrow keys, which steps the marker as one drag move
// does: Ctrl+Right across the chart and back, then Right and Left.
QList<double> keyStepTimes(MainWindow &window)
{
    QGraphicsView &view = Bench::chartView(window);
    view.setFocus(Qt::TabFocusReason);
    QList<double> times;
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        times.append(Bench::millisecondsToUpdate([&] { QTest::keyClick(&view, key, modifiers); }));
    };
    for (int i = 0; i < keyStepsPerLeg; ++i)
        press(Qt::Key_Right, Qt::ControlModifier);
    for (int i = 0; i < keyStepsPerLeg; ++i)
        press(Qt::Key_Left, Qt::ControlModifier);
    for (int i = 0; i < keyStepsPerLeg; ++i)
        press(Qt::Key_Right, Qt::NoModifier);
    return times;
}

QList<double> idleRepaintTimes(QWidget &widget)
{
    QList<double> times;
    for (int i = 0; i < idleRepaints; ++i)
        times.append(Bench::millisecondsToPaint(widget, [] {}));
    return times;
}

} // namespace

int main(int argc, char **argv)
{
    Bench::prepareEnvironment();
    Bench::chooseClock(argc, argv);
    QApplication application(argc, argv);
    MainWindow window;
    Bench::Report report(QStringLiteral("bench_drag"));
    const QString ms = Bench::timeUnit();
    for (const QSize size : {QSize(940, 715), QSize(1920, 1080)}) {
        window.resize(size);
        Bench::showExposed(window);
        const QString suffix = QStringLiteral(" %1x%2").arg(size.width()).arg(size.height());
        const auto withRepaint = [&](auto move) {
            return Bench::millisecondsToPaint(window, move);
        };
        const auto withUpdate = [](auto move) {
            return Bench::millisecondsToUpdate(move);
        };
        report.add(QStringLiteral("drag move + repaint") + suffix,
                   dragMoveTimes(window, withRepaint), ms);
        report.add(QStringLiteral("drag move + update of what changed") + suffix,
                   dragMoveTimes(window, withUpdate), ms);
        report.add(QStringLiteral("arrow key step + update of what changed") + suffix,
                   keyStepTimes(window), ms);
        report.add(QStringLiteral("window repaint, nothing changed") + suffix,
                   idleRepaintTimes(window), ms);
        report.add(QStringLiteral("chart repaint, nothing changed") + suffix,
                   idleRepaintTimes(*Bench::chartView(window).viewport()), ms);
    }
    return report.writeJsonIfRequested(argc, argv) ? 0 : 1;
}
