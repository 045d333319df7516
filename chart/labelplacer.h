#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>
#include <vector>

// Finds room on the chart for the small texts drawn over the grids (the
// matching network's numbers and values): a text goes beside the point it
// belongs to and keeps off the grids' labels, the chart's outer circle and
// the texts placed before it. Geometry only, in scene coordinates; the same
// obstacles and the same order of requests always give the same boxes, so a
// repaint can work out what a whole paint covers. Owned by value by whoever
// places a set of texts; copying it keeps what it holds.
class LabelPlacer
{
public:
    // A circle's line, which no text may touch.
    struct Ring
    {
        QPointF centre;
        double radius = 0.0;
        double lineWidth = 0.0;
    };

    // Texts keep this far from the point they belong to...
    static constexpr double anchorGap = 1.5;
    // ...and this far from every obstacle.
    static constexpr double clearance = 0.5;
    // A text that finds no room beside its point moves along the normal in
    // steps of this length, outward first and then inward, as far as its own
    // extent along the normal and the reach beyond: far enough to pass a text
    // like itself.
    static constexpr double step = 0.5;
    static constexpr double reach = 12.0;

    LabelPlacer() = default;
    // Every text stands wholly inside `bounds`; an empty one bounds nothing.
    explicit LabelPlacer(const QRectF &boundingRect);

    void addObstacle(const QRectF &box);
    void addRing(const Ring &ring);

    // The box for a text of `size` beside `anchor` on the side `normal`
    // points to, which then keeps the texts that follow away; none when no
    // spot within reach is free.
    std::optional<QRectF> place(const QSizeF &size, const QPointF &anchor, const QPointF &normal);
    bool isFree(const QRectF &box) const;

    // Whether any point of the box lies on the ring's line or within
    // `margin` of it.
    static bool touchesRing(const QRectF &box, const Ring &ring, double margin);

private:
    QRectF bounds;
    std::vector<QRectF> obstacles;
    std::vector<Ring> rings;
};
