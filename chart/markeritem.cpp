#include "chart/markeritem.h"

#include "chart/graphicsscene.h"

#include <QGraphicsSceneMouseEvent>

markerItem::markerItem(GraphicsScene *scene)
    : chartScene(scene)
{ }

void markerItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsPathItem::mouseMoveEvent(event);
    if (event->buttons() & Qt::LeftButton)
        chartScene->markerMoved();
}

void markerItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsPathItem::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        chartScene->markerReleased();
}
