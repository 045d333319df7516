#include "electrics/network.h"

#include "electrics/formatting.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

#include <cmath>
#include <limits>

namespace Electrics {

namespace {

const complex_dbl one(1.0, 0.0);
const complex_dbl j(0.0, 1.0);
const double notANumber = std::numeric_limits<double>::quiet_NaN();

// Changes this small against the quantities they join are rounding, not an
// element; the same bound the chart's held moves use.
constexpr double negligibleChange = 1e-9;

// A stored path longer than this is not one the chart made.
constexpr qsizetype mostStoredElements = 100;
constexpr double longestLine = 1.0; // wavelengths at f0

QString text(const char *source)
{
    return QCoreApplication::translate("Velmora", source);
}

bool isInfinite(complex_dbl z)
{
    return std::isinf(z.real()) || std::isinf(z.imag());
}

bool negligible(double change, double first, double second)
{
    return !(std::abs(change) > negligibleChange * (std::abs(first) + std::abs(second)));
}

// f / f0, or 1 when the network has no frequency and so is the same at every
// frequency.
double frequencyRatio(const Network &network, double hertz)
{
    return hasFrequency(network) ? hertz / network.frequency : 1.0;
}

// An inductance's reactance and a capacitance's susceptance grow with f, a
// capacitance's reactance and an inductance's susceptance shrink; at f = 0 the
// shrinking ones are infinite.
double growingIfPositive(double valueAtF0, double ratio)
{
    return valueAtF0 >= 0.0 ? valueAtF0 * ratio : valueAtF0 / ratio;
}

double lineImpedanceOf(const Network &network, const NetworkElement &element)
{
    const double own = element.lineImpedance;
    return own > 0.0 && std::isfinite(own) ? own : network.z0;
}

Realisation realisationOf(const Network &network, MatchingMove move)
{
    return move == MatchingMove::Series ? network.seriesRealisation : network.shuntRealisation;
}

// A stub's electrical length grows with f like any line's.
double stubAngle(const Network &network, const NetworkElement &element, double ratio)
{
    const Realisation realisation = realisationOf(network, element.move);
    return twoPi * stubLength(element.move, realisation, element.change, network.z0) * ratio;
}

double seriesReactance(const Network &network, const NetworkElement &element, double ratio)
{
    switch (network.seriesRealisation) {
    case Realisation::OpenStub:
        return -network.z0 / std::tan(stubAngle(network, element, ratio));
    case Realisation::ShortStub:
        return network.z0 * std::tan(stubAngle(network, element, ratio));
    case Realisation::LumpedLC:
        break;
    }
    return growingIfPositive(element.change, ratio);
}

double shuntSusceptance(const Network &network, const NetworkElement &element, double ratio)
{
    switch (network.shuntRealisation) {
    case Realisation::OpenStub:
        return std::tan(stubAngle(network, element, ratio)) / network.z0;
    case Realisation::ShortStub:
        return -1.0 / (network.z0 * std::tan(stubAngle(network, element, ratio)));
    case Realisation::LumpedLC:
        break;
    }
    return growingIfPositive(element.change, ratio);
}

// The lossless line's transformation. An open circuit at its end (an
// infinite impedance, as a series C gives at f = 0) would give infinity over
// infinity, so it takes its limit, -j Zl cot βl.
complex_dbl throughLine(complex_dbl z, double lineImpedance, double turns)
{
    const double t = std::tan(twoPi * turns);
    if (isInfinite(z))
        return {0.0, -lineImpedance / t};
    return lineImpedance * (z + j * lineImpedance * t) / (lineImpedance + j * z * t);
}

complex_dbl throughElement(const Network &network, const NetworkElement &element, complex_dbl z,
                           double ratio)
{
    switch (element.move) {
    case MatchingMove::Series:
        return z + complex_dbl(0.0, seriesReactance(network, element, ratio));
    case MatchingMove::Shunt: {
        const complex_dbl y = admittanceFromImpedance(z);
        return one / (y + complex_dbl(0.0, shuntSusceptance(network, element, ratio)));
    }
    case MatchingMove::Line:
        break;
    }
    return throughLine(z, lineImpedanceOf(network, element), element.change * ratio);
}

QString lengthText(double wavelengths)
{
    return text("%1 λ (%2°)")
        .arg(formatNumber(wavelengths, 3), formatNumber(360.0 * wavelengths, 1));
}

QString stubText(MatchingMove move, Realisation realisation, double length)
{
    const bool open = realisation == Realisation::OpenStub;
    const char *name = nullptr;
    if (move == MatchingMove::Series)
        name = open ? "Serien-Stichleitung, leerlaufend %1"
                    : "Serien-Stichleitung, kurzgeschlossen %1";
    else
        name = open ? "Parallel-Stichleitung, leerlaufend %1"
                    : "Parallel-Stichleitung, kurzgeschlossen %1";
    return text(name).arg(lengthText(length));
}

QString lumpedText(const NetworkElement &element, double frequency)
{
    const bool series = element.move == MatchingMove::Series;
    const Element lumped = lumpedElement(element, frequency);
    switch (lumped.kind) {
    case ElementKind::Inductor:
        return text(series ? "Serien-L %1" : "Parallel-L %1").arg(formatInductance(lumped.value));
    case ElementKind::Capacitor:
        return text(series ? "Serien-C %1" : "Parallel-C %1").arg(formatCapacitance(lumped.value));
    case ElementKind::None:
        break;
    }
    // Without a frequency there is no component, only what it does.
    if (series)
        return text("Serien-X %1").arg(formatOhms(element.change, 2, true));
    return text("Parallel-B %1").arg(formatNumber(1000.0 * element.change, 1) + u" jmS");
}

QString lineText(const Network &network, const NetworkElement &element)
{
    const double impedance = lineImpedanceOf(network, element);
    if (negligible(impedance - network.z0, network.z0, 0.0))
        return text("Leitung %1").arg(lengthText(element.change));
    return text("Leitung %1 %2").arg(formatOhms(impedance, 2, false), lengthText(element.change));
}

bool changesNothing(const Network &network, std::size_t index)
{
    const NetworkElement &element = network.elements[index];
    const complex_dbl start = impedanceAfter(network, index, network.frequency);
    const complex_dbl end = impedanceAfter(network, index + 1, network.frequency);
    switch (element.move) {
    case MatchingMove::Series:
        return negligible(element.change, std::abs(start), std::abs(end));
    case MatchingMove::Shunt:
        return negligible(element.change, std::abs(one / start), std::abs(one / end));
    case MatchingMove::Line:
        break;
    }
    // A line of half a wavelength gives the load back as it was, but it is
    // still there.
    return negligible(element.change, 1.0, 0.0);
}

QString storedNumber(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

std::optional<double> finiteNumber(const QString &field)
{
    bool ok = false;
    const double value = field.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<NetworkElement> storedElement(const QString &entry)
{
    const QStringList fields = entry.simplified().split(u' ');
    const QString &kind = fields.first();
    const bool line = kind == u"L";
    if (!line && kind != u"S" && kind != u"P")
        return std::nullopt;
    if (fields.size() != (line ? 3 : 2))
        return std::nullopt;
    const std::optional<double> change = finiteNumber(fields.at(1));
    if (!change)
        return std::nullopt;
    if (!line)
        return NetworkElement {kind == u"S" ? MatchingMove::Series : MatchingMove::Shunt, *change};
    const std::optional<double> impedance = finiteNumber(fields.at(2));
    if (!(*change > 0.0 && *change <= longestLine) || !impedance || *impedance < 0.0)
        return std::nullopt;
    return NetworkElement {MatchingMove::Line, *change, *impedance};
}

} // namespace

bool hasFrequency(const Network &network)
{
    return network.frequency > 0.0 && std::isfinite(network.frequency);
}

complex_dbl loadImpedanceAt(const Network &network, double hertz)
{
    const double ratio = frequencyRatio(network, hertz);
    switch (network.loadCircuit) {
    case LoadCircuit::Series:
        return {network.load.real(), growingIfPositive(network.load.imag(), ratio)};
    case LoadCircuit::Parallel: {
        // XP is not a number for a load without parallel reactance, and stays so.
        const ParallelEquivalent parallel =
            parallelFromAdmittance(admittanceFromImpedance(network.load));
        return impedanceFromParallel(parallel.rp, growingIfPositive(parallel.xp, ratio));
    }
    case LoadCircuit::FrequencyIndependent:
        break;
    }
    return network.load;
}

complex_dbl impedanceAfter(const Network &network, std::size_t count, double hertz)
{
    const double ratio = frequencyRatio(network, hertz);
    complex_dbl z = loadImpedanceAt(network, hertz);
    for (std::size_t index = 0; index < count && index < network.elements.size(); ++index)
        z = throughElement(network, network.elements[index], z, ratio);
    return z;
}

complex_dbl inputImpedanceAt(const Network &network, double hertz)
{
    return impedanceAfter(network, network.elements.size(), hertz);
}

complex_dbl reflectionOf(complex_dbl z, double z0)
{
    if (isInfinite(z))
        return one;
    return gammaFromImpedance(z, complex_dbl(z0, 0.0));
}

double standingWaveRatio(complex_dbl z, double z0)
{
    if (z.real() < 0.0)
        return notANumber;
    const double magnitude = gammaMagnitude(reflectionOf(z, z0));
    return (1.0 + magnitude) / (1.0 - magnitude);
}

NetworkElement elementFromMove(MatchingMove move, complex_dbl startGamma, complex_dbl endGamma,
                               double z0, double lineImpedance)
{
    const complex_dbl reference(z0, 0.0);
    switch (move) {
    case MatchingMove::Series:
        return {move, reactanceChange(startGamma, endGamma, reference)};
    case MatchingMove::Shunt:
        return {move, susceptanceChange(startGamma, endGamma, reference)};
    case MatchingMove::Line:
        break;
    }
    if (!(lineImpedance > 0.0 && std::isfinite(lineImpedance)))
        return {move, lineLength(startGamma, endGamma)};
    // Along a line of its own impedance Γ turns about that impedance's centre.
    const auto againstLine = [&](complex_dbl gamma) {
        return gammaFromImpedance(impedanceFromGamma(gamma, reference), {lineImpedance, 0.0});
    };
    return {move, lineLength(againstLine(startGamma), againstLine(endGamma)), lineImpedance};
}

Element lumpedElement(const NetworkElement &element, double frequency)
{
    if (element.move == MatchingMove::Line || !(frequency > 0.0 && std::isfinite(frequency))
        || !(element.change != 0.0))
        return {};
    const double omega = angularFrequency(frequency);
    const bool grows = element.change > 0.0;
    const double value = grows ? element.change / omega : 1.0 / (omega * -element.change);
    // A positive change is an L in series but a C across the line.
    const bool inductor = grows == (element.move == MatchingMove::Series);
    return {inductor ? ElementKind::Inductor : ElementKind::Capacitor, value};
}

double stubLength(MatchingMove move, Realisation realisation, double change, double z0)
{
    if (move == MatchingMove::Line || realisation == Realisation::LumpedLC)
        return notANumber;
    const double normalised = move == MatchingMove::Series ? change / z0 : change * z0;
    const double angle = std::atan(normalised);
    // A shunt open stub gives B = Y0 tan βl and a series short one X = Z0 tan βl;
    // the other two give -Y0 cot βl and -Z0 cot βl. Either way βl lies in 0 … π.
    const bool tangent = (move == MatchingMove::Shunt) == (realisation == Realisation::OpenStub);
    const double electrical = tangent ? (angle < 0.0 ? angle + pi : angle) : pi / 2.0 + angle;
    return electrical / twoPi;
}

QString elementText(const Network &network, std::size_t index)
{
    if (index >= network.elements.size() || changesNothing(network, index))
        return QString();
    const NetworkElement &element = network.elements[index];
    if (element.move == MatchingMove::Line)
        return lineText(network, element);
    const Realisation realisation = realisationOf(network, element.move);
    if (realisation != Realisation::LumpedLC)
        return stubText(element.move, realisation,
                        stubLength(element.move, realisation, element.change, network.z0));
    return lumpedText(element, hasFrequency(network) ? network.frequency : 0.0);
}

// The path is one line of text: the load's impedance at f0 as "R X", then
// one entry per element from the load on, each after a semicolon: "S ΔX" (a
// series element, ohms), "P ΔB" (a shunt element, siemens) or "L ℓ Zl" (a
// line, its length in λ at f0 and its impedance in ohms, 0 for the chart's
// Z0). Numbers are written in the C locale, as short as reads back exactly:
// "100 50;P 0.013797958971132713;S 61.23724356957945".
QString encodeNetworkPath(const Network &network)
{
    QStringList entries {storedNumber(network.load.real()) + u' '
                         + storedNumber(network.load.imag())};
    for (const NetworkElement &element : network.elements) {
        switch (element.move) {
        case MatchingMove::Series:
            entries << u"S " + storedNumber(element.change);
            break;
        case MatchingMove::Shunt:
            entries << u"P " + storedNumber(element.change);
            break;
        case MatchingMove::Line:
            entries << u"L " + storedNumber(element.change) + u' '
                    + storedNumber(std::fmax(element.lineImpedance, 0.0));
            break;
        }
    }
    return entries.join(u';');
}

std::optional<Network> decodeNetworkPath(const QString &text, const Network &circuit)
{
    const QStringList entries = text.split(u';');
    if (entries.size() - 1 > mostStoredElements)
        return std::nullopt;
    const QStringList load = entries.first().simplified().split(u' ');
    const std::optional<double> resistance = finiteNumber(load.first());
    const std::optional<double> reactance =
        load.size() == 2 ? finiteNumber(load.last()) : std::nullopt;
    if (!resistance || !reactance)
        return std::nullopt;
    Network network = circuit;
    network.load = {*resistance, *reactance};
    network.elements.clear();
    for (qsizetype index = 1; index < entries.size(); ++index) {
        const std::optional<NetworkElement> element = storedElement(entries.at(index));
        if (!element)
            return std::nullopt;
        network.elements.push_back(*element);
    }
    return network;
}

} // namespace Electrics
