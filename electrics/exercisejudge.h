#pragma once

#include "electrics/exercise.h"
#include "electrics/network.h"

#include <QString>

#include <optional>

// Whether a network solves an exercise, and which move brings it nearer.
// Only the task and the network's elements count: the task fixes Z0, f0, the
// load as a series circuit and how stubs are built, whatever the chart shows.
namespace Electrics {

// The elements on the task's circuit: its Z0, f0 and load, the load held as a
// series circuit, L and C or the task's stubs.
Network exerciseNetwork(const ExerciseTask &task, const Network &built);

struct ExerciseVerdict
{
    bool solved = false;
    // The first rule the network breaks, "3 Elemente, höchstens 2"; empty
    // when solved.
    QString brokenRule;
};
// Judges the elements of `built` on the task's circuit: their number and
// kinds, the SWR at f0 and, at level 2, the band by its edges.
ExerciseVerdict judgeExercise(const ExerciseTask &task, const Network &built);

// "gelöst mit 2 Elementen: 1. Parallel-C 2,12 pF, 2. Serien-L 17,2 nH (mit 1 Tipp)"
QString solvedText(const ExerciseTask &task, const Network &built, int hintsUsed);

// Why a task ended before it was solved: its load, Z0 or frequency changed.
enum class ExerciseChange { Load, ReferenceImpedance, Frequency };
// "Aufgabe 1042 abgebrochen: die Last wurde geändert"
QString abandonedText(int number, ExerciseChange change);

// Where the next element should take the path's end, and by which move.
struct ExerciseHint
{
    enum class Target { ResistanceCircle, ConductanceCircle, RealAxis, Centre };
    Target target = Target::Centre;
    // "Parallelelement (Strg) bis zum Kreis R = 50 Ω"
    QString text;
};
// None for a solved network or a task of no level.
std::optional<ExerciseHint> exerciseHint(const ExerciseTask &task, const Network &built);

} // namespace Electrics
