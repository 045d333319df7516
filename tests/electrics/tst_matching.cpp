#include "electrics/matching.h"

#include <QObject>
#include <QTest>

#include <cmath>

using namespace Electrics;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Electrics::MatchingMove)

namespace {

const complex_dbl z50(50.0, 0.0);

complex_dbl gammaOf(complex_dbl z)
{
    return (z - z50) / (z + z50);
}

complex_dbl impedanceOf(complex_dbl gamma)
{
    return z50 * (1.0 + gamma) / (1.0 - gamma);
}

// The quantity a move keeps, from the textbook forms rather than the program's.
double keptQuantity(MatchingMove move, complex_dbl gamma)
{
    switch (move) {
    case MatchingMove::Series:
        return impedanceOf(gamma).real();
    case MatchingMove::Shunt:
        return (1.0 / impedanceOf(gamma)).real();
    case MatchingMove::Line:
        break;
    }
    return std::abs(gamma);
}

// The circle of constant r is centred at r / (1 + r) with radius 1 / (1 + r),
// that of constant g at -g / (1 + g) with radius 1 / (1 + g).
complex_dbl nearestOnCircle(MatchingMove move, complex_dbl start, complex_dbl target)
{
    complex_dbl centre;
    double radius = std::abs(start);
    const double r = impedanceOf(start).real() / 50.0;
    const double g = 50.0 * (1.0 / impedanceOf(start)).real();
    if (move == MatchingMove::Series) {
        centre = r / (1.0 + r);
        radius = 1.0 / (1.0 + r);
    } else if (move == MatchingMove::Shunt) {
        centre = -g / (1.0 + g);
        radius = 1.0 / (1.0 + g);
    }
    return centre + radius * (target - centre) / std::abs(target - centre);
}

} // namespace

// How series elements, shunt elements and lines move a load, and what the
// elements are, checked against the textbook circles and a worked example.
class TestMatching : public QObject
{
    Q_OBJECT

private slots:
    void heldMoveGoesToNearestPoint_data();
    void heldMoveGoesToNearestPoint();
    void heldMoveStaysShortOfItsEnd_data();
    void heldMoveStaysShortOfItsEnd();
    void turnGoesClockwise_data();
    void turnGoesClockwise();
    void elementNamesTheNetwork_data();
    void elementNamesTheNetwork();
};

void TestMatching::heldMoveGoesToNearestPoint_data()
{
    QTest::addColumn<MatchingMove>("move");
    QTest::addColumn<complex_dbl>("start");
    QTest::addColumn<complex_dbl>("target");

    const complex_dbl load = gammaOf({100.0, 50.0});
    QTest::newRow("series/up") << MatchingMove::Series << load << complex_dbl(0.2, 0.7);
    QTest::newRow("series/down") << MatchingMove::Series << load << complex_dbl(0.1, -0.6);
    QTest::newRow("series/small r")
        << MatchingMove::Series << gammaOf({2.0, -30.0}) << complex_dbl(-0.9, 0.2);
    QTest::newRow("series/outside") << MatchingMove::Series << load << complex_dbl(-1.2, 0.9);
    QTest::newRow("shunt/up") << MatchingMove::Shunt << load << complex_dbl(-0.3, 0.5);
    QTest::newRow("shunt/down") << MatchingMove::Shunt << load << complex_dbl(0.0, -0.5);
    QTest::newRow("shunt/large g")
        << MatchingMove::Shunt << gammaOf({3.0, 8.0}) << complex_dbl(0.4, 0.4);
    QTest::newRow("line/round") << MatchingMove::Line << load << complex_dbl(-0.5, -0.1);
    QTest::newRow("line/rim") << MatchingMove::Line << complex_dbl(0.6, 0.8)
                              << complex_dbl(-0.1, 0.3);
}

// The load goes to the point of its circle nearest to the aim, and keeps R, G
// or |Γ| to 1e-9.
void TestMatching::heldMoveGoesToNearestPoint()
{
    QFETCH(MatchingMove, move);
    QFETCH(complex_dbl, start);
    QFETCH(complex_dbl, target);
    const complex_dbl moved = heldMoveToward(move, start, start, target, z50);
    QVERIFY2(std::abs(moved - nearestOnCircle(move, start, target)) < 1e-12,
             qPrintable(QStringLiteral("%1 %2").arg(moved.real()).arg(moved.imag())));
    const double kept = keptQuantity(move, start);
    QVERIFY(std::abs(keptQuantity(move, moved) - kept) <= 1e-9 * std::abs(kept));
    QVERIFY(std::abs(moved) <= 1.0 + 1e-12);
}

void TestMatching::heldMoveStaysShortOfItsEnd_data()
{
    QTest::addColumn<MatchingMove>("move");
    QTest::addColumn<complex_dbl>("from");
    QTest::addColumn<complex_dbl>("target");
    QTest::addColumn<int>("side");

    const complex_dbl load = gammaOf({50.0, 50.0});
    const complex_dbl below = gammaOf({50.0, -50.0});
    // Aimed at the open circuit, and just past it from either side.
    QTest::newRow("series/at open") << MatchingMove::Series << load << complex_dbl(1.0, 0.0) << 1;
    QTest::newRow("series/past from above")
        << MatchingMove::Series << load << complex_dbl(1.0, -0.01) << 1;
    QTest::newRow("series/past from below")
        << MatchingMove::Series << below << complex_dbl(1.0, 0.01) << -1;
    QTest::newRow("shunt/at short") << MatchingMove::Shunt << below << complex_dbl(-1.0, 0.0) << -1;
    QTest::newRow("shunt/past from above")
        << MatchingMove::Shunt << load << complex_dbl(-1.0, -0.01) << 1;
    // A load the move cannot take stays where it is.
    QTest::newRow("series/active")
        << MatchingMove::Series << complex_dbl(0.9, 0.9) << complex_dbl(0.0, 0.0) << 0;
    QTest::newRow("series/open circuit")
        << MatchingMove::Series << complex_dbl(1.0, 0.0) << complex_dbl(0.0, 0.5) << 0;
    QTest::newRow("shunt/short circuit")
        << MatchingMove::Shunt << complex_dbl(-1.0, 0.0) << complex_dbl(0.0, 0.5) << 0;
    QTest::newRow("line/matched") << MatchingMove::Line << complex_dbl(0.0, 0.0)
                                  << complex_dbl(0.5, 0.5) << 0;
}

// A series move never reaches or passes the open circuit, a shunt move the
// short circuit: the load stops on the side it came from, with X or B finite.
void TestMatching::heldMoveStaysShortOfItsEnd()
{
    QFETCH(MatchingMove, move);
    QFETCH(complex_dbl, from);
    QFETCH(complex_dbl, target);
    QFETCH(int, side);
    const complex_dbl moved = heldMoveToward(move, from, from, target, z50);
    if (side == 0) {
        QCOMPARE(moved, from);
        return;
    }
    const complex_dbl end = move == MatchingMove::Series ? 1.0 : -1.0;
    QVERIFY(std::abs(moved - end) > 1e-4);
    QCOMPARE(moved.imag() > 0.0 ? 1 : -1, side);
    QVERIFY(std::isfinite(impedanceOf(moved).imag()));
    QVERIFY(std::isfinite((1.0 / impedanceOf(moved)).imag()));
}

void TestMatching::turnGoesClockwise_data()
{
    QTest::addColumn<MatchingMove>("move");
    QTest::addColumn<double>("degrees");
    QTest::addColumn<QString>("element");

    QTest::newRow("series/clockwise is an L") << MatchingMove::Series << 1.0 << u"Serien-L"_s;
    QTest::newRow("series/back is a C") << MatchingMove::Series << -1.0 << u"Serien-C"_s;
    QTest::newRow("shunt/clockwise is a C") << MatchingMove::Shunt << 10.0 << u"Parallel-C"_s;
    QTest::newRow("shunt/back is an L") << MatchingMove::Shunt << -0.1 << u"Parallel-L"_s;
    QTest::newRow("line/toward the generator")
        << MatchingMove::Line << 90.0 << u"Leitung 0,125 λ"_s;
    QTest::newRow("line/back") << MatchingMove::Line << -90.0 << u"Leitung 0,375 λ"_s;
    QTest::newRow("series/far stops short") << MatchingMove::Series << 400.0 << u"Serien-L"_s;
}

// Up and Right turn the load clockwise about its circle's centre.
void TestMatching::turnGoesClockwise()
{
    QFETCH(MatchingMove, move);
    QFETCH(double, degrees);
    QFETCH(QString, element);
    const complex_dbl start = gammaOf({100.0, 0.0});
    const complex_dbl turned = heldMoveTurned(move, start, start, degrees, z50);
    QVERIFY(std::abs(keptQuantity(move, turned) - keptQuantity(move, start))
            <= 1e-9 * keptQuantity(move, start));
    QVERIFY2(matchingElementText(move, start, turned, z50, 1e8).startsWith(element),
             qPrintable(matchingElementText(move, start, turned, z50, 1e8)));
    QVERIFY(std::abs(turned - 1.0) > 1e-4);
}

void TestMatching::elementNamesTheNetwork_data()
{
    QTest::addColumn<MatchingMove>("move");
    QTest::addColumn<complex_dbl>("from");
    QTest::addColumn<complex_dbl>("to");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<QString>("text");

    // 100 + j50 Ω matched at 100 MHz through 50 - j61,24 Ω, or through 50 + j61,24 Ω.
    const complex_dbl load = gammaOf({100.0, 50.0});
    const double x = 50.0 * std::sqrt(1.5);
    QTest::newRow("shunt C") << MatchingMove::Shunt << load << gammaOf({50.0, -x}) << 1e8
                             << u"Parallel-C 21,96 pF"_s;
    QTest::newRow("series L") << MatchingMove::Series << gammaOf({50.0, -x}) << complex_dbl() << 1e8
                              << u"Serien-L 97,46 nH"_s;
    QTest::newRow("shunt L") << MatchingMove::Shunt << load << gammaOf({50.0, x}) << 1e8
                             << u"Parallel-L 274,50 nH"_s;
    QTest::newRow("series C") << MatchingMove::Series << gammaOf({50.0, x}) << complex_dbl() << 1e8
                              << u"Serien-C 25,99 pF"_s;
    QTest::newRow("series at 0 Hz") << MatchingMove::Series << gammaOf({50.0, -x}) << complex_dbl()
                                    << 0.0 << u"Serien-X 61,24 jΩ"_s;
    QTest::newRow("shunt at 0 Hz")
        << MatchingMove::Shunt << load << gammaOf({50.0, -x}) << 0.0 << u"Parallel-B 13,8 jmS"_s;
    QTest::newRow("no change") << MatchingMove::Series << load << load << 1e8 << QString();
    QTest::newRow("line, a full turn") << MatchingMove::Line << load << load << 1e8 << QString();
    QTest::newRow("line, half a turn") << MatchingMove::Line << complex_dbl(0.5, 0.0)
                                       << complex_dbl(-0.5, 0.0) << 1e8 << u"Leitung 0,250 λ"_s;
}

void TestMatching::elementNamesTheNetwork()
{
    QFETCH(MatchingMove, move);
    QFETCH(complex_dbl, from);
    QFETCH(complex_dbl, to);
    QFETCH(double, frequency);
    QFETCH(QString, text);
    QCOMPARE(matchingElementText(move, from, to, z50, frequency), text);
}

QTEST_GUILESS_MAIN(TestMatching)
#include "tst_matching.moc"
