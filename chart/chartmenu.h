#pragma once

#include "electrics/network.h"

#include <QMenu>

#include <array>

class GraphicsScene;
class QGraphicsView;

// The chart's context menu: which move plain drags and the arrow keys make
// and whether held moves land exactly on the matching circles, how series and
// shunt elements are built (L and C or stubs), taking back the network built
// on the chart, the match over a band, and a copy of the chart for a worksheet.
// Made for one showing and destroyed after it.
class ChartMenu : public QMenu
{
    Q_OBJECT

public:
    // The choices of the band's span in percent of f0 and of the Q circles,
    // 0 for "aus" in both; the settings keep these values.
    static constexpr std::array<double, 5> bandPercents {0.0, 5.0, 10.0, 20.0, 50.0};
    static constexpr std::array<double, 6> qCircleValues {0.0, 0.5, 1.0, 2.0, 5.0, 10.0};
    static constexpr std::array<Electrics::LoadCircuit, 3> loadCircuits {
        Electrics::LoadCircuit::Series, Electrics::LoadCircuit::Parallel,
        Electrics::LoadCircuit::FrequencyIndependent};

    ChartMenu(GraphicsScene &scene, QGraphicsView &view);

    // Shows the menu at a point of the screen and acts on the entry chosen.
    static void popUp(GraphicsScene &scene, QGraphicsView &view, const QPoint &globalPos);
    // Where a keyboard opens it: at the marker.
    static void popUpAtMarker(GraphicsScene &scene, QGraphicsView &view);

private:
    void addModes(GraphicsScene &scene);
    void addLineImpedance(GraphicsScene &scene, QGraphicsView &view);
    void addRealisations(GraphicsScene &scene);
    void addBand(GraphicsScene &scene);
};
