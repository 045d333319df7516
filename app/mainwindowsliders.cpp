#include "app/mainwindow.h"

#include "app/updatemask.h"
#include "electrics/conversions.h"
#include "electrics/formatting.h"
#include "electrics/sliderscale.h"

#include "ui_mainwindow.h"

#include <QScopedValueRollback>
#include <QSlider>

#include <cmath>

namespace {

using namespace Electrics;

SliderRange rangeOf(const QSlider *slider)
{
    return {slider->minimum(), slider->maximum()};
}

} // namespace

double MainWindow::tableValue(int index) const
{
    return sliderTable.at(static_cast<std::size_t>(index));
}

int MainWindow::rank(double value, int limit) const
{
    return tableRank(sliderTable, value, limit);
}

void MainWindow::fillSliderTable()
{
    Electrics::fillSliderTable(sliderTable, z0);
}

void MainWindow::updateSliders(unsigned mask)
{
    // Positioning a slider re-enters its slot at once; the flag makes it return.
    const QScopedValueRollback<bool> guard(updatingSliders, true);
    const complex_dbl z = Electrics::impedanceFromGamma(gamma, z0);
    const complex_dbl y = Electrics::admittanceFromImpedance(z);

    if (mask & UpdateMask::SliderR)
        ui->QS_R->setSliderPosition(
            unipolarPosition(rangeOf(ui->QS_R), rank(z.real(), unipolarLimit)));
    if (mask & UpdateMask::SliderX) {
        const int n = rank(std::fabs(z.imag()), bipolarLimit);
        ui->QS_X->setSliderPosition(
            bipolarPosition(rangeOf(ui->QS_X), z.imag() >= 0.0 ? 200 + n : 200 - n));
    }
    if (mask & UpdateMask::SliderG) {
        // The G slider runs the other way: a large conductance stands near max.
        const int n = rank(1.0 / y.real(), unipolarLimit);
        ui->QS_G->setSliderPosition(reversedPosition(rangeOf(ui->QS_G), n));
    }
    if (mask & UpdateMask::SliderB) {
        const int n = rank(1.0 / std::fabs(y.imag()), bipolarLimit);
        ui->QS_B->setSliderPosition(
            bipolarPosition(rangeOf(ui->QS_B), y.imag() > 0.0 ? 399 - n : n));
    }
    if (mask & UpdateMask::SliderRP)
        ui->QS_RP->setSliderPosition(unipolarPosition(rangeOf(ui->QS_RP), rank(rp, unipolarLimit)));
    if (mask & UpdateMask::SliderRS)
        ui->QS_RS->setSliderPosition(unipolarPosition(rangeOf(ui->QS_RS), rank(rs, unipolarLimit)));
    if (mask & UpdateMask::SliderXS)
        ui->QS_XS->setSliderPosition(logarithmicPosition(rangeOf(ui->QS_XS), xs));
    if (mask & UpdateMask::SliderXP)
        ui->QS_XP->setSliderPosition(logarithmicPosition(rangeOf(ui->QS_XP), xp));
}

// The slider's zero stands for 1 kHz.
void MainWindow::updateFrequencySlider()
{
    const QScopedValueRollback<bool> guard(updatingFrequency, true);
    ui->QS_F->setValue(frequencyPosition(rangeOf(ui->QS_F), frequency));
}

void MainWindow::QS_setR(int value)
{
    if (updatingSliders)
        return;
    const double resistance = tableValue(unipolarIndex(rangeOf(ui->QS_R), value));
    const complex_dbl z = Electrics::impedanceFromGamma(gamma, z0);
    setLoadFromSlider(gammaOfImpedance({resistance, z.imag()}), UpdateMask::SliderR);
}

void MainWindow::QS_setX(int value)
{
    if (updatingSliders)
        return;
    const int step = bipolarIndex(rangeOf(ui->QS_X), value);
    const double reactance = step >= 0 ? tableValue(step) : -tableValue(-step);
    const complex_dbl z = Electrics::impedanceFromGamma(gamma, z0);
    setLoadFromSlider(gammaOfImpedance({z.real(), reactance}), UpdateMask::SliderX);
}

void MainWindow::QS_setG(int value)
{
    if (updatingSliders)
        return;
    const double conductance =
        1.0 / tableValue(lastTableIndex - unipolarIndex(rangeOf(ui->QS_G), value));
    const complex_dbl y =
        Electrics::admittanceFromImpedance(Electrics::impedanceFromGamma(gamma, z0));
    setLoadFromSlider(gammaOfAdmittance({conductance, y.imag()}), UpdateMask::SliderG);
}

void MainWindow::QS_setB(int value)
{
    if (updatingSliders)
        return;
    const int step = bipolarIndex(rangeOf(ui->QS_B), value);
    const double susceptance =
        step > 0 ? 1.0 / tableValue(200 - step) : -1.0 / tableValue(step + lastTableIndex);
    const complex_dbl y =
        Electrics::admittanceFromImpedance(Electrics::impedanceFromGamma(gamma, z0));
    setLoadFromSlider(gammaOfAdmittance({y.real(), susceptance}), UpdateMask::SliderB);
}

void MainWindow::QS_setRP(int value)
{
    if (updatingSliders)
        return;
    const double parallelR = tableValue(unipolarIndex(rangeOf(ui->QS_RP), value));
    setLoadFromSlider(gammaWithParallelResistance(parallelR), UpdateMask::SliderRP);
}

void MainWindow::QS_setXP(int value)
{
    if (updatingSliders)
        return;
    setLoadFromSlider(gammaWithParallelReactance(logarithmicValue(rangeOf(ui->QS_XP), value)),
                      UpdateMask::SliderXP);
}

void MainWindow::QS_setRS(int value)
{
    if (updatingSliders)
        return;
    const double seriesR = tableValue(unipolarIndex(rangeOf(ui->QS_RS), value));
    setLoadFromSlider(gammaWithSeriesResistance(seriesR), UpdateMask::SliderRS);
}

void MainWindow::QS_setXS(int value)
{
    if (updatingSliders)
        return;
    setLoadFromSlider(gammaWithSeriesReactance(logarithmicValue(rangeOf(ui->QS_XS), value)),
                      UpdateMask::SliderXS);
}

// Seven decades from 1 kHz. The slider itself is not repositioned, so moving
// it back to 42 gives 932.6 kHz, not the 1 MHz that put it there.
void MainWindow::QS_setF(int value)
{
    if (updatingFrequency)
        return;
    setFrequency(frequencyAt(rangeOf(ui->QS_F), value), false);
}
