#pragma once

#include "electrics/complexdbl.h"
#include "electrics/matching.h"
#include "electrics/network.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

// What the network does around f0: the band in which the input stays within
// an SWR, the curves of Γ over frequency, and how sharp its nodes are (their
// Q). Pure functions on the one network model.
namespace Electrics {

// Where the input's SWR stays within a limit about f0.
struct BandEdges
{
    enum class Status { Found, MissedAtCentre, Active, NoFrequency };
    Status status = Status::NoFrequency;
    double swrLimit = 0.0;
    double swrAtCentre = 0.0;
    // None: the SWR stays within the limit out to f0/100 or 100·f0.
    std::optional<double> lower;
    std::optional<double> upper;
};
BandEdges bandEdges(const Network &network, double swrLimit);
// "SWR ≤ 2: 70,75 MHz … 155,33 MHz (84,57 MHz, 84,6 %)"; empty without a
// frequency.
QString bandText(const BandEdges &band, double f0);

// A curve of Γ (against z0) over frequency, drawn as a polyline.
struct LocusPoint
{
    double frequency = 0.0;
    complex_dbl gamma;
};
using Locus = std::vector<LocusPoint>;
// Γ after the first `count` elements (0: the load, all: the input) from
// f0·(1 − span) to f0·(1 + span), with points as close as a smooth curve needs;
// where Γ is not finite the curve breaks. Empty without a frequency.
std::vector<Locus> gammaLocus(const Network &network, std::size_t count, double span);
// The frequency between lower and upper where Γ after `count` elements comes
// nearest to target.
double nearestFrequency(const Network &network, std::size_t count, double lower, double upper,
                        complex_dbl target);

// The circle of Γ on which |X|/R = q: through the open and the short circuit,
// its arc inside the chart above the real axis for inductive loads.
GammaCircle constantQCircle(double q, bool inductive);
// The largest |X|/R at the start or end of any element at f0; none without
// elements.
std::optional<double> highestNodeQ(const Network &network);
// "höchste Knotengüte Q = 1,22"
QString nodeQText(double q);

} // namespace Electrics
