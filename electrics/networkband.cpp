#include "electrics/networkband.h"

#include "electrics/formatting.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Electrics {

namespace {

// The band is looked for from f0/100 up to 100·f0, outward from f0 in steps
// of at most this factor, and each edge then refined to this fraction of its
// frequency.
constexpr double bandReach = 100.0;
constexpr double largestBandStep = 1.001;
constexpr double edgeTolerance = 1e-6;
// Enough halvings for the tolerance from any step; near the ends of the
// doubles the tolerance itself may not be reachable.
constexpr int mostEdgeHalvings = 64;

// Most decimals the SWR limit is written with.
constexpr int limitDecimals = 6;

// A locus starts from this many equal pieces; a piece is halved while its
// ends lie further apart than the step or its middle further off the chord
// than the deviation (both in units of |Γ|), at most the depth times.
constexpr int locusPieces = 32;
constexpr double locusStep = 0.05;
constexpr double locusDeviation = 0.001;
constexpr int locusDepth = 10;

// The coarse scan before the golden-section search finds the right valley.
constexpr int nearestScanPieces = 32;
constexpr double nearestTolerance = 1e-10;
constexpr int nearestIterations = 200;
const double goldenSection = (std::sqrt(5.0) - 1.0) / 2.0;

QString text(const char *source)
{
    return QCoreApplication::translate("Velmora", source);
}

bool isFinite(complex_dbl value)
{
    return std::isfinite(value.real()) && std::isfinite(value.imag());
}

double inputSwr(const Network &network, double hertz)
{
    return standingWaveRatio(inputImpedanceAt(network, hertz), network.z0);
}

// The first frequency outward from f0 toward f0·reach (reach above or below
// 1) where the SWR leaves the limit, or none. A not-a-number SWR (an active
// input) has left it.
std::optional<double> bandEdge(const Network &network, double swrLimit, double reach)
{
    const double f0 = network.frequency;
    const auto within = [&](double hertz) {
        return inputSwr(network, hertz) <= swrLimit;
    };
    const int steps = static_cast<int>(std::ceil(std::log(bandReach) / std::log(largestBandStep)));
    const double logStep = std::log(reach) / steps;
    double inside = f0;
    for (int step = 1; step <= steps; ++step) {
        double outside = f0 * std::exp(step * logStep);
        // Beyond the largest double there is nothing to search.
        if (!std::isfinite(outside))
            return std::nullopt;
        if (within(outside)) {
            inside = outside;
            continue;
        }
        for (int halving = 0;
             halving < mostEdgeHalvings && std::abs(outside - inside) > edgeTolerance * inside;
             ++halving) {
            const double middle = (inside + outside) / 2.0;
            (within(middle) ? inside : outside) = middle;
        }
        return (inside + outside) / 2.0;
    }
    return std::nullopt;
}

// The fewest decimals that write the value as it is: 2 → "2", 1.5 → "1,5".
int decimalsShowing(double value)
{
    for (int decimals = 0; decimals < limitDecimals; ++decimals) {
        const double scaled = value * std::pow(10.0, decimals);
        if (std::abs(scaled - std::round(scaled)) <= 1e-9 * std::max(1.0, std::abs(scaled)))
            return decimals;
    }
    return limitDecimals;
}

QString bandFrequency(double hertz)
{
    return formatFrequencyWithDecimals(hertz, 2);
}

struct Sample
{
    double frequency;
    complex_dbl gamma;
    bool finite;
};

Sample sampleAt(const Network &network, std::size_t count, double hertz)
{
    const complex_dbl gamma = reflectionOf(impedanceAfter(network, count, hertz), network.z0);
    return {hertz, gamma, isFinite(gamma)};
}

double offChord(complex_dbl point, complex_dbl from, complex_dbl to)
{
    const complex_dbl chord = to - from;
    const double length = std::abs(chord);
    if (length == 0.0)
        return std::abs(point - from);
    // The imaginary part of (point - from) · conj(chord) is the cross product.
    return std::abs(((point - from) * std::conj(chord)).imag()) / length;
}

// Appends the samples strictly between `from` and `to` that the curve needs.
// A piece with a non-finite end is halved down to the depth, so that the
// curve breaks close to where Γ stops being finite.
void refine(const Network &network, std::size_t count, const Sample &from, const Sample &to,
            int depth, std::vector<Sample> &samples)
{
    if (depth == 0)
        return;
    const Sample middle = sampleAt(network, count, (from.frequency + to.frequency) / 2.0);
    if (from.finite && to.finite && middle.finite) {
        if (std::abs(to.gamma - from.gamma) <= locusStep
            && offChord(middle.gamma, from.gamma, to.gamma) <= locusDeviation)
            return;
    } else if (!from.finite && !to.finite && !middle.finite) {
        return;
    }
    refine(network, count, from, middle, depth - 1, samples);
    samples.push_back(middle);
    refine(network, count, middle, to, depth - 1, samples);
}

} // namespace

BandEdges bandEdges(const Network &network, double swrLimit)
{
    BandEdges band;
    band.swrLimit = swrLimit;
    if (!hasFrequency(network)) {
        band.swrAtCentre = std::numeric_limits<double>::quiet_NaN();
        return band;
    }
    const complex_dbl centre = inputImpedanceAt(network, network.frequency);
    band.swrAtCentre = standingWaveRatio(centre, network.z0);
    if (centre.real() < 0.0)
        band.status = BandEdges::Status::Active;
    else if (!(band.swrAtCentre <= swrLimit))
        band.status = BandEdges::Status::MissedAtCentre;
    else {
        band.status = BandEdges::Status::Found;
        band.lower = bandEdge(network, swrLimit, 1.0 / bandReach);
        band.upper = bandEdge(network, swrLimit, bandReach);
    }
    return band;
}

QString bandText(const BandEdges &band, double f0)
{
    const QString limit =
        text("SWR ≤ %1: ").arg(formatNumber(band.swrLimit, decimalsShowing(band.swrLimit)));
    switch (band.status) {
    case BandEdges::Status::NoFrequency:
        return QString();
    case BandEdges::Status::Active:
        return limit + text("kein SWR (R < 0)");
    case BandEdges::Status::MissedAtCentre:
        return limit
            + text("bei f₀ nicht erreicht (SWR %1)").arg(formatNumber(band.swrAtCentre, 2));
    case BandEdges::Status::Found:
        break;
    }
    const QString lower = band.lower ? bandFrequency(*band.lower)
                                     : text("unter %1").arg(bandFrequency(f0 / bandReach));
    const QString upper = band.upper ? bandFrequency(*band.upper)
                                     : text("über %1").arg(bandFrequency(f0 * bandReach));
    QString edges = limit + lower + u" … " + upper;
    if (!band.lower || !band.upper)
        return edges;
    const double width = *band.upper - *band.lower;
    return edges
        + text(" (%1, %2 %)").arg(bandFrequency(width), formatNumber(100.0 * width / f0, 1));
}

std::vector<Locus> gammaLocus(const Network &network, std::size_t count, double span)
{
    if (!hasFrequency(network) || !(span > 0.0 && std::isfinite(span)))
        return {};
    const double lowest = network.frequency * std::max(0.0, 1.0 - span);
    const double highest = network.frequency * (1.0 + span);
    std::vector<Sample> samples {sampleAt(network, count, lowest)};
    for (int piece = 1; piece <= locusPieces; ++piece) {
        const double hertz = lowest + (highest - lowest) * piece / locusPieces;
        const Sample next = sampleAt(network, count, hertz);
        const Sample previous = samples.back();
        refine(network, count, previous, next, locusDepth, samples);
        samples.push_back(next);
    }
    std::vector<Locus> loci(1);
    for (const Sample &sample : samples) {
        if (sample.finite)
            loci.back().push_back({sample.frequency, sample.gamma});
        else if (!loci.back().empty())
            loci.emplace_back();
    }
    // A lone point is no curve.
    loci.erase(std::remove_if(loci.begin(), loci.end(),
                              [](const Locus &locus) { return locus.size() < 2; }),
               loci.end());
    return loci;
}

double nearestFrequency(const Network &network, std::size_t count, double lower, double upper,
                        complex_dbl target)
{
    const auto distance = [&](double hertz) {
        const double apart =
            std::abs(reflectionOf(impedanceAfter(network, count, hertz), network.z0) - target);
        return std::isnan(apart) ? std::numeric_limits<double>::infinity() : apart;
    };
    if (lower > upper)
        std::swap(lower, upper);
    // The search needs one valley: the coarse scan picks it.
    const double piece = (upper - lower) / nearestScanPieces;
    int best = 0;
    double bestDistance = distance(lower);
    for (int index = 1; index <= nearestScanPieces; ++index) {
        const double apart = distance(lower + index * piece);
        if (apart < bestDistance) {
            best = index;
            bestDistance = apart;
        }
    }
    double low = lower + std::max(0, best - 1) * piece;
    double high = lower + std::min(nearestScanPieces, best + 1) * piece;
    double left = high - goldenSection * (high - low);
    double right = low + goldenSection * (high - low);
    double leftDistance = distance(left);
    double rightDistance = distance(right);
    for (int iteration = 0; iteration < nearestIterations
         && high - low > nearestTolerance * std::max(std::abs(low), std::abs(high));
         ++iteration) {
        if (leftDistance < rightDistance) {
            high = right;
            right = left;
            rightDistance = leftDistance;
            left = high - goldenSection * (high - low);
            leftDistance = distance(left);
        } else {
            low = left;
            left = right;
            leftDistance = rightDistance;
            right = low + goldenSection * (high - low);
            rightDistance = distance(right);
        }
    }
    return (low + high) / 2.0;
}

// The circles of constant Q pass through Γ = ±1 with their centre on the
// imaginary axis; the arc of the inductive loads (X > 0) lies above the real
// axis, so its circle's centre lies below.
GammaCircle constantQCircle(double q, bool inductive)
{
    const double offset = 1.0 / q;
    return {{0.0, inductive ? -offset : offset}, std::sqrt(1.0 + offset * offset)};
}

std::optional<double> highestNodeQ(const Network &network)
{
    if (network.elements.empty())
        return std::nullopt;
    double highest = 0.0;
    for (std::size_t count = 0; count <= network.elements.size(); ++count) {
        const complex_dbl z = impedanceAfter(network, count, network.frequency);
        highest = std::max(highest, std::abs(z.imag()) / z.real());
    }
    return highest;
}

QString nodeQText(double q)
{
    return text("höchste Knotengüte Q = %1").arg(formatNumber(q, 2));
}

} // namespace Electrics
