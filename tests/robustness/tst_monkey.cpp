#include "monkey.h"
#include "throwawaysettings.h"
#include "warningtrap.h"
#include "windowdriver.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int defaultSteps = 3000;

} // namespace

// Thousands of random actions on the real window with real events; after each
// one the window must still show one sound load, and nothing may have printed
// a warning. VELMORA_MONKEY_STEPS sets the number of actions per seed,
// VELMORA_MONKEY_SEED replays one seed instead of the fixed ones.
class TestMonkey : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void randomUseKeepsTheLoadSound_data();
    void randomUseKeepsTheLoadSound();
};

void TestMonkey::initTestCase()
{
    useThrowAwaySettings();
}

void TestMonkey::randomUseKeepsTheLoadSound_data()
{
    QTest::addColumn<quint32>("seed");
    bool given = false;
    const quint32 replayed = qEnvironmentVariable("VELMORA_MONKEY_SEED").toUInt(&given);
    if (given) {
        QTest::addRow("seed %u", replayed) << replayed;
        return;
    }
    for (const quint32 seed : {20240611u, 77u})
        QTest::addRow("seed %u", seed) << seed;
}

void TestMonkey::randomUseKeepsTheLoadSound()
{
    QFETCH(quint32, seed);
    bool given = false;
    const int requested = qEnvironmentVariableIntValue("VELMORA_MONKEY_STEPS", &given);
    const int steps = given && requested > 0 ? requested : defaultSteps;
    qInfo("seed %u, %d steps (replay with VELMORA_MONKEY_SEED=%u)", seed, steps, seed);

    WarningTrap warnings;
    WindowDriver panel;
    Monkey monkey(panel, seed);
    for (int step = 1; step <= steps; ++step) {
        const QString problem = monkey.step();
        if (qEnvironmentVariableIsSet("VELMORA_MONKEY_TRACE"))
            qInfo("%d %s", step, qPrintable(monkey.lastAction().description.left(160)));
        const QString printed = warnings.take();
        if (!problem.isEmpty() || !printed.isEmpty())
            QFAIL(qPrintable(u"seed %1, step %2, %3: %4%5"_s.arg(seed).arg(step).arg(
                monkey.lastAction().description.left(200), problem,
                printed.isEmpty() ? QString() : u"warning: "_s + printed)));
    }
}

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
