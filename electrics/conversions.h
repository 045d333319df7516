#pragma once

#include "electrics/complexdbl.h"

// Pure conversions between the reflection coefficient Gamma, the reference
// impedance Z0, the frequency and every quantity the program shows or accepts.
// All complex products and quotients follow IEC 60559 (a division by complex
// zero gives an infinity); nothing clamps and nothing raises, non-finite
// values travel on as values.
namespace Electrics {

constexpr double pi = 3.141592653589793;
constexpr double twoPi = 6.283185307179586;

// The reference impedances the program takes, in ohms: every practical line
// and waveguide.
constexpr double lowestReferenceImpedance = 0.1;
constexpr double highestReferenceImpedance = 10000.0;
// Whether Z0 lies in that range; not for a value that is not a number.
bool isUsableReferenceImpedance(double ohms);

// Which element realises a reactance at a given frequency.
enum class ElementKind { None, Inductor, Capacitor };

struct Element
{
    ElementKind kind = ElementKind::None;
    double value = 0.0; // henry or farad; a capacitor's value may carry a sign, see parallelElement
};

struct ParallelEquivalent
{
    double rp = 0.0; // ohms
    double xp = 0.0; // ohms; not a number when the load has no parallel reactance
};

// C1: Z = Z0 * (1 + Gamma) / (1 - Gamma); a load with |Gamma|^2 within 1e-15
// of 1 is lossless and gets R = +0 (unless R is not finite, at Gamma = 1)
complex_dbl impedanceFromGamma(complex_dbl gamma, complex_dbl z0);
// C2: Y = 1 / Z; an impedance with R = 0 and a finite X other than 0 gets G = +0
complex_dbl admittanceFromImpedance(complex_dbl z);
// C4: RP = Re 1/(G + j0), XP = Im 1/(0 + jB)
ParallelEquivalent parallelFromAdmittance(complex_dbl y);
// C5: magnitude sqrt(re^2 + im^2) and phase in degrees (-180 ... 180)
double gammaMagnitude(complex_dbl gamma);
double gammaPhaseDegrees(complex_dbl gamma);
// omega = 2 pi f
double angularFrequency(double frequency);
// C6: the element of the series circuit for reactance xs at the frequency
Element seriesElement(double xs, double frequency);
// C7: the element of the parallel circuit for reactance xp; a capacitor's value
// is 1/(omega * xp) and so negative (its magnitude is the capacitance)
Element parallelElement(double xp, double frequency);
// C8: Gamma = (Z - Z0) / (Z + Z0)
complex_dbl gammaFromImpedance(complex_dbl z, complex_dbl z0);
// C9: Z = 1 / Y, then C8
complex_dbl gammaFromAdmittance(complex_dbl y, complex_dbl z0);
// C10: Z = RS + jXS, then C8
complex_dbl gammaFromSeries(double rs, double xs, complex_dbl z0);
// C11: Z = 1 / (1/(0 + jXP) + 1/(RP + j0)); a not-a-number XP adds no admittance
complex_dbl impedanceFromParallel(double rp, double xp);
complex_dbl gammaFromParallel(double rp, double xp, complex_dbl z0);
// C12: reactance of an inductor (X = omega v) or a capacitor (X = -1/(omega v))
double reactanceFromElement(double value, ElementKind kind, double frequency);
// C13: Gamma = m cos(theta) + j m sin(theta), theta = phi * pi / 180
complex_dbl gammaFromPolar(double magnitude, double phaseDegrees);

} // namespace Electrics
