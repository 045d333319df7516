#include "app/mainwindow.h"

#include "chart/graphicsscene.h"
#include "electrics/conversions.h"
#include "electrics/exercise.h"
#include "electrics/exercisejudge.h"

#include <cmath>
#include <optional>

namespace {

// A load typed or stored again is the task's when its impedance differs from
// the task's by no more than the rounding of the conversions to and from Γ.
constexpr double sameLoadTolerance = 1e-9;

const Electrics::ExerciseTask *runningTask(const GraphicsScene *scene)
{
    if (!scene || scene->exercise().state() != ExerciseOverlay::State::Running)
        return nullptr;
    return &*scene->exercise().task();
}

} // namespace

// A task stored at the last exit comes back: a running one is set again, as
// by its number, an abandoned one only shows.
void MainWindow::setUpExercises()
{
    connect(chartScene(), &GraphicsScene::exerciseRequested, this,
            [this](int number) { startExercise(number); });
    const std::optional<ExerciseOverlay::Stored> stored =
        ExerciseOverlay::fromStoredText(storedExercise);
    if (!stored)
        return;
    if (stored->abandonedBy)
        chartScene()->showAbandonedExercise(stored->task, *stored->abandonedBy, stored->hintsUsed);
    else
        startExercise(stored->task.number, stored->hintsUsed);
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
    const complex_dbl load = Electrics::impedanceFromGamma(newGamma, z0);
    return std::abs(load - task->load) <= sameLoadTolerance * std::abs(task->load);
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
