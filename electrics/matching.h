#pragma once

#include "electrics/complexdbl.h"

#include <QString>

#include <optional>
#include <vector>

// The arithmetic of matching a load on the Smith chart: how a series element,
// a shunt element and a lossless line move the load, where a held move takes
// it, and which element a move is. Angles are in radians in the Gamma plane,
// anticlockwise positive, unless a name says degrees.
namespace Electrics {

// A series L or C keeps R, a shunt L or C keeps G, a lossless line keeps |Γ|.
enum class MatchingMove { Series, Shunt, Line };

struct GammaCircle
{
    complex_dbl centre;
    double radius = 0.0;
};

// The circle along which `move` takes the load `gamma`: constant R through the
// open circuit, constant G through the short circuit, or constant |Γ| about the
// centre. None for a load the move cannot take: an active or non-finite load,
// the open circuit for a series element, the short circuit for a shunt one,
// and Γ = 0 for a line, whose circle is a point.
std::optional<GammaCircle> moveCircle(MatchingMove move, complex_dbl gamma);

// A line of its own impedance Zl keeps |Γl|, the reflection referred to Zl.
// The functions below that take a `lineImpedance` in ohms use it for a line
// move; not positive or not finite means the chart's z0, where Γl is Γ.
// Γl from the chart's Γ, and back: (Γ − a) / (1 − aΓ), a = Γ of Zl.
complex_dbl lineReflection(complex_dbl gamma, complex_dbl z0, double lineImpedance);
complex_dbl reflectionFromLine(complex_dbl lineGamma, complex_dbl z0, double lineImpedance);
// moveCircle for a line of its own impedance: the circle of constant |Γl|
// through `gamma`, centred on the real axis through the real impedances
// Zl · SWRl and Zl / SWRl. None where Γl = 0.
std::optional<GammaCircle> moveCircle(MatchingMove move, complex_dbl gamma, complex_dbl z0,
                                      double lineImpedance);

// Where a move of this kind, begun at the load `start`, takes the load when
// the user aims at `target`: the point of the circle through `start` nearest
// to the target. A series or shunt move stays short of the open or short
// circuit and never passes through it: aimed beyond, the load stops at the
// end on the side of `from`, where it stands now. The kept quantity (R, G or
// |Γ|) is that of `start` to the rounding of the arithmetic. `from` is
// returned where the move cannot take the load.
complex_dbl heldMoveToward(MatchingMove move, complex_dbl start, complex_dbl from,
                           complex_dbl target, complex_dbl z0, double lineImpedance = 0.0);
// The same for a turn about the circle's centre, in degrees clockwise (a
// series L, a shunt C, a line toward the generator); negative turns go back.
// A line of its own impedance turns the phase of Γl, about Γl = 0.
complex_dbl heldMoveTurned(MatchingMove move, complex_dbl start, complex_dbl from,
                           double clockwiseDegrees, complex_dbl z0, double lineImpedance = 0.0);

// Where a held move that lands on the matching circles took the load, and
// whether it landed on one of their points exactly.
struct HeldMove
{
    complex_dbl gamma;
    bool snapped = false;
};

// The points of the circle through `start` where a held move lands exactly:
// its crossings with the circles R = Z0 and G = 1/Z0, Γ = 0 where the circle
// passes through it, and for a line also Γ = ±|Γ| on the real axis. Each is
// worked out from the quantity the move keeps, so that at a crossing R = Z0
// or G = 1/Z0 holds to the rounding of the conversions, and Γ = 0 is exactly
// 0. None lies within the stop short of the open or short circuit. A line of
// its own impedance lands on the real axis only, at Γl = ±|Γl|.
std::vector<complex_dbl> snapTargets(MatchingMove move, complex_dbl start, complex_dbl z0,
                                     double lineImpedance = 0.0);
// heldMoveToward, landing on the snap target nearest to the point it would
// take when that lies closer than `tolerance` (in Γ) to it.
HeldMove heldMoveSnappedToward(MatchingMove move, complex_dbl start, complex_dbl from,
                               complex_dbl target, complex_dbl z0, double tolerance,
                               double lineImpedance = 0.0);
// heldMoveTurned, ending on the first snap target the turn would pass or reach;
// a turn from a target goes on past it.
HeldMove heldMoveSnappedTurned(MatchingMove move, complex_dbl start, complex_dbl from,
                               double clockwiseDegrees, complex_dbl z0, double lineImpedance = 0.0);

// The arc a move draws from `start` to `end`: series and shunt arcs the way
// X or B changed, a line's clockwise.
struct GammaArc
{
    GammaCircle circle;
    double startAngle = 0.0;
    double sweep = 0.0;
};
std::optional<GammaArc> moveArc(MatchingMove move, complex_dbl start, complex_dbl end);
// The arc of a line `length` wavelengths long from `start` to `end`: clockwise
// along its circle of constant |Γl|, the whole circle from half a wavelength on.
std::optional<GammaArc> lineArc(complex_dbl start, complex_dbl end, double length, complex_dbl z0,
                                double lineImpedance);

// A line's length adds up over the steps of a held move, turn after turn.
// The step from `from` to `to` toward the generator, in wavelengths: the
// short way round, within ±0.25 λ, clockwise turns of Γl positive.
double lineStep(complex_dbl from, complex_dbl to, complex_dbl z0, double lineImpedance);
// The longest line a held move makes, in wavelengths at f0, and the farthest
// it turns back.
constexpr double longestLineLength = 1.0;
constexpr double longestTurnBack = 0.5;
// A held line's turn toward the generator after a step, in wavelengths: it
// adds up from half a wavelength back to longestLineLength ahead, and stops
// at either end.
double lineTurnAfterStep(double turn, double step);
// The length of the line a held turn makes: the turn itself, or for a turn
// back the line that moves the load the same way, half a wavelength less the
// turn. A length within rounding of 0 is 0.
double lineLengthOfTurn(double turn);

// The change of X in ohms (series) or of B in siemens (shunt) from start to end.
double reactanceChange(complex_dbl start, complex_dbl end, complex_dbl z0);
double susceptanceChange(complex_dbl start, complex_dbl end, complex_dbl z0);
// The length toward the generator, in wavelengths from 0 up to 0.5: the
// clockwise turn of Γ in degrees / 720.
double lineLength(complex_dbl start, complex_dbl end);

// The element that makes the move, with its value in the default locale:
// "Serien-L 97,46 nH", "Parallel-C 21,96 pF", "Leitung 0,125 λ". Without a
// positive frequency a series or shunt element is named by its reactance or
// susceptance ("Serien-X 50,00 jΩ"). A move that changes nothing gives an
// empty text.
QString matchingElementText(MatchingMove move, complex_dbl start, complex_dbl end, complex_dbl z0,
                            double frequency);

} // namespace Electrics
