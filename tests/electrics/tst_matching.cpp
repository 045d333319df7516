#include "electrics/matching.h"

#include "electrics/conversions.h"

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
GammaCircle textbookCircle(MatchingMove move, complex_dbl start)
{
    const double r = impedanceOf(start).real() / 50.0;
    const double g = 50.0 * (1.0 / impedanceOf(start)).real();
    if (move == MatchingMove::Series)
        return {r / (1.0 + r), 1.0 / (1.0 + r)};
    if (move == MatchingMove::Shunt)
        return {-g / (1.0 + g), 1.0 / (1.0 + g)};
    return {0.0, std::abs(start)};
}

complex_dbl nearestOnCircle(MatchingMove move, complex_dbl start, complex_dbl target)
{
    const GammaCircle circle = textbookCircle(move, start);
    return circle.centre
        + circle.radius * (target - circle.centre) / std::abs(target - circle.centre);
}

complex_dbl turnedClockwise(MatchingMove move, complex_dbl start, double degrees)
{
    const complex_dbl centre = textbookCircle(move, start).centre;
    return centre + (start - centre) * std::polar(1.0, -degrees * pi / 180.0);
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
    void snapLandsExactly_data();
    void snapLandsExactly();
    void arcBendsTheWayTheElementGoes_data();
    void arcBendsTheWayTheElementGoes();
    void elementNamesTheNetwork_data();
    void elementNamesTheNetwork();
    void lineCircleOfItsOwnImpedance_data();
    void lineCircleOfItsOwnImpedance();
    void lineTurnKeepsItsReflection_data();
    void lineTurnKeepsItsReflection();
    void lineLengthsAddUp_data();
    void lineLengthsAddUp();
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
    // A typed |Γ| = 1 at 8° comes out a rounding step outside the unit circle.
    QTest::newRow("line/typed rim")
        << MatchingMove::Line << gammaFromPolar(1.0, 8.0) << complex_dbl(-0.1, 0.3);
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
    const complex_dbl centre = textbookCircle(move, from).centre;
    const double stop = std::abs(std::arg((moved - centre) / (end - centre)));
    QVERIFY2(std::abs(stop - 0.1 * pi / 180.0) < 1e-9, qPrintable(QString::number(stop)));
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

void TestMatching::snapLandsExactly_data()
{
    QTest::addColumn<MatchingMove>("move");
    QTest::addColumn<complex_dbl>("from");
    QTest::addColumn<complex_dbl>("aim"); // for a drag
    QTest::addColumn<double>("degrees"); // for a key, not a number for a drag
    QTest::addColumn<complex_dbl>("landed");
    QTest::addColumn<QString>("exact"); // R = Z0, G = 1/Z0, Γ = 0, on the axis; empty: no snap

    // 100 + j50 Ω on G = 8 mS meets R = 50 Ω at 50 ± j61,24 Ω (B = ±9,80 mS);
    // 20 + j10 Ω meets G = 20 mS at 20 ± j24,49 Ω; |Γ|² = 0,2 meets r = 1 at
    // z = 1 ± j and g = 1 at y = 1 ± j.
    const complex_dbl load = gammaOf({100.0, 50.0});
    const complex_dbl below = gammaOf({50.0, -50.0 * std::sqrt(1.5)});
    const complex_dbl above = gammaOf({50.0, 50.0 * std::sqrt(1.5)});
    const complex_dbl onAxis(std::sqrt(0.2), 0.0);
    const double drag = std::nan("");
    const MatchingMove series = MatchingMove::Series;
    const MatchingMove shunt = MatchingMove::Shunt;
    const MatchingMove line = MatchingMove::Line;
    QTest::newRow("drag/shunt onto R = Z0")
        << shunt << load << below + complex_dbl(0.01, 0.01) << drag << below << u"R"_s;
    const complex_dbl tenDegreesOn = turnedClockwise(shunt, below, 10.0);
    QTest::newRow("drag/shunt too far to snap")
        << shunt << load << tenDegreesOn << drag << tenDegreesOn << QString();
    const complex_dbl crossing = gammaOf({20.0, std::sqrt(600.0)});
    QTest::newRow("drag/series onto G = 1/Z0")
        << series << gammaOf({20.0, 10.0}) << crossing + 0.01 << drag << crossing << u"G"_s;
    QTest::newRow("drag/series through the centre")
        << series << below << complex_dbl(0.01, -0.01) << drag << complex_dbl() << u"0"_s;
    const complex_dbl beside = gammaOf({50.5, 20.0});
    QTest::newRow("drag/series beside the centre")
        << series << beside << complex_dbl() << drag << nearestOnCircle(series, beside, 0.0)
        << QString();
    QTest::newRow("drag/line onto r = 1")
        << line << load << complex_dbl(0.21, 0.41) << drag << complex_dbl(0.2, 0.4) << u"R"_s;
    QTest::newRow("drag/line onto g = 1")
        << line << load << complex_dbl(-0.21, 0.39) << drag << complex_dbl(-0.2, 0.4) << u"G"_s;
    QTest::newRow("drag/line onto the axis")
        << line << load << complex_dbl(-0.45, 0.01) << drag << -onAxis << u"axis"_s;
    QTest::newRow("key/shunt stops on R = Z0")
        << shunt << load << complex_dbl() << 60.0 << below << u"R"_s;
    QTest::newRow("key/shunt back onto R = Z0")
        << shunt << load << complex_dbl() << -30.0 << above << u"R"_s;
    QTest::newRow("key/shunt short of R = Z0") << shunt << load << complex_dbl() << 50.0
                                               << turnedClockwise(shunt, load, 50.0) << QString();
    QTest::newRow("key/shunt on from R = Z0") << shunt << below << complex_dbl() << 1.0
                                              << turnedClockwise(shunt, below, 1.0) << QString();
    QTest::newRow("key/series onto the centre")
        << series << below << complex_dbl() << 90.0 << complex_dbl() << u"0"_s;
    QTest::newRow("key/line across angle 0")
        << line << std::polar(std::sqrt(0.2), -5.0 * pi / 180.0) << complex_dbl() << -10.0 << onAxis
        << u"axis"_s;
    QTest::newRow("key/line back onto r = 1")
        << line << load << complex_dbl() << -40.0 << complex_dbl(0.2, 0.4) << u"R"_s;
}

// A held move near a point of the matching circles lands on it, with R = Z0,
// G = 1/Z0 or Γ = 0 exact as the program computes them back, and keeps R, G
// or |Γ|.
void TestMatching::snapLandsExactly()
{
    QFETCH(MatchingMove, move);
    QFETCH(complex_dbl, from);
    QFETCH(complex_dbl, aim);
    QFETCH(double, degrees);
    QFETCH(complex_dbl, landed);
    QFETCH(QString, exact);
    const HeldMove moved = std::isnan(degrees)
        ? heldMoveSnappedToward(move, from, from, aim, z50, 0.03)
        : heldMoveSnappedTurned(move, from, from, degrees, z50);
    QCOMPARE(moved.snapped, !exact.isEmpty());
    QVERIFY2(std::abs(moved.gamma - landed) < 1e-12,
             qPrintable(QStringLiteral("%1 %2").arg(moved.gamma.real()).arg(moved.gamma.imag())));
    const complex_dbl z = impedanceFromGamma(moved.gamma, z50);
    if (exact == u"R")
        QVERIFY(std::abs(z.real() - 50.0) <= 1e-12 * 50.0);
    if (exact == u"G")
        QVERIFY(std::abs(admittanceFromImpedance(z).real() - 0.02) <= 1e-12 * 0.02);
    if (exact == u"0")
        QCOMPARE(moved.gamma, complex_dbl());
    const double kept = keptQuantity(move, from);
    QVERIFY(std::abs(keptQuantity(move, moved.gamma) - kept) <= 1e-9 * kept);
}

void TestMatching::arcBendsTheWayTheElementGoes_data()
{
    QTest::addColumn<MatchingMove>("move");
    QTest::addColumn<complex_dbl>("start");
    QTest::addColumn<complex_dbl>("end");
    QTest::addColumn<double>("startAngle"); // about the circle's centre
    QTest::addColumn<double>("sweep"); // anticlockwise positive

    // From Γ = 0 a quarter of r = 1 (centre 0.5) or g = 1 (centre -0.5) to
    // x or b = ±2; the series L and the shunt C turn clockwise.
    QTest::newRow("series L over the top")
        << MatchingMove::Series << complex_dbl() << complex_dbl(0.5, 0.5) << pi << -pi / 2;
    QTest::newRow("series C below")
        << MatchingMove::Series << complex_dbl() << complex_dbl(0.5, -0.5) << pi << pi / 2;
    QTest::newRow("shunt C below")
        << MatchingMove::Shunt << complex_dbl() << complex_dbl(-0.5, -0.5) << 0.0 << -pi / 2;
    QTest::newRow("shunt L over the top")
        << MatchingMove::Shunt << complex_dbl() << complex_dbl(-0.5, 0.5) << 0.0 << pi / 2;
    QTest::newRow("line, half a turn")
        << MatchingMove::Line << complex_dbl(0.0, 0.5) << complex_dbl(0.0, -0.5) << pi / 2 << -pi;
}

void TestMatching::arcBendsTheWayTheElementGoes()
{
    QFETCH(MatchingMove, move);
    QFETCH(complex_dbl, start);
    QFETCH(complex_dbl, end);
    QFETCH(double, startAngle);
    QFETCH(double, sweep);
    const std::optional<GammaArc> arc = moveArc(move, start, end);
    QVERIFY(arc);
    QVERIFY(std::abs(std::polar(1.0, arc->startAngle) - std::polar(1.0, startAngle)) < 1e-12);
    QVERIFY2(std::abs(arc->sweep - sweep) < 1e-12, qPrintable(QString::number(arc->sweep)));
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

void TestMatching::lineCircleOfItsOwnImpedance_data()
{
    QTest::addColumn<complex_dbl>("load");
    QTest::addColumn<double>("lineImpedance");

    QTest::newRow("10 Ω on 22,36 Ω, the quarter-wave transformer") << complex_dbl(10.0) << 22.36;
    QTest::newRow("30 + j40 Ω on 75 Ω") << complex_dbl(30.0, 40.0) << 75.0;
    QTest::newRow("200 - j100 Ω on 25 Ω") << complex_dbl(200.0, -100.0) << 25.0;
    QTest::newRow("the chart's own Z0") << complex_dbl(100.0, 50.0) << 50.0;
}

// The circle of constant |Γl| runs through Γ of Zl · SWRl and Zl / SWRl, SWRl
// taken from the textbook reflection against Zl, and through the load.
void TestMatching::lineCircleOfItsOwnImpedance()
{
    QFETCH(complex_dbl, load);
    QFETCH(double, lineImpedance);
    const double magnitude = std::abs((load - lineImpedance) / (load + lineImpedance));
    const double swr = (1.0 + magnitude) / (1.0 - magnitude);
    const double right = gammaOf(lineImpedance * swr).real();
    const double left = gammaOf(lineImpedance / swr).real();
    const std::optional<GammaCircle> circle =
        moveCircle(MatchingMove::Line, gammaOf(load), z50, lineImpedance);
    QVERIFY(circle);
    QVERIFY(std::abs(circle->centre - complex_dbl((right + left) / 2.0)) < 1e-12);
    QVERIFY(std::abs(circle->radius - (right - left) / 2.0) < 1e-12);
    QVERIFY(std::abs(std::abs(gammaOf(load) - circle->centre) - circle->radius) < 1e-12);
}

void TestMatching::lineTurnKeepsItsReflection_data()
{
    QTest::addColumn<complex_dbl>("load");
    QTest::addColumn<double>("lineImpedance");
    QTest::addColumn<double>("degrees");

    QTest::newRow("a degree toward the generator") << gammaOf(10.0) << 22.36 << 1.0;
    QTest::newRow("ten degrees back") << gammaOf({30.0, 40.0}) << 75.0 << -10.0;
    QTest::newRow("most of a turn") << gammaOf({200.0, -100.0}) << 25.0 << 350.0;
}

// A key turns the phase of Γl, the textbook reflection against Zl, by its
// degrees and keeps |Γl| to 1e-9.
void TestMatching::lineTurnKeepsItsReflection()
{
    QFETCH(complex_dbl, load);
    QFETCH(double, lineImpedance);
    QFETCH(double, degrees);
    const auto againstLine = [lineImpedance](complex_dbl gamma) {
        const complex_dbl z = impedanceOf(gamma);
        return (z - lineImpedance) / (z + lineImpedance);
    };
    const complex_dbl moved =
        heldMoveTurned(MatchingMove::Line, load, load, degrees, z50, lineImpedance);
    const double kept = std::abs(againstLine(load));
    QVERIFY(std::abs(std::abs(againstLine(moved)) - kept) <= 1e-9 * kept);
    const complex_dbl turn = againstLine(moved) / againstLine(load);
    QVERIFY(std::abs(turn - std::polar(1.0, -degrees * pi / 180.0)) < 1e-9);
}

void TestMatching::lineLengthsAddUp_data()
{
    QTest::addColumn<double>("lineImpedance");
    QTest::addColumn<double>("degrees"); // each key's turn
    QTest::addColumn<int>("keys");
    QTest::addColumn<double>("length");

    // 720° of Γl make a wavelength.
    QTest::newRow("half a turn, a quarter wave") << 22.36 << 1.0 << 180 << 0.25;
    QTest::newRow("on past a full turn") << 50.0 << 10.0 << 45 << 0.625;
    QTest::newRow("on past a full turn, own impedance") << 75.0 << 10.0 << 54 << 0.75;
    QTest::newRow("two full turns stop at 1 λ") << 22.36 << 10.0 << 80 << 1.0;
    QTest::newRow("begun back, half a wave less") << 50.0 << -1.0 << 90 << 0.375;
    QTest::newRow("back through half a wave to nothing") << 75.0 << -10.0 << 40 << 0.0;
}

// A held line's steps add up turn after turn: its length is the turn of Γl
// over 720°, up to 1 λ, and a line begun back moves the load as the line of
// half a wavelength less the turn does.
void TestMatching::lineLengthsAddUp()
{
    QFETCH(double, lineImpedance);
    QFETCH(double, degrees);
    QFETCH(int, keys);
    QFETCH(double, length);
    const complex_dbl start = gammaOf({30.0, 40.0});
    complex_dbl from = start;
    double turn = 0.0;
    for (int key = 0; key < keys; ++key) {
        const complex_dbl to =
            heldMoveTurned(MatchingMove::Line, start, from, degrees, z50, lineImpedance);
        turn = lineTurnAfterStep(turn, lineStep(from, to, z50, lineImpedance));
        from = to;
    }
    QVERIFY2(std::abs(lineLengthOfTurn(turn) - length) < 1e-9,
             qPrintable(QString::number(lineLengthOfTurn(turn))));
}

QTEST_GUILESS_MAIN(TestMatching)
#include "tst_matching.moc"
