#include "loadchecker.h"

#include "windowdriver.h"

#include "app/mainwindow.h"
#include "chart/graphicsscene.h"
#include "chart/markeritem.h"
#include "electrics/conversions.h"
#include "electrics/exercise.h"
#include "electrics/formatting.h"
#include "electrics/valueparser.h"

#include <QLocale>
#include <QSlider>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// How far (in units in the last place) Gamma read back from the marker's scene
// position may lie from the Gamma that put it there.
constexpr int ulpReach = 2;
// Below this shown magnitude the marker must stand where Gamma says.
constexpr double surelyInside = 0.998;
constexpr double markerTolerance = 1e-12;
// The marker ignores moves below 1e-12 scene units, 1e-14 in Gamma.
constexpr double blindSpot = 1e-13;

QString partnerOf(const QString &name)
{
    static const QHash<QString, QString> partners = {
        {u"LED_R"_s, u"LED_X"_s},
        {u"LED_X"_s, u"LED_R"_s},
        {u"LED_G"_s, u"LED_B"_s},
        {u"LED_B"_s, u"LED_G"_s},
    };
    return partners.value(name);
}

double stepped(double value, int ulps)
{
    const double direction = ulps < 0 ? -std::numeric_limits<double>::infinity()
                                      : std::numeric_limits<double>::infinity();
    for (int i = 0; i < std::abs(ulps); ++i)
        value = std::nextafter(value, direction);
    return value;
}

std::optional<double> localeNumber(const QString &text)
{
    bool converted = false;
    const double number = QLocale().toDouble(text, &converted);
    if (!converted || !std::isfinite(number))
        return std::nullopt;
    return number;
}

// Values within the marker's blind spot of 1e-14 around a part of Gamma, and
// zero (the real load) if it lies in there.
QList<double> nearbyParts(double part)
{
    constexpr int gridReach = 5;
    constexpr double gridStep = 2e-15;
    QList<double> parts;
    for (int step = -gridReach; step <= gridReach; ++step)
        parts.append(part + step * gridStep);
    if (std::fabs(part) <= gridReach * gridStep)
        parts.append(0.0);
    return parts;
}

// Two value texts that stand for numbers within 1e-12 of each other.
bool nearlyEqual(const QString &first, const QString &second)
{
    ValueEntry a;
    a.text = first;
    Electrics::parseValue(a, true);
    ValueEntry b;
    b.text = second;
    Electrics::parseValue(b, true);
    if (a.error || b.error || a.empty || b.empty)
        return false;
    return std::fabs(a.value - b.value) <= 1e-12 * std::max(std::fabs(a.value), std::fabs(b.value));
}

QString describe(complex_dbl gamma)
{
    return u"%1%2%3j"_s.arg(gamma.real(), 0, 'g', 17)
        .arg(gamma.imag() < 0 ? u""_s : u"+"_s)
        .arg(gamma.imag(), 0, 'g', 17);
}

} // namespace

std::optional<double> plainEntry(const QString &field, const QString &text)
{
    const std::optional<double> number = localeNumber(text);
    if (number && field == u"LED_Z0" && !Electrics::isUsableReferenceImpedance(*number))
        return std::nullopt;
    return number;
}

LoadChecker::LoadChecker(WindowDriver &driver)
    : panel(driver)
{
    connect(panel.window().chartScene(), &GraphicsScene::NewGamma, this,
            [this](complex_dbl reported) { reportedGamma = reported; });
}

void LoadChecker::beforeAction()
{
    textsBefore.clear();
    for (const QString &name : WindowDriver::fieldNames())
        textsBefore.insert(name, panel.text(name));
    const markerItem *marker = panel.window().chartScene()->markerGraphic();
    markerItemBefore = marker;
    markerBefore = marker ? std::optional<QPointF>(marker->pos()) : std::nullopt;
    reportedGamma.reset();
}

QString LoadChecker::afterAction(const UserAction &action)
{
    const double z0Before = modelZ0;
    followEntry(action);
    if (action.startedTask != 0) {
        const QString notStarted = followTask(action.startedTask);
        if (!notStarted.isEmpty())
            return notStarted;
    }
    const bool rebuilt = modelZ0 != z0Before;

    // A rejected entry stands until the next refresh rewrites its field.
    for (auto it = leftAsTyped.begin(); it != leftAsTyped.end();) {
        if (panel.text(it.key()) != it.value())
            it = leftAsTyped.erase(it);
        else
            ++it;
    }
    QSet<QString> excluded(leftAsTyped.keyBegin(), leftAsTyped.keyEnd());
    const bool typedStands =
        !action.enteredField.isEmpty() && panel.text(action.enteredField) == action.enteredText;
    if (typedStands)
        excluded.insert(action.enteredField);

    QString problem = matchCandidates(action, excluded);
    if (!problem.isEmpty())
        return problem;
    // A refused entry changes nothing else; where the load changed, the
    // entry was taken and its field shows the load's own text again (near the
    // chart's edge Gamma is not known closely enough to tell that text).
    // An entry taken with a change too small to show (a load re-read from
    // its own rounded display) looks refused but is not marked as refused.
    const bool looksRefused = typedStands && entryLeftAsTyped(action);
    const bool leftTyped = looksRefused && nothingElseChanged(action) && !entryTaken(action);
    if (looksRefused && !nothingElseChanged(action) && !entryTaken(action))
        return u"the entry \"%1\" in %2 changed the load although it was refused"_s.arg(
            action.enteredText.left(80), action.enteredField);
    if (leftTyped) {
        problem = checkLeftAsTyped(action);
        leftAsTyped.insert(action.enteredField, action.enteredText);
    }
    if (problem.isEmpty())
        problem = checkMarker(action, rebuilt);
    const bool fullUpdate = (action.drag && reportedGamma)
        || (action.enteredField != u"LED_FREQUENZ" && !leftTyped && entryTaken(action));
    // Beyond this Z0 the slider scale overflows, and where it does depends on
    // the order of the arithmetic.
    constexpr double largestScaledZ0 = 1e250;
    // With a field left as typed fewer texts pin the load, too few for the
    // sliders, whose steps can fall on a hair's breadth.
    if (problem.isEmpty() && fullUpdate && knownGamma && modelZ0 < largestScaledZ0
        && leftAsTyped.isEmpty())
        problem = checkSliders();
    if (problem.isEmpty())
        problem = checkStyles(action, leftTyped);
    return problem;
}

// Z0 and the frequency follow the rules of their entries and of QS_F.
void LoadChecker::followEntry(const UserAction &action)
{
    if (action.enteredField == u"LED_Z0") {
        modelZ0 = plainEntry(action.enteredField, action.enteredText).value_or(modelZ0);
    } else if (action.enteredField == u"LED_FREQUENZ") {
        ValueEntry entry;
        entry.text = action.enteredText;
        entry.nonNegative = true;
        Electrics::parseValue(entry, true);
        if (!entry.empty && !entry.error && std::isfinite(entry.value))
            modelFrequency = entry.value;
    } else if (action.movedSlider == u"QS_F" && action.sliderValueChanged) {
        const QSlider *slider = panel.slider(u"QS_F"_s);
        const double share =
            static_cast<double>(slider->value()) / (slider->maximum() - slider->minimum());
        modelFrequency = 1000.0 * std::pow(10.0, 7.0 * share);
    }
}

// A task that started sets its Z0, frequency and load, after what a drag
// under way when the menu opened reported.
QString LoadChecker::followTask(int number)
{
    const std::optional<Electrics::ExerciseTask> task = Electrics::exerciseTask(number);
    const ExerciseOverlay &shown = panel.window().chartScene()->exercise();
    if (!task || shown.state() != ExerciseOverlay::State::Running || shown.task()->number != number)
        return u"task %1 did not start"_s.arg(number);
    modelZ0 = task->z0;
    modelFrequency = task->frequency;
    knownGamma = Electrics::gammaFromImpedance(task->load, complex_dbl(task->z0, 0.0));
    reportedGamma.reset();
    return QString();
}

// Whether an entry whose text still stands was refused. With Gamma known, the
// load's own text would stand there otherwise; without, the refusal shows.
bool LoadChecker::entryLeftAsTyped(const UserAction &action) const
{
    if (knownGamma)
        return Expected::fieldTexts(*knownGamma, modelZ0, modelFrequency).value(action.enteredField)
            != action.enteredText;
    if (!WindowDriver::isLoadField(action.enteredField))
        return !plainEntry(action.enteredField, action.enteredText);
    const QString partner = partnerOf(action.enteredField);
    return panel.isRed(action.enteredField) || (!partner.isEmpty() && panel.isRed(partner));
}

// Whether the entry's slot took it: a value entry leaves its field (and the
// partner) without the error colour, a Gamma entry needs a number, and Z0 one
// in its range.
bool LoadChecker::entryTaken(const UserAction &action) const
{
    const QString &name = action.enteredField;
    if (name.isEmpty())
        return false;
    if (!WindowDriver::isLoadField(name))
        return plainEntry(name, action.enteredText).has_value();
    const QString partner = partnerOf(name);
    return !panel.isRed(name) && (partner.isEmpty() || !panel.isRed(partner));
}

// Gamma after an accepted Gamma entry, from the Gamma before it.
std::optional<complex_dbl> LoadChecker::gammaOfGammaEntry(const UserAction &action) const
{
    const std::optional<double> number = localeNumber(action.enteredText);
    if (!knownGamma || !number || !WindowDriver::gammaFieldNames().contains(action.enteredField))
        return std::nullopt;
    const complex_dbl before = *knownGamma;
    const double unit = std::max(std::min(*number, 1.0), -1.0);
    if (action.enteredField == u"LED_GAMMAR")
        return complex_dbl(unit, before.imag());
    if (action.enteredField == u"LED_GAMMAI")
        return complex_dbl(before.real(), unit);
    if (action.enteredField == u"LED_GAMMAM")
        return Electrics::gammaFromPolar(std::max(unit, 0.0), Electrics::gammaPhaseDegrees(before));
    return Electrics::gammaFromPolar(Electrics::gammaMagnitude(before), std::fmod(*number, 360.0));
}

// Gamma after an accepted value entry, from the Gamma before it; the marker
// cannot show a change below 1e-14 (a reactance of a few attohenries), so it
// is computed here from the entry.
std::optional<complex_dbl> LoadChecker::gammaOfValueEntry(const UserAction &action) const
{
    const QString &name = action.enteredField;
    if (!knownGamma || name.isEmpty() || !WindowDriver::isLoadField(name) || name == u"LED_FREQUENZ"
        || !entryTaken(action))
        return std::nullopt;
    const auto entry = [&](const QString &field) {
        ValueEntry parsed;
        parsed.text = field == name ? action.enteredText : textsBefore.value(field);
        parsed.nonNegative = WindowDriver::takesMagnitude(field);
        Electrics::parseValue(parsed, true);
        return parsed;
    };
    const complex_dbl z0(modelZ0, 0.0);
    const complex_dbl z = Electrics::impedanceFromGamma(*knownGamma, z0);
    const Electrics::ParallelEquivalent parallel =
        Electrics::parallelFromAdmittance(Electrics::admittanceFromImpedance(z));
    const ValueEntry typed = entry(name);
    const Electrics::ElementKind kind = typed.text.contains(u'F')
        ? Electrics::ElementKind::Capacitor
        : Electrics::ElementKind::Inductor;
    const double reactance = Electrics::reactanceFromElement(typed.value, kind, modelFrequency);
    if (name == u"LED_R" || name == u"LED_X")
        return Electrics::gammaFromImpedance({entry(u"LED_R"_s).value, entry(u"LED_X"_s).value},
                                             z0);
    if (name == u"LED_G" || name == u"LED_B")
        return Electrics::gammaFromAdmittance({entry(u"LED_G"_s).value, entry(u"LED_B"_s).value},
                                              z0);
    if (name == u"LED_RS")
        return Electrics::gammaFromSeries(typed.value, z.imag(), z0);
    if (name == u"LED_XS")
        return Electrics::gammaFromSeries(z.real(), reactance, z0);
    if (name == u"LED_RP")
        return Electrics::gammaFromParallel(typed.value, parallel.xp, z0);
    return Electrics::gammaFromParallel(parallel.rp, reactance, z0);
}

// Finds the Gamma that every field shows: the one a drag reported, the one a
// Gamma entry gives, the one under the marker, or the one known before (which
// a load beyond the square around the unit circle keeps while the marker
// stays behind), each
// within a few units in the last place.
QString LoadChecker::matchCandidates(const UserAction &action, const QSet<QString> &excluded)
{
    QList<complex_dbl> candidates;
    if (action.drag && reportedGamma)
        candidates.append(*reportedGamma);
    if (const std::optional<complex_dbl> entered = gammaOfGammaEntry(action))
        candidates.append(*entered);
    const std::optional<complex_dbl> marker = panel.markerGamma();
    if (marker)
        candidates.append(*marker);
    if (const std::optional<complex_dbl> entered = gammaOfValueEntry(action))
        candidates.append(*entered);
    if (knownGamma)
        candidates.append(*knownGamma);

    // A zero part shows its sign in the phase (180,0 or -180,0), and a Gamma
    // known only to the last place may have lost it.
    for (qsizetype i = candidates.size() - 1; i >= 0; --i) {
        const complex_dbl candidate = candidates.at(i);
        if (candidate.real() == 0.0)
            candidates.append(complex_dbl(-candidate.real(), candidate.imag()));
        if (candidate.imag() == 0.0)
            candidates.append(complex_dbl(candidate.real(), -candidate.imag()));
        if (candidate.real() == 0.0 && candidate.imag() == 0.0)
            candidates.append(-candidate);
    }
    for (const complex_dbl candidate : candidates) {
        for (int re = 0; re <= 2 * ulpReach; ++re) {
            for (int im = 0; im <= 2 * ulpReach; ++im) {
                // 0, +1, -1, +2, -2 units in the last place.
                const int reUlps = (re + 1) / 2 * (re % 2 ? 1 : -1);
                const int imUlps = (im + 1) / 2 * (im % 2 ? 1 : -1);
                const complex_dbl nearby(stepped(candidate.real(), reUlps),
                                         stepped(candidate.imag(), imUlps));
                if (textsMatch(nearby, excluded)) {
                    knownGamma = nearby;
                    return QString();
                }
            }
        }
    }

    const std::optional<complex_dbl> shown = shownGamma(excluded);
    if (!shown) {
        for (const QString &name : WindowDriver::gammaFieldNames()) {
            if (!excluded.contains(name) && !localeNumber(panel.text(name)))
                return u"%1 shows no finite number: \"%2\""_s.arg(name, panel.text(name));
        }
        // Entries left as typed hide Gamma; the marker may not show it either.
        knownGamma.reset();
        return checkShownLoadRoughly(excluded);
    }
    // The marker pins the load only where its blind spot of 1e-14 in Gamma
    // stays below the displayed digits: not for a Z0 of 0 or of gigaohms.
    const bool draggedAway = action.drag && marker
        && (std::fabs(marker->real()) > 1.0 || std::fabs(marker->imag()) > 1.0);
    const bool markerPinsLoad = modelZ0 > 0.0 && modelZ0 < 1e9 && !draggedAway;
    if (std::abs(*shown) <= surelyInside && !markerDisplaced && marker && markerPinsLoad) {
        const QString mismatch = firstRoughMismatch(*marker, excluded);
        if (!mismatch.isEmpty())
            return u"the fields do not show the load under the marker (Gamma %1): %2"_s.arg(
                describe(*marker), mismatch);
        knownGamma = marker;
        return QString();
    }
    // Outside the unit circle the marker does not follow; the fields must at
    // least agree with each other.
    knownGamma.reset();
    return checkShownLoadRoughly(excluded);
}

bool LoadChecker::textsMatch(complex_dbl gamma, const QSet<QString> &excluded) const
{
    return firstMismatch(gamma, excluded).isEmpty();
}

QString LoadChecker::firstMismatch(complex_dbl gamma, const QSet<QString> &excluded) const
{
    const QHash<QString, QString> expected = Expected::fieldTexts(gamma, modelZ0, modelFrequency);
    for (const QString &name : WindowDriver::fieldNames()) {
        if (!excluded.contains(name) && panel.text(name) != expected.value(name))
            return u"%1 shows \"%2\", expected \"%3\""_s.arg(name, panel.text(name).left(80),
                                                             expected.value(name));
    }
    return QString();
}

// The marker ignores moves below 1e-12 scene units (the toolkit compares
// points fuzzily), so it may lag a load changed by less than 1e-14. Each field
// must then show the load of some Gamma that close to the marker, or a value
// within 1e-12 of its own (a display of hundreds of digits).
QString LoadChecker::firstRoughMismatch(complex_dbl marker, const QSet<QString> &excluded) const
{
    QList<QHash<QString, QString>> nearbyTexts;
    for (const double re : nearbyParts(marker.real())) {
        for (const double im : nearbyParts(marker.imag()))
            nearbyTexts.append(Expected::fieldTexts({re, im}, modelZ0, modelFrequency));
    }
    // Nor can it pin a reactance that small, whose element values (a
    // capacitance of 1/(omega X)) are as large as it is small.
    const bool reactanceUnpinned = std::fabs(marker.imag()) <= blindSpot;
    for (const QString &name : WindowDriver::fieldNames()) {
        const bool elementField = name == u"LED_XS" || name == u"LED_XP";
        const bool phaseUnpinned = name == u"LED_GAMMAP" && std::abs(marker) <= blindSpot;
        if (excluded.contains(name) || (elementField && reactanceUnpinned) || phaseUnpinned)
            continue;
        const QString shown = panel.text(name);
        const auto showsThis = [&](const QHash<QString, QString> &texts) {
            return texts.value(name) == shown || nearlyEqual(texts.value(name), shown);
        };
        if (std::none_of(nearbyTexts.cbegin(), nearbyTexts.cend(), showsThis))
            return u"%1 shows \"%2\", expected \"%3\""_s.arg(
                name, shown.left(80), nearbyTexts.at(nearbyTexts.size() / 2).value(name).left(80));
    }
    return QString();
}

std::optional<complex_dbl> LoadChecker::shownGamma(const QSet<QString> &excluded) const
{
    const auto shown = [&](const QString &name) -> std::optional<double> {
        if (excluded.contains(name))
            return std::nullopt;
        return localeNumber(panel.text(name));
    };
    const std::optional<double> real = shown(u"LED_GAMMAR"_s);
    const std::optional<double> imaginary = shown(u"LED_GAMMAI"_s);
    if (real && imaginary)
        return complex_dbl(*real, *imaginary);
    const std::optional<double> magnitude = shown(u"LED_GAMMAM"_s);
    const std::optional<double> phase = shown(u"LED_GAMMAP"_s);
    if (magnitude && phase)
        return Electrics::gammaFromPolar(*magnitude, *phase);
    return std::nullopt;
}

QString LoadChecker::checkShownLoadRoughly(const QSet<QString> &excluded) const
{
    const auto shows = [&](const QString &name, const QString &text) {
        return excluded.contains(name) || panel.text(name) == text;
    };
    if (!shows(u"LED_Z0"_s, Electrics::formatNumber(modelZ0, 1)))
        return u"LED_Z0 shows \"%1\" for Z0 %2"_s.arg(panel.text(u"LED_Z0"_s)).arg(modelZ0);
    if (!shows(u"LED_FREQUENZ"_s, Electrics::formatFrequency(modelFrequency)))
        return u"LED_FREQUENZ shows \"%1\" for %2 Hz"_s.arg(panel.text(u"LED_FREQUENZ"_s))
            .arg(modelFrequency);
    if (!excluded.contains(u"LED_R"_s) && !shows(u"LED_RS"_s, panel.text(u"LED_R"_s)))
        return u"LED_RS shows \"%1\", LED_R \"%2\""_s.arg(panel.text(u"LED_RS"_s).left(80),
                                                          panel.text(u"LED_R"_s));
    const std::optional<double> real = localeNumber(panel.text(u"LED_GAMMAR"_s));
    const std::optional<double> imaginary = localeNumber(panel.text(u"LED_GAMMAI"_s));
    const std::optional<double> magnitude = localeNumber(panel.text(u"LED_GAMMAM"_s));
    if (real && imaginary && magnitude
        && std::fabs(std::hypot(*real, *imaginary) - *magnitude) > 0.0015)
        return u"LED_GAMMAM shows %1 for Gamma %2%3j"_s.arg(*magnitude).arg(*real).arg(*imaginary);
    return QString();
}

bool LoadChecker::nothingElseChanged(const UserAction &action) const
{
    for (const QString &name : WindowDriver::fieldNames()) {
        if (name != action.enteredField && !leftAsTyped.contains(name)
            && panel.text(name) != textsBefore.value(name))
            return false;
    }
    const markerItem *marker = panel.window().chartScene()->markerGraphic();
    return marker == markerItemBefore
        && (!marker || !markerBefore || marker->pos() == *markerBefore);
}

// A rejected or unconvertible entry changes nothing else and turns its field
// or its partner red.
QString LoadChecker::checkLeftAsTyped(const UserAction &action)
{
    for (const QString &name : WindowDriver::fieldNames()) {
        if (name != action.enteredField && !leftAsTyped.contains(name)
            && panel.text(name) != textsBefore.value(name))
            return u"%1 changed from \"%2\" to \"%3\" although the entry in %4 was not taken"_s.arg(
                name, textsBefore.value(name), panel.text(name), action.enteredField);
    }
    const markerItem *marker = panel.window().chartScene()->markerGraphic();
    if (marker != markerItemBefore || (marker && markerBefore && marker->pos() != *markerBefore))
        return u"the marker moved although the entry \"%1\" in %2 was not taken (the load shows \"%3\")"_s
            .arg(action.enteredText.left(80), action.enteredField,
                 knownGamma ? Expected::fieldTexts(*knownGamma, modelZ0, modelFrequency)
                                  .value(action.enteredField)
                            : QString());
    const QString partner = partnerOf(action.enteredField);
    if (WindowDriver::isLoadField(action.enteredField) && !panel.isRed(action.enteredField)
        && (partner.isEmpty() || !panel.isRed(partner)))
        return u"%1 keeps the rejected entry \"%2\" without turning red"_s.arg(
            action.enteredField, action.enteredText.left(80));
    if (!WindowDriver::isLoadField(action.enteredField)) {
        if (plainEntry(action.enteredField, action.enteredText))
            return u"%1 ignored the number \"%2\""_s.arg(action.enteredField, action.enteredText);
        if (!panel.isRed(action.enteredField))
            return u"%1 keeps the refused entry \"%2\" without turning red"_s.arg(
                action.enteredField, action.enteredText.left(80));
    }
    return QString();
}

QString LoadChecker::checkMarker(const UserAction &action, bool rebuilt)
{
    const markerItem *marker = panel.window().chartScene()->markerGraphic();
    if (!marker)
        return u"the chart has no marker"_s;
    const complex_dbl under = GraphicsScene::gammaAt(marker->pos());
    const bool insideSquare = std::fabs(under.real()) <= 1.0 && std::fabs(under.imag()) <= 1.0;
    if (action.drag) {
        markerDisplaced = !insideSquare;
        // A held move reports its load exactly; the marker stands at its scene point.
        if (insideSquare && reportedGamma && std::abs(*reportedGamma - under) > 1e-12)
            return u"the drag reported %1, the marker stands at %2"_s.arg(describe(*reportedGamma),
                                                                          describe(under));
        return QString();
    }
    const bool moved =
        rebuilt || marker != markerItemBefore || !markerBefore || marker->pos() != *markerBefore;
    if (moved)
        markerDisplaced = false;
    if (!knownGamma || markerDisplaced)
        return QString();
    // The marker shows every load a drag could report, the square around the
    // unit circle; beyond it, the marker stays where it was.
    const double reach = std::max(std::fabs(knownGamma->real()), std::fabs(knownGamma->imag()));
    if (reach <= 1.0 - markerTolerance && std::abs(under - *knownGamma) > markerTolerance)
        return u"the marker stands at %1 for Gamma %2"_s.arg(describe(under),
                                                             describe(*knownGamma));
    if (reach > 1.0 + markerTolerance) {
        if (rebuilt && marker->pos() != QPointF())
            return u"the rebuilt chart moved the marker for Gamma %1"_s.arg(describe(*knownGamma));
        if (!rebuilt && moved)
            return u"the marker moved for Gamma %1 beyond the chart"_s.arg(describe(*knownGamma));
    }
    return QString();
}

// Positions from the load, within one step of the slider scale: the scale is
// computed here from its closed form, which may differ in the last place.
QString LoadChecker::checkSliders() const
{
    const QHash<QString, int> expected = Expected::sliderPositions(*knownGamma, modelZ0);
    const bool reactanceUnpinned = std::fabs(knownGamma->imag()) <= blindSpot;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const bool logarithmic = it.key() == u"QS_XS" || it.key() == u"QS_XP";
        const bool reactive = logarithmic || it.key() == u"QS_X" || it.key() == u"QS_B";
        if (reactive && reactanceUnpinned)
            continue;
        const int tolerance = logarithmic ? 1 : 6;
        if (std::abs(panel.position(it.key()) - it.value()) > tolerance)
            return u"%1 stands at %2, expected %3"_s.arg(it.key())
                .arg(panel.position(it.key()))
                .arg(it.value());
    }
    return QString();
}

QString LoadChecker::checkStyles(const UserAction &action, bool leftTyped) const
{
    // An entry counts as taken where the field was rewritten; a text that
    // stands as typed may also be a refused copy of the display ("inf GΩ").
    if (action.enteredField.isEmpty() || leftTyped
        || panel.text(action.enteredField) == action.enteredText)
        return QString();
    for (const QString &name : {action.enteredField, partnerOf(action.enteredField)}) {
        if (!name.isEmpty() && panel.isRed(name))
            return u"%1 stays red after the accepted entry \"%2\""_s.arg(
                name, action.enteredText.left(80));
    }
    return QString();
}
