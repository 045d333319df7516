#include "app/mainwindow.h"

#include "app/updatemask.h"
#include "electrics/conversions.h"
#include "electrics/exercisejudge.h"

#include <cmath>

// The load: gamma is the master value, z0 and the frequency stand beside it.
// Every input path follows the same order. It makes a new Gamma from its
// value (with the rules below at the open and short circuit and for the
// partner element of an equivalent circuit), then setLoad stores it, moves
// the marker (a drag has moved it already), renews the cached equivalents,
// rewrites the fields (refreshDisplays) and repositions the sliders
// (updateSliders).

namespace {

const complex_dbl openCircuit(1.0, 0.0);
const complex_dbl shortCircuit(-1.0, 0.0);

bool isFinite(complex_dbl value)
{
    return std::isfinite(value.real()) && std::isfinite(value.imag());
}

bool isInfinite(complex_dbl value)
{
    return std::isinf(value.real()) || std::isinf(value.imag());
}

// A quantity that the load does not define (the reactance of the open circuit,
// the susceptance of the short circuit) counts as zero when it is combined
// with a new value.
double definedOrZero(double value)
{
    return std::isnan(value) ? 0.0 : value;
}

complex_dbl definedOrZero(complex_dbl value)
{
    return {definedOrZero(value.real()), definedOrZero(value.imag())};
}

} // namespace

// Gamma of an impedance. Where the arithmetic gives no number, at the edge of
// the chart, the limit is taken: an unbounded impedance is the open circuit.
complex_dbl MainWindow::gammaOfImpedance(complex_dbl z) const
{
    const complex_dbl defined = definedOrZero(z);
    if (isInfinite(defined))
        return openCircuit;
    return Electrics::gammaFromImpedance(defined, z0);
}

// An unbounded admittance is the short circuit, a zero admittance the open one.
complex_dbl MainWindow::gammaOfAdmittance(complex_dbl y) const
{
    const complex_dbl defined = definedOrZero(y);
    if (isInfinite(defined))
        return shortCircuit;
    return gammaOfImpedance(Electrics::admittanceFromImpedance(defined));
}

// A new element of an equivalent circuit keeps its partner as last shown.
complex_dbl MainWindow::gammaWithSeriesResistance(double seriesR) const
{
    return gammaOfImpedance({seriesR, xs});
}

complex_dbl MainWindow::gammaWithSeriesReactance(double seriesX) const
{
    return gammaOfImpedance({rs, seriesX});
}

complex_dbl MainWindow::gammaWithParallelResistance(double parallelR) const
{
    return gammaOfImpedance(Electrics::impedanceFromParallel(parallelR, xp));
}

complex_dbl MainWindow::gammaWithParallelReactance(double parallelX) const
{
    return gammaOfImpedance(Electrics::impedanceFromParallel(rp, parallelX));
}

// The series and parallel equivalents of the load, kept so that the
// partner rules above see what the fields show.
void MainWindow::renewEquivalents()
{
    const complex_dbl z = Electrics::impedanceFromGamma(gamma, z0);
    const Electrics::ParallelEquivalent parallel =
        Electrics::parallelFromAdmittance(Electrics::admittanceFromImpedance(z));
    rp = parallel.rp;
    xp = parallel.xp;
    rs = z.real();
    xs = z.imag();
}

// A Gamma that is not finite is never stored; the result says whether this
// one was. A load set here, not by a move on the chart, ends the chart's
// matching path.
bool MainWindow::setLoad(complex_dbl newGamma, unsigned sliderMask)
{
    if (!isFinite(newGamma))
        return false;
    abandonExerciseUnless(isExerciseLoad(newGamma), Electrics::ExerciseChange::Load);
    gamma = newGamma;
    endMatchingPath();
    setGamma(gamma);
    renewEquivalents();
    refreshDisplays(UpdateMask::All);
    updateSliders(sliderMask);
    return true;
}

// The moved slider is left where the user holds it, unless its load is not
// taken; then it returns to the load.
void MainWindow::setLoadFromSlider(complex_dbl newGamma, unsigned movedSlider)
{
    if (!setLoad(newGamma, UpdateMask::All & ~movedSlider))
        updateSliders(movedSlider);
}

// The marker already stands where the user dragged it.
void MainWindow::NewGamma(complex_dbl new_gamma)
{
    if (!isFinite(new_gamma))
        return;
    gamma = new_gamma;
    renewEquivalents();
    refreshDisplays(UpdateMask::All);
    updateSliders(UpdateMask::All);
}

// A new frequency changes only the element values, those of the matching
// network on the chart too; Gamma, the value sliders and the marker stay, and
// so does the frequency slider when it set the value.
void MainWindow::setFrequency(double hertz, bool moveSlider)
{
    abandonExerciseUnless(isExerciseFrequency(hertz), Electrics::ExerciseChange::Frequency);
    frequency = hertz;
    setMatchingFrequency(hertz);
    refreshDisplays(UpdateMask::All); // the frequency field among the others
    if (moveSlider)
        updateFrequencySlider();
}

// A new Z0 keeps Gamma, so the same point of a chart drawn anew now stands for
// another impedance.
void MainWindow::setReferenceImpedance(double ohms)
{
    if (ohms != z0.real()) {
        abandonExerciseUnless(isExerciseReferenceImpedance(ohms),
                              Electrics::ExerciseChange::ReferenceImpedance);
        z0 = complex_dbl(ohms, 0.0);
        rebuildChart();
    }
    setLoad(gamma, UpdateMask::All);
}
