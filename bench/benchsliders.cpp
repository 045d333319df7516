// Slider moves: each value slider moved across its whole range one step at a
// time at the form's size, and the cross-fade moved from 0 to 100 and back at
// the form's size and at full HD. The headline figure of a step is the time
// until the queued updates are delivered, which paints only what changed, as
// the event loop does; beside it how often the chart's viewport painted per
// step, and the same sweep with the whole window repainted after every step.
// Beside the cross-fade stands its limit: what blending the two grid pictures
// into an image of the chart's viewport costs as plain code.

#include "bench/benchsupport.h"

#include "app/mainwindow.h"
#include "chart/graphicsscene.h"

#include <QApplication>
#include <QGraphicsView>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSize>
#include <QSlider>

#include <vector>

namespace {

constexpr int blendLimitRounds = 200;

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

// The least a cross-fade step can cost, as fixed code: an image of the chart
// viewport's device size filled white once, then pictures of the two largest
// grid pictures' sizes drawn into it at half opacity.
QList<double> blendLimitTimes(MainWindow &window)
{
    const QWidget &viewport = *Bench::chartView(window).viewport();
    const std::vector<QSize> sizes = window.chartScene()->gridCache().pictureSizes();
    if (sizes.size() < 2)
        qFatal("the chart has fewer than two grid pictures");
    QImage image(viewport.size() * viewport.devicePixelRatio(),
                 QImage::Format_ARGB32_Premultiplied);
    QPixmap lower(sizes.at(0));
    QPixmap upper(sizes.at(1));
    lower.fill(Qt::transparent);
    upper.fill(Qt::transparent);
    QList<double> times;
    for (int round = 0; round < blendLimitRounds; ++round) {
        const double start = Bench::clockMilliseconds();
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setOpacity(0.5);
        painter.drawPixmap(0, 0, lower);
        painter.drawPixmap(0, 0, upper);
        painter.end();
        times.append(Bench::clockMilliseconds() - start);
    }
    return times;
}

} // namespace

int main(int argc, char **argv)
{
    Bench::prepareEnvironment();
    Bench::chooseClock(argc, argv);
    QApplication application(argc, argv);
    MainWindow window;
    const QList<QSize> sizes = Bench::windowSizes(argc, argv, {QSize(940, 715), QSize(1920, 1080)});
    window.resize(sizes.constFirst());
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
    for (const QSize size : sizes) {
        window.resize(size);
        Bench::showExposed(window);
        const QString atSize = QStringLiteral(" %1x%2").arg(size.width()).arg(size.height());
        reportSweep(report, window, crossFade, upAndDown(crossFade),
                    QStringLiteral("cross-fade step QS_OPACITY 0-100-0") + atSize);
        report.add(QStringLiteral("blend limit of a cross-fade step") + atSize,
                   blendLimitTimes(window), Bench::timeUnit());
    }
    return report.writeJsonIfRequested(argc, argv) ? 0 : 1;
}
