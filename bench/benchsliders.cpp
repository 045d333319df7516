// Slider moves: each value slider moved across its whole range one step at a
// time at the form's size, and the cross-fade moved from 0 to 100 and back at
// the form's size and at full HD. The headline figure of a step is the time
// until the queued updates are delivered, which paints only what changed, as
// the event loop does; beside it how often the chart's viewport painted per
// step, and the same sweep with the whole window repainted after every step.
// Beside the cross-fade stands its limit: what blending the two grid pictures
// into an image of the chart's viewport costs as plain code.

#include "bench/benchsupport.h"
#include "windowdriver.h"

#include "app/mainwindow.h"
#include "chart/graphicsscene.h"

#include <QGraphicsView>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSize>
#include <QSlider>

#include <vector>

namespace {

constexpr int blendLimitRounds = 200;

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

// The headline figure, the paints per step and the whole-window figure of a
// sweep of the slider through `values`, each sweep starting at its minimum.
void reportSweep(Bench::Report &report, WindowDriver &driver, const QString &sliderName,
                 const QList<int> &values, const QString &name)
{
    MainWindow &window = driver.window();
    const QWidget &viewport = *driver.chartView().viewport();
    QSlider *slider = driver.slider(sliderName);
    Bench::reportSteps(report, window, viewport, name, {}, [&](auto timed) {
        WindowDriver::moveSlider(slider, slider->minimum());
        Bench::paintNow(window);
        for (const int value : values)
            timed([&] { WindowDriver::moveSlider(slider, value); });
    });
}

// The least a cross-fade step can cost, as fixed code: an image of the chart
// viewport's device size filled white once, then pictures of the two largest
// grid pictures' sizes drawn into it at half opacity.
QList<double> blendLimitTimes(WindowDriver &driver)
{
    const QWidget &viewport = *driver.chartView().viewport();
    MainWindow &window = driver.window();
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
    Bench::WindowBenchmark bench(argc, argv, QStringLiteral("bench_sliders"));
    WindowDriver &driver = bench.driver();
    MainWindow &window = bench.window();
    Bench::Report &report = bench.report();
    const QList<QSize> sizes = Bench::windowSizes(argc, argv, {QSize(940, 715), QSize(1920, 1080)});
    window.resize(sizes.constFirst());
    Bench::showExposed(window);
    // The window starts with the focus in a field, whose cursor would repaint
    // with every rewrite; a user who drags or moves a slider has left the fields.
    driver.releaseFocus();
    for (const QString &name : WindowDriver::sliderNames())
        reportSweep(report, driver, name, upwards(*driver.slider(name)),
                    QStringLiteral("slider step ") + name);
    const QString crossFade = QStringLiteral("QS_OPACITY");
    for (const QSize size : sizes) {
        window.resize(size);
        Bench::showExposed(window);
        const QString atSize = QStringLiteral(" %1x%2").arg(size.width()).arg(size.height());
        reportSweep(report, driver, crossFade, upAndDown(*driver.slider(crossFade)),
                    QStringLiteral("cross-fade step QS_OPACITY 0-100-0") + atSize);
        report.add(QStringLiteral("blend limit of a cross-fade step") + atSize,
                   blendLimitTimes(driver), Bench::timeUnit());
    }
    return bench.finish();
}
