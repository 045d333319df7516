// Slider moves: each value slider moved across its whole range one step at a
// time at the form's size, and the cross-fade moved from 0 to 100 and back at
// the form's size and at full HD. The headline figure of a step is the time
// until the queued updates are delivered, which paints only what changed, as
// the event loop does; beside it how often the chart's viewport painted per
// step, and the same sweep with the whole window repainted after every step.

#include "bench/benchsupport.h"

#include "app/mainwindow.h"

#include <QApplication>
#include <QGraphicsView>
#include <QSize>
#include <QSlider>

namespace {

QSlider &slider(MainWindow &window, const QString &name)
{
    auto *found = window.findChild<QSlider *>(name);
    if (!found)
        qFatal("the window has no slider %s", qPrintable(name));
    return *found;
}

// The positions of a sweep, one step apart, starting next to the current one.
QList<int> upwards(const QSlider &slider)
{
    QList<int> values;
    for (int value = slider.minimum() + 1; value <= slider.maximum(); ++value)
        values.append(value);
    return values;
}

QList<int> upAndDown(const QSlider &slider)
{
    QList<int> values = upwards(slider);
    for (int value = slider.maximum() - 1; value >= slider.minimum(); --value)
        values.append(value);
    return values;
}

// Moves the slider to its minimum, then through `values`; `step` performs and
// times one move.
template<typename Step>
void sweep(MainWindow &window, QSlider &slider, const QList<int> &values, Step &&step)
{
    slider.setValue(slider.minimum());
    Bench::paintNow(window);
    for (const int value : values)
        step([&] { slider.setValue(value); });
}

// The headline figure, the paints per step and the whole-window figure of one sweep.
void reportSweep(Bench::Report &report, MainWindow &window, QSlider &slider,
                 const QList<int> &values, const QString &name)
{
    const QWidget &viewport = *Bench::chartView(window).viewport();
    Bench::SettledSamples settled;
    sweep(window, slider, values,
          [&](auto move) { Bench::appendSettled(settled, viewport, move); });
    QList<double> repainted;
    sweep(window, slider, values,
          [&](auto move) { repainted.append(Bench::millisecondsToPaint(window, move)); });
    report.add(name, settled.milliseconds, Bench::timeUnit());
    report.add(QStringLiteral("chart paints per ") + name, settled.paints,
               QStringLiteral("paints"));
    report.add(name + QStringLiteral(" + window repaint"), repainted, Bench::timeUnit());
}

} // namespace

int main(int argc, char **argv)
{
    Bench::prepareEnvironment();
    Bench::chooseClock(argc, argv);
    QApplication application(argc, argv);
    MainWindow window;
    window.resize(940, 715);
    Bench::showExposed(window);
    Bench::Report report(QStringLiteral("bench_sliders"));
    const QStringList valueSliders {
        QStringLiteral("QS_R"),  QStringLiteral("QS_X"),  QStringLiteral("QS_G"),
        QStringLiteral("QS_B"),  QStringLiteral("QS_RP"), QStringLiteral("QS_XP"),
        QStringLiteral("QS_RS"), QStringLiteral("QS_XS"), QStringLiteral("QS_F")};
    for (const QString &name : valueSliders) {
        QSlider &moved = slider(window, name);
        reportSweep(report, window, moved, upwards(moved), QStringLiteral("slider step ") + name);
    }
    QSlider &crossFade = slider(window, QStringLiteral("QS_OPACITY"));
    for (const QSize size : {QSize(940, 715), QSize(1920, 1080)}) {
        window.resize(size);
        Bench::showExposed(window);
        reportSweep(report, window, crossFade, upAndDown(crossFade),
                    QStringLiteral("cross-fade step QS_OPACITY 0-100-0 %1x%2")
                        .arg(size.width())
                        .arg(size.height()));
    }
    return report.writeJsonIfRequested(argc, argv) ? 0 : 1;
}
