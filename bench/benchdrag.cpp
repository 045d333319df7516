// Marker drag: a real left-button drag across the chart at the form's size and
// at full HD, with the cross-fade at 0, 50 and 100. The headline figure of each
// mouse move is the time until the queued updates are delivered, which paints
// only what changed, as the event loop does; beside it how often the chart's
// viewport painted per move, and the same drag with the whole window repainted
// after every move. Last, what repainting costs when nothing has changed: the
// whole window and the chart's viewport alone.
// The arrow keys on the focused chart step the marker the same way. A drag held
// to a circle by Shift, with a matching network of two arcs drawn over the
// grids, is timed at the three cross-fades too.

#include "bench/benchsupport.h"

#include "app/mainwindow.h"
#include "chart/graphicsscene.h"

#include <QApplication>
#include <QGraphicsView>
#include <QSize>
#include <QSlider>
#include <QTest>

#include <cstdio>

namespace {

constexpr int movesPerLeg = 30;
constexpr int idleRepaints = 200;
constexpr int keyStepsPerLeg = 10;

// Moves the marker along the whole drag path; `move` performs and times one step.
template<typename Move>
void dragAlongPath(MainWindow &window, Move &&move, Qt::KeyboardModifiers held = Qt::NoModifier)
{
    const QList<QPointF> path = Bench::dragPath(Bench::chartView(window), movesPerLeg);
    Bench::MarkerDrag drag(window, held);
    for (const QPointF &position : path)
        move([&] { drag.moveTo(position); });
    if (!drag.markerFollows())
        std::fprintf(stderr, "bench_drag: the marker did not follow the mouse\n");
}

// Times each press of the arrow keys, which steps the marker as one drag move
// does: Ctrl+Right across the chart and back, then Right and Left.
QList<double> keyStepTimes(MainWindow &window)
{
    QGraphicsView &view = Bench::chartView(window);
    view.setFocus(Qt::TabFocusReason);
    QList<double> times;
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        times.append(Bench::millisecondsToSettle([&] { QTest::keyClick(&view, key, modifiers); }));
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

// The figures of one drag along the whole path, in the chart as it stands:
// the headline figure, the chart's paints per move and the whole-window
// figure, each name ending in `suffix`. With modifiers held, the drag follows
// a circle of the chart.
void reportDrag(Bench::Report &report, MainWindow &window, const QString &suffix,
                Qt::KeyboardModifiers held = Qt::NoModifier)
{
    const QString ms = Bench::timeUnit();
    const QString drag = held == Qt::NoModifier ? QStringLiteral("drag move")
                                                : QStringLiteral("held drag move, two arcs");
    const QWidget &viewport = *Bench::chartView(window).viewport();
    Bench::SettledSamples settled;
    dragAlongPath(
        window, [&](auto move) { Bench::appendSettled(settled, viewport, move); }, held);
    QList<double> repainted;
    dragAlongPath(
        window, [&](auto move) { repainted.append(Bench::millisecondsToPaint(window, move)); },
        held);
    report.add(drag + suffix, settled.milliseconds, ms);
    report.add(QStringLiteral("chart paints per ") + drag + suffix, settled.paints,
               QStringLiteral("paints"));
    report.add(drag + QStringLiteral(" + window repaint") + suffix, repainted, ms);
}

// From the marker a shunt element down to the circle R = Z0 and a series
// element part of the way up it: the network that the held drags then extend.
void drawTwoArcs(MainWindow &window)
{
    const QGraphicsView &view = Bench::chartView(window);
    const auto dragTo = [&](complex_dbl gamma, Qt::KeyboardModifiers held) {
        Bench::MarkerDrag drag(window, held);
        drag.moveTo(view.mapFromScene(GraphicsScene::scenePoint(gamma)));
    };
    dragTo({0.4, 0.2}, Qt::NoModifier);
    dragTo({0.27, -0.45}, Qt::ControlModifier);
    dragTo({0.1, -0.3}, Qt::ShiftModifier);
    Bench::paintNow(window);
}

QSlider &crossFadeSlider(MainWindow &window)
{
    auto *slider = window.findChild<QSlider *>(QStringLiteral("QS_OPACITY"));
    if (!slider)
        qFatal("the window has no slider QS_OPACITY");
    return *slider;
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
    for (const QSize size : Bench::windowSizes(argc, argv, {QSize(940, 715), QSize(1920, 1080)})) {
        window.resize(size);
        Bench::showExposed(window);
        const QString atSize = QStringLiteral(" %1x%2").arg(size.width()).arg(size.height());
        for (const int crossFade : {0, 50, 100}) {
            crossFadeSlider(window).setValue(crossFade);
            Bench::paintNow(window);
            reportDrag(report, window, QStringLiteral(", cross-fade %1").arg(crossFade) + atSize);
        }
        drawTwoArcs(window);
        for (const int crossFade : {0, 50, 100}) {
            crossFadeSlider(window).setValue(crossFade);
            Bench::paintNow(window);
            reportDrag(report, window, QStringLiteral(", cross-fade %1").arg(crossFade) + atSize,
                       Qt::ShiftModifier);
        }
        crossFadeSlider(window).setValue(0);
        Bench::paintNow(window);
        report.add(QStringLiteral("arrow key step") + atSize, keyStepTimes(window), ms);
        report.add(QStringLiteral("window repaint, nothing changed") + atSize,
                   idleRepaintTimes(window), ms);
        report.add(QStringLiteral("chart repaint, nothing changed") + atSize,
                   idleRepaintTimes(*Bench::chartView(window).viewport()), ms);
    }
    return report.writeJsonIfRequested(argc, argv) ? 0 : 1;
}
