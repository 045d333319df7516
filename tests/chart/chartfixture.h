#pragma once

#include <QList>

#include <array>

class QGraphicsItem;
class QGraphicsScene;
class SmithBasics;

// Builds the chart the way the main window does on its first show: Smith grid,
// ready flag, three SWR circles, Gamma grid, movable marker.
void buildChart(SmithBasics &chart, double z0, const std::array<double, 3> &swr = {1.0, 1.0, 1.0});

// The items without a parent, bottom first.
QList<QGraphicsItem *> topLevelItems(const QGraphicsScene &scene);
