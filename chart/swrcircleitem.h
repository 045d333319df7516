#pragma once

#include <QGraphicsEllipseItem>
#include <QPainterPath>
#include <QPen>
#include <QRectF>

// A circle of constant SWR, drawn dotted. The toolkit dashes a path only where
// it meets the painter's clip, so the dots of a circle repainted in pieces
// fall elsewhere than those of the whole circle; this item fills the dots of
// the whole circle instead, made once per size and pen, so every repaint puts
// each dot where the last one did.
class SwrCircleItem : public QGraphicsEllipseItem
{
public:
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;

private:
    const QPainterPath &dots();

    QPainterPath dotsPath;
    QRectF dotsRect;
    QPen dotsPen;
};
