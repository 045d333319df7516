#include "electrics/exercise.h"

#include <QLocale>
#include <QObject>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

using namespace Electrics;

namespace {

double swrOf(complex_dbl z, double z0)
{
    const double magnitude = std::abs((z - z0) / (z + z0));
    return (1.0 + magnitude) / (1.0 - magnitude);
}

// An element of reactance x at f0 as the L or C it is, at the frequency f.
double reactanceAt(double x, double f0, double f)
{
    const double omega = 6.283185307179586 * f, omega0 = 6.283185307179586 * f0;
    return x > 0.0 ? omega * (x / omega0) : -1.0 / (omega * (-1.0 / (omega0 * x)));
}

using Network = std::function<complex_dbl(double)>;

// The textbook L-sections (shunt B across the load when G <= 1/Z0, series X
// at the load when R < Z0), as input impedance over frequency.
std::vector<Network> lSections(const ExerciseTask &task)
{
    const double r = task.load.real(), x = task.load.imag(), z0 = task.z0, f0 = task.frequency;
    const double modulus = r * r + x * x;
    const auto load = [=](double f) {
        return complex_dbl(r, reactanceAt(x, f0, f));
    };
    const auto element = [=](double x, double f) {
        return complex_dbl(0.0, reactanceAt(x, f0, f));
    };
    std::vector<Network> sections;
    for (const double sign : {1.0, -1.0}) {
        if (modulus >= z0 * r) {
            const double b = (x + sign * std::sqrt(r / z0) * std::sqrt(modulus - z0 * r)) / modulus;
            const double xs = 1.0 / b + x * z0 / r - z0 / (b * r);
            sections.push_back([=](double f) {
                return element(xs, f) + 1.0 / (1.0 / element(-1.0 / b, f) + 1.0 / load(f));
            });
        }
        if (r < z0) {
            const double xs = sign * std::sqrt(r * (z0 - r)) - x;
            const double b = sign * std::sqrt((z0 - r) / r) / z0;
            sections.push_back([=](double f) {
                return 1.0 / (1.0 / element(-1.0 / b, f) + 1.0 / (load(f) + element(xs, f)));
            });
        }
    }
    return sections;
}

// Sampled every thousandth of the band's width.
bool meetsBand(const Network &section, const ExerciseTask &task)
{
    const double lowest = task.frequency * (1.0 - task.bandFraction);
    for (int step = 0; step <= 1000; ++step) {
        const double f = lowest + 2.0 * task.frequency * task.bandFraction * step / 1000.0;
        if (!(swrOf(section(f), task.z0) <= exerciseBandSwr))
            return false;
    }
    return true;
}

} // namespace

// Matching exercises by number: the pinned tasks, the rules every task keeps,
// checked with complex arithmetic of their own, and the task texts.
class TestExercise : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }
    void pinsTasks_data();
    void pinsTasks();
    void everyTaskKeepsTheRules();
    void noTaskOutsideTheNumbers_data();
    void noTaskOutsideTheNumbers();
    void writesTask_data();
    void writesTask();
};

// Worksheets already handed out name these tasks by number: a change here sets
// them other tasks. The values were checked against a separate implementation
// of the draw written from the rules.
void TestExercise::pinsTasks_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<double>("z0");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<complex_dbl>("load");

    QTest::newRow("1") << 1 << 50.0 << 3.3e6 << complex_dbl(95.1, 157.5);
    QTest::newRow("2") << 2 << 50.0 << 1e7 << complex_dbl(123.7, 52.6);
    QTest::newRow("1000") << 1000 << 75.0 << 1e7 << complex_dbl(65.6, 130.9);
    QTest::newRow("2000") << 2000 << 75.0 << 2.2e8 << complex_dbl(57.2, 146.0);
    QTest::newRow("3000") << 3000 << 75.0 << 1e9 << complex_dbl(112.7, 87.8);
    QTest::newRow("4999") << 4999 << 50.0 << 2.2e6 << complex_dbl(192.7, 56.0);
}

void TestExercise::pinsTasks()
{
    QFETCH(int, number);
    QFETCH(double, z0);
    QFETCH(double, frequency);
    QFETCH(complex_dbl, load);
    const std::optional<ExerciseTask> task = exerciseTask(number);
    QVERIFY(task);
    QCOMPARE(task->number, number);
    QCOMPARE(task->z0, z0);
    QCOMPARE(task->frequency, frequency);
    QCOMPARE(task->load, load);
}

void TestExercise::everyTaskKeepsTheRules()
{
    std::vector<double> frequencies;
    for (double decade = 1e6; decade < 1e10; decade *= 10.0) {
        for (const double mantissa : {1.0, 1.5, 2.2, 3.3, 4.7, 6.8})
            frequencies.push_back(mantissa * decade);
    }
    for (int number = 1; number <= 4999; ++number) {
        const std::optional<ExerciseTask> task = exerciseTask(number);
        const QByteArray row = QByteArray::number(number);
        QVERIFY2(task, row);
        const int level = number < 1000 ? 1 : number < 2000 ? 2 : number < 3000 ? 3 : 4;
        QVERIFY2(task->level == level && exerciseLevel(number) == level, row);
        QVERIFY2(task->z0 == (number % 4 == 0 ? 75.0 : 50.0), row);
        const double f = task->frequency;
        QVERIFY2(f >= 1e6 && f <= 6e9, row);
        QVERIFY2(std::any_of(frequencies.cbegin(), frequencies.cend(),
                             [f](double round) { return std::abs(f - round) < 1e-9 * round; }),
                 row);
        const complex_dbl z = task->load;
        QVERIFY2(z.real() > 0.0, row);
        for (const double part : {z.real(), z.imag()})
            QVERIFY2(std::abs(part * 10.0 - std::round(part * 10.0)) < 1e-9, row);
        const double reflection = std::abs((z - task->z0) / (z + task->z0));
        QVERIFY2(reflection >= 0.3 && reflection <= 0.85, row);
        // The best that one series element (X = 0), one shunt element (B = 0)
        // and, at level 4, a quarter-wave line alone (Zt² = Z0 |Z|) reach.
        QVERIFY2(swrOf(z.real(), task->z0) > exerciseMatchedSwr, row);
        QVERIFY2(swrOf(1.0 / (1.0 / z).real(), task->z0) > exerciseMatchedSwr, row);
        if (level == 4)
            QVERIFY2(swrOf(task->z0 * std::abs(z) / z, task->z0) > exerciseMatchedSwr, row);
        QVERIFY2((level == 2) == (task->bandFraction != 0.0), row);
        if (level != 2)
            continue;
        const double percent = task->bandFraction * 100.0;
        QVERIFY2(percent > 4.99 && percent < 20.01
                     && std::abs(percent - std::round(percent)) < 1e-9,
                 row);
        const std::vector<Network> sections = lSections(*task);
        for (const Network &section : sections)
            QVERIFY2(swrOf(section(f), task->z0) <= exerciseMatchedSwr, row);
        const auto meets = [&task](const Network &section) {
            return meetsBand(section, *task);
        };
        QVERIFY2(std::any_of(sections.cbegin(), sections.cend(), meets), row);
        QVERIFY2(!std::all_of(sections.cbegin(), sections.cend(), meets), row);
    }
}

void TestExercise::noTaskOutsideTheNumbers_data()
{
    QTest::addColumn<int>("number");
    QTest::newRow("0") << 0;
    QTest::newRow("5000") << 5000;
    QTest::newRow("-1") << -1;
    QTest::newRow("-4999") << -4999;
    QTest::newRow("lowest int") << std::numeric_limits<int>::min();
}

void TestExercise::noTaskOutsideTheNumbers()
{
    QFETCH(int, number);
    QVERIFY(!exerciseTask(number));
    QCOMPARE(exerciseLevel(number), 0);
}

void TestExercise::writesTask_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");

    QTest::newRow("level 1") << 1
                             << QStringLiteral(
                                    "Aufgabe 1 (Stufe 1): 95,10 + j157,50 Ω an 50,0 Ω bei "
                                    "3,300 MHz anpassen, höchstens 2 Elemente L/C, "
                                    "SWR ≤ 1,1 bei f₀");
    QTest::newRow("level 2/10 MHz ± 17 %")
        << 1000
        << QStringLiteral("Aufgabe 1000 (Stufe 2): 65,60 + j130,90 Ω an 75,0 Ω bei 10,000 MHz "
                          "anpassen, höchstens 2 Elemente L/C, SWR ≤ 1,1 bei f₀ und SWR ≤ 2 von "
                          "8,30 MHz bis 11,70 MHz");
    QTest::newRow("level 3/short stub")
        << 2000
        << QStringLiteral("Aufgabe 2000 (Stufe 3): 57,20 + j146,00 Ω an 75,0 Ω bei 220,000 MHz "
                          "anpassen, Leitung Z0 und eine kurzgeschlossene Parallel-Stichleitung, "
                          "SWR ≤ 1,1 bei f₀");
    QTest::newRow("level 4")
        << 3000
        << QStringLiteral("Aufgabe 3000 (Stufe 4): 112,70 + j87,80 Ω an 75,0 Ω bei 1,000 GHz "
                          "anpassen, Viertelwellentransformator: höchstens eine Leitung Z0, dann "
                          "eine Leitung eigener Impedanz von 0,250 λ, SWR ≤ 1,1 bei f₀");
}

void TestExercise::writesTask()
{
    QFETCH(int, number);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(exerciseText(*exerciseTask(number)), text);
}

QTEST_GUILESS_MAIN(TestExercise)
#include "tst_exercise.moc"
