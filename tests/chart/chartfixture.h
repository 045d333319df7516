#pragma once

#include <QList>
#include <QObject>

#include <array>
#include <memory>

class GraphicsScene;
class markerItem;
class QGraphicsItem;
class QGraphicsScene;
class QGraphicsView;
class QSize;
class SmithBasics;

// Builds the chart the way the main window does on its first show: Smith grid,
// ready flag, three SWR circles, Gamma grid, movable marker.
void buildChart(SmithBasics &chart, double z0, const std::array<double, 3> &swr = {1.0, 1.0, 1.0});

// The items without a parent, bottom first.
QList<QGraphicsItem *> topLevelItems(const QGraphicsScene &scene);

// The base of the chart's tests: a chart on a view of its own, made afresh for
// every test function, as the main window holds it. The German locale, which
// the labels and tooltips are written in, holds for every test; a test may
// change it, cleanup() gives the system's back. QtTest finds init() and
// cleanup() here through the meta-object.
class ChartFixture : public QObject
{
    Q_OBJECT

protected:
    enum class Start {
        Empty, // an empty scene: the test builds what it needs
        Built, // built at Z0 = 50 ohms and never shown
        // Built and shown at one pixel per scene unit without scroll bars, so
        // that a mouse event at a pixel lands on a whole scene point.
        OnScreen,
    };
    explicit ChartFixture(Start start);
    ~ChartFixture() override;

    GraphicsScene *scene() const;
    markerItem *marker() const;
    // Clears the chart and builds it anew, as a new Z0 does in the window.
    void rebuild(double z0, const std::array<double, 3> &swr = {1.0, 1.0, 1.0});
    // Shows the view at the size; false if it never gets onto the screen.
    [[nodiscard]] bool showAt(const QSize &size);

    std::unique_ptr<QGraphicsView> view;
    std::unique_ptr<SmithBasics> chart;

private slots:
    void init();
    void cleanup();

private:
    const Start start;
};
