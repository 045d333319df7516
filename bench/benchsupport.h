#pragma once

#include "windowdriver.h"

#include <QApplication>
#include <QCoreApplication>
#include <QList>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>

class MainWindow;
class QGraphicsView;
class QWidget;

// What the window benchmarks add to the test kit's window driver: the
// environment they run in, the clocks, the one way a user action is timed up
// to the painted window, and the report that prints one table line per figure
// and writes JSON.
namespace Bench {

// Headless (unless a platform is chosen), German, with throw-away settings, so
// every run starts like the first start of the program. Call before the
// application object is built.
void prepareEnvironment();

// The clock of the timed figures: wall time, or with --cpu-time on the command
// line the CPU time of the whole process (every thread, the toolkit's painting
// helpers included), which other work on a busy machine disturbs far less.
void chooseClock(int argc, char **argv);
double clockMilliseconds();
// "ms", or "cpu-ms" on the CPU-time clock.
QString timeUnit();

// The word after `flag` on the command line, or an empty string.
QString optionValue(int argc, char **argv, const char *flag);

// The window sizes a benchmark runs at: `sizes`, or with --full-hd on the
// command line 1920 x 1080 alone (run-all.sh runs the window benchmarks so at
// a scale factor of 2, where the form's size matters less than the 4K screen).
QList<QSize> windowSizes(int argc, char **argv, const QList<QSize> &sizes);

// ", scale N" when QT_SCALE_FACTOR enlarges the window, else empty: it ends
// every figure's name, so that runs at both scales can be told apart.
QString scaleSuffix();

// Whether the regular-expression JIT is in use, by Qt's own rule for
// QT_ENABLE_REGEXP_JIT (a release build of Qt uses it when the variable is unset).
bool regularExpressionJitEnabled();
// Runs this benchmark again in a child process without the JIT, with the same
// arguments; its table lines go to this process's output, its JSON next to
// ours as NAME-nojit.json. True when the child succeeded.
bool rerunWithoutJit(const QStringList &arguments);

// A value from /proc/self/status such as "VmHWM" or "VmRSS", in KiB.
long processStatusKib(const char *field);

struct Figure
{
    QString name;
    double median = 0.0;
    double p99 = 0.0;
    double max = 0.0;
    QString unit;
};

Figure summarise(const QString &name, QList<double> samples, const QString &unit);

// The figures of one benchmark program: each is printed as a table line when it
// is added ("name  median  p99  max  unit", the name ending in the scale
// suffix), and all of them can be written as JSON at the end.
class Report
{
public:
    explicit Report(const QString &program);

    void add(const QString &name, const QList<double> &samples, const QString &unit);
    void addValue(const QString &name, double value, const QString &unit);
    // Writes the JSON file named by --json, if any; false if that fails.
    bool writeJsonIfRequested(int argc, char **argv) const;

private:
    QString program;
    QList<Figure> figures;
};

// The process of a window benchmark: the environment prepared and the clock
// chosen from the command line, the application, the main window started by
// the test kit's driver, and the report of the figures.
class WindowBenchmark
{
public:
    WindowBenchmark(int &argc, char **argv, const QString &program);

    WindowDriver &driver() { return windowDriver; }
    MainWindow &window() const { return windowDriver.window(); }
    Report &report() { return figures; }
    // Writes the JSON file named by --json, if any: the process's exit code.
    int finish() const;

private:
    struct Environment
    {
        Environment(int argc, char **argv);
    };

    int argc;
    char **argv;
    Environment environment;
    QApplication application;
    WindowDriver windowDriver;
    Report figures;
};

// Shows the window and waits until the platform has exposed it at its current
// size; until then a repaint paints nothing. Needed after every resize, too.
void showExposed(QWidget &window);

// Delivers posted events until a round delivers none: the scene's queued
// update pass, the update requests it causes and the painting of the dirty
// regions, as the event loop would between two inputs. Timers do not run.
void deliverPostedEvents();

// Paint events received so far by `widget`, counted from the first call for
// that widget on (only one widget is watched at a time).
int paintEventsOf(const QWidget &widget);

// Delivers the queued updates, repaints the whole window synchronously and
// delivers what the painting queued. A forced repaint of everything, which the
// user never waits for: the second figure beside what changed.
void paintNow(QWidget &window);

// How a step is timed: until what it changed is painted, as the event loop
// paints between two inputs (the headline figure of every user action), or
// until the whole window is repainted, which the user never waits for (the
// second figure beside it).
enum class Until { Painted, WindowRepainted };

// The one timed step of every benchmark: the events of `action`, then the
// posted work they cause, up to the painting. Milliseconds on the chosen clock.
template<typename Action> double timeStep(QWidget &window, Until until, Action &&action)
{
    const double start = clockMilliseconds();
    action();
    if (until == Until::Painted)
        deliverPostedEvents();
    else
        paintNow(window);
    return clockMilliseconds() - start;
}

// Runs a sequence of steps twice and reports three figures, each name ending
// in `suffix`: `name`, the time of each step until painted; "chart paints per
// `name`", how often `chart` painted per step; and "`name` + window repaint".
// `steps(timed)` performs the whole sequence, handing each step's action to
// `timed`.
template<typename Steps>
void reportSteps(Report &report, QWidget &window, const QWidget &chart, const QString &name,
                 const QString &suffix, Steps &&steps)
{
    QList<double> painted;
    QList<double> paints;
    steps([&](auto &&action) {
        const int paintsBefore = paintEventsOf(chart);
        painted.append(timeStep(window, Until::Painted, action));
        paints.append(paintEventsOf(chart) - paintsBefore);
    });
    QList<double> repainted;
    steps(
        [&](auto &&action) { repainted.append(timeStep(window, Until::WindowRepainted, action)); });
    report.add(name + suffix, painted, timeUnit());
    report.add(QStringLiteral("chart paints per ") + name + suffix, paints,
               QStringLiteral("paints"));
    report.add(name + QStringLiteral(" + window repaint") + suffix, repainted, timeUnit());
}

// Viewport positions for a drag across the whole view: inside the unit circle,
// across its edge, through the corners of the chart, the corners of the view and
// beyond the view's edges, `stepsPerLeg` moves between neighbouring way points.
QList<QPointF> dragPath(const QGraphicsView &view, int stepsPerLeg);

} // namespace Bench
