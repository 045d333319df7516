#pragma once

#include "electrics/complexdbl.h"

#include <QList>
#include <QPainterPath>

#include <array>
#include <vector>

class QAbstractGraphicsShapeItem;
class QBrush;
class QFont;
class QGraphicsItem;
class QGraphicsItemGroup;
class QGraphicsLineItem;
class QGraphicsScene;
class QGraphicsSimpleTextItem;
class QPen;
class QPointF;
class QString;

// Builds the chart's two grids into a scene, each as one item group: the
// Smith grid of constant R, X, G and B for a reference impedance with its 36
// labels, and the polar grid of Gamma with its 12 labels and the line from the
// centre to the load. The scene owns the items; the grids only refer to them.
class ChartGrids
{
public:
    struct Smith
    {
        QGraphicsItemGroup *group = nullptr;
        QList<QAbstractGraphicsShapeItem *> labels;
    };
    struct Gamma
    {
        QGraphicsItemGroup *group = nullptr;
        QGraphicsLineItem *line = nullptr;
        QList<QAbstractGraphicsShapeItem *> labels;
    };

    explicit ChartGrids(QGraphicsScene &target)
        : scene(target)
    { }

    // At opacity 1.
    Smith drawSmithGrid(double z0Ohms);
    // At opacity 0.
    Gamma drawGammaGrid();
    // The grid labels' font, which the chart's own texts share.
    static QFont labelFont();

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

    QGraphicsScene &scene;
    // Every grid curve is drawn from these sampling reactances.
    std::array<double, 180> reactanceTable {};
    complex_dbl z0 {50.0, 0.0};
    // Cleared and refilled for each grid curve.
    QPainterPath gridPath;
    QList<QGraphicsItem *> items;
    QList<QAbstractGraphicsShapeItem *> labels;
};
