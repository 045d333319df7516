#pragma once

#include <QBrush>
#include <QGraphicsPathItem>
#include <QObject>

class GraphicsScene;

// The load on the chart: a small cross with a circle, dragged with the left
// mouse button, freely or held to a circle of the chart by the modifiers. While
// it moves it asks its scene where the load goes and to report it. The scene
// owns it.
class markerItem : public QObject, public QGraphicsPathItem
{
    Q_OBJECT

public:
    explicit markerItem(GraphicsScene *scene);

    // The little circle is filled while the load sits where a held move landed
    // exactly on a matching circle.
    void setSnappedBrush(const QBrush &brush) { snappedBrush = brush; }
    void showSnapped(bool snapped);
    bool showsSnapped() const { return snappedShown; }

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    bool sceneEvent(QEvent *event) override;

private:
    GraphicsScene *chartScene;
    QBrush snappedBrush;
    bool snappedShown = false;
};
