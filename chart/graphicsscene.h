#pragma once

#include "chart/gridcache.h"
#include "electrics/complexdbl.h"

#include <QGraphicsScene>
#include <QList>
#include <QPainterPath>
#include <QPointF>

#include <array>
#include <vector>

class QAbstractGraphicsShapeItem;
class QBrush;
class QFont;
class QGraphicsEllipseItem;
class QGraphicsItem;
class QGraphicsItemGroup;
class QGraphicsLineItem;
class QGraphicsSimpleTextItem;
class QPen;
class markerItem;

// The chart: the Smith grid and the polar Gamma grid as two cross-faded item
// groups, up to three SWR circles and the draggable load marker. The scene owns
// every item; the lists and pointers below only refer to them. It reports one
// thing back, NewGamma, while the user drags the marker.
class GraphicsScene : public QGraphicsScene
{
    Q_OBJECT

public:
    // Gamma = 1 lies this many scene units from the centre.
    static constexpr double unitRadius = 125.0;

    explicit GraphicsScene(QObject *parent = nullptr);

    // Gamma g stands at (125 Re g, -125 Im g); y points down, so inductive
    // loads lie above the real axis.
    static QPointF scenePoint(const complex_dbl &gamma);
    static complex_dbl gammaAt(const QPointF &scenePos);

    // What a view fits to show the whole chart: the scene rectangle, grown
    // evenly on opposite sides to take in every grid label.
    QRectF viewedRect() const;

    void drawSmithGrid(double z0);
    void drawGammaGrid();
    void createSwrCircles(int count);
    void setSwrCircles(const double *swr, int count);
    void createMarker(bool movable);
    void setMarkerGamma(const complex_dbl &gamma);
    // Takes the marker's position as the new load; false when it lies outside
    // the square around the unit circle and nothing was reported.
    bool markerMoved();
    void markerReleased();
    void setGridOpacity(double smithOpacity);
    // Deletes every item and forgets the pointers to them.
    void clearChart();
    // The grids are drawn from device-resolution pictures unless this is off.
    // The view looks the same either way, except that where grid lines cross or
    // touch, a partly faded grid is a little lighter from its pictures.
    void setGridCaching(bool enabled);
    const GridCache &gridCache() const { return cache; }

    QGraphicsItemGroup *smithGridGroup() const { return smithGroup; }
    QGraphicsItemGroup *gammaGridGroup() const { return gammaGroup; }
    QGraphicsLineItem *gammaLineItem() const { return gammaLine; }
    markerItem *markerGraphic() const { return marker; }
    const QList<QGraphicsEllipseItem *> &swrCircleItems() const { return swrCircles; }

signals:
    void NewGamma(complex_dbl gamma);

private:
    // The twelve grid values in ohms: resistances 0.2 ... 10 times z0 first,
    // then the same with negative sign.
    using GridValues = std::array<double, 12>;

    QPointF impedancePoint(const complex_dbl &impedance) const;
    void fillReactanceTable();
    void addGridCurve(const std::vector<complex_dbl> &impedances, const QPen &pen);
    void addResistanceCircles(const GridValues &values, const QPen &pen);
    void addReactanceArcs(const GridValues &values, const QPen &pen);
    void addConductanceCircles(const GridValues &values, const QPen &pen);
    void addSusceptanceArcs(const GridValues &values, const QPen &pen);
    void addSmithLabels(const GridValues &values, const QFont &font);
    void addGammaLabels(const QFont &font);
    void addMagnitudeCircles();
    void addGammaAxes();
    QGraphicsSimpleTextItem *addLabel(const QString &text, const QFont &font,
                                      const QPointF &layoutPos, const QBrush &brush);
    void moveGammaLine(const QPointF &end);

    std::array<double, 180> reactanceTable {};
    complex_dbl z0 {50.0, 0.0};
    // Where the marker last showed the load, from the window or a drag.
    QPointF loadPoint;
    QPainterPath markerPath;
    QPainterPath gridPath;
    markerItem *marker = nullptr;
    QList<QGraphicsEllipseItem *> swrCircles;
    QList<QGraphicsItem *> smithItems;
    QGraphicsItemGroup *smithGroup = nullptr;
    QList<QGraphicsItem *> gammaItems;
    QGraphicsItemGroup *gammaGroup = nullptr;
    QGraphicsLineItem *gammaLine = nullptr;
    QList<QAbstractGraphicsShapeItem *> smithLabels;
    QList<QAbstractGraphicsShapeItem *> gammaLabels;
    GridCache cache;
};
