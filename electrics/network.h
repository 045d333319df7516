#pragma once

#include "electrics/complexdbl.h"
#include "electrics/conversions.h"
#include "electrics/matching.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

// The matching network as one model: the load as a circuit and a chain of
// lossless elements, each kept as what it does at the design frequency f0.
// The arcs, the readout, the band, the stored path and the exercises all
// derive from it; every function here is pure and evaluates the network at
// any frequency, f = 0 included, with non-finite values travelling on.
namespace Electrics {

// How the load behaves away from f0: its resistance with an L or C in series,
// the parallel equivalent with an L or C across it, or the same at every
// frequency.
enum class LoadCircuit { Series, Parallel, FrequencyIndependent };

// How every series or every shunt element is built: an L or C, or a stub of
// the chart's Z0 that is open or short at its end.
enum class Realisation { LumpedLC, OpenStub, ShortStub };

struct NetworkElement
{
    MatchingMove move = MatchingMove::Series;
    // What the element does at f0: the change of X in ohms (series), of B in
    // siemens (shunt), or for a line its length in wavelengths at f0.
    double change = 0.0;
    // A line's own impedance in ohms; not positive means the chart's Z0.
    double lineImpedance = 0.0;
};

struct Network
{
    double z0 = 50.0; // the chart's reference impedance, ohms
    double frequency = 0.0; // f0 in hertz; 0 or not finite: the same at every frequency
    complex_dbl load; // the load's impedance at f0, where the path starts
    LoadCircuit loadCircuit = LoadCircuit::Series;
    Realisation seriesRealisation = Realisation::LumpedLC;
    Realisation shuntRealisation = Realisation::LumpedLC;
    std::vector<NetworkElement> elements; // front() sits next to the load
};

// Whether f0 is a usable frequency, so that the network changes with f.
bool hasFrequency(const Network &network);

complex_dbl loadImpedanceAt(const Network &network, double hertz);
// The impedance looking into the network after its first `count` elements
// (0: the load), at `hertz`.
complex_dbl impedanceAfter(const Network &network, std::size_t count, double hertz);
complex_dbl inputImpedanceAt(const Network &network, double hertz);

// Γ against the real reference impedance z0; an impedance with an infinite
// part is the open circuit, Γ = 1.
complex_dbl reflectionOf(complex_dbl z, double z0);
// (1 + |Γ|) / (1 − |Γ|); not a number for an active impedance (R < 0),
// which has none.
double standingWaveRatio(complex_dbl z, double z0);

// The element that a move from startGamma to endGamma is at f0, as the chart's
// held moves give them. A line's length is that along its own impedance
// (lineImpedance, not positive: z0), from 0 up to 0.5 λ.
NetworkElement elementFromMove(MatchingMove move, complex_dbl startGamma, complex_dbl endGamma,
                               double z0, double lineImpedance);

// The L or C of a lumped series or shunt element at f0, a positive value in
// henries or farads; no element for a line, a zero change or no frequency.
Element lumpedElement(const NetworkElement &element, double frequency);
// The length in λ at f0, 0 … 0.5, of a stub of impedance z0 that gives the
// element's change at f0; not a number for a line or a lumped realisation.
double stubLength(MatchingMove move, Realisation realisation, double change, double z0);

// The element's name with its value in the default locale: "Serien-L 97,46 nH",
// "Parallel-C 21,96 pF", "Leitung 22,36 Ω 0,250 λ (90,0°)",
// "Parallel-Stichleitung, kurzgeschlossen 0,095 λ (34,2°)"; without a frequency
// a lumped element by its reactance or susceptance ("Serien-X 50,00 jΩ"). An
// element that changes nothing at f0 gives an empty text.
QString elementText(const Network &network, std::size_t index);

// The path as text for the settings: its load at f0 and its elements. Z0, f0
// and the circuit kinds are not part of it.
QString encodeNetworkPath(const Network &network);
// The network `circuit` with the stored load and elements; none for text that
// is not a whole, valid path.
std::optional<Network> decodeNetworkPath(const QString &text, const Network &circuit);

} // namespace Electrics
