#include "chart/swrcircleitem.h"

#include <QPainter>
#include <QPainterPathStroker>

const QPainterPath &SwrCircleItem::dots()
{
    if (rect() != dotsRect || pen() != dotsPen) {
        dotsRect = rect();
        dotsPen = pen();
        QPainterPath circle;
        circle.addEllipse(dotsRect);
        QPainterPathStroker stroker(dotsPen);
        dotsPath = stroker.createStroke(circle);
    }
    return dotsPath;
}

void SwrCircleItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                          QWidget *widget)
{
    Q_UNUSED(option)
    Q_UNUSED(widget)
    painter->fillPath(dots(), pen().brush());
}
