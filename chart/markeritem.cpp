#include "chart/markeritem.h"

#include "chart/graphicsscene.h"

#include <QGraphicsSceneMouseEvent>

markerItem::markerItem(GraphicsScene *scene)
    : chartScene(scene)
{ }

// Only the circle of the path is closed, so the brush fills it alone. A new
// brush repaints the item and renews its cached picture.
void markerItem::showSnapped(bool snapped)
{
    if (snapped == snappedShown)
        return;
    snappedShown = snapped;
    setBrush(snapped ? snappedBrush : QBrush());
}

void markerItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsPathItem::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        chartScene->markerPressed(event->modifiers());
}

void markerItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsPathItem::mouseMoveEvent(event);
    if (event->buttons() & Qt::LeftButton)
        chartScene->markerDragged(event->modifiers());
}

void markerItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsPathItem::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        chartScene->markerReleased();
}

// A drag can end without a release, when a menu or another window takes the
// mouse.
bool markerItem::sceneEvent(QEvent *event)
{
    const bool handled = QGraphicsPathItem::sceneEvent(event);
    if (event->type() == QEvent::UngrabMouse)
        chartScene->markerReleased();
    return handled;
}
