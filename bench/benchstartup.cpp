// Start-up: the time from building the application object to the first painted
// frame of the main window, and the peak resident memory at that moment, at the
// size the window chooses on a first start and at full HD, beside a baseline
// window of the same size: a QMainWindow holding an empty graphics
// view and as many plain widgets as the main window has. The application object
// can be built once per process, so every start runs in a fresh child process
// (this program again, with --child); window and baseline take turns.

#include "bench/benchsupport.h"

#include "app/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGraphicsView>
#include <QGridLayout>
#include <QMainWindow>
#include <QProcess>
#include <QStringList>

#include <cstdio>
#include <memory>

namespace {

constexpr int defaultStarts = 7;
constexpr int baselineRows = 16;
constexpr int childTimeoutMs = 60000;
constexpr int firstPaintTimeoutMs = 10000;
constexpr double kibPerMib = 1024.0;

// Notices the first paint of a graphics view's viewport: the chart in the main
// window, the empty view in the baseline.
class FirstPaintWatcher : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && isViewport(watched))
            painted = true;
        return false;
    }

    // Runs the event loop until the frame holding the first painted viewport is
    // complete.
    bool waitForFirstPaint()
    {
        QElapsedTimer waited;
        waited.start();
        while (!painted && waited.elapsed() < firstPaintTimeoutMs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, firstPaintTimeoutMs);
        return painted;
    }

private:
    static bool isViewport(const QObject *object)
    {
        const auto *view = qobject_cast<const QGraphicsView *>(object->parent());
        return view && view->viewport() == object;
    }

    bool painted = false;
};

std::unique_ptr<QMainWindow> baselineWindow(int widgetCount, const QSize &size)
{
    auto window = std::make_unique<QMainWindow>();
    auto *central = new QWidget;
    auto *layout = new QGridLayout(central);
    layout->addWidget(new QGraphicsView, 0, 0, baselineRows, 1);
    window->setCentralWidget(central);
    const auto missing = widgetCount - window->findChildren<QWidget *>().size();
    for (int i = 0; i < missing; ++i)
        layout->addWidget(new QWidget, i % baselineRows, 1 + i / baselineRows);
    window->resize(size);
    return window;
}

// One start in this process. Prints "milliseconds peak-KiB widgets width height",
// with decimal points whatever the locale.
int startOnce(int argc, char **argv, bool baseline)
{
    Bench::prepareEnvironment();
    QElapsedTimer timer;
    timer.start();
    QApplication application(argc, argv);
    FirstPaintWatcher watcher;
    application.installEventFilter(&watcher);
    std::unique_ptr<QMainWindow> window;
    if (baseline) {
        const QSize size(Bench::optionValue(argc, argv, "--width").toInt(),
                         Bench::optionValue(argc, argv, "--height").toInt());
        window = baselineWindow(Bench::optionValue(argc, argv, "--widgets").toInt(), size);
    } else {
        window = std::make_unique<MainWindow>();
        const QString width = Bench::optionValue(argc, argv, "--width");
        if (!width.isEmpty())
            window->resize(width.toInt(), Bench::optionValue(argc, argv, "--height").toInt());
    }
    window->show();
    if (!watcher.waitForFirstPaint())
        return 1;
    const double milliseconds = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const QByteArray line = QByteArray::number(milliseconds, 'f', 3) + ' '
        + QByteArray::number(Bench::processStatusKib("VmHWM")) + ' '
        + QByteArray::number(window->findChildren<QWidget *>().size()) + ' '
        + QByteArray::number(window->width()) + ' ' + QByteArray::number(window->height()) + '\n';
    std::fputs(line.constData(), stdout);
    return 0;
}

struct Start
{
    double milliseconds = 0.0;
    double peakMib = 0.0;
    QString widgets;
    QString width;
    QString height;
};

Start startChild(const QStringList &arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(childTimeoutMs) || child.exitCode() != 0)
        qFatal("a start of %s failed", qPrintable(arguments.join(u' ')));
    const QList<QByteArray> fields = child.readAllStandardOutput().simplified().split(' ');
    if (fields.size() != 5)
        qFatal("unexpected output of a start");
    return {fields[0].toDouble(), fields[1].toDouble() / kibPerMib, QString::fromLatin1(fields[2]),
            QString::fromLatin1(fields[3]), QString::fromLatin1(fields[4])};
}

// The window at the size it chooses itself (an empty size), or at `size`.
Start startWindow(const QSize &size)
{
    QStringList arguments {QStringLiteral("--child"), QStringLiteral("window")};
    if (!size.isEmpty()) {
        arguments << QStringLiteral("--width") << QString::number(size.width())
                  << QStringLiteral("--height") << QString::number(size.height());
    }
    return startChild(arguments);
}

Start startBaseline(const Start &window)
{
    return startChild({QStringLiteral("--child"), QStringLiteral("baseline"),
                       QStringLiteral("--widgets"), window.widgets, QStringLiteral("--width"),
                       window.width, QStringLiteral("--height"), window.height});
}

int compareStarts(int argc, char **argv)
{
    Bench::prepareEnvironment();
    QCoreApplication application(argc, argv);
    const QString startsOption = Bench::optionValue(argc, argv, "--starts");
    const int starts = startsOption.isEmpty() ? defaultStarts : startsOption.toInt();
    // One pair first, not counted, so that both read their files from a warm cache.
    startBaseline(startWindow({}));
    Bench::Report report(QStringLiteral("bench_startup"));
    const QString ms = QStringLiteral("ms");
    const QString mib = QStringLiteral("MiB");
    // First at the size the window chooses on a first start, then at full HD.
    for (const QSize size : Bench::windowSizes(argc, argv, {QSize(), QSize(1920, 1080)})) {
        QList<double> windowMs, baselineMs, ratio, excessMs, windowMib, baselineMib, excessMib;
        QString atSize;
        for (int i = 0; i < starts; ++i) {
            const Start window = startWindow(size);
            const Start baseline = startBaseline(window);
            windowMs.append(window.milliseconds);
            baselineMs.append(baseline.milliseconds);
            ratio.append(window.milliseconds / baseline.milliseconds);
            excessMs.append(window.milliseconds - baseline.milliseconds);
            windowMib.append(window.peakMib);
            baselineMib.append(baseline.peakMib);
            excessMib.append(window.peakMib - baseline.peakMib);
            atSize = u' ' + window.width + u'x' + window.height;
        }
        report.add(QStringLiteral("start-up to first frame, window") + atSize, windowMs, ms);
        report.add(QStringLiteral("start-up to first frame, baseline") + atSize, baselineMs, ms);
        report.add(QStringLiteral("start-up window / baseline") + atSize, ratio,
                   QStringLiteral("ratio"));
        report.add(QStringLiteral("start-up window - baseline") + atSize, excessMs, ms);
        report.add(QStringLiteral("peak RSS after start-up, window") + atSize, windowMib, mib);
        report.add(QStringLiteral("peak RSS after start-up, baseline") + atSize, baselineMib, mib);
        report.add(QStringLiteral("peak RSS after start-up, window - baseline") + atSize, excessMib,
                   mib);
    }
    return report.writeJsonIfRequested(argc, argv) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    const QString child = Bench::optionValue(argc, argv, "--child");
    if (child.isEmpty())
        return compareStarts(argc, argv);
    return startOnce(argc, argv, child == QStringLiteral("baseline"));
}
