// Slider moves: each value slider (and the cross-fade) moved across its whole
// range one step at a time, each step followed by the repaint of the window.

#include "bench/benchsupport.h"

#include "app/mainwindow.h"

#include <QApplication>
#include <QSlider>

namespace {

QList<double> sweepTimes(MainWindow &window, QSlider &slider)
{
    slider.setValue(slider.minimum());
    Bench::paintNow(window);
    QList<double> times;
    for (int value = slider.minimum() + 1; value <= slider.maximum(); ++value)
        times.append(Bench::millisecondsToPaint(window, [&] { slider.setValue(value); }));
    return times;
}

} // namespace

int main(int argc, char **argv)
{
    Bench::prepareEnvironment();
    Bench::chooseClock(argc, argv);
    QApplication application(argc, argv);
    MainWindow window;
    Bench::showExposed(window);
    Bench::Report report(QStringLiteral("bench_sliders"));
    const QStringList sliders {QStringLiteral("QS_R"),  QStringLiteral("QS_X"),
                               QStringLiteral("QS_G"),  QStringLiteral("QS_B"),
                               QStringLiteral("QS_RP"), QStringLiteral("QS_XP"),
                               QStringLiteral("QS_RS"), QStringLiteral("QS_XS"),
                               QStringLiteral("QS_F"),  QStringLiteral("QS_OPACITY")};
    for (const QString &name : sliders) {
        auto *slider = window.findChild<QSlider *>(name);
        if (!slider)
            qFatal("the window has no slider %s", qPrintable(name));
        report.add(QStringLiteral("slider step + repaint ") + name, sweepTimes(window, *slider),
                   Bench::timeUnit());
    }
    return report.writeJsonIfRequested(argc, argv) ? 0 : 1;
}
