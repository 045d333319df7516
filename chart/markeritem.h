#pragma once

#include <QGraphicsPathItem>
#include <QObject>

class GraphicsScene;

// The load on the chart: a small cross with a circle, dragged with the left
// mouse button. While it moves it asks its scene to report the new Gamma.
// The scene owns it.
class markerItem : public QObject, public QGraphicsPathItem
{
    Q_OBJECT

public:
    explicit markerItem(GraphicsScene *scene);

protected:
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    GraphicsScene *chartScene;
};
