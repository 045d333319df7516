#include "app/mainwindow.h"

#include "app/updatemask.h"
#include "chart/graphicsscene.h"
#include "electrics/conversions.h"
#include "electrics/exercise.h"
#include "electrics/exercisejudge.h"
#include "electrics/network.h"

#include <cmath>
#include <optional>

namespace {

// A load typed or stored again is the task's when its impedance differs from
// the task's by no more than the rounding of the conversions to and from Γ.
constexpr double sameLoadTolerance = 1e-9;

bool isTaskLoad(complex_dbl load, const Electrics::ExerciseTask &task)
{
    return std::abs(load - task.load) <= sameLoadTolerance * std::abs(task.load);
}

const Electrics::ExerciseTask *runningTask(const GraphicsScene *scene)
{
    if (!scene || scene->exercise().state() != ExerciseOverlay::State::Running)
        return nullptr;
    return &*scene->exercise().task();
}

} // namespace

// A task stored at the last exit comes back: a running one is set again, as
// by its number, with the path built for it, an abandoned one only shows.
void MainWindow::setUpExercises()
{
    connect(chartScene(), &GraphicsScene::exerciseRequested, this,
            [this](int number) { startExercise(number); });
    const std::optional<ExerciseOverlay::Stored> stored =
        ExerciseOverlay::fromStoredText(storedExercise);
    if (!stored)
        return;
    if (stored->abandonedBy) {
        chartScene()->showAbandonedExercise(stored->task, *stored->abandonedBy, stored->hintsUsed);
        return;
    }
    // The stored load is where the stored path ends.
    const complex_dbl pathEnd = gamma;
    startExercise(stored->task.number, stored->hintsUsed);
    resumeExercisePath(stored->task, pathEnd);
}

// The stored path comes back onto the task's chart when it starts at the
// task's load and still leads to where it ended; any other path stays dropped
// and the load stays the task's.
void MainWindow::resumeExercisePath(const Electrics::ExerciseTask &task, complex_dbl pathEnd)
{
    const std::optional<Electrics::Network> stored =
        Electrics::decodeNetworkPath(matchingPath, Electrics::Network {});
    if (!stored || !isTaskLoad(stored->load, task))
        return;
    const complex_dbl taskLoad = gamma;
    gamma = pathEnd;
    setGamma(gamma);
    if (!restoreMatchingPath(matchingPath, gamma)) {
        gamma = taskLoad;
        setGamma(gamma);
    }
    renewEquivalents();
    refreshDisplays(UpdateMask::All);
    updateSliders(UpdateMask::All);
}

void MainWindow::startExercise(int number, int hintsUsed)
{
    const std::optional<Electrics::ExerciseTask> task = Electrics::exerciseTask(number);
    if (!task || !chartScene())
        return;
    chartScene()->startExercise(*task, hintsUsed);
    gamma = Electrics::gammaFromImpedance(task->load, complex_dbl(task->z0, 0.0));
    setReferenceImpedance(task->z0);
    setFrequency(task->frequency, true);
}

void MainWindow::abandonExerciseUnless(bool kept, Electrics::ExerciseChange change)
{
    if (!kept && chartScene())
        chartScene()->abandonExercise(change);
}

bool MainWindow::isExerciseLoad(complex_dbl newGamma) const
{
    const Electrics::ExerciseTask *task = runningTask(chartScene());
    if (!task)
        return true;
    return isTaskLoad(Electrics::impedanceFromGamma(newGamma, z0), *task);
}

bool MainWindow::isExerciseFrequency(double hertz) const
{
    const Electrics::ExerciseTask *task = runningTask(chartScene());
    return !task || hertz == task->frequency;
}

bool MainWindow::isExerciseReferenceImpedance(double ohms) const
{
    const Electrics::ExerciseTask *task = runningTask(chartScene());
    return !task || ohms == task->z0;
}
