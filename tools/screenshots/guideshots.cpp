#include "guideshots.h"

#include "captures.h"
#include "windowdriver.h"

#include "app/mainwindow.h"
#include "chart/graphicsscene.h"
#include "electrics/conversions.h"
#include "electrics/exercise.h"
#include "electrics/matching.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// PNG quality 0 asks for the strongest compression; the pictures stay lossless.
constexpr int highestCompression = 0;

using SetUp = std::function<void(WindowDriver &driver)>;

// One picture: a fresh window brought into a state through its controls, then
// captured. The file is <name>.png, and <name>@2x.png as well when the picture
// is also wanted for high-density screens.
struct GuideShot
{
    QString name;
    SetUp setUp;
    Capture capture;
    bool alsoDoubleDensity = false;
    // Whether the control that has the keyboard focus keeps it for the picture.
    bool keepsFocus = false;
};

// Texts typed into fields or spin boxes, each finished with Return, in turn.
using Entries = std::vector<std::pair<QString, QString>>;

// Each step is shown before the next, as the event loop shows it before the
// user's next gesture; the marker's cached picture depends on where the load
// was first drawn.
void enter(WindowDriver &driver, const Entries &entries)
{
    for (const auto &[name, typed] : entries) {
        driver.enter(name, typed);
        WindowDriver::settle();
    }
}

void moveSlider(WindowDriver &driver, const QString &name, int position)
{
    driver.moveSlider(name, position);
    WindowDriver::settle();
}

SetUp typed(const Entries &entries)
{
    return [entries](WindowDriver &driver) {
        enter(driver, entries);
    };
}

Entries impedance(const QString &resistance, const QString &reactance)
{
    return {{u"LED_R"_s, resistance}, {u"LED_X"_s, reactance}};
}

Entries gamma(const QString &real, const QString &imaginary)
{
    return {{u"LED_GAMMAR"_s, real}, {u"LED_GAMMAI"_s, imaginary}};
}

Entries swrCircles(const QString &first, const QString &second, const QString &third)
{
    return {{u"SPB_SWR1"_s, first}, {u"SPB_SWR2"_s, second}, {u"SPB_SWR3"_s, third}};
}

Entries operator+(Entries first, const Entries &second)
{
    first.insert(first.end(), second.cbegin(), second.cend());
    return first;
}

// 50 + j50 ohms: where the circle r = 1 meets the arc x = 1.
const Entries inductiveLoad = impedance(u"50"_s, u"50"_s);
// 25 - j25 ohms: where the circle r = 0.5 meets the arc x = -0.5.
const Entries capacitiveLoad = impedance(u"25"_s, u"-25"_s);
const Entries pureResistance = impedance(u"100"_s, u"0"_s);

// Dragged beyond the unit circle; the Gamma grid is shown so that the line
// from the centre, red out there, can be seen.
void markerOutside(WindowDriver &driver)
{
    moveSlider(driver, u"QS_OPACITY"_s, 100);
    driver.dragMarkerTo({0.88, 0.88});
}

SetUp crossFadedTo(int position)
{
    return [position](WindowDriver &driver) {
        enter(driver, gamma(u"0,5"_s, u"0,3"_s));
        moveSlider(driver, u"QS_OPACITY"_s, position);
    };
}

// One step below the start-up position 505 of the R slider.
void resistanceSliderStep(WindowDriver &driver)
{
    moveSlider(driver, u"QS_R"_s, 500);
}

// The slider stands at 42 for the start-up 1 MHz; moved away and back, it
// shows the frequency of its own step.
void frequencySliderStep(WindowDriver &driver)
{
    moveSlider(driver, u"QS_F"_s, 43);
    moveSlider(driver, u"QS_F"_s, 42);
}

// From the matched load two coarse steps to the left and four up: Gamma =
// -0.2 + j0.4, the load 25 + j25 ohms. On the left half of the chart the
// marker's tooltip fits beside it.
void keyboardSteps(WindowDriver &driver)
{
    driver.pressOnChart(u"Ctrl+Left, Ctrl+Left, Ctrl+Up, Ctrl+Up, Ctrl+Up, Ctrl+Up"_s);
}

// 100 + j50 ohms at 100 MHz matched to 50 ohms: a shunt C to 50 - j61,24 ohms,
// then a series L to the centre.
void matchingOnTheChart(WindowDriver &driver)
{
    enter(driver, Entries {{u"LED_FREQUENZ"_s, u"100 MHz"_s}} + impedance(u"100"_s, u"50"_s));
    const complex_dbl onCircleR50(1.5 / 5.5, -std::sqrt(6.0) / 5.5);
    driver.heldDragTo(onCircleR50, Qt::ControlModifier);
    driver.heldDragTo({0.0, 0.0}, Qt::ShiftModifier);
}

// 60 - j80 ohms on 50 ohms at 2 GHz: a line to the circle G = 1/Z0, then a
// short-circuited shunt stub to the centre.
void singleStubTuning(WindowDriver &driver)
{
    enter(driver, Entries {{u"LED_FREQUENZ"_s, u"2 GHz"_s}} + impedance(u"60"_s, u"-80"_s));
    driver.window().chartScene()->setRealisation(GraphicsScene::Move::Shunt,
                                                 Electrics::Realisation::ShortStub);
    // Where |Gamma| of the load meets the circle g = 1 below the real axis:
    // the admittance 1 + jb with b = 2 |Gamma| / sqrt(1 - |Gamma|^2).
    const double magnitude =
        std::abs((complex_dbl(1.2, -1.6) - 1.0) / (complex_dbl(1.2, -1.6) + 1.0));
    const double b = 2.0 * magnitude / std::sqrt(1.0 - magnitude * magnitude);
    const complex_dbl onCircleG1 = complex_dbl(0.0, -b) / complex_dbl(2.0, b);
    driver.heldDragTo(onCircleG1, Qt::ShiftModifier | Qt::ControlModifier);
    driver.heldDragTo({0.0, 0.0}, Qt::ControlModifier);
}

// 10 ohms on 50 ohms at 3 GHz through a line of 22,36 ohms a quarter wave
// long: 18 coarse steps of 10 degrees of its own reflection.
void quarterWaveTransformer(WindowDriver &driver)
{
    enter(driver, Entries {{u"LED_FREQUENZ"_s, u"3 GHz"_s}} + impedance(u"10"_s, u"0"_s));
    GraphicsScene *scene = driver.window().chartScene();
    scene->setLineImpedance(22.36);
    scene->setMatchingMode(GraphicsScene::Move::Line);
    QStringList steps;
    for (int step = 0; step < 18; ++step)
        steps << u"Ctrl+Right"_s;
    driver.pressOnChart(steps.join(u", "_s));
    scene->setMatchingMode(std::nullopt);
}

// Either L-section of the worked example with the band of ±20 % drawn and
// its edges for SWR 1,5; the shunt element goes down (a C) or up (an L).
std::function<void(WindowDriver &)> matchedOverABand(double shuntDirection)
{
    return [shuntDirection](WindowDriver &driver) {
        constexpr double span = 0.2;
        enter(driver,
              Entries {{u"LED_FREQUENZ"_s, u"100 MHz"_s}} + impedance(u"100"_s, u"50"_s)
                  + swrCircles(u"1,5"_s, u"1"_s, u"1"_s));
        const complex_dbl onCircleR50(1.5 / 5.5, shuntDirection * std::sqrt(6.0) / 5.5);
        driver.heldDragTo(onCircleR50, Qt::ControlModifier);
        driver.heldDragTo({0.0, 0.0}, Qt::ShiftModifier);
        driver.window().chartScene()->setBandSpan(span);
    };
}

// Sets a task as "Aufgabe Nr. …" does, after its dialog.
void startExercise(WindowDriver &driver, int number)
{
    driver.window().chartScene()->requestExercise(number);
    WindowDriver::settle();
}

// Task 1, 95,1 + j157,5 Ω at 50 Ω and 3,3 MHz: a shunt L to the circle R = Z0
// at 50 + j123,68 Ω, then a series C to the centre.
void exerciseLevel1(WindowDriver &driver)
{
    startExercise(driver, 1);
    driver.heldDragTo(Electrics::gammaFromImpedance({50.0, 50.0 * 2.47364}, {50.0, 0.0}),
                      Qt::ControlModifier);
    driver.heldDragTo({0.0, 0.0}, Qt::ShiftModifier);
}

// Task 1000, 65,6 + j130,9 Ω at 75 Ω and 10 MHz, SWR ≤ 2 from 8,3 to 11,7 MHz:
// a series C down to G = 1/Z0 at 65,6 + j24,83 Ω, then a shunt C, is the
// L-section whose band is wide enough.
void exerciseLevel2(WindowDriver &driver)
{
    startExercise(driver, 1000);
    driver.heldDragTo(Electrics::gammaFromImpedance({65.6, 75.0 * 0.331096}, {75.0, 0.0}),
                      Qt::ShiftModifier);
    driver.heldDragTo({0.0, 0.0}, Qt::ControlModifier);
}

// Task 2000 at 75 Ω: a line of Z0 turns the load to the circle G = 1/Z0, and
// the task's shunt stub takes it to the centre.
void exerciseLevel3(WindowDriver &driver)
{
    startExercise(driver, 2000);
    const Electrics::ExerciseTask task = *Electrics::exerciseTask(2000);
    const complex_dbl z0(task.z0, 0.0);
    const complex_dbl load = Electrics::gammaFromImpedance(task.load, z0);
    for (const complex_dbl point :
         Electrics::snapTargets(Electrics::MatchingMove::Line, load, z0)) {
        const complex_dbl z = Electrics::impedanceFromGamma(point, z0);
        if (std::abs((z0 / z).real() - 1.0) < 1e-6) {
            driver.heldDragTo(point, Qt::ShiftModifier | Qt::ControlModifier);
            break;
        }
    }
    driver.heldDragTo({0.0, 0.0}, Qt::ControlModifier);
}

void exerciseHint(WindowDriver &driver)
{
    startExercise(driver, 1);
    driver.window().chartScene()->showExerciseHint();
}

void restartedAfterChanges(WindowDriver &driver)
{
    enter(driver,
          Entries {{u"LED_Z0"_s, u"75"_s}} + impedance(u"30"_s, u"40"_s)
              + Entries {{u"LED_FREQUENZ"_s, u"10 MHz"_s}} + swrCircles(u"2"_s, u"1"_s, u"1"_s));
    moveSlider(driver, u"QS_OPACITY"_s, 50);
    driver.restart();
}

bool writeImage(const QImage &image, const QDir &folder, const QString &fileName)
{
    const QString path = folder.filePath(fileName);
    const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
    if (opaque.isNull() || !opaque.save(path, "PNG", highestCompression)) {
        std::fprintf(stderr, "velmora_screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool writeShot(const GuideShot &shot, const QDir &folder)
{
    WindowDriver driver;
    shot.setUp(driver);
    if (!shot.keepsFocus)
        driver.releaseFocus();
    if (!writeImage(shot.capture(driver, 1.0), folder, shot.name + u".png"_s))
        return false;
    return !shot.alsoDoubleDensity
        || writeImage(shot.capture(driver, 2.0), folder, shot.name + u"@2x.png"_s);
}

const std::vector<GuideShot> &guideShots()
{
    static const std::vector<GuideShot> shots {
        {u"window"_s, typed(inductiveLoad + swrCircles(u"2"_s, u"3"_s, u"1"_s)), Captures::window,
         true},
        {u"chart-matched"_s, typed({}), Captures::chart, true},
        {u"chart-resistance"_s, typed(pureResistance), Captures::chart},
        {u"chart-inductive"_s, typed(inductiveLoad), Captures::chart},
        {u"chart-capacitive"_s, typed(capacitiveLoad), Captures::chart},
        {u"chart-open"_s, typed(gamma(u"1"_s, u"0"_s)), Captures::chart},
        {u"chart-short"_s, typed(gamma(u"-1"_s, u"0"_s)), Captures::chart},
        {u"chart-outside"_s, markerOutside, Captures::chart},
        // SWR 2 passes through the load 100 ohms, whose |Gamma| is 1/3.
        {u"chart-swr"_s, typed(pureResistance + swrCircles(u"1,5"_s, u"2"_s, u"3"_s)),
         Captures::chart},
        {u"chart-crossfade-0"_s, crossFadedTo(0), Captures::chart},
        {u"chart-crossfade-50"_s, crossFadedTo(50), Captures::chart},
        {u"chart-crossfade-100"_s, crossFadedTo(100), Captures::chart},
        {u"chart-z0-75"_s, typed({{u"LED_Z0"_s, u"75"_s}}), Captures::chart},
        {u"chart-keyboard"_s, keyboardSteps, Captures::chartWithMarkerToolTip, false, true},
        {u"chart-matching"_s, matchingOnTheChart, Captures::chartWithMarkerToolTip},
        {u"chart-single-stub"_s, singleStubTuning, Captures::chartWithMarkerToolTip},
        {u"chart-quarter-wave"_s, quarterWaveTransformer, Captures::chartWithMarkerToolTip},
        {u"chart-band-c-l"_s, matchedOverABand(-1.0), Captures::chartWithMarkerToolTip},
        {u"chart-band-l-c"_s, matchedOverABand(1.0), Captures::chart},
        {u"exercise-level1"_s, exerciseLevel1, Captures::chart},
        {u"exercise-level2"_s, exerciseLevel2, Captures::chart},
        {u"exercise-level3"_s, exerciseLevel3, Captures::chart},
        {u"exercise-hint"_s, exerciseHint, Captures::chart},
        {u"controls-inductive"_s, typed(inductiveLoad), Captures::controls},
        {u"controls-capacitive"_s, typed(capacitiveLoad), Captures::controls},
        {u"controls-gamma-clamped"_s, typed(gamma(u"2"_s, u"0,5"_s)), Captures::controls},
        {u"impedance-slider-step"_s, resistanceSliderStep, Captures::box(u"groupBox_3"_s)},
        {u"frequency-slider-step"_s, frequencySliderStep, Captures::box(u"groupBox_8"_s)},
        {u"impedance-rejected"_s, typed({{u"LED_R"_s, u"-10"_s}}), Captures::box(u"groupBox_3"_s)},
        {u"window-restarted"_s, restartedAfterChanges, Captures::window},
        {u"info-dialog"_s, typed({}), Captures::infoDialog},
    };
    return shots;
}

} // namespace

bool writeGuidePictures(const QDir &folder)
{
    for (const GuideShot &shot : guideShots()) {
        if (!writeShot(shot, folder))
            return false;
    }
    return true;
}
