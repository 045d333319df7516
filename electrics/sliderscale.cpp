#include "electrics/sliderscale.h"

#include "electrics/conversions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace Electrics {

namespace {

// The first entry lies half a step below 180 degrees, next to the short
// circuit, so that no entry is 0 or infinite.
constexpr double firstTableAngle = 179.55;
constexpr double bipolarSteps = 2.0 * unipolarLimit;
constexpr double shareOfPositionsPerDecade = 0.25; // a quarter of the positions
constexpr double smallestLogReactance = 0.1;
constexpr double lowestFrequency = 1000.0;
constexpr double frequencyDecades = 7.0;
// A quantity this close to a scale value, relative to it, stands on it:
// 1 / (1 / T[k]) is not always T[k].
constexpr double onScaleValue = 1e-9;

bool isBipolar(TableScale scale)
{
    return scale == TableScale::Reactance || scale == TableScale::Susceptance;
}

bool standsOn(double quantity, double value)
{
    return std::fabs(quantity - value) <= onScaleValue * std::fabs(value);
}

} // namespace

void fillSliderTable(SliderTable &table, complex_dbl z0)
{
    for (std::size_t k = 0; k < table.size(); ++k) {
        const double degrees = firstTableAngle - sliderTableStepDegrees * static_cast<double>(k);
        const double theta = degrees * pi / 180.0;
        const complex_dbl numerator(1.0 + std::cos(theta), std::sin(theta));
        const complex_dbl denominator(1.0 - std::cos(theta), -std::sin(theta));
        table.at(k) = (z0 * numerator / denominator).imag();
    }
}

int tableRank(const SliderTable &table, double value, int limit)
{
    for (int n = 1; n < limit; ++n) {
        if (table.at(static_cast<std::size_t>(n - 1)) >= value)
            return n;
    }
    return limit;
}

int truncateToInt(double value)
{
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (!(value > lowest))
        return std::numeric_limits<int>::min();
    if (value >= highest)
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

int unipolarIndex(SliderRange range, int position)
{
    return static_cast<int>(static_cast<double>(lastTableIndex * (position - range.minimum))
                            / (range.maximum - range.minimum));
}

int bipolarIndex(SliderRange range, int position)
{
    const int centre = range.minimum + (range.maximum - range.minimum) / 2;
    return static_cast<int>(static_cast<double>(lastTableIndex * (position - centre))
                            / (range.maximum - centre));
}

int unipolarPosition(SliderRange range, int rank)
{
    return truncateToInt(rank / static_cast<double>(unipolarLimit) * (range.maximum - range.minimum)
                         + range.minimum);
}

int reversedPosition(SliderRange range, int rank)
{
    return truncateToInt(range.maximum
                         - rank / static_cast<double>(unipolarLimit)
                             * (range.maximum - range.minimum));
}

int bipolarPosition(SliderRange range, int step)
{
    return truncateToInt(step / bipolarSteps * (range.maximum - range.minimum) + range.minimum);
}

double logarithmicValue(SliderRange range, int position)
{
    if (position == 0)
        return 0.0;
    if (position > 0) {
        const double positionsPerDecade = (range.maximum - 1) * shareOfPositionsPerDecade;
        return smallestLogReactance * std::pow(10.0, (position - 1) / positionsPerDecade);
    }
    const double positionsPerDecade = (std::abs(range.minimum) - 1) * shareOfPositionsPerDecade;
    return -smallestLogReactance * std::pow(10.0, (-position - 1) / positionsPerDecade);
}

// The inverse of logarithmicValue; position 0 is never produced.
int logarithmicPosition(SliderRange range, double reactance)
{
    if (reactance > 0.0) {
        const double steps = std::trunc((range.maximum - 1) * shareOfPositionsPerDecade
                                        * std::log10(reactance / smallestLogReactance))
            + 1.0;
        if (steps > range.maximum)
            return range.maximum;
        return steps <= 0.0 ? 1 : static_cast<int>(steps);
    }
    const double steps = -std::trunc((std::abs(range.minimum) - 1) * shareOfPositionsPerDecade
                                     * std::log10(-reactance / smallestLogReactance))
        - 1.0;
    if (std::isnan(steps) || steps >= 0.0)
        return -1;
    return steps < range.minimum ? range.minimum : static_cast<int>(steps);
}

double frequencyAt(SliderRange range, int position)
{
    const int clamped = std::max(std::min(position, range.maximum), range.minimum);
    return lowestFrequency
        * std::pow(10.0,
                   frequencyDecades
                       * (static_cast<double>(clamped) / (range.maximum - range.minimum)));
}

// Every (max - min) / 7 positions, truncated to whole steps, make one decade.
int frequencyPosition(SliderRange range, double hertz)
{
    const int stepsPerDecade = static_cast<int>((range.maximum - range.minimum) / frequencyDecades);
    const int position =
        truncateToInt(stepsPerDecade * std::log10(std::fabs(hertz / lowestFrequency)));
    return std::max(std::min(position, range.maximum), range.minimum);
}

int lowestScaleIndex(TableScale scale)
{
    return isBipolar(scale) ? -lastTableIndex : 0;
}

double scaleValue(const SliderTable &table, TableScale scale, int index)
{
    const auto entry = [&table](int k) {
        return table.at(static_cast<std::size_t>(k));
    };
    switch (scale) {
    case TableScale::Resistance:
        break;
    case TableScale::Reactance:
        return index >= 0 ? entry(index) : -entry(-index);
    case TableScale::Conductance:
        return 1.0 / entry(lastTableIndex - index);
    case TableScale::Susceptance:
        return index > 0 ? 1.0 / entry(200 - index) : -1.0 / entry(index + lastTableIndex);
    }
    return entry(index);
}

int scaleIndexAt(TableScale scale, SliderRange range, int position)
{
    return isBipolar(scale) ? bipolarIndex(range, position) : unipolarIndex(range, position);
}

int scalePosition(const SliderTable &table, TableScale scale, SliderRange range, double quantity)
{
    switch (scale) {
    case TableScale::Resistance:
        break;
    case TableScale::Reactance: {
        const int n = tableRank(table, std::fabs(quantity), bipolarLimit);
        return bipolarPosition(range, quantity >= 0.0 ? 200 + n : 200 - n);
    }
    case TableScale::Conductance:
        // The G slider runs the other way: a large conductance stands near max.
        return reversedPosition(range, tableRank(table, 1.0 / quantity, unipolarLimit));
    case TableScale::Susceptance: {
        const int n = tableRank(table, 1.0 / std::fabs(quantity), bipolarLimit);
        return bipolarPosition(range, quantity > 0.0 ? 399 - n : n);
    }
    }
    return unipolarPosition(range, tableRank(table, quantity, unipolarLimit));
}

std::optional<int> steppedScaleIndex(const SliderTable &table, TableScale scale, double quantity,
                                     int steps)
{
    const int lowest = lowestScaleIndex(scale);
    if (steps > 0) {
        for (int index = lowest; index <= lastTableIndex; ++index) {
            const double value = scaleValue(table, scale, index);
            if (value > quantity && !standsOn(quantity, value))
                return std::min(index + steps - 1, lastTableIndex);
        }
    } else if (steps < 0) {
        for (int index = lastTableIndex; index >= lowest; --index) {
            const double value = scaleValue(table, scale, index);
            if (value < quantity && !standsOn(quantity, value))
                return std::max(index + steps + 1, lowest);
        }
    }
    return std::nullopt;
}

std::optional<int> positionOfScaleIndex(const SliderTable &table, TableScale scale,
                                        SliderRange range, int index)
{
    const int start =
        std::max(std::min(scalePosition(table, scale, range, scaleValue(table, scale, index)),
                          range.maximum),
                 range.minimum);
    for (int distance = 0; distance <= range.maximum - range.minimum; ++distance) {
        for (const int position : {start - distance, start + distance}) {
            if (position >= range.minimum && position <= range.maximum
                && scaleIndexAt(scale, range, position) == index)
                return position;
        }
    }
    return std::nullopt;
}

} // namespace Electrics
