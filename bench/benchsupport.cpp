#include "bench/benchsupport.h"

#include "app/settingsstore.h"
#include "chart/graphicsscene.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QtNumeric>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace Bench {

namespace {

// |Gamma| = 1, the rim of the chart.
constexpr double rim = 1.0;
// How far beyond the view's edges the drag goes, in pixels.
constexpr double beyondView = 20.0;

bool onCpuClock = false;

bool hasFlag(int argc, char **argv, const char *flag)
{
    return std::any_of(argv + 1, argv + argc,
                       [flag](const char *word) { return std::strcmp(word, flag) == 0; });
}

double nearestRank(const QList<double> &sorted, double fraction)
{
    const auto rank =
        static_cast<qsizetype>(std::ceil(fraction * static_cast<double>(sorted.size())));
    return sorted.at(std::clamp<qsizetype>(rank - 1, 0, sorted.size() - 1));
}

// Numbers with a decimal point whatever the locale, so that tables stay readable
// by scripts.
QByteArray fixedPoint(double value)
{
    return QByteArray::number(value, 'f', 3).rightJustified(12);
}

void printFigure(const Figure &figure)
{
    const QByteArray line = figure.name.toUtf8().leftJustified(48) + ' ' + fixedPoint(figure.median)
        + ' ' + fixedPoint(figure.p99) + ' ' + fixedPoint(figure.max) + ' ' + figure.unit.toUtf8()
        + '\n';
    std::fputs(line.constData(), stdout);
    std::fflush(stdout);
}

QJsonObject toJson(const Figure &figure)
{
    return QJsonObject {{QStringLiteral("name"), figure.name},
                        {QStringLiteral("median"), figure.median},
                        {QStringLiteral("p99"), figure.p99},
                        {QStringLiteral("max"), figure.max},
                        {QStringLiteral("unit"), figure.unit}};
}

QPointF chartPoint(const QGraphicsView &view, double re, double im)
{
    return view.mapFromScene(GraphicsScene::scenePoint({re, im}));
}

// Counts every event the program delivers, and the paint events of one widget.
class DeliveryCounter : public QObject
{
public:
    bool eventFilter(QObject *watchedObject, QEvent *event) override
    {
        ++delivered;
        if (event->type() == QEvent::Paint && watchedObject == watched)
            ++paints;
        return false;
    }

    quint64 delivered = 0;
    int paints = 0;
    const QObject *watched = nullptr;
};

DeliveryCounter &deliveryCounter()
{
    static DeliveryCounter *counter = [] {
        auto *filter = new DeliveryCounter;
        filter->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(filter);
        return filter;
    }();
    return *counter;
}

} // namespace

void prepareEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LANG", "de_DE.UTF-8");
    qputenv("LC_ALL", "de_DE.UTF-8");
    qunsetenv("LANGUAGE");
    QStandardPaths::setTestModeEnabled(true);
    // The program's settings store, in the test-mode location: emptied so that
    // no earlier run decides the window size or the load.
    QSettings settings(SettingsStore::organisation(), SettingsStore::application());
    settings.clear();
    settings.sync();
}

void chooseClock(int argc, char **argv)
{
    onCpuClock = hasFlag(argc, argv, "--cpu-time");
}

double clockMilliseconds()
{
    timespec now {};
    clock_gettime(onCpuClock ? CLOCK_PROCESS_CPUTIME_ID : CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

QString timeUnit()
{
    return onCpuClock ? QStringLiteral("cpu-ms") : QStringLiteral("ms");
}

QString optionValue(int argc, char **argv, const char *flag)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], flag) == 0)
            return QString::fromLocal8Bit(argv[i + 1]);
    }
    return {};
}

QList<QSize> windowSizes(int argc, char **argv, const QList<QSize> &sizes)
{
    return hasFlag(argc, argv, "--full-hd") ? QList<QSize> {QSize(1920, 1080)} : sizes;
}

QString scaleSuffix()
{
    const QString factor = qEnvironmentVariable("QT_SCALE_FACTOR").trimmed();
    if (factor.isEmpty() || factor.toDouble() == 1.0)
        return {};
    return QStringLiteral(", scale ") + factor;
}

bool regularExpressionJitEnabled()
{
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_REGEXP_JIT"))
        return true;
    bool isNumber = false;
    const int setting = qEnvironmentVariableIntValue("QT_ENABLE_REGEXP_JIT", &isNumber);
    return !isNumber || setting != 0;
}

bool rerunWithoutJit(const QStringList &arguments)
{
    QStringList childArguments = arguments;
    const qsizetype json = childArguments.indexOf(QStringLiteral("--json"));
    if (json >= 0 && json + 1 < childArguments.size()) {
        const QFileInfo file(childArguments.at(json + 1));
        childArguments[json + 1] = file.path() + u'/' + file.completeBaseName()
            + QStringLiteral("-nojit.") + file.suffix();
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_ENABLE_REGEXP_JIT"), QStringLiteral("0"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), childArguments);
    return child.waitForFinished(-1) && child.exitStatus() == QProcess::NormalExit
        && child.exitCode() == 0;
}

long processStatusKib(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

Figure summarise(const QString &name, QList<double> samples, const QString &unit)
{
    if (samples.isEmpty())
        return {name, qQNaN(), qQNaN(), qQNaN(), unit};
    std::sort(samples.begin(), samples.end());
    return {name, nearestRank(samples, 0.5), nearestRank(samples, 0.99), samples.last(), unit};
}

Report::Report(const QString &programName)
    : program(programName)
{ }

void Report::add(const QString &name, const QList<double> &samples, const QString &unit)
{
    figures.append(summarise(name + scaleSuffix(), samples, unit));
    printFigure(figures.last());
}

void Report::addValue(const QString &name, double value, const QString &unit)
{
    add(name, {value}, unit);
}

bool Report::writeJsonIfRequested(int argc, char **argv) const
{
    const QString fileName = optionValue(argc, argv, "--json");
    if (fileName.isEmpty())
        return true;
    QJsonArray list;
    for (const Figure &figure : figures)
        list.append(toJson(figure));
    const QJsonObject document {{QStringLiteral("program"), program},
                                {QStringLiteral("figures"), list}};
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(QJsonDocument(document).toJson()) > 0;
}

WindowBenchmark::Environment::Environment(int argc, char **argv)
{
    prepareEnvironment();
    chooseClock(argc, argv);
}

WindowBenchmark::WindowBenchmark(int &argumentCount, char **arguments, const QString &program)
    : argc(argumentCount)
    , argv(arguments)
    , environment(argumentCount, arguments)
    , application(argumentCount, arguments)
    , figures(program)
{ }

int WindowBenchmark::finish() const
{
    return figures.writeJsonIfRequested(argc, argv) ? 0 : 1;
}

void showExposed(QWidget &window)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("the window was not exposed");
    paintNow(window);
}

void deliverPostedEvents()
{
    auto &counter = deliveryCounter();
    // A safety net for a program that keeps posting: no step of the window
    // needs more than a handful of rounds.
    constexpr int maximumRounds = 32;
    for (int round = 0; round < maximumRounds; ++round) {
        const quint64 before = counter.delivered;
        QCoreApplication::sendPostedEvents();
        if (counter.delivered == before)
            return;
    }
}

int paintEventsOf(const QWidget &widget)
{
    auto &counter = deliveryCounter();
    if (counter.watched != &widget) {
        counter.watched = &widget;
        counter.paints = 0;
    }
    return counter.paints;
}

void paintNow(QWidget &window)
{
    deliverPostedEvents();
    window.repaint();
    deliverPostedEvents();
}

QList<QPointF> dragPath(const QGraphicsView &view, int stepsPerLeg)
{
    const QRectF area = view.viewport()->rect();
    const QList<QPointF> wayPoints {
        chartPoint(view, 0.0, 0.0),
        chartPoint(view, 0.5, 0.5),
        chartPoint(view, -0.6, 0.3),
        chartPoint(view, 0.2, -0.7),
        chartPoint(view, 0.0, 0.9 * rim),
        chartPoint(view, 0.0, 1.1 * rim),
        chartPoint(view, 1.1 * rim, 0.0),
        chartPoint(view, 0.9 * rim, 0.0),
        chartPoint(view, rim, rim),
        chartPoint(view, -rim, rim),
        chartPoint(view, -rim, -rim),
        chartPoint(view, rim, -rim),
        area.topLeft(),
        area.topRight(),
        area.bottomRight(),
        area.bottomLeft(),
        area.topLeft() - QPointF(beyondView, beyondView),
        QPointF(area.right() + beyondView, area.center().y()),
        chartPoint(view, 0.0, 0.0),
    };
    QList<QPointF> path;
    for (qsizetype leg = 1; leg < wayPoints.size(); ++leg) {
        const QPointF from = wayPoints.at(leg - 1);
        const QPointF to = wayPoints.at(leg);
        for (int step = 1; step <= stepsPerLeg; ++step)
            path.append(from + (to - from) * step / stepsPerLeg);
    }
    return path;
}

} // namespace Bench
