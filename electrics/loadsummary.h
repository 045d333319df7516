#pragma once

#include "electrics/complexdbl.h"

#include <QString>

namespace Electrics {

// One line that tells what a load is, for the chart's marker: its impedance,
// Gamma as magnitude and phase, the SWR and the return loss, in the default
// locale ("Z = 50,00 + j50,00 Ω · |Γ| = 0,447 ∠ 63,4° · SWR 2,62 ·
// Rückflussdämpfung 7,0 dB"). Where a figure has no finite or meaningful
// value (the open and the short circuit, a pure reactance, the matched load, a
// load outside the unit circle) the line says so in words. A Gamma that is not
// a number gives an empty text.
QString loadSummary(complex_dbl gamma, complex_dbl z0);

} // namespace Electrics
