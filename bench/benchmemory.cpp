// Memory growth: the change of resident memory over 1000 rebuilds of the chart
// for a new Z0 and over 100 000 mouse moves of a marker drag. Each is measured
// after a warm-up, so that caches filled once (fonts, pixmaps, the allocator's
// pools) do not count as growth.

#include "bench/benchsupport.h"
#include "windowdriver.h"

#include "app/mainwindow.h"

#include <QSize>

namespace {

constexpr int warmUpRebuilds = 20;
constexpr int rebuilds = 1000;
constexpr int warmUpMoves = 2000;
constexpr int dragMoves = 100000;
constexpr int movesPerLeg = 30;
// The queued updates are delivered, and the window painted, only after every
// this many moves, to keep the run short: delivering the scene's updates paints
// the window at once.
constexpr int movesPerPaint = 100;

double residentKib()
{
    return static_cast<double>(Bench::processStatusKib("VmRSS"));
}

double rebuildGrowthKib(WindowDriver &driver)
{
    const auto rebuildTimes = [&](int count) {
        for (int i = 0; i < count; ++i) {
            driver.enter(QStringLiteral("LED_Z0"),
                         i % 2 == 0 ? QStringLiteral("75") : QStringLiteral("50"));
            Bench::paintNow(driver.window());
        }
    };
    rebuildTimes(warmUpRebuilds);
    const double before = residentKib();
    rebuildTimes(rebuilds);
    return residentKib() - before;
}

double dragGrowthKib(WindowDriver &driver)
{
    MainWindow &window = driver.window();
    const QList<QPointF> path = Bench::dragPath(driver.chartView(), movesPerLeg);
    MarkerDrag drag(driver.chartView());
    const auto moveTimes = [&](int count) {
        for (int i = 0; i < count; ++i) {
            drag.moveTo(path.at(i % path.size()));
            if (i % movesPerPaint == 0)
                Bench::paintNow(window);
        }
    };
    moveTimes(warmUpMoves);
    const double before = residentKib();
    moveTimes(dragMoves);
    return residentKib() - before;
}

} // namespace

int main(int argc, char **argv)
{
    Bench::WindowBenchmark bench(argc, argv, QStringLiteral("bench_memory"));
    WindowDriver &driver = bench.driver();
    MainWindow &window = bench.window();
    Bench::Report &report = bench.report();
    // The size the window chooses on a first start, unless told otherwise.
    if (const QList<QSize> sizes = Bench::windowSizes(argc, argv, {}); !sizes.isEmpty())
        window.resize(sizes.constFirst());
    Bench::showExposed(window);
    const QString kib = QStringLiteral("KiB");
    report.addValue(QStringLiteral("RSS growth over 1000 Z0 rebuilds"), rebuildGrowthKib(driver),
                    kib);
    report.addValue(QStringLiteral("RSS growth over 100000 drag moves"), dragGrowthKib(driver),
                    kib);
    return bench.finish();
}
