#include "chart/exercisemenu.h"

#include "chart/exercisedialog.h"
#include "chart/graphicsscene.h"
#include "electrics/exercise.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QRandomGenerator>

#include <array>

namespace {

// The first and last number of each level, level 1 first.
struct NumberRange
{
    int first;
    int last;
};
constexpr std::array<NumberRange, 4> levelNumbers {
    {{1, 999}, {1000, 1999}, {2000, 2999}, {3000, 4999}}};

QString text(const char *source)
{
    return QCoreApplication::translate("ChartMenu", source);
}

int randomNumberOfLevel(int level)
{
    const NumberRange range = levelNumbers[static_cast<std::size_t>(level - 1)];
    return QRandomGenerator::global()->bounded(range.first, range.last + 1);
}

} // namespace

void addExerciseMenu(QMenu &menu, GraphicsScene &scene, QWidget &dialogParent)
{
    QMenu *exercise = menu.addMenu(text("Übung"));
    const ExerciseOverlay &shown = scene.exercise();
    const bool hasTask = shown.state() != ExerciseOverlay::State::None;
    exercise->addAction(text("Neue Aufgabe"), &menu, [&scene] {
        const auto &task = scene.exercise().task();
        scene.requestExercise(randomNumberOfLevel(task ? task->level : 1));
    });
    exercise->addAction(text("Aufgabe Nr. …"), &menu, [&scene, &dialogParent] {
        ExerciseDialog dialog(&dialogParent);
        if (dialog.exec() == QDialog::Accepted)
            scene.requestExercise(dialog.number());
    });
    QAction *hint =
        exercise->addAction(text("Tipp"), &menu, [&scene] { scene.showExerciseHint(); });
    hint->setEnabled(shown.state() == ExerciseOverlay::State::Running && !shown.isSolved());
    QAction *copy = exercise->addAction(text("Aufgabe kopieren"), &menu, [&scene] {
        if (const auto &task = scene.exercise().task())
            QGuiApplication::clipboard()->setText(Electrics::exerciseText(*task));
    });
    copy->setEnabled(hasTask);
    QAction *end =
        exercise->addAction(text("Übung beenden"), &menu, [&scene] { scene.endExercise(); });
    end->setEnabled(hasTask);
}
