#include "app/mainwindow.h"

#include "app/updatemask.h"
#include "chart/chartmenu.h"
#include "chart/graphicsscene.h"
#include "electrics/conversions.h"

#include "ui_mainwindow.h"

#include <QByteArray>
#include <QDoubleSpinBox>
#include <QSettings>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace {

const QString programGroup = QStringLiteral("Program/");
const QString chartGroup = QStringLiteral("SmithChart/");
const QString snappingKey = QStringLiteral("Anpassung/Einrasten");
const QString lineImpedanceKey = QStringLiteral("Anpassung/Leitungsimpedanz");
const QString pathKey = QStringLiteral("Anpassung/Pfad");
const QString shuntRealisationKey = QStringLiteral("Anpassung/Parallelelemente");
const QString seriesRealisationKey = QStringLiteral("Anpassung/Serienelemente");
// The band's span in percent of f0, one of the menu's (0: off); the load's
// circuit by its place in the menu (0 series, 1 parallel, 2 the same at every
// frequency); the Q of the Q circles, one of the menu's (0: none). Any other
// stored value means the first.
const QString bandKey = QStringLiteral("Anpassung/Frequenzband");
const QString loadCircuitKey = QStringLiteral("Anpassung/Last");
const QString qCirclesKey = QStringLiteral("Anpassung/QKreise");
constexpr double percent = 100.0;
const QString exerciseKey = QStringLiteral("Anpassung/Aufgabe");
constexpr double defaultZ0 = 50.0;

// A text that does not convert reads as 0.0. A value that is not finite
// ("nan", "inf", an overflowing "1e999") would leave the chart and every field
// unusable until the store is repaired by hand, so it counts as absent.
double readChartValue(const QSettings &settings, const QString &entry, double fallback)
{
    const double value = settings.value(chartGroup + entry, fallback).toDouble();
    return std::isfinite(value) ? value : fallback;
}

// A realisation is stored as its number: 0 L and C, 1 an open stub, 2 a
// short-circuited one. Anything else counts as absent.
Electrics::Realisation readRealisation(const QSettings &settings, const QString &key)
{
    bool ok = false;
    const int stored = settings.value(key).toString().toInt(&ok);
    switch (ok ? stored : -1) {
    case static_cast<int>(Electrics::Realisation::OpenStub):
        return Electrics::Realisation::OpenStub;
    case static_cast<int>(Electrics::Realisation::ShortStub):
        return Electrics::Realisation::ShortStub;
    default:
        break;
    }
    return Electrics::Realisation::LumpedLC;
}

// The stored value when it is one of the choices, else the first choice.
template<typename Choices>
double readChoice(const QSettings &settings, const QString &key, const Choices &choices)
{
    const double value = settings.value(key).toDouble();
    return std::find(choices.cbegin(), choices.cend(), value) != choices.cend() ? value
                                                                                : choices.front();
}

} // namespace

void MainWindow::loadSettings()
{
    const QSettings settings;
    QSettings::setDefaultFormat(QSettings::NativeFormat);
    restoreGeometry(settings.value(programGroup + QStringLiteral("geometry")).toByteArray());
    restoreState(settings.value(programGroup + QStringLiteral("windowState")).toByteArray(), 0);
    swr[0] = readChartValue(settings, QStringLiteral("SWR1"), 1.0);
    swr[1] = readChartValue(settings, QStringLiteral("SWR2"), 1.0);
    swr[2] = readChartValue(settings, QStringLiteral("SWR3"), 1.0);
    // A Z0 that the field would refuse (0 for a text that does not convert)
    // starts as 50 ohms.
    const double storedZ0 = readChartValue(settings, QStringLiteral("Z0"), defaultZ0);
    z0.real(Electrics::isUsableReferenceImpedance(storedZ0) ? storedZ0 : defaultZ0);
    gamma.real(readChartValue(settings, QStringLiteral("GAMMAR"), 0.0));
    gamma.imag(readChartValue(settings, QStringLiteral("GAMMAI"), 0.0));
    frequency = readChartValue(settings, QStringLiteral("Frequency"), 1.0e6);
    // Snapping stays on unless it was stored off; a stored text that is no
    // truth value counts as absent.
    snapping = settings.value(snappingKey).toString() != QStringLiteral("false");
    // Lines follow Z0 unless a line impedance the dialog would take is stored.
    const double storedLineImpedance = settings.value(lineImpedanceKey, 0.0).toDouble();
    lineImpedance =
        Electrics::isUsableReferenceImpedance(storedLineImpedance) ? storedLineImpedance : 0.0;
    seriesRealisation = readRealisation(settings, seriesRealisationKey);
    shuntRealisation = readRealisation(settings, shuntRealisationKey);
    // A path drawn on a Z0 that is refused now would lead somewhere else; the
    // chart drops one that does not lead to the stored load.
    const QVariant pathZ0 = settings.value(chartGroup + QStringLiteral("Z0"));
    const bool pathZ0Kept =
        !pathZ0.isValid() || Electrics::isUsableReferenceImpedance(pathZ0.toDouble());
    matchingPath = pathZ0Kept ? settings.value(pathKey).toString() : QString();
    bandSpan = readChoice(settings, bandKey, ChartMenu::bandPercents) / percent;
    constexpr std::array<double, 3> circuitPlaces {0.0, 1.0, 2.0};
    loadCircuit = ChartMenu::loadCircuits[static_cast<std::size_t>(
        readChoice(settings, loadCircuitKey, circuitPlaces))];
    qCircles = readChoice(settings, qCirclesKey, ChartMenu::qCircleValues);
    storedExercise = settings.value(exerciseKey).toString();
}

void MainWindow::saveSettings()
{
    // QSettings gives up at once on a store it cannot write (its status turns to
    // AccessError), so the exit goes on and only this run's values are lost.
    QSettings settings;
    QSettings::setDefaultFormat(QSettings::NativeFormat);
    settings.setValue(programGroup + QStringLiteral("geometry"), saveGeometry());
    settings.setValue(programGroup + QStringLiteral("windowState"), saveState(0));
    settings.setValue(chartGroup + QStringLiteral("SWR1"), swr[0]);
    settings.setValue(chartGroup + QStringLiteral("SWR2"), swr[1]);
    settings.setValue(chartGroup + QStringLiteral("SWR3"), swr[2]);
    settings.setValue(chartGroup + QStringLiteral("Z0"), z0.real());
    settings.setValue(chartGroup + QStringLiteral("GAMMAR"), gamma.real());
    settings.setValue(chartGroup + QStringLiteral("GAMMAI"), gamma.imag());
    settings.setValue(chartGroup + QStringLiteral("Frequency"), frequency);
    if (chartScene()) {
        snapping = chartScene()->snapping();
        bandSpan = chartScene()->bandSpan();
        qCircles = chartScene()->qCircles();
        // A running task's own elements and load circuit are not the user's.
        const GraphicsScene::MatchingChoices choices = chartScene()->usersChoices();
        loadCircuit = choices.loadCircuit;
        lineImpedance = choices.lineImpedance;
        seriesRealisation = choices.series;
        shuntRealisation = choices.shunt;
    }
    settings.setValue(snappingKey, snapping);
    settings.setValue(lineImpedanceKey, lineImpedance);
    // A close has taken the chart down already and kept its path.
    if (isReady())
        matchingPath = storedMatchingPath();
    settings.setValue(pathKey, matchingPath);
    settings.setValue(seriesRealisationKey, static_cast<int>(seriesRealisation));
    settings.setValue(shuntRealisationKey, static_cast<int>(shuntRealisation));
    settings.setValue(bandKey, bandSpan * percent);
    const auto circuitPlace =
        std::find(ChartMenu::loadCircuits.cbegin(), ChartMenu::loadCircuits.cend(), loadCircuit)
        - ChartMenu::loadCircuits.cbegin();
    settings.setValue(loadCircuitKey, static_cast<int>(circuitPlace));
    settings.setValue(qCirclesKey, qCircles);
    if (chartScene())
        storedExercise = chartScene()->exercise().storedText();
    settings.setValue(exerciseKey, storedExercise);
}

// Writes the loaded values into the controls.
void MainWindow::restoreControls()
{
    ui->SPB_SWR1->setValue(swr[0]);
    ui->SPB_SWR2->setValue(swr[1]);
    ui->SPB_SWR3->setValue(swr[2]);
    renewEquivalents();
    refreshDisplays(UpdateMask::All);
    // The slider scale is still empty here; the constructor positions the
    // sliders again once the chart and the scale are built.
    updateSliders(UpdateMask::All);
    updateFrequencySlider();
}
