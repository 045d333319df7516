#include "electrics/conversions.h"

#include <cmath>

namespace Electrics {

namespace {

const complex_dbl one(1.0, 0.0);

// How far |Gamma|^2 may lie from 1 for a load on the outer circle: a few units
// in the last place, what the rounding of Gamma's own arithmetic leaves.
constexpr double rimTolerance = 1e-15;

bool onOuterCircle(complex_dbl gamma)
{
    return std::abs(gamma.real() * gamma.real() + gamma.imag() * gamma.imag() - 1.0)
        <= rimTolerance;
}

} // namespace

bool isUsableReferenceImpedance(double ohms)
{
    return ohms >= lowestReferenceImpedance && ohms <= highestReferenceImpedance;
}

// On the outer circle the quotient leaves a resistance of a few units in the
// last place of |Z|, of either sign, where the load has none; a bound on R
// itself could not tell it from a real one, since near the open circuit the
// noise grows with |Z|. The reference impedance is real.
complex_dbl impedanceFromGamma(complex_dbl gamma, complex_dbl z0)
{
    const complex_dbl z = z0 * (one + gamma) / (one - gamma);
    if (onOuterCircle(gamma) && std::isfinite(z.real()))
        return {0.0, z.imag()};
    return z;
}

// The quotient can give a lossless impedance a conductance of -0, and with it
// a parallel resistance of minus infinity.
complex_dbl admittanceFromImpedance(complex_dbl z)
{
    const complex_dbl y = one / z;
    if (z.real() == 0.0 && z.imag() != 0.0 && std::isfinite(z.imag()))
        return {0.0, y.imag()};
    return y;
}

ParallelEquivalent parallelFromAdmittance(complex_dbl y)
{
    const complex_dbl resistance = one / complex_dbl(y.real(), 0.0);
    const complex_dbl reactance = one / complex_dbl(0.0, y.imag());
    return {resistance.real(), reactance.imag()};
}

double gammaMagnitude(complex_dbl gamma)
{
    return std::sqrt(gamma.real() * gamma.real() + gamma.imag() * gamma.imag());
}

double gammaPhaseDegrees(complex_dbl gamma)
{
    return std::atan2(gamma.imag(), gamma.real()) * 180.0 / pi;
}

double angularFrequency(double frequency)
{
    return twoPi * frequency;
}

Element seriesElement(double xs, double frequency)
{
    const double omega = angularFrequency(frequency);
    if (xs < 0.0)
        return {ElementKind::Capacitor, -1.0 / (omega * xs)};
    if (xs == 0.0)
        return {ElementKind::None, 0.0};
    return {ElementKind::Inductor, xs / omega}; // also for a not-a-number reactance
}

Element parallelElement(double xp, double frequency)
{
    const double omega = angularFrequency(frequency);
    if (xp < 0.0)
        return {ElementKind::Capacitor, 1.0 / (omega * xp)};
    return {ElementKind::Inductor, xp / omega};
}

complex_dbl gammaFromImpedance(complex_dbl z, complex_dbl z0)
{
    const complex_dbl numerator(z.real() - z0.real(), z.imag() - z0.imag());
    const complex_dbl denominator(z.real() + z0.real(), z.imag() + z0.imag());
    return numerator / denominator;
}

complex_dbl gammaFromAdmittance(complex_dbl y, complex_dbl z0)
{
    return gammaFromImpedance(one / y, z0);
}

complex_dbl gammaFromSeries(double rs, double xs, complex_dbl z0)
{
    return gammaFromImpedance(complex_dbl(rs, xs), z0);
}

complex_dbl impedanceFromParallel(double rp, double xp)
{
    // A parallel reactance that is not a number stands for a missing element.
    const complex_dbl reactiveAdmittance =
        std::isnan(xp) ? complex_dbl(0.0, 0.0) : one / complex_dbl(0.0, xp);
    const complex_dbl resistiveAdmittance = one / complex_dbl(rp, 0.0);
    const complex_dbl admittance(reactiveAdmittance.real() + resistiveAdmittance.real(),
                                 reactiveAdmittance.imag() + resistiveAdmittance.imag());
    return one / admittance;
}

complex_dbl gammaFromParallel(double rp, double xp, complex_dbl z0)
{
    return gammaFromImpedance(impedanceFromParallel(rp, xp), z0);
}

double reactanceFromElement(double value, ElementKind kind, double frequency)
{
    const double omega = angularFrequency(frequency);
    switch (kind) {
    case ElementKind::Capacitor:
        return -1.0 / (omega * value);
    case ElementKind::Inductor:
        return omega * value;
    case ElementKind::None:
        break;
    }
    return 0.0;
}

complex_dbl gammaFromPolar(double magnitude, double phaseDegrees)
{
    const double theta = phaseDegrees * pi / 180.0;
    return {magnitude * std::cos(theta), magnitude * std::sin(theta)};
}

} // namespace Electrics
