// Marker drag: a real left-button drag across the chart, each mouse move followed
// by the repaint of the whole window, at the form's size and at full HD.

#include "bench/benchsupport.h"

#include "app/mainwindow.h"

#include <QApplication>
#include <QGraphicsView>
#include <QSize>

#include <cstdio>

namespace {

constexpr int movesPerLeg = 30;

QList<double> dragMoveTimes(MainWindow &window, const QSize &size)
{
    window.resize(size);
    Bench::showExposed(window);
    const QList<QPointF> path = Bench::dragPath(Bench::chartView(window), movesPerLeg);
    QList<double> times;
    Bench::MarkerDrag drag(window);
    for (const QPointF &position : path)
        times.append(Bench::millisecondsToPaint(window, [&] { drag.moveTo(position); }));
    if (!drag.markerFollows())
        std::fprintf(stderr, "bench_drag: the marker did not follow the mouse\n");
    return times;
}

} // namespace

int main(int argc, char **argv)
{
    Bench::prepareEnvironment();
    QApplication application(argc, argv);
    MainWindow window;
    Bench::Report report(QStringLiteral("bench_drag"));
    for (const QSize size : {QSize(940, 715), QSize(1920, 1080)}) {
        const QString name =
            QStringLiteral("drag move + repaint %1x%2").arg(size.width()).arg(size.height());
        report.add(name, dragMoveTimes(window, size), QStringLiteral("ms"));
    }
    return report.writeJsonIfRequested(argc, argv) ? 0 : 1;
}
