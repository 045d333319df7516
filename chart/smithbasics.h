#pragma once

#include "electrics/complexdbl.h"
#include "electrics/network.h"

#include <QRectF>

class GraphicsScene;
class QString;
class QGraphicsView;

// Holder of the chart for the main window: owns the scene, knows the view it is
// shown in and whether the chart has been built. Operations that need a built
// chart do nothing while it is not ready.
class SmithBasics
{
public:
    SmithBasics();
    ~SmithBasics();
    SmithBasics(const SmithBasics &) = delete;
    SmithBasics &operator=(const SmithBasics &) = delete;

    void attachView(QGraphicsView *view);
    bool isReady() const;
    void setReady();
    void resetReady();
    QRectF sceneRect() const;
    // The rectangle a view fits to show the whole chart, labels included.
    QRectF viewedRect() const;
    void clear();
    void setOpacity(double smithOpacity);
    void drawSmithGrid(double z0);
    void drawGammaGrid();
    void createSwrCircles(int count);
    void setSwrCircles(const double *swr, int count);
    void createMarker(bool movable);
    void setGamma(const complex_dbl &gamma);
    // The load's summary, which hovering the marker shows followed by the
    // matching network built on the chart.
    void setMarkerToolTip(const QString &text);
    // The frequency at which the matching network's elements are named.
    void setMatchingFrequency(double hertz);
    // The load was set elsewhere: the matching path ends where it stands.
    void endMatchingPath();
    // The matching path as the settings keep it, and back onto a built chart
    // that shows `load`; false when it was dropped.
    QString storedMatchingPath() const;
    bool restoreMatchingPath(const QString &stored, const complex_dbl &load);
    // How the chart builds every series or every shunt element.
    void setRealisation(Electrics::MatchingMove move, Electrics::Realisation realisation);
    Electrics::Realisation realisation(Electrics::MatchingMove move) const;

    GraphicsScene *chartScene() const { return scene; }

private:
    GraphicsScene *scene = nullptr;
    QGraphicsView *view = nullptr;
    bool ready = false;
};
