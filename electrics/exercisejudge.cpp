#include "electrics/exercisejudge.h"

#include "electrics/conversions.h"
#include "electrics/formatting.h"
#include "electrics/matching.h"
#include "electrics/networkband.h"

#include <QCoreApplication>
#include <QStringList>

#include <array>
#include <cmath>

namespace Electrics {

namespace {

constexpr std::size_t mostElements = 2;
// A point lies on the circle R = Z0 or G = 1/Z0, or on the real axis, to this
// much: the snapped moves land there to the rounding of the conversions.
constexpr double onCircleTolerance = 1e-6;
// A line's own impedance is the chart's Z0 to this fraction.
constexpr double sameImpedanceTolerance = 1e-9;
constexpr int swrDecimals = 2;
constexpr int bandDecimals = 2;
constexpr int transformerDecimals = 3;
constexpr int impedanceDecimals = 2;

QString text(const char *source)
{
    return QCoreApplication::translate("Velmora", source);
}

bool isLineOfZ0(const NetworkElement &element, double z0)
{
    return element.move == MatchingMove::Line
        && (!(element.lineImpedance > 0.0)
            || std::abs(element.lineImpedance - z0) <= sameImpedanceTolerance * z0);
}

// The first rule on the number and kinds of elements that the network breaks.
QString brokenKindRule(const ExerciseTask &task, const Network &network)
{
    const std::vector<NetworkElement> &elements = network.elements;
    if (elements.size() > mostElements)
        return text("%1 Elemente, höchstens %2").arg(elements.size()).arg(mostElements);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const NetworkElement &element = elements[i];
        const bool last = i + 1 == elements.size();
        const QString number = QString::number(i + 1);
        switch (task.level) {
        case 1:
        case 2:
            if (element.move == MatchingMove::Line)
                return text("Element %1 ist eine Leitung, erlaubt sind nur L und C").arg(number);
            break;
        case 3:
            if (last && element.move != MatchingMove::Shunt)
                return text("Element %1 ist keine Parallel-Stichleitung").arg(number);
            if (!last && !isLineOfZ0(element, network.z0))
                return text("Element %1 ist keine Leitung mit Z0").arg(number);
            break;
        default:
            if (element.move != MatchingMove::Line)
                return text("Element %1 ist keine Leitung").arg(number);
            if (!last && !isLineOfZ0(element, network.z0))
                return text("Element %1 ist keine Leitung mit Z0").arg(number);
            if (last && std::abs(element.change - quarterWaveLength) > quarterWaveTolerance)
                return text("Transformator %1 λ lang, verlangt %2 ± %3 λ")
                    .arg(formatNumber(element.change, transformerDecimals),
                         formatNumber(quarterWaveLength, transformerDecimals),
                         formatNumber(quarterWaveTolerance, transformerDecimals));
            break;
        }
    }
    return QString();
}

QString brokenBandRule(const ExerciseTask &task, const Network &network)
{
    const double wantedLower = task.frequency * (1.0 - task.bandFraction);
    const double wantedUpper = task.frequency * (1.0 + task.bandFraction);
    const BandEdges band = bandEdges(network, exerciseBandSwr);
    const QString limit = formatNumber(exerciseBandSwr, 0);
    if (band.status != BandEdges::Status::Found)
        return text("SWR ≤ %1 nirgends im Band").arg(limit);
    const bool lowerHolds = !band.lower || *band.lower <= wantedLower;
    const bool upperHolds = !band.upper || *band.upper >= wantedUpper;
    if (lowerHolds && upperHolds)
        return QString();
    if (!band.lower)
        return text("SWR ≤ %1 nur bis %2")
            .arg(limit, formatFrequencyWithDecimals(*band.upper, bandDecimals));
    if (!band.upper)
        return text("SWR ≤ %1 nur ab %2")
            .arg(limit, formatFrequencyWithDecimals(*band.lower, bandDecimals));
    return text("SWR ≤ %1 nur von %2 bis %3")
        .arg(limit, formatFrequencyWithDecimals(*band.lower, bandDecimals),
             formatFrequencyWithDecimals(*band.upper, bandDecimals));
}

complex_dbl gammaAfter(const Network &network, std::size_t count)
{
    return reflectionOf(impedanceAfter(network, count, network.frequency), network.z0);
}

// The resistance and conductance at Γ, in units of Z0 and 1/Z0.
double normalisedResistance(complex_dbl gamma)
{
    return impedanceFromGamma(gamma, complex_dbl(1.0, 0.0)).real();
}

double normalisedConductance(complex_dbl gamma)
{
    return admittanceFromImpedance(impedanceFromGamma(gamma, complex_dbl(1.0, 0.0))).real();
}

bool isOne(double value)
{
    return std::abs(value - 1.0) <= onCircleTolerance;
}

QString ohmsText(double ohms, int decimals)
{
    return text("%1 Ω").arg(formatNumber(ohms, decimals));
}

ExerciseHint towardResistanceCircle(double z0)
{
    return {ExerciseHint::Target::ResistanceCircle,
            text("Parallelelement (Strg) bis zum Kreis R = %1").arg(ohmsText(z0, 0))};
}

ExerciseHint towardConductanceCircle(const QString &move, double z0)
{
    return {ExerciseHint::Target::ConductanceCircle,
            text("%1 bis zum Kreis G = 1/(%2)").arg(move, ohmsText(z0, 0))};
}

ExerciseHint towardCentre(const QString &move)
{
    return {ExerciseHint::Target::Centre, text("%1 bis zur Mitte").arg(move)};
}

QString seriesMove()
{
    return text("Serienelement (Umschalt)");
}

QString shuntMove()
{
    return text("Parallelelement (Strg)");
}

QString lineMove()
{
    return text("Leitung (Strg+Umschalt)");
}

// From the load: the first element of an L-section that solves the task, the
// band included, found among the load's L-sections.
std::optional<ExerciseHint> lSectionStart(const ExerciseTask &task, const Network &network)
{
    const complex_dbl load = gammaAfter(network, 0);
    const complex_dbl z0(network.z0, 0.0);
    for (const MatchingMove first : {MatchingMove::Shunt, MatchingMove::Series}) {
        const MatchingMove second =
            first == MatchingMove::Shunt ? MatchingMove::Series : MatchingMove::Shunt;
        for (const complex_dbl corner : snapTargets(first, load, z0)) {
            const double kept = second == MatchingMove::Series ? normalisedResistance(corner)
                                                               : normalisedConductance(corner);
            if (corner == complex_dbl() || !isOne(kept))
                continue;
            Network section = network;
            section.elements = {elementFromMove(first, load, corner, network.z0, 0.0),
                                elementFromMove(second, corner, complex_dbl(), network.z0, 0.0)};
            if (!judgeExercise(task, section).solved)
                continue;
            return first == MatchingMove::Shunt ? towardResistanceCircle(network.z0)
                                                : towardConductanceCircle(seriesMove(), network.z0);
        }
    }
    return std::nullopt;
}

ExerciseHint lSectionHint(const ExerciseTask &task, const Network &network)
{
    if (network.elements.empty()) {
        if (const std::optional<ExerciseHint> start = lSectionStart(task, network))
            return *start;
    }
    const complex_dbl end = gammaAfter(network, network.elements.size());
    if (isOne(normalisedResistance(end)))
        return towardCentre(seriesMove());
    if (isOne(normalisedConductance(end)))
        return towardCentre(shuntMove());
    if (normalisedConductance(end) < 1.0)
        return towardResistanceCircle(network.z0);
    return towardConductanceCircle(seriesMove(), network.z0);
}

ExerciseHint stubHint(const Network &network)
{
    const complex_dbl end = gammaAfter(network, network.elements.size());
    if (isOne(normalisedConductance(end)))
        return towardCentre(text("Parallel-Stichleitung (Strg)"));
    return towardConductanceCircle(lineMove(), network.z0);
}

// A quarter-wave line of √(Z0 R) takes the real R to Z0; a line of Z0 turns
// the load clockwise to the real axis first, where R is Z0 (1 ± |Γ|)/(1 ∓ |Γ|).
ExerciseHint transformerHint(const Network &network)
{
    const complex_dbl end = gammaAfter(network, network.elements.size());
    const double magnitude = std::abs(end);
    if (std::abs(end.imag()) <= onCircleTolerance) {
        const double resistance = impedanceFromGamma(end, complex_dbl(network.z0, 0.0)).real();
        return towardCentre(
            text("%1 mit Leitungsimpedanz %2, %3 λ")
                .arg(lineMove(), ohmsText(std::sqrt(network.z0 * resistance), impedanceDecimals),
                     formatNumber(quarterWaveLength, transformerDecimals)));
    }
    // Clockwise from above the axis the turn meets Γ = +|Γ| first, from below −|Γ|.
    const double resistance = end.imag() > 0.0 ? network.z0 * (1.0 + magnitude) / (1.0 - magnitude)
                                               : network.z0 * (1.0 - magnitude) / (1.0 + magnitude);
    return {ExerciseHint::Target::RealAxis,
            text("%1 bis zur reellen Achse, dann Leitungsimpedanz %2")
                .arg(lineMove(), ohmsText(std::sqrt(network.z0 * resistance), impedanceDecimals))};
}

} // namespace

Network exerciseNetwork(const ExerciseTask &task, const Network &built)
{
    Network network;
    network.z0 = task.z0;
    network.frequency = task.frequency;
    network.load = task.load;
    network.loadCircuit = LoadCircuit::Series;
    if (task.level == 3)
        network.shuntRealisation = task.shortStub ? Realisation::ShortStub : Realisation::OpenStub;
    network.elements = built.elements;
    return network;
}

ExerciseVerdict judgeExercise(const ExerciseTask &task, const Network &built)
{
    if (task.level < 1)
        return {false, QString()};
    const Network network = exerciseNetwork(task, built);
    if (const QString broken = brokenKindRule(task, network); !broken.isEmpty())
        return {false, broken};
    const double swr = standingWaveRatio(inputImpedanceAt(network, task.frequency), task.z0);
    if (!(swr <= exerciseMatchedSwr))
        return {false,
                text("SWR %1 bei f₀, verlangt ≤ %2")
                    .arg(formatNumber(swr, swrDecimals), formatNumber(exerciseMatchedSwr, 1))};
    if (task.level == 2) {
        if (const QString broken = brokenBandRule(task, network); !broken.isEmpty())
            return {false, broken};
    }
    return {true, QString()};
}

QString solvedText(const ExerciseTask &task, const Network &built, int hintsUsed)
{
    const Network network = exerciseNetwork(task, built);
    QStringList named;
    for (std::size_t i = 0; i < network.elements.size(); ++i)
        named << text("%1. %2").arg(i + 1).arg(elementText(network, i));
    const int count = static_cast<int>(network.elements.size());
    QString solved = (count == 1 ? text("gelöst mit 1 Element: %1")
                                 : text("gelöst mit %1 Elementen: %2").arg(count))
                         .arg(named.join(QStringLiteral(", ")));
    if (hintsUsed == 1)
        solved += text(" (mit 1 Tipp)");
    else if (hintsUsed > 1)
        solved += text(" (mit %1 Tipps)").arg(hintsUsed);
    return solved;
}

QString abandonedText(int number, ExerciseChange change)
{
    const std::array<const char *, 3> causes {"die Last wurde geändert", "Z0 wurde geändert",
                                              "die Frequenz wurde geändert"};
    return text("Aufgabe %1 abgebrochen: %2")
        .arg(number)
        .arg(text(causes[static_cast<std::size_t>(change)]));
}

std::optional<ExerciseHint> exerciseHint(const ExerciseTask &task, const Network &built)
{
    if (task.level < 1 || judgeExercise(task, built).solved)
        return std::nullopt;
    const Network network = exerciseNetwork(task, built);
    switch (task.level) {
    case 1:
    case 2:
        return lSectionHint(task, network);
    case 3:
        return stubHint(network);
    default:
        return transformerHint(network);
    }
}

} // namespace Electrics
