#pragma once

#include "electrics/complexdbl.h"

#include <QString>

#include <optional>

// Matching exercises set by number. The number alone fixes the task: its level,
// Z0, frequency and load come from the program's own integer generator and
// its checks use only the four basic operations and square roots, so the same
// number gives the same task on every machine and in every later version.
//
// Levels by the thousands of the number:
//   1 ...  999  an L-section of at most 2 elements L/C, SWR <= 1.1 at f0;
//   1000 ... 1999  the same, and SWR <= 2 over f0 (1 - b) ... f0 (1 + b);
//   2000 ... 2999  a line of Z0, then one open or short shunt stub;
//   3000 ... 4999  at most one line of Z0, then a quarter-wave line of its own Z.
namespace Electrics {

constexpr int firstExerciseNumber = 1;
constexpr int lastExerciseNumber = 4999;

// What a solution must reach at f0 at every level, and over the band at level 2.
constexpr double exerciseMatchedSwr = 1.1;
constexpr double exerciseBandSwr = 2.0;
// A transformer's length, in wavelengths, and how far it may miss it.
constexpr double quarterWaveLength = 0.25;
constexpr double quarterWaveTolerance = 0.002;

struct ExerciseTask
{
    int number = 0;
    int level = 0;
    double z0 = 0.0; // ohms: 75 for numbers divisible by 4, else 50
    double frequency = 0.0; // f0 in hertz
    // At f0, in whole tenths of an ohm. At level 2 it is a series R-L (X > 0)
    // or R-C (X < 0) circuit whose element keeps its henries or farads.
    complex_dbl load;
    double bandFraction = 0.0; // level 2: the band is f0 (1 - b) ... f0 (1 + b); else 0
    bool shortStub = false; // level 3: a short-circuited stub, else an open one
};

// 1 ... 4 by the thousands of the number; 0 outside 1 ... 4999.
int exerciseLevel(int number);
// None outside 1 ... 4999.
std::optional<ExerciseTask> exerciseTask(int number);
// The task in the program's words and the default locale: "Aufgabe 1 (Stufe 1):
// 23,40 - j61,20 Ω an 50,0 Ω bei 470,000 MHz anpassen, höchstens 2 Elemente
// L/C, SWR ≤ 1,1 bei f₀". Empty for a task of no level.
QString exerciseText(const ExerciseTask &task);

} // namespace Electrics
