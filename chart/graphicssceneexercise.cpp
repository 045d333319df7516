#include "chart/graphicsscene.h"

// The exercise set on the chart: a task's start, its end, and the choices of
// the user's that it sets aside meanwhile.

GraphicsScene::MatchingChoices GraphicsScene::usersChoices() const
{
    if (choicesBeforeExercise)
        return *choicesBeforeExercise;
    const Electrics::Network &network = matching.network();
    return {network.loadCircuit, network.seriesRealisation, network.shuntRealisation,
            matching.lineImpedance()};
}

void GraphicsScene::startExercise(const Electrics::ExerciseTask &task, int hintsUsed)
{
    if (exerciseBox.state() != ExerciseOverlay::State::Running)
        choicesBeforeExercise = usersChoices();
    hintTimer.stop();
    changeChart([this, &task, hintsUsed] {
        endPath();
        exerciseBox.start(task);
        exerciseBox.setHintsUsed(hintsUsed);
        const Electrics::Realisation stub =
            task.shortStub ? Electrics::Realisation::ShortStub : Electrics::Realisation::OpenStub;
        matching.setLoadCircuit(Electrics::LoadCircuit::Series);
        matching.setLineImpedance(0.0);
        matching.setRealisation(Move::Series, Electrics::Realisation::LumpedLC);
        matching.setRealisation(Move::Shunt,
                                task.level == 3 ? stub : Electrics::Realisation::LumpedLC);
    });
    refreshReadout();
}

void GraphicsScene::restoreChoicesBeforeExercise()
{
    if (!choicesBeforeExercise)
        return;
    matching.setLoadCircuit(choicesBeforeExercise->loadCircuit);
    matching.setRealisation(Move::Series, choicesBeforeExercise->series);
    matching.setRealisation(Move::Shunt, choicesBeforeExercise->shunt);
    matching.setLineImpedance(choicesBeforeExercise->lineImpedance);
    choicesBeforeExercise.reset();
}

// Within a change of the chart: a running task ends, and the choices come back.
void GraphicsScene::abandonRunningExercise(Electrics::ExerciseChange change)
{
    if (exerciseBox.state() != ExerciseOverlay::State::Running)
        return;
    exerciseBox.abandon(change);
    restoreChoicesBeforeExercise();
}

void GraphicsScene::abandonExercise(Electrics::ExerciseChange change)
{
    if (exerciseBox.state() != ExerciseOverlay::State::Running)
        return;
    hintTimer.stop();
    changeChart([this, change] { abandonRunningExercise(change); });
    refreshReadout();
}

void GraphicsScene::showAbandonedExercise(const Electrics::ExerciseTask &task,
                                          Electrics::ExerciseChange change, int hintsUsed)
{
    changeChart([this, &task, change, hintsUsed] {
        exerciseBox.restoreAbandoned(task, change, hintsUsed);
    });
    refreshReadout();
}

void GraphicsScene::endExercise()
{
    if (exerciseBox.state() == ExerciseOverlay::State::None)
        return;
    hintTimer.stop();
    changeChart([this] {
        exerciseBox.end();
        restoreChoicesBeforeExercise();
    });
    refreshReadout();
}

bool GraphicsScene::showExerciseHint()
{
    bool shown = false;
    changeChart([this, &shown] { shown = exerciseBox.showHint(matching.network()); });
    if (shown)
        hintTimer.start();
    refreshReadout();
    return shown;
}

void GraphicsScene::hideExerciseHint()
{
    if (!exerciseBox.showsHint())
        return;
    changeChart([this] { exerciseBox.hideHint(); });
    refreshReadout();
}
