#include "electrics/exercise.h"

#include "electrics/formatting.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace Electrics {

namespace {

constexpr int firstLevelTwoNumber = 1000;
constexpr int firstLevelThreeNumber = 2000;
constexpr int firstLevelFourNumber = 3000;

constexpr int numbersWithWideReference = 4; // every fourth number is set against 75 Ω
constexpr std::int64_t narrowReferenceTenths = 500;
constexpr std::int64_t wideReferenceTenths = 750;
constexpr double tenthsPerOhm = 10.0;

// f0 = mantissa × 10^n Hz from 1 MHz up to 4,7 GHz (6,8 GHz lies above 6 GHz).
constexpr std::int64_t frequencyMantissaTenths[] = {10, 15, 22, 33, 47, 68};
constexpr int mantissaCount = 6;
constexpr std::int64_t hertzPerTenthInLowestDecade = 100000;
constexpr int frequencyCount = 4 * mantissaCount - 1;

// Loads are drawn from R = 0,1 Ω ... 4 Z0 and X = -4 Z0 ... 4 Z0 and kept when
// 0,3 <= |Γ| <= 0,85; the bounds spare the student the unwieldy near-open loads.
constexpr std::int64_t loadSpanPerReference = 4;
// |Γ|² >= 0,3² and |Γ|² <= 0,85², as 100 |Z - Z0|² >= 9 |Z + Z0|² and so on.
constexpr std::int64_t smallestReflectionSquaredNumerator = 9;
constexpr std::int64_t smallestReflectionSquaredDenominator = 100;
constexpr std::int64_t largestReflectionSquaredNumerator = 7225;
constexpr std::int64_t largestReflectionSquaredDenominator = 10000;
// SWR <= 1,1 is |Γ| <= 1/21; a resistance or conductance within a factor 1,1
// of the reference is matched by one element alone.
constexpr std::int64_t matchedRatioNumerator = 11;
constexpr std::int64_t matchedRatioDenominator = 10;
// A quarter-wave line alone reaches |Γ|² = (|Z| - R) / (|Z| + R) at best, which
// is within 1/21² when 220 |Z| <= 221 R.
constexpr std::int64_t transformerModulusFactor = 220;
constexpr std::int64_t transformerResistanceFactor = 221;

// The band: b in whole percent, sampled every quarter percent of f0.
constexpr int narrowestBandPercent = 5;
constexpr int widestBandPercent = 20;
constexpr int bandMarginPercent = 1;
constexpr int samplesPerPercent = 4;
constexpr double samplesPerUnit = 100.0 * samplesPerPercent;
constexpr int widestSample = (widestBandPercent + bandMarginPercent) * samplesPerPercent;
constexpr int neverFails = widestSample + 1;
// SWR <= 2 is |Γ|² <= 1/9, SWR <= 1,1 is |Γ|² <= 1/441.
constexpr double bandReflectionSquaredInverse = 9.0;
constexpr double matchedReflectionSquaredInverse = 441.0;

// Every number settles within a dozen draws; the bound only keeps a fault
// from hanging the program.
constexpr int mostDraws = 1000;

// SplitMix64: a 64-bit generator whose whole state is one integer, seeded with
// the task's number.
class DrawStream
{
public:
    explicit DrawStream(std::uint64_t seed)
        : state(seed)
    { }

    std::uint64_t next()
    {
        state += 0x9E3779B97F4A7C15u;
        std::uint64_t mixed = state;
        mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9u;
        mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBu;
        return mixed ^ (mixed >> 31);
    }

    // One of count choices, 0 ... count - 1; the remainder's bias is below
    // count / 2^64.
    int choice(int count) { return static_cast<int>(next() % static_cast<std::uint64_t>(count)); }

    std::int64_t between(std::int64_t lowest, std::int64_t highest)
    {
        const auto span = static_cast<std::uint64_t>(highest - lowest + 1);
        return lowest + static_cast<std::int64_t>(next() % span);
    }

private:
    std::uint64_t state;
};

double drawnFrequency(DrawStream &stream)
{
    const int drawn = stream.choice(frequencyCount);
    std::int64_t hertz =
        frequencyMantissaTenths[drawn % mantissaCount] * hertzPerTenthInLowestDecade;
    for (int decade = 0; decade < drawn / mantissaCount; ++decade)
        hertz *= 10;
    return static_cast<double>(hertz);
}

// A load and the reference in whole tenths of an ohm, where every check on the
// load is exact integer arithmetic.
struct GridLoad
{
    std::int64_t r;
    std::int64_t x;
    std::int64_t z0;
};

bool reflectsWithinRange(const GridLoad &load)
{
    const std::int64_t below = (load.r - load.z0) * (load.r - load.z0) + load.x * load.x;
    const std::int64_t above = (load.r + load.z0) * (load.r + load.z0) + load.x * load.x;
    return smallestReflectionSquaredDenominator * below
        >= smallestReflectionSquaredNumerator * above
        && largestReflectionSquaredDenominator * below <= largestReflectionSquaredNumerator * above;
}

// Whether a / b lies within 1/1,1 ... 1,1.
bool withinMatchedRatio(std::int64_t a, std::int64_t b)
{
    return matchedRatioDenominator * a <= matchedRatioNumerator * b
        && matchedRatioDenominator * b <= matchedRatioNumerator * a;
}

// A series element keeps R and does best at X = 0, a shunt element keeps G and
// does best at B = 0; a line keeps |Γ| >= 0,3 and never helps.
bool matchedByOneElement(const GridLoad &load)
{
    const std::int64_t squaredModulus = load.r * load.r + load.x * load.x;
    return withinMatchedRatio(load.r, load.z0)
        || withinMatchedRatio(load.r * load.z0, squaredModulus);
}

bool matchedByTransformerAlone(const GridLoad &load)
{
    const std::int64_t squaredModulus = load.r * load.r + load.x * load.x;
    return transformerModulusFactor * transformerModulusFactor * squaredModulus
        <= transformerResistanceFactor * transformerResistanceFactor * load.r * load.r;
}

// Complex values normalised to Z0 with the arithmetic spelt out, so that no
// library's complex division can move a task.
struct Normalised
{
    double re;
    double im;
};

Normalised reciprocal(Normalised value)
{
    const double squared = value.re * value.re + value.im * value.im;
    return {value.re / squared, -value.im / squared};
}

// Against 1: |v - 1|² <= |v + 1|² / inverse, which holds for an impedance and
// for its admittance alike.
bool reflectsAtMost(Normalised value, double reflectionSquaredInverse)
{
    const double imaginary = value.im * value.im;
    const double below = (value.re - 1.0) * (value.re - 1.0) + imaginary;
    const double above = (value.re + 1.0) * (value.re + 1.0) + imaginary;
    return reflectionSquaredInverse * below <= above;
}

// An inductor's reactance and a capacitor's susceptance are positive and grow
// with the frequency; a capacitor's reactance and an inductor's susceptance are
// negative and fall with it. The load's L or C follows the same rule.
double atRatio(double valueAtCentre, double ratio)
{
    return valueAtCentre > 0.0 ? valueAtCentre * ratio : valueAtCentre / ratio;
}

// An L-section by its normalised reactance and susceptance at f0; shuntFirst
// puts the shunt element across the load.
struct LSection
{
    bool shuntFirst;
    double series;
    double shunt;
};

// The shunt-then-series sections need G <= Y0, the series-then-shunt ones
// R <= Z0; each has two, one for either sign of the intermediate part.
std::vector<LSection> lSections(Normalised load)
{
    std::vector<LSection> sections;
    const Normalised admittance = reciprocal(load);
    for (const double sign : {1.0, -1.0}) {
        if (admittance.re <= 1.0) {
            const double susceptance = sign * std::sqrt(admittance.re * (1.0 - admittance.re));
            const Normalised between = reciprocal({admittance.re, susceptance});
            sections.push_back({true, -between.im, susceptance - admittance.im});
        }
        if (load.re <= 1.0) {
            const double reactance = sign * std::sqrt(load.re * (1.0 - load.re));
            const Normalised between = reciprocal({load.re, reactance});
            sections.push_back({false, reactance - load.im, -between.im});
        }
    }
    return sections;
}

Normalised matchedInput(const LSection &section, Normalised load, double ratio)
{
    Normalised value {load.re, atRatio(load.im, ratio)};
    if (section.shuntFirst) {
        value = reciprocal(value);
        value.im += atRatio(section.shunt, ratio);
        value = reciprocal(value);
        value.im += atRatio(section.series, ratio);
        return value;
    }
    value.im += atRatio(section.series, ratio);
    value = reciprocal(value);
    value.im += atRatio(section.shunt, ratio);
    return value; // an admittance, which reflects as its impedance does
}

// The nearest sample, in quarter percents of f0 to either side, at which the
// section exceeds SWR 2, or neverFails; 0 if it misses the match at f0.
int firstFailingSample(const LSection &section, Normalised load)
{
    if (!reflectsAtMost(matchedInput(section, load, 1.0), matchedReflectionSquaredInverse))
        return 0;
    for (int sample = 1; sample <= widestSample; ++sample) {
        for (const int side : {-1, 1}) {
            const double ratio = (samplesPerUnit + side * sample) / samplesPerUnit;
            if (!reflectsAtMost(matchedInput(section, load, ratio), bandReflectionSquaredInverse))
                return sample;
        }
    }
    return neverFails;
}

// The band widths in whole percent that one of the load's L-sections meets
// with a percent to spare on each side and another misses by as much.
std::vector<int> fittingBandPercents(Normalised load)
{
    int widest = 0;
    int narrowest = neverFails;
    for (const LSection &section : lSections(load)) {
        const int failing = firstFailingSample(section, load);
        widest = std::max(widest, failing);
        narrowest = std::min(narrowest, failing);
    }
    std::vector<int> percents;
    for (int percent = narrowestBandPercent; percent <= widestBandPercent; ++percent) {
        const bool oneMeets = widest > (percent + bandMarginPercent) * samplesPerPercent;
        const bool oneMisses = narrowest <= (percent - bandMarginPercent) * samplesPerPercent;
        if (oneMeets && oneMisses)
            percents.push_back(percent);
    }
    return percents;
}

QString text(const char *source)
{
    return QCoreApplication::translate("Velmora", source);
}

QString matchedSwrText()
{
    return formatNumber(exerciseMatchedSwr, 1);
}

} // namespace

int exerciseLevel(int number)
{
    if (number < firstExerciseNumber || number > lastExerciseNumber)
        return 0;
    if (number < firstLevelTwoNumber)
        return 1;
    if (number < firstLevelThreeNumber)
        return 2;
    return number < firstLevelFourNumber ? 3 : 4;
}

std::optional<ExerciseTask> exerciseTask(int number)
{
    const int level = exerciseLevel(number);
    if (level == 0)
        return std::nullopt;
    ExerciseTask task;
    task.number = number;
    task.level = level;
    const std::int64_t z0 =
        number % numbersWithWideReference == 0 ? wideReferenceTenths : narrowReferenceTenths;
    task.z0 = static_cast<double>(z0) / tenthsPerOhm;

    DrawStream stream(static_cast<std::uint64_t>(number));
    task.frequency = drawnFrequency(stream);
    if (level == 3)
        task.shortStub = stream.choice(2) == 1;

    // Every passive load has an L-section, a line and a stub of either kind, and
    // a line and a quarter-wave transformer that match it; what a load must
    // show besides is that one element alone does not, and at level 2 the band.
    const std::int64_t span = loadSpanPerReference * z0;
    for (int draw = 0; draw < mostDraws; ++draw) {
        const GridLoad load {stream.between(1, span), stream.between(-span, span), z0};
        if (!reflectsWithinRange(load) || matchedByOneElement(load))
            continue;
        if (level == 4 && matchedByTransformerAlone(load))
            continue;
        task.load = {static_cast<double>(load.r) / tenthsPerOhm,
                     static_cast<double>(load.x) / tenthsPerOhm};
        if (level != 2)
            return task;
        if (load.x == 0)
            continue;
        const std::vector<int> percents =
            fittingBandPercents({static_cast<double>(load.r) / static_cast<double>(z0),
                                 static_cast<double>(load.x) / static_cast<double>(z0)});
        if (percents.empty())
            continue;
        const int percent =
            percents[static_cast<std::size_t>(stream.choice(static_cast<int>(percents.size())))];
        task.bandFraction = percent / 100.0;
        return task;
    }
    return std::nullopt;
}

QString exerciseText(const ExerciseTask &task)
{
    if (task.level < 1 || task.level > 4)
        return QString();
    const QString head = text("Aufgabe %1 (Stufe %2): %3 an %4 bei %5 anpassen, ")
                             .arg(task.number)
                             .arg(task.level)
                             .arg(formatImpedance(task.load.real(), task.load.imag(), 2),
                                  formatOhms(task.z0, 1, false), formatFrequency(task.frequency));
    switch (task.level) {
    case 1:
        return head + text("höchstens 2 Elemente L/C, SWR ≤ %1 bei f₀").arg(matchedSwrText());
    case 2:
        return head
            + text("höchstens 2 Elemente L/C, SWR ≤ %1 bei f₀ und SWR ≤ %2 von %3 bis %4")
                  .arg(matchedSwrText(), formatNumber(exerciseBandSwr, 0),
                       formatFrequencyWithDecimals(task.frequency * (1.0 - task.bandFraction), 2),
                       formatFrequencyWithDecimals(task.frequency * (1.0 + task.bandFraction), 2));
    case 3:
        return head
            + text("Leitung Z0 und eine %1 Parallel-Stichleitung, SWR ≤ %2 bei f₀")
                  .arg(task.shortStub ? text("kurzgeschlossene") : text("leerlaufende"),
                       matchedSwrText());
    default:
        break;
    }
    return head
        + text("Viertelwellentransformator: höchstens eine Leitung Z0, dann eine Leitung eigener "
               "Impedanz von %1 λ, SWR ≤ %2 bei f₀")
              .arg(formatNumber(quarterWaveLength, 3), matchedSwrText());
}

} // namespace Electrics
