#pragma once

#include <QString>

// Engineering-notation texts in the application's default locale: a number,
// a blank, an SI prefix and the unit ("47,00 nF", "1,500 MHz", "-25,00 jΩ").
// A not-a-number value gives an empty (null) string.
namespace Electrics {

QString formatOhms(double ohms, int decimals, bool imaginary);
// Both parts of an impedance with one prefix, chosen by the larger part, and
// the unit once: "50,00 + j50,00 Ω", "1,20 - j0,03 kΩ".
QString formatImpedance(double resistance, double reactance, int decimals);
QString formatCapacitance(double farads);
QString formatInductance(double henries);
QString formatFrequency(double hertz);
// The same scale with another number of decimals, for band limits ("423,00 MHz").
QString formatFrequencyWithDecimals(double hertz, int decimals);

// "%L1" with the value in fixed-point notation: the number rule that all the
// texts above share, for the fields that carry no prefix.
QString formatNumber(double value, int decimals);

} // namespace Electrics
