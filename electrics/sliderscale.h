#pragma once

#include "electrics/complexdbl.h"

#include <array>
#include <cstddef>
#include <optional>

// The scales behind the window's sliders: positions to values and values to
// positions, as plain arithmetic on a slider's range. A position is made from
// a double by truncation toward zero, never by rounding.
namespace Electrics {

// The range of a slider, its minimum and maximum position.
struct SliderRange
{
    int minimum = 0;
    int maximum = 0;
};

// The shared scale of the R, X, G, B, RS and RP sliders: 200 reactances of
// points 0.9 degrees apart on the outer circle of the chart.
constexpr std::size_t sliderTableSize = 200;
constexpr int lastTableIndex = static_cast<int>(sliderTableSize) - 1;
constexpr double sliderTableStepDegrees = 0.9;
// Ranks run from 1 to 200 on the unipolar sliders and to 199 on each side of
// the bipolar ones.
constexpr int unipolarLimit = 200;
constexpr int bipolarLimit = 199;
using SliderTable = std::array<double, sliderTableSize>;

void fillSliderTable(SliderTable &table, complex_dbl z0);
// The smallest n in 1 ... limit - 1 whose table entry T[n - 1] is not below the
// value; limit if there is none (also for a value that is not a number).
int tableRank(const SliderTable &table, double value, int limit);

// Table index of a position on a slider from 0 upwards, and on a slider
// symmetric about 0 (negative below its centre).
int unipolarIndex(SliderRange range, int position);
int bipolarIndex(SliderRange range, int position);
// Positions of rank n, of the G slider's rank n (it runs the other way), and
// of step 0 ... 399 on a bipolar slider.
int unipolarPosition(SliderRange range, int rank);
int reversedPosition(SliderRange range, int rank);
int bipolarPosition(SliderRange range, int step);

// The scales of the six table sliders, each a rising run of values made from
// the table: T itself (R, RS and RP; indices 0 ... 199), the signed reactances
// T[s] and -T[-s] of the X slider, the conductances 1 / T[199 - i] of the G
// slider (0 ... 199), and the signed susceptances 1 / T[200 - s] and
// -1 / T[s + 199] of the B slider (both -199 ... 199).
enum class TableScale { Resistance, Reactance, Conductance, Susceptance };

int lowestScaleIndex(TableScale scale);
double scaleValue(const SliderTable &table, TableScale scale, int index);
// The scale index a slider position stands for.
int scaleIndexAt(TableScale scale, SliderRange range, int position);
// Where the window puts the slider of this scale for a quantity of the load
// (R, X, G or B): the position of the quantity's rank.
int scalePosition(const SliderTable &table, TableScale scale, SliderRange range, double quantity);
// The scale value that lies steps scale values from a quantity of the load,
// upwards for a positive count and downwards for a negative one. A quantity
// within 1e-9 of a scale value (relative to it) stands on it, so that one step
// from there reaches the next value. Nothing when no scale value lies that way
// or the quantity is not a number.
std::optional<int> steppedScaleIndex(const SliderTable &table, TableScale scale, double quantity,
                                     int steps);
// The position nearest to scalePosition of that scale value that stands for
// the index; nothing when no position of the range does.
std::optional<int> positionOfScaleIndex(const SliderTable &table, TableScale scale,
                                        SliderRange range, int index);

// The scale of the series and parallel reactance sliders: a quarter of the
// positions per decade on each side of 0, from 0.1 ohm next to the centre.
double logarithmicValue(SliderRange range, int position);
int logarithmicPosition(SliderRange range, double reactance);

// The frequency slider: seven decades from 1 kHz over its range.
double frequencyAt(SliderRange range, int position);
int frequencyPosition(SliderRange range, double hertz);

// Truncation toward zero that saturates at the int range, with not-a-number
// as the smallest int.
int truncateToInt(double value);

} // namespace Electrics
