// Marker drag: a real left-button drag across the chart at the form's size and
// at full HD, with the cross-fade at 0, 50 and 100. The headline figure of each
// mouse move is the time until the queued updates are delivered, which paints
// only what changed, as the event loop does; beside it how often the chart's
// viewport painted per move, and the same drag with the whole window repainted
// after every move. Last, what repainting costs when nothing has changed: the
// whole window and the chart's viewport alone.
// The arrow keys on the focused chart step the marker the same way. A drag held
// to a circle by Shift, with a matching network of two arcs drawn over the
// grids, is timed at the three cross-fades too, and again with the band of
// ±20 % drawn, whose curves follow every move.

#include "bench/benchsupport.h"
#include "windowdriver.h"

#include "app/mainwindow.h"
#include "chart/graphicsscene.h"

#include <QGraphicsView>
#include <QSize>

#include <cstdio>

namespace {

constexpr int movesPerLeg = 30;
constexpr int idleRepaints = 200;
constexpr int keyStepsPerLeg = 10;
constexpr double benchBandSpan = 0.2;

// Times each press of the arrow keys, which steps the marker as one drag move
// does: Ctrl+Right across the chart and back, then Right and Left.
QList<double> keyStepTimes(WindowDriver &driver)
{
    driver.pressOnChart({}); // the focus first, untimed
    QList<double> times;
    const auto press = [&](const QString &key) {
        times.append(Bench::timeStep(driver.window(), Bench::Until::Painted,
                                     [&] { driver.pressOnChart(key); }));
    };
    for (int i = 0; i < keyStepsPerLeg; ++i)
        press(QStringLiteral("Ctrl+Right"));
    for (int i = 0; i < keyStepsPerLeg; ++i)
        press(QStringLiteral("Ctrl+Left"));
    for (int i = 0; i < keyStepsPerLeg; ++i)
        press(QStringLiteral("Right"));
    return times;
}

// A repaint of the widget when nothing has changed.
QList<double> idleRepaintTimes(QWidget &widget)
{
    QList<double> times;
    for (int i = 0; i < idleRepaints; ++i)
        times.append(Bench::timeStep(widget, Bench::Until::WindowRepainted, [] {}));
    return times;
}

// The figures of one drag of the marker along the whole path, in the chart as
// it stands, each name ending in `suffix`. With modifiers held, the drag
// follows a circle of the chart.
void reportDrag(Bench::Report &report, WindowDriver &driver, const QString &suffix,
                Qt::KeyboardModifiers held = Qt::NoModifier)
{
    const bool band = driver.window().chartScene()->bandSpan() > 0.0;
    const QString drag = held == Qt::NoModifier ? QStringLiteral("drag move")
        : band ? QStringLiteral("held drag move with band, two arcs")
               : QStringLiteral("held drag move, two arcs");
    QGraphicsView &view = driver.chartView();
    const QList<QPointF> path = Bench::dragPath(view, movesPerLeg);
    Bench::reportSteps(report, driver.window(), *view.viewport(), drag, suffix, [&](auto timed) {
        MarkerDrag gesture(view, held);
        for (const QPointF &position : path)
            timed([&] { gesture.moveTo(position); });
        if (!gesture.markerFollows())
            std::fprintf(stderr, "bench_drag: the marker did not follow the mouse\n");
    });
}

// From the marker a shunt element down to the circle R = Z0 and a series
// element part of the way up it: the network that the held drags then extend.
void drawTwoArcs(WindowDriver &driver)
{
    driver.dragMarkerTo({0.4, 0.2}, Qt::NoModifier, 1);
    driver.dragMarkerTo({0.27, -0.45}, Qt::ControlModifier, 1);
    driver.dragMarkerTo({0.1, -0.3}, Qt::ShiftModifier, 1);
    Bench::paintNow(driver.window());
}

} // namespace

int main(int argc, char **argv)
{
    Bench::WindowBenchmark bench(argc, argv, QStringLiteral("bench_drag"));
    WindowDriver &driver = bench.driver();
    MainWindow &window = bench.window();
    Bench::Report &report = bench.report();
    const QString ms = Bench::timeUnit();
    const auto crossFadeTo = [&](int position) {
        driver.moveSlider(QStringLiteral("QS_OPACITY"), position);
        Bench::paintNow(window);
    };
    // The window starts with the focus in a field, whose cursor would repaint
    // with every rewrite; a user who drags or moves a slider has left the fields.
    driver.releaseFocus();
    for (const QSize size : Bench::windowSizes(argc, argv, {QSize(940, 715), QSize(1920, 1080)})) {
        window.resize(size);
        Bench::showExposed(window);
        const QString atSize = QStringLiteral(" %1x%2").arg(size.width()).arg(size.height());
        for (const int crossFade : {0, 50, 100}) {
            crossFadeTo(crossFade);
            reportDrag(report, driver, QStringLiteral(", cross-fade %1").arg(crossFade) + atSize);
        }
        drawTwoArcs(driver);
        for (const int crossFade : {0, 50, 100}) {
            crossFadeTo(crossFade);
            reportDrag(report, driver, QStringLiteral(", cross-fade %1").arg(crossFade) + atSize,
                       Qt::ShiftModifier);
        }
        window.chartScene()->setBandSpan(benchBandSpan);
        for (const int crossFade : {0, 50, 100}) {
            crossFadeTo(crossFade);
            reportDrag(report, driver, QStringLiteral(", cross-fade %1").arg(crossFade) + atSize,
                       Qt::ShiftModifier);
        }
        window.chartScene()->setBandSpan(0.0);
        crossFadeTo(0);
        report.add(QStringLiteral("arrow key step") + atSize, keyStepTimes(driver), ms);
        report.add(QStringLiteral("window repaint, nothing changed") + atSize,
                   idleRepaintTimes(window), ms);
        report.add(QStringLiteral("chart repaint, nothing changed") + atSize,
                   idleRepaintTimes(*driver.chartView().viewport()), ms);
    }
    return bench.finish();
}
