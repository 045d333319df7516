#pragma once

#include <QMetaType>

#include <complex>

// A complex number of two doubles, real part first. It carries the reflection
// coefficient Gamma from the chart to the main window through signals.
using complex_dbl = std::complex<double>;

Q_DECLARE_METATYPE(complex_dbl)
