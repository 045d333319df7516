#pragma once

class GraphicsScene;
class QMenu;
class QWidget;

// The chart menu's submenu "Übung": a new task at random from the level of
// the current one, a task by its number, a hint, the task's text on the
// clipboard, and the end of the exercise.
void addExerciseMenu(QMenu &menu, GraphicsScene &scene, QWidget &dialogParent);
