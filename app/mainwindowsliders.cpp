#include "app/mainwindow.h"

#include "app/updatemask.h"
#include "electrics/conversions.h"
#include "electrics/formatting.h"

#include "ui_mainwindow.h"

#include <QScopedValueRollback>
#include <QSlider>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

constexpr int unipolarLimit = 200;
constexpr int bipolarLimit = 199;
constexpr int lastTableIndex = 199;

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

// Slider positions are made from doubles by truncation toward zero. Values out
// of the int range, infinities and not-a-number saturate instead of invoking
// undefined behaviour; not-a-number gives the smallest int like minus infinity.
int truncateToInt(double value)
{
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (!(value > lowest))
        return std::numeric_limits<int>::min();
    if (value >= highest)
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

int unipolarIndex(const QSlider *slider, int position)
{
    const int min = slider->minimum();
    const int max = slider->maximum();
    return static_cast<int>(static_cast<double>(lastTableIndex * (position - min)) / (max - min));
}

int bipolarIndex(const QSlider *slider, int position)
{
    const int min = slider->minimum();
    const int max = slider->maximum();
    const int centre = min + (max - min) / 2;
    return static_cast<int>(static_cast<double>(lastTableIndex * (position - centre))
                            / (max - centre));
}

// The scale of QS_XS and QS_XP: a quarter of the positions per decade on each
// side of zero, from 0.1 ohm at +-1 to 1000 ohms at the ends.
double logarithmicValue(const QSlider *slider, int position)
{
    if (position == 0)
        return 0.0;
    if (position > 0) {
        const double positionsPerDecade = (slider->maximum() - 1) * 0.25;
        return 0.1 * std::pow(10.0, (position - 1) / positionsPerDecade);
    }
    const double positionsPerDecade = (std::abs(slider->minimum()) - 1) * 0.25;
    return -0.1 * std::pow(10.0, (-position - 1) / positionsPerDecade);
}

// The inverse of logarithmicValue; position 0 is never produced.
int logarithmicPosition(const QSlider *slider, double reactance)
{
    const int min = slider->minimum();
    const int max = slider->maximum();
    if (reactance > 0.0) {
        const double steps = std::trunc((max - 1) * 0.25 * std::log10(reactance / 0.1)) + 1.0;
        if (steps > max)
            return max;
        return steps <= 0.0 ? 1 : static_cast<int>(steps);
    }
    const double steps =
        -std::trunc((std::abs(min) - 1) * 0.25 * std::log10(-reactance / 0.1)) - 1.0;
    if (std::isnan(steps) || steps >= 0.0)
        return -1;
    return steps < min ? min : static_cast<int>(steps);
}

int unipolarPosition(const QSlider *slider, int n)
{
    const int min = slider->minimum();
    const int max = slider->maximum();
    return truncateToInt(n / 200.0 * (max - min) + min);
}

int bipolarPosition(const QSlider *slider, int step)
{
    const int min = slider->minimum();
    const int max = slider->maximum();
    return truncateToInt(step / 400.0 * (max - min) + min);
}

} // namespace

double MainWindow::tableValue(int index) const
{
    return sliderTable.at(static_cast<std::size_t>(index));
}

// The smallest n in 1 ... limit - 1 whose table entry T[n - 1] is not below the
// value; limit if there is none (also for a value that is not a number).
int MainWindow::rank(double value, int limit) const
{
    for (int n = 1; n < limit; ++n) {
        if (tableValue(n - 1) >= value)
            return n;
    }
    return limit;
}

// Each entry is the reactance of a point on the outer circle of the chart,
// half a step of 0.9 degrees away from both ends so that none is 0 or infinite.
void MainWindow::fillSliderTable()
{
    for (std::size_t k = 0; k < sliderTable.size(); ++k) {
        const double theta = (179.55 - 0.9 * static_cast<double>(k)) * Electrics::pi / 180.0;
        const complex_dbl numerator(1.0 + std::cos(theta), std::sin(theta));
        const complex_dbl denominator(1.0 - std::cos(theta), -std::sin(theta));
        sliderTable.at(k) = (z0 * numerator / denominator).imag();
    }
}

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

complex_dbl MainWindow::gammaOfParallel(double parallelR, double parallelX) const
{
    return gammaOfImpedance(Electrics::impedanceFromParallel(parallelR, parallelX));
}

// The propagation every input path ends with: the marker, then every field
// (which also renews the cached equivalents), then the sliders of the mask.
// A Gamma that is not finite is never stored; the result says whether this one was.
bool MainWindow::setLoad(complex_dbl newGamma, unsigned sliderMask)
{
    if (!isFinite(newGamma))
        return false;
    gamma = newGamma;
    setGamma(gamma);
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

void MainWindow::updateSliders(unsigned mask)
{
    // Positioning a slider re-enters its slot at once; the flag makes it return.
    const QScopedValueRollback<bool> guard(updatingSliders, true);
    const complex_dbl z = Electrics::impedanceFromGamma(gamma, z0);
    const complex_dbl y = Electrics::admittanceFromImpedance(z);

    if (mask & UpdateMask::SliderR)
        ui->QS_R->setSliderPosition(unipolarPosition(ui->QS_R, rank(z.real(), unipolarLimit)));
    if (mask & UpdateMask::SliderX) {
        const int n = rank(std::fabs(z.imag()), bipolarLimit);
        ui->QS_X->setSliderPosition(bipolarPosition(ui->QS_X, z.imag() >= 0.0 ? 200 + n : 200 - n));
    }
    if (mask & UpdateMask::SliderG) {
        // The G slider runs the other way: a large conductance stands near max.
        const int n = rank(1.0 / y.real(), unipolarLimit);
        const int min = ui->QS_G->minimum();
        const int max = ui->QS_G->maximum();
        ui->QS_G->setSliderPosition(truncateToInt(max - n / 200.0 * (max - min)));
    }
    if (mask & UpdateMask::SliderB) {
        const int n = rank(1.0 / std::fabs(y.imag()), bipolarLimit);
        ui->QS_B->setSliderPosition(bipolarPosition(ui->QS_B, y.imag() > 0.0 ? 399 - n : n));
    }
    if (mask & UpdateMask::SliderRP)
        ui->QS_RP->setSliderPosition(unipolarPosition(ui->QS_RP, rank(rp, unipolarLimit)));
    if (mask & UpdateMask::SliderRS)
        ui->QS_RS->setSliderPosition(unipolarPosition(ui->QS_RS, rank(rs, unipolarLimit)));
    if (mask & UpdateMask::SliderXS)
        ui->QS_XS->setSliderPosition(logarithmicPosition(ui->QS_XS, xs));
    if (mask & UpdateMask::SliderXP)
        ui->QS_XP->setSliderPosition(logarithmicPosition(ui->QS_XP, xp));
}

// The slider's zero stands for 1 kHz, and every (max - min) / 7 positions,
// truncated to whole steps, make one decade.
void MainWindow::updateFrequencySlider()
{
    const QScopedValueRollback<bool> guard(updatingFrequency, true);
    const int min = ui->QS_F->minimum();
    const int max = ui->QS_F->maximum();
    const int stepsPerDecade = static_cast<int>((max - min) / 7.0);
    const int position = truncateToInt(stepsPerDecade * std::log10(std::fabs(frequency / 1000.0)));
    ui->QS_F->setValue(std::max(std::min(position, max), min));
}

void MainWindow::restoreControls()
{
    ui->SPB_SWR1->setValue(swr[0]);
    ui->SPB_SWR2->setValue(swr[1]);
    ui->SPB_SWR3->setValue(swr[2]);
    refreshDisplays(UpdateMask::All);
    // The slider scale is still empty here; the constructor positions the
    // sliders again once the chart and the scale are built.
    updateSliders(UpdateMask::All);
    updateFrequencySlider();
}

// The marker already stands where the user dragged it.
void MainWindow::NewGamma(complex_dbl new_gamma)
{
    if (!isFinite(new_gamma))
        return;
    gamma = new_gamma;
    refreshDisplays(UpdateMask::All);
    updateSliders(UpdateMask::All);
}

void MainWindow::QS_setR(int value)
{
    if (updatingSliders)
        return;
    const double resistance = tableValue(unipolarIndex(ui->QS_R, value));
    const complex_dbl z = Electrics::impedanceFromGamma(gamma, z0);
    setLoadFromSlider(gammaOfImpedance({resistance, z.imag()}), UpdateMask::SliderR);
}

void MainWindow::QS_setX(int value)
{
    if (updatingSliders)
        return;
    const int step = bipolarIndex(ui->QS_X, value);
    const double reactance = step >= 0 ? tableValue(step) : -tableValue(-step);
    const complex_dbl z = Electrics::impedanceFromGamma(gamma, z0);
    setLoadFromSlider(gammaOfImpedance({z.real(), reactance}), UpdateMask::SliderX);
}

void MainWindow::QS_setG(int value)
{
    if (updatingSliders)
        return;
    const double conductance = 1.0 / tableValue(lastTableIndex - unipolarIndex(ui->QS_G, value));
    const complex_dbl y =
        Electrics::admittanceFromImpedance(Electrics::impedanceFromGamma(gamma, z0));
    setLoadFromSlider(gammaOfAdmittance({conductance, y.imag()}), UpdateMask::SliderG);
}

void MainWindow::QS_setB(int value)
{
    if (updatingSliders)
        return;
    const int step = bipolarIndex(ui->QS_B, value);
    const double susceptance =
        step > 0 ? 1.0 / tableValue(200 - step) : -1.0 / tableValue(step + lastTableIndex);
    const complex_dbl y =
        Electrics::admittanceFromImpedance(Electrics::impedanceFromGamma(gamma, z0));
    setLoadFromSlider(gammaOfAdmittance({y.real(), susceptance}), UpdateMask::SliderB);
}

// The equivalent-circuit sliders keep the other element of their circuit as
// it was last shown.
void MainWindow::QS_setRP(int value)
{
    if (updatingSliders)
        return;
    const double parallelR = tableValue(unipolarIndex(ui->QS_RP, value));
    setLoadFromSlider(gammaOfParallel(parallelR, xp), UpdateMask::SliderRP);
}

void MainWindow::QS_setXP(int value)
{
    if (updatingSliders)
        return;
    setLoadFromSlider(gammaOfParallel(rp, logarithmicValue(ui->QS_XP, value)),
                      UpdateMask::SliderXP);
}

void MainWindow::QS_setRS(int value)
{
    if (updatingSliders)
        return;
    const double seriesR = tableValue(unipolarIndex(ui->QS_RS, value));
    setLoadFromSlider(gammaOfImpedance({seriesR, xs}), UpdateMask::SliderRS);
}

void MainWindow::QS_setXS(int value)
{
    if (updatingSliders)
        return;
    setLoadFromSlider(gammaOfImpedance({rs, logarithmicValue(ui->QS_XS, value)}),
                      UpdateMask::SliderXS);
}

// Seven decades from 1 kHz. The slider itself is not repositioned, so moving
// it back to 42 gives 932.6 kHz, not the 1 MHz that put it there.
void MainWindow::QS_setF(int value)
{
    if (updatingFrequency)
        return;
    const int min = ui->QS_F->minimum();
    const int max = ui->QS_F->maximum();
    const int position = std::max(std::min(value, max), min);
    frequency = 1000.0 * std::pow(10.0, 7.0 * (static_cast<double>(position) / (max - min)));
    ui->LED_FREQUENZ->setText(Electrics::formatFrequency(frequency));
    refreshDisplays(UpdateMask::All);
}
