#include "electrics/matching.h"

#include "electrics/conversions.h"
#include "electrics/formatting.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace Electrics {

namespace {

constexpr double fullTurn = 2.0 * pi;
constexpr double degree = pi / 180.0;

// A series or shunt move stops this far, about its circle's centre, from the
// open or short circuit, where X or B would have no bound.
constexpr double closestApproach = 0.1 * degree;

// A load this little outside the unit circle (in |Γ|²) is still lossless: a
// typed magnitude of 1 comes out of the arithmetic a few units in the last
// place off.
constexpr double rimTolerance = 1e-12;

// Changes this small against the quantities they join are rounding, not an
// element.
constexpr double negligibleChange = 1e-9;

QString text(const char *source)
{
    return QCoreApplication::translate("Velmora", source);
}

double squaredMagnitude(complex_dbl gamma)
{
    return gamma.real() * gamma.real() + gamma.imag() * gamma.imag();
}

bool isFinite(complex_dbl value)
{
    return std::isfinite(value.real()) && std::isfinite(value.imag());
}

// Into 0 ... 2 pi.
double wrapped(double angle)
{
    const double turn = std::fmod(angle, fullTurn);
    return turn < 0.0 ? turn + fullTurn : turn;
}

// Series and shunt angles are counted from the point the move must not reach,
// the open circuit (at angle 0 about its circle's centre) or the short circuit
// (at angle pi), so that a move never wraps through it. A line's are plain.
double zeroAngle(MatchingMove move)
{
    return move == MatchingMove::Shunt ? pi : 0.0;
}

double angleOnCircle(MatchingMove move, const GammaCircle &circle, complex_dbl gamma)
{
    return wrapped(std::arg(gamma - circle.centre) - zeroAngle(move));
}

complex_dbl pointOnCircle(MatchingMove move, const GammaCircle &circle, double angle)
{
    return circle.centre + std::polar(circle.radius, angle + zeroAngle(move));
}

double keptLimit(MatchingMove move, double angle)
{
    if (move == MatchingMove::Line)
        return wrapped(angle);
    return std::clamp(angle, closestApproach, fullTurn - closestApproach);
}

// The point of the circle, with the quantity the move keeps taken from start
// itself rather than from the geometry, so that R, G or |Γ| stays what it was.
complex_dbl keepingQuantity(MatchingMove move, complex_dbl start, complex_dbl point, complex_dbl z0)
{
    switch (move) {
    case MatchingMove::Series: {
        const double resistance = impedanceFromGamma(start, z0).real();
        return gammaFromImpedance({resistance, impedanceFromGamma(point, z0).imag()}, z0);
    }
    case MatchingMove::Shunt: {
        const auto admittance = [z0](complex_dbl gamma) {
            return admittanceFromImpedance(impedanceFromGamma(gamma, z0));
        };
        return gammaFromAdmittance({admittance(start).real(), admittance(point).imag()}, z0);
    }
    case MatchingMove::Line:
        break;
    }
    return std::polar(gammaMagnitude(start), std::arg(point));
}

// Where the arithmetic has no answer (a reference impedance of 0), the load
// stays where it is.
complex_dbl heldMoveTo(MatchingMove move, const GammaCircle &circle, complex_dbl start,
                       complex_dbl from, double angle, complex_dbl z0)
{
    const complex_dbl moved = keepingQuantity(move, start, pointOnCircle(move, circle, angle), z0);
    return isFinite(moved) ? moved : from;
}

// The matched load, where a move that passes through it lands exactly.
constexpr complex_dbl matched {0.0, 0.0};

// A kept quantity this close to Z0 or 1/Z0, relative, is that value: the load
// was put on its matching circle, to the rounding of the arithmetic.
constexpr double sameQuantityTolerance = 1e-9;

bool sameQuantity(double value, double reference)
{
    return std::abs(value - reference) <= sameQuantityTolerance * std::abs(reference);
}

// A turn from a point this close to a snap target, in radians, starts on it.
constexpr double sameAngle = 1e-9;

// The two roots of a positive square, one where it is 0, none where it is
// negative or not finite.
std::vector<double> plusMinusRoot(double square)
{
    if (!(square >= 0.0) || !std::isfinite(square))
        return {};
    const double root = std::sqrt(square);
    if (root == 0.0)
        return {0.0};
    return {root, -root};
}

bool negligible(double change, double first, double second)
{
    return !(std::abs(change) > negligibleChange * (std::abs(first) + std::abs(second)));
}

} // namespace

std::optional<GammaCircle> moveCircle(MatchingMove move, complex_dbl gamma)
{
    const double squared = squaredMagnitude(gamma);
    if (!isFinite(gamma) || squared > 1.0 + rimTolerance)
        return std::nullopt;
    // The circles of constant R and G are the circles through the open and the
    // short circuit with their centre on the real axis.
    switch (move) {
    case MatchingMove::Series: {
        if (gamma.real() >= 1.0)
            return std::nullopt;
        const double centre = (1.0 - squared) / (2.0 * (1.0 - gamma.real()));
        return GammaCircle {{centre, 0.0}, 1.0 - centre};
    }
    case MatchingMove::Shunt: {
        if (gamma.real() <= -1.0)
            return std::nullopt;
        const double centre = -(1.0 - squared) / (2.0 * (1.0 + gamma.real()));
        return GammaCircle {{centre, 0.0}, 1.0 + centre};
    }
    case MatchingMove::Line:
        break;
    }
    if (squared == 0.0)
        return std::nullopt;
    return GammaCircle {{0.0, 0.0}, gammaMagnitude(gamma)};
}

namespace {

// Γ of the line's impedance against z0: 0 for a line of the chart's Z0, or
// when there is no usable line impedance.
double lineOffset(complex_dbl z0, double lineImpedance)
{
    const double reference = z0.real();
    if (!(lineImpedance > 0.0) || !std::isfinite(lineImpedance) || !(reference > 0.0))
        return 0.0;
    return (lineImpedance - reference) / (lineImpedance + reference);
}

// The angle of Γl, 0 ... 2 pi, which a line's turn changes.
double lineAngle(complex_dbl gamma, complex_dbl z0, double lineImpedance)
{
    return wrapped(std::arg(lineReflection(gamma, z0, lineImpedance)));
}

// The point at `angle` of Γl on the line's circle through start, with |Γl|
// taken from start itself so that it stays what it was.
complex_dbl linePointAt(complex_dbl start, double angle, complex_dbl z0, double lineImpedance)
{
    const double magnitude = std::abs(lineReflection(start, z0, lineImpedance));
    return reflectionFromLine(std::polar(magnitude, angle), z0, lineImpedance);
}

} // namespace

complex_dbl lineReflection(complex_dbl gamma, complex_dbl z0, double lineImpedance)
{
    const double offset = lineOffset(z0, lineImpedance);
    return (gamma - offset) / (1.0 - offset * gamma);
}

complex_dbl reflectionFromLine(complex_dbl lineGamma, complex_dbl z0, double lineImpedance)
{
    const double offset = lineOffset(z0, lineImpedance);
    return (lineGamma + offset) / (1.0 + offset * lineGamma);
}

std::optional<GammaCircle> moveCircle(MatchingMove move, complex_dbl gamma, complex_dbl z0,
                                      double lineImpedance)
{
    if (move != MatchingMove::Line || lineOffset(z0, lineImpedance) == 0.0)
        return moveCircle(move, gamma);
    const complex_dbl lineGamma = lineReflection(gamma, z0, lineImpedance);
    if (!moveCircle(move, lineGamma))
        return std::nullopt;
    // The map from Γl keeps the real axis, so the circle's ends on it are
    // where Γl = ±|Γl|.
    const double magnitude = gammaMagnitude(lineGamma);
    const double right = reflectionFromLine(magnitude, z0, lineImpedance).real();
    const double left = reflectionFromLine(-magnitude, z0, lineImpedance).real();
    return GammaCircle {{(right + left) / 2.0, 0.0}, (right - left) / 2.0};
}

namespace {

// The angle on the circle where a move aimed at `target` stops; none where
// the aim gives no direction.
std::optional<double> towardAngle(MatchingMove move, const GammaCircle &circle, complex_dbl from,
                                  complex_dbl target)
{
    const complex_dbl offset = target - circle.centre;
    if (!isFinite(offset) || offset == complex_dbl())
        return std::nullopt;
    const double aim = wrapped(std::arg(offset) - zeroAngle(move));
    double angle = aim;
    if (move != MatchingMove::Line) {
        // The short way to the aim passes the open or short circuit: stop at
        // the end this side of it.
        const double now = angleOnCircle(move, circle, from);
        if (std::abs(aim - now) > pi)
            angle = now < pi ? 0.0 : fullTurn;
    }
    return keptLimit(move, angle);
}

} // namespace

namespace {

bool ownLine(MatchingMove move, complex_dbl z0, double lineImpedance)
{
    return move == MatchingMove::Line && lineOffset(z0, lineImpedance) != 0.0;
}

// The angle of Γl where a line aimed at `target` stops: at the point of the
// drawn circle nearest to the target, so that a drag follows the pointer.
std::optional<double> ownLineAim(complex_dbl start, complex_dbl target, complex_dbl z0,
                                 double lineImpedance)
{
    const std::optional<GammaCircle> circle =
        moveCircle(MatchingMove::Line, start, z0, lineImpedance);
    if (!circle)
        return std::nullopt;
    const complex_dbl offset = target - circle->centre;
    if (!isFinite(offset) || offset == complex_dbl())
        return std::nullopt;
    return lineAngle(circle->centre + std::polar(circle->radius, std::arg(offset)), z0,
                     lineImpedance);
}

complex_dbl ownLineAt(complex_dbl start, complex_dbl from, double angle, complex_dbl z0,
                      double lineImpedance)
{
    const complex_dbl moved = linePointAt(start, angle, z0, lineImpedance);
    return isFinite(moved) ? moved : from;
}

std::vector<complex_dbl> ownLineSnapTargets(complex_dbl start, complex_dbl z0, double lineImpedance)
{
    if (!moveCircle(MatchingMove::Line, start, z0, lineImpedance))
        return {};
    std::vector<complex_dbl> targets {linePointAt(start, 0.0, z0, lineImpedance),
                                      linePointAt(start, pi, z0, lineImpedance)};
    // A quarter wave of the right impedance matches the load: it lands on
    // Γ = 0 exactly.
    for (complex_dbl &target : targets) {
        if (std::abs(target) <= sameQuantityTolerance)
            target = matched;
    }
    return targets;
}

} // namespace

complex_dbl heldMoveToward(MatchingMove move, complex_dbl start, complex_dbl from,
                           complex_dbl target, complex_dbl z0, double lineImpedance)
{
    if (ownLine(move, z0, lineImpedance)) {
        const std::optional<double> angle = ownLineAim(start, target, z0, lineImpedance);
        return angle ? ownLineAt(start, from, *angle, z0, lineImpedance) : from;
    }
    const std::optional<GammaCircle> circle = moveCircle(move, start);
    const std::optional<double> angle =
        circle ? towardAngle(move, *circle, from, target) : std::nullopt;
    if (!angle)
        return from;
    return heldMoveTo(move, *circle, start, from, *angle, z0);
}

complex_dbl heldMoveTurned(MatchingMove move, complex_dbl start, complex_dbl from,
                           double clockwiseDegrees, complex_dbl z0, double lineImpedance)
{
    if (ownLine(move, z0, lineImpedance)) {
        if (!moveCircle(move, start, z0, lineImpedance) || !std::isfinite(clockwiseDegrees))
            return from;
        const double angle = lineAngle(from, z0, lineImpedance) - clockwiseDegrees * degree;
        return ownLineAt(start, from, wrapped(angle), z0, lineImpedance);
    }
    const std::optional<GammaCircle> circle = moveCircle(move, start);
    if (!circle || !std::isfinite(clockwiseDegrees))
        return from;
    const double angle = angleOnCircle(move, *circle, from) - clockwiseDegrees * degree;
    return heldMoveTo(move, *circle, start, from, keptLimit(move, angle), z0);
}

std::vector<complex_dbl> snapTargets(MatchingMove move, complex_dbl start, complex_dbl z0,
                                     double lineImpedance)
{
    if (ownLine(move, z0, lineImpedance))
        return ownLineSnapTargets(start, z0, lineImpedance);
    const std::optional<GammaCircle> circle = moveCircle(move, start);
    const double reference = z0.real();
    if (!circle || !(reference > 0.0) || !std::isfinite(reference))
        return {};
    std::vector<complex_dbl> targets;
    switch (move) {
    case MatchingMove::Series: {
        const double resistance = impedanceFromGamma(start, z0).real();
        // The circles R = Z0 and G = 1/Z0 touch only at Γ = 0.
        if (sameQuantity(resistance, reference)) {
            targets.push_back(matched);
            break;
        }
        // G = R / (R² + X²) = 1/Z0.
        for (const double reactance :
             plusMinusRoot(resistance * reference - resistance * resistance))
            targets.push_back(gammaFromImpedance({resistance, reactance}, z0));
        break;
    }
    case MatchingMove::Shunt: {
        const double conductance = admittanceFromImpedance(impedanceFromGamma(start, z0)).real();
        if (sameQuantity(conductance, 1.0 / reference)) {
            targets.push_back(matched);
            break;
        }
        // R = G / (G² + B²) = Z0.
        for (const double susceptance :
             plusMinusRoot(conductance / reference - conductance * conductance))
            targets.push_back(gammaFromAdmittance({conductance, susceptance}, z0));
        break;
    }
    case MatchingMove::Line: {
        const double magnitude = gammaMagnitude(start);
        targets = {{magnitude, 0.0}, {-magnitude, 0.0}};
        // On r = 1 and on g = 1 alike |Γ|² = x² / (4 + x²), in normalised x or b.
        const double squared = magnitude * magnitude;
        for (const double normalised : plusMinusRoot(4.0 * squared / (1.0 - squared))) {
            targets.push_back(gammaFromImpedance(reference * complex_dbl(1.0, normalised), z0));
            targets.push_back(gammaFromAdmittance(complex_dbl(1.0, normalised) / reference, z0));
        }
        break;
    }
    }
    const auto unreachable = [move, &circle](complex_dbl target) {
        if (!isFinite(target))
            return true;
        if (move == MatchingMove::Line)
            return false;
        const double angle = angleOnCircle(move, *circle, target);
        return angle < closestApproach || angle > fullTurn - closestApproach;
    };
    targets.erase(std::remove_if(targets.begin(), targets.end(), unreachable), targets.end());
    return targets;
}

HeldMove heldMoveSnappedToward(MatchingMove move, complex_dbl start, complex_dbl from,
                               complex_dbl target, complex_dbl z0, double tolerance,
                               double lineImpedance)
{
    const bool own = ownLine(move, z0, lineImpedance);
    const std::optional<GammaCircle> circle = own ? std::nullopt : moveCircle(move, start);
    const std::optional<double> angle = own ? ownLineAim(start, target, z0, lineImpedance)
        : circle                            ? towardAngle(move, *circle, from, target)
                                            : std::nullopt;
    if (!angle)
        return {from, false};
    // Measured from where the move stops rather than from the aim, so that no
    // snap reaches past the open or short circuit.
    const complex_dbl reached = own ? ownLineAt(start, from, *angle, z0, lineImpedance)
                                    : pointOnCircle(move, *circle, *angle);
    std::optional<complex_dbl> nearest;
    double nearestDistance = tolerance;
    for (const complex_dbl snapTarget : snapTargets(move, start, z0, lineImpedance)) {
        if (const double distance = std::abs(snapTarget - reached); distance < nearestDistance) {
            nearestDistance = distance;
            nearest = snapTarget;
        }
    }
    if (nearest)
        return {*nearest, true};
    if (own)
        return {reached, false};
    return {heldMoveTo(move, *circle, start, from, *angle, z0), false};
}

HeldMove heldMoveSnappedTurned(MatchingMove move, complex_dbl start, complex_dbl from,
                               double clockwiseDegrees, complex_dbl z0, double lineImpedance)
{
    const std::optional<GammaCircle> circle = moveCircle(move, start, z0, lineImpedance);
    if (!circle || !std::isfinite(clockwiseDegrees))
        return {from, false};
    // A line of its own impedance turns Γl about its centre, not the drawn
    // circle about its own.
    const bool own = ownLine(move, z0, lineImpedance);
    const auto angleOf = [&](complex_dbl gamma) {
        return own ? lineAngle(gamma, z0, lineImpedance) : angleOnCircle(move, *circle, gamma);
    };
    const double now = angleOf(from);
    const double turned = keptLimit(move, now - clockwiseDegrees * degree);
    // Signed angles along the circle from `from`, positive anticlockwise; a
    // line's turn may go round through angle 0.
    const double travelled = move == MatchingMove::Line ? -clockwiseDegrees * degree : turned - now;
    const auto alongTurn = [&](complex_dbl target) {
        const double angle = angleOf(target);
        if (move != MatchingMove::Line)
            return angle - now;
        return travelled < 0.0 ? -wrapped(now - angle) : wrapped(angle - now);
    };
    std::optional<complex_dbl> first;
    double firstAlong = std::abs(travelled);
    for (const complex_dbl target : snapTargets(move, start, z0, lineImpedance)) {
        const double along = alongTurn(target);
        const bool ahead = along * travelled > 0.0 && std::abs(along) > sameAngle;
        if (ahead && std::abs(along) <= firstAlong) {
            firstAlong = std::abs(along);
            first = target;
        }
    }
    if (first)
        return {*first, true};
    if (own)
        return {ownLineAt(start, from, turned, z0, lineImpedance), false};
    return {heldMoveTo(move, *circle, start, from, turned, z0), false};
}

std::optional<GammaArc> moveArc(MatchingMove move, complex_dbl start, complex_dbl end)
{
    const std::optional<GammaCircle> circle = moveCircle(move, start);
    if (!circle || !isFinite(end))
        return std::nullopt;
    const double from = angleOnCircle(move, *circle, start);
    const double to = angleOnCircle(move, *circle, end);
    if (move == MatchingMove::Line)
        return GammaArc {*circle, from, -wrapped(from - to)};
    return GammaArc {*circle, from + zeroAngle(move), to - from};
}

std::optional<GammaArc> lineArc(complex_dbl start, complex_dbl end, double length, complex_dbl z0,
                                double lineImpedance)
{
    const std::optional<GammaCircle> circle =
        moveCircle(MatchingMove::Line, start, z0, lineImpedance);
    if (!circle || !isFinite(end) || !std::isfinite(length))
        return std::nullopt;
    const double from = std::arg(start - circle->centre);
    if (length >= 0.5)
        return GammaArc {*circle, from, -fullTurn};
    return GammaArc {*circle, from, -wrapped(from - std::arg(end - circle->centre))};
}

double lineStep(complex_dbl from, complex_dbl to, complex_dbl z0, double lineImpedance)
{
    double turn = wrapped(lineAngle(from, z0, lineImpedance) - lineAngle(to, z0, lineImpedance));
    if (turn > pi)
        turn -= fullTurn;
    return turn / degree / 720.0;
}

double lineTurnAfterStep(double turn, double step)
{
    const double added = turn + step;
    return std::isfinite(added) ? std::clamp(added, -longestTurnBack, longestLineLength) : turn;
}

double lineLengthOfTurn(double turn)
{
    const double length = turn < 0.0 ? longestTurnBack + turn : turn;
    return negligible(length, 1.0, 0.0) ? 0.0 : length;
}

double reactanceChange(complex_dbl start, complex_dbl end, complex_dbl z0)
{
    return impedanceFromGamma(end, z0).imag() - impedanceFromGamma(start, z0).imag();
}

double susceptanceChange(complex_dbl start, complex_dbl end, complex_dbl z0)
{
    const auto susceptance = [z0](complex_dbl gamma) {
        return admittanceFromImpedance(impedanceFromGamma(gamma, z0)).imag();
    };
    return susceptance(end) - susceptance(start);
}

double lineLength(complex_dbl start, complex_dbl end)
{
    return wrapped(std::arg(start) - std::arg(end)) / degree / 720.0;
}

QString matchingElementText(MatchingMove move, complex_dbl start, complex_dbl end, complex_dbl z0,
                            double frequency)
{
    const bool withFrequency = frequency > 0.0 && std::isfinite(frequency);
    const double omega = angularFrequency(frequency);
    switch (move) {
    case MatchingMove::Series: {
        const double change = reactanceChange(start, end, z0);
        if (negligible(change, std::abs(impedanceFromGamma(start, z0)),
                       std::abs(impedanceFromGamma(end, z0))))
            return QString();
        if (!withFrequency)
            return text("Serien-X %1").arg(formatOhms(change, 2, true));
        if (change > 0.0)
            return text("Serien-L %1").arg(formatInductance(change / omega));
        return text("Serien-C %1").arg(formatCapacitance(1.0 / (omega * -change)));
    }
    case MatchingMove::Shunt: {
        const double change = susceptanceChange(start, end, z0);
        const auto admittance = [z0](complex_dbl gamma) {
            return std::abs(admittanceFromImpedance(impedanceFromGamma(gamma, z0)));
        };
        if (negligible(change, admittance(start), admittance(end)))
            return QString();
        if (!withFrequency)
            return text("Parallel-B %1").arg(formatNumber(1000.0 * change, 1) + u" jmS");
        if (change > 0.0)
            return text("Parallel-C %1").arg(formatCapacitance(change / omega));
        return text("Parallel-L %1").arg(formatInductance(1.0 / (omega * -change)));
    }
    case MatchingMove::Line:
        break;
    }
    const double length = lineLength(start, end);
    if (negligible(length, 1.0, 0.0) || negligible(0.5 - length, 1.0, 0.0))
        return QString();
    return text("Leitung %1 λ").arg(formatNumber(length, 3));
}

} // namespace Electrics
