#include "chart/labelplacer.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

LabelPlacer::LabelPlacer(const QRectF &boundingRect)
    : bounds(boundingRect)
{ }

void LabelPlacer::addObstacle(const QRectF &box)
{
    if (!box.isEmpty())
        obstacles.push_back(box);
}

void LabelPlacer::addRing(const Ring &ring)
{
    rings.push_back(ring);
}

bool LabelPlacer::touchesRing(const QRectF &box, const Ring &ring, double margin)
{
    const QPointF nearest(std::clamp(ring.centre.x(), box.left(), box.right()),
                          std::clamp(ring.centre.y(), box.top(), box.bottom()));
    double farthest = 0.0;
    for (const QPointF &corner :
         {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
        farthest = std::max(farthest, QLineF(ring.centre, corner).length());
    const double halfLine = ring.lineWidth / 2 + margin;
    return QLineF(ring.centre, nearest).length() < ring.radius + halfLine
        && farthest > ring.radius - halfLine;
}

bool LabelPlacer::isFree(const QRectF &box) const
{
    if (!bounds.isEmpty() && !bounds.contains(box))
        return false;
    const QRectF kept = box.adjusted(-clearance, -clearance, clearance, clearance);
    const auto hits = [&kept](const QRectF &obstacle) {
        return kept.intersects(obstacle);
    };
    if (std::any_of(obstacles.cbegin(), obstacles.cend(), hits))
        return false;
    return std::none_of(rings.cbegin(), rings.cend(),
                        [&box](const Ring &ring) { return touchesRing(box, ring, clearance); });
}

std::optional<QRectF> LabelPlacer::place(const QSizeF &size, const QPointF &anchor,
                                         const QPointF &normal)
{
    const double length = std::hypot(normal.x(), normal.y());
    const QPointF unit = length > 0.0 ? normal / length : QPointF(1.0, 0.0);
    const double extent = std::abs(unit.x()) * size.width() + std::abs(unit.y()) * size.height();
    // How far the box's centre stands from the anchor when its edge nearest
    // the anchor keeps the gap.
    const double touching = anchorGap + extent / 2;
    const int steps = static_cast<int>((extent + reach) / step);
    for (const double side : {1.0, -1.0}) {
        for (int k = 0; k <= steps; ++k) {
            const QPointF centre = anchor + side * (touching + k * step) * unit;
            const QRectF box(centre.x() - size.width() / 2, centre.y() - size.height() / 2,
                             size.width(), size.height());
            if (isFree(box)) {
                obstacles.push_back(box);
                return box;
            }
        }
    }
    return std::nullopt;
}
