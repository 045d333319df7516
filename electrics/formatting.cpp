#include "electrics/formatting.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace Electrics {

namespace {

// One range of an engineering-notation scale: values whose magnitude lies
// below the threshold are written with this unit after scaling.
struct Range
{
    double threshold;
    double scale; // multiplier applied to the value
    bool divide; // scale by division instead of multiplication
    const char16_t *unit;
};

template<std::size_t N> const Range *pickRange(const Range (&ranges)[N], double magnitude)
{
    for (const Range &range : ranges) {
        if (magnitude < range.threshold)
            return &range;
    }
    return &ranges[N - 1]; // infinities fall through to the largest unit
}

double scaled(const Range &range, double value)
{
    return range.divide ? value / range.scale : value * range.scale;
}

template<std::size_t N>
QString formatMagnitude(const Range (&ranges)[N], double value, int decimals)
{
    const double magnitude = std::fabs(value);
    if (std::isnan(magnitude))
        return QString();
    const Range *range = pickRange(ranges, magnitude);
    return QStringLiteral("%L1 ").arg(scaled(*range, magnitude), 0, 'f', decimals)
        + QString::fromUtf16(range->unit);
}

const double unbounded = std::numeric_limits<double>::infinity();

const Range capacitanceRanges[] = {
    {9.999e-13, 1e15, false, u"fF"}, {9.999e-10, 1e12, false, u"pF"}, {9.999e-7, 1e9, false, u"nF"},
    {9.999e-4, 1e6, false, u"µF"},   {0.9999, 1e3, false, u"mF"},     {unbounded, 1.0, false, u"F"},
};

const Range inductanceRanges[] = {
    {9.999e-10, 1e12, false, u"pH"}, {9.999e-7, 1e9, false, u"nH"}, {9.999e-4, 1e6, false, u"µH"},
    {0.9999, 1e3, false, u"mH"},     {unbounded, 1.0, false, u"H"},
};

const Range frequencyRanges[] = {
    {999.9, 1.0, true, u"Hz"},
    {999900.0, 1e3, true, u"kHz"},
    {9.999e8, 1e6, true, u"MHz"},
    {unbounded, 1e9, true, u"GHz"},
};

const Range ohmRanges[] = {
    {0.9999, 1000.0, false, u"mΩ"}, {999.9, 1.0, true, u"Ω"},      {999900.0, 1e3, true, u"kΩ"},
    {9.999e8, 1e6, true, u"MΩ"},    {unbounded, 1e9, true, u"GΩ"},
};

} // namespace

QString formatOhms(double ohms, int decimals, bool imaginary)
{
    // The range follows the magnitude, but the signed value is written so
    // that a negative reactance keeps its minus sign.
    const double magnitude = std::fabs(ohms);
    if (std::isnan(magnitude))
        return QString();
    const Range *range = pickRange(ohmRanges, magnitude);
    const QString unit = QString::fromUtf16(range->unit);
    return QStringLiteral("%L1 %2")
        .arg(scaled(*range, ohms), 0, 'f', decimals)
        .arg(imaginary ? QStringLiteral("j") + unit : unit);
}

QString formatImpedance(double resistance, double reactance, int decimals)
{
    const double magnitude = std::fmax(std::fabs(resistance), std::fabs(reactance));
    if (std::isnan(magnitude))
        return QString();
    const Range *range = pickRange(ohmRanges, magnitude);
    const bool capacitive = reactance < 0.0;
    return QStringLiteral("%L1 %2 j%L3 %4")
        .arg(scaled(*range, resistance), 0, 'f', decimals)
        .arg(capacitive ? QLocale().negativeSign() : QLocale().positiveSign())
        .arg(scaled(*range, std::fabs(reactance)), 0, 'f', decimals)
        .arg(QString::fromUtf16(range->unit));
}

QString formatCapacitance(double farads)
{
    return formatMagnitude(capacitanceRanges, farads, 2);
}

QString formatInductance(double henries)
{
    return formatMagnitude(inductanceRanges, henries, 2);
}

QString formatFrequency(double hertz)
{
    return formatFrequencyWithDecimals(hertz, 3);
}

QString formatFrequencyWithDecimals(double hertz, int decimals)
{
    return formatMagnitude(frequencyRanges, hertz, decimals);
}

QString formatNumber(double value, int decimals)
{
    return QStringLiteral("%L1").arg(value, 0, 'f', decimals);
}

} // namespace Electrics
