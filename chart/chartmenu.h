#pragma once

#include <QMenu>

class GraphicsScene;
class QGraphicsView;

// The chart's context menu: which move plain drags and the arrow keys make
// and whether held moves land exactly on the matching circles, how series and
// shunt elements are built (L and C or stubs), taking back
// the network built on the chart, and a copy of the chart for a worksheet.
// Made for one showing and destroyed after it.
class ChartMenu : public QMenu
{
    Q_OBJECT

public:
    ChartMenu(GraphicsScene &scene, QGraphicsView &view);

    // Shows the menu at a point of the screen and acts on the entry chosen.
    static void popUp(GraphicsScene &scene, QGraphicsView &view, const QPoint &globalPos);
    // Where a keyboard opens it: at the marker.
    static void popUpAtMarker(GraphicsScene &scene, QGraphicsView &view);

private:
    void addModes(GraphicsScene &scene);
    void addLineImpedance(GraphicsScene &scene, QGraphicsView &view);
    void addRealisations(GraphicsScene &scene);
};
