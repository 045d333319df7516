#include "app/mainwindow.h"

#include "app/updatemask.h"
#include "electrics/conversions.h"
#include "electrics/formatting.h"
#include "electrics/sliderscale.h"

#include "ui_mainwindow.h"

#include <QScopedValueRollback>
#include <QSlider>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

using namespace Electrics;

SliderRange rangeOf(const QSlider *slider)
{
    return {slider->minimum(), slider->maximum()};
}

} // namespace

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
    const auto place = [this, mask](unsigned bit, QSlider *slider, TableScale scale,
                                    double quantity) {
        if (mask & bit)
            slider->setSliderPosition(scalePosition(sliderTable, scale, rangeOf(slider), quantity));
    };

    place(UpdateMask::SliderR, ui->QS_R, TableScale::Resistance, z.real());
    place(UpdateMask::SliderX, ui->QS_X, TableScale::Reactance, z.imag());
    place(UpdateMask::SliderG, ui->QS_G, TableScale::Conductance, y.real());
    place(UpdateMask::SliderB, ui->QS_B, TableScale::Susceptance, y.imag());
    place(UpdateMask::SliderRP, ui->QS_RP, TableScale::Resistance, rp);
    place(UpdateMask::SliderRS, ui->QS_RS, TableScale::Resistance, rs);
    if (mask & UpdateMask::SliderXS)
        ui->QS_XS->setSliderPosition(logarithmicPosition(rangeOf(ui->QS_XS), xs));
    if (mask & UpdateMask::SliderXP)
        ui->QS_XP->setSliderPosition(logarithmicPosition(rangeOf(ui->QS_XP), xp));
}

// An arrow key, a wheel notch or a page step on a table slider: the slider's
// own position may stand a scale value or two away from the load (it stands
// for the rank of the load's value, and the G and B sliders' ranks lie behind
// their values), so the toolkit's step of a few positions could go the wrong
// way or skip a value. The target is counted from the load instead, and the
// slider put on a position that stands for it. Dragging and Home/End are left
// to the toolkit.
void MainWindow::stepTableSlider(QSlider *slider, int action)
{
    const int pageSteps = std::max(1, qRound(double(slider->pageStep()) / slider->singleStep()));
    int steps = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        steps = 1;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        steps = -1;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        steps = pageSteps;
        break;
    case QAbstractSlider::SliderPageStepSub:
        steps = -pageSteps;
        break;
    default:
        return;
    }
    const TableSlider table = tableSlider(slider);
    // At the open and short circuit the load has no such quantity; the
    // toolkit's step and the slot's rules for these points stay.
    if (std::isnan(table.quantity))
        return;
    const std::optional<int> index =
        steppedScaleIndex(sliderTable, table.scale, table.quantity, steps);
    const std::optional<int> position = index
        ? positionOfScaleIndex(sliderTable, table.scale, rangeOf(slider), *index)
        : std::optional<int>(slider->value()); // no scale value lies that way
    if (!position)
        return;
    slider->setSliderPosition(*position);
    // The toolkit reports a new value only; the load may still have to move to
    // the scale value that the slider already stands for.
    if (*position == slider->value() && index)
        (this->*table.slot)(*position);
}

MainWindow::TableSlider MainWindow::tableSlider(const QSlider *slider) const
{
    const complex_dbl z = Electrics::impedanceFromGamma(gamma, z0);
    const complex_dbl y = Electrics::admittanceFromImpedance(z);
    if (slider == ui->QS_X)
        return {TableScale::Reactance, z.imag(), &MainWindow::QS_setX};
    if (slider == ui->QS_G)
        return {TableScale::Conductance, y.real(), &MainWindow::QS_setG};
    if (slider == ui->QS_B)
        return {TableScale::Susceptance, y.imag(), &MainWindow::QS_setB};
    if (slider == ui->QS_RP)
        return {TableScale::Resistance, rp, &MainWindow::QS_setRP};
    if (slider == ui->QS_RS)
        return {TableScale::Resistance, rs, &MainWindow::QS_setRS};
    return {TableScale::Resistance, z.real(), &MainWindow::QS_setR};
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
    const double resistance =
        scaleValue(sliderTable, TableScale::Resistance, unipolarIndex(rangeOf(ui->QS_R), value));
    const complex_dbl z = Electrics::impedanceFromGamma(gamma, z0);
    setLoadFromSlider(gammaOfImpedance({resistance, z.imag()}), UpdateMask::SliderR);
}

void MainWindow::QS_setX(int value)
{
    if (updatingSliders)
        return;
    const double reactance =
        scaleValue(sliderTable, TableScale::Reactance, bipolarIndex(rangeOf(ui->QS_X), value));
    const complex_dbl z = Electrics::impedanceFromGamma(gamma, z0);
    setLoadFromSlider(gammaOfImpedance({z.real(), reactance}), UpdateMask::SliderX);
}

void MainWindow::QS_setG(int value)
{
    if (updatingSliders)
        return;
    const double conductance =
        scaleValue(sliderTable, TableScale::Conductance, unipolarIndex(rangeOf(ui->QS_G), value));
    const complex_dbl y =
        Electrics::admittanceFromImpedance(Electrics::impedanceFromGamma(gamma, z0));
    setLoadFromSlider(gammaOfAdmittance({conductance, y.imag()}), UpdateMask::SliderG);
}

void MainWindow::QS_setB(int value)
{
    if (updatingSliders)
        return;
    const double susceptance =
        scaleValue(sliderTable, TableScale::Susceptance, bipolarIndex(rangeOf(ui->QS_B), value));
    const complex_dbl y =
        Electrics::admittanceFromImpedance(Electrics::impedanceFromGamma(gamma, z0));
    setLoadFromSlider(gammaOfAdmittance({y.real(), susceptance}), UpdateMask::SliderB);
}

void MainWindow::QS_setRP(int value)
{
    if (updatingSliders)
        return;
    const double parallelR =
        scaleValue(sliderTable, TableScale::Resistance, unipolarIndex(rangeOf(ui->QS_RP), value));
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
    const double seriesR =
        scaleValue(sliderTable, TableScale::Resistance, unipolarIndex(rangeOf(ui->QS_RS), value));
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
