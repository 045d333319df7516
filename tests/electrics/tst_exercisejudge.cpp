#include "electrics/exercise.h"
#include "electrics/exercisejudge.h"

#include <QLocale>
#include <QTest>

#include <vector>

Q_DECLARE_METATYPE(std::vector<Electrics::NetworkElement>)

using namespace Electrics;
using namespace Qt::StringLiterals;

// The judge at level 4, which the chart cannot build without lines of their
// own impedance. Task 3000: 112,7 + j87,8 Ω at 75 Ω and 1 GHz, worked by
// hand: Γ = 0,34432 + j0,30671 = 0,46111 ∠ 41,693°, so a line of Z0 of
// 41,693° / 720 = 0,057907 λ reaches the real axis at
// R = 75 · 1,46111 / 0,53889 = 203,351 Ω, and a quarter-wave line of
// √(75 · 203,351) = 123,496 Ω matches it.
class TestExerciseJudge : public QObject
{
    Q_OBJECT

private slots:
    void judgesTransformer_data();
    void judgesTransformer();
};

namespace {

constexpr double toRealAxis = 0.057907;
constexpr double transformerImpedance = 123.496;

NetworkElement line(double wavelengths, double ohms)
{
    return {MatchingMove::Line, wavelengths, ohms};
}

} // namespace

void TestExerciseJudge::judgesTransformer_data()
{
    QTest::addColumn<std::vector<NetworkElement>>("elements");
    QTest::addColumn<QString>("state");
    QTest::newRow("solved") << std::vector {line(toRealAxis, 0.0), line(0.25, transformerImpedance)}
                            << QString();
    QTest::newRow("0,002 λ long within")
        << std::vector {line(toRealAxis, 0.0), line(0.2515, transformerImpedance)} << QString();
    QTest::newRow("too short") << std::vector {line(toRealAxis, 0.0),
                                               line(0.24, transformerImpedance)}
                               << u"Transformator 0,240 λ lang, verlangt 0,250 ± 0,002 λ"_s;
    QTest::newRow("first line not Z0")
        << std::vector {line(toRealAxis, 60.0), line(0.25, transformerImpedance)}
        << u"Element 1 ist keine Leitung mit Z0"_s;
    QTest::newRow("a series element")
        << std::vector {NetworkElement {MatchingMove::Series, -87.8, 0.0}}
        << u"Element 1 ist keine Leitung"_s;
    QTest::newRow("hint from the load")
        << std::vector<NetworkElement> {}
        << u"Leitung (Strg+Umschalt) bis zur reellen Achse, dann Leitungsimpedanz 123,50 Ω"_s;
}

// An empty state: solved. Else the broken rule, or for an empty network the hint.
void TestExerciseJudge::judgesTransformer()
{
    QFETCH(std::vector<NetworkElement>, elements);
    QFETCH(QString, state);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const ExerciseTask task = *exerciseTask(3000);
    Network built;
    built.elements = elements;
    const ExerciseVerdict verdict = judgeExercise(task, built);
    QCOMPARE(verdict.solved, state.isEmpty());
    if (elements.empty())
        QCOMPARE(exerciseHint(task, built)->text, state);
    else
        QCOMPARE(verdict.brokenRule, state);
}

QTEST_MAIN(TestExerciseJudge)
#include "tst_exercisejudge.moc"
