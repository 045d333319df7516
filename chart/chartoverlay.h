#pragma once

#include <QRectF>

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

class QPainter;

// What a repaint reaches, in scene coordinates: the rectangles of its region,
// often a few small ones far apart after a held step, and the rectangle
// around them all. Painting only what reaches a part, not all that reaches
// the rectangle around them, is what keeps a large view quick.
class Exposure
{
public:
    explicit Exposure(const QRectF &whole)
        : bounds(whole)
        , parts {whole}
    { }
    Exposure(const QRectF &bounds, std::vector<QRectF> parts)
        : bounds(bounds)
        , parts(std::move(parts))
    { }

    const QRectF &boundingRect() const { return bounds; }
    bool reaches(const QRectF &rect) const
    {
        return bounds.intersects(rect)
            && std::any_of(parts.cbegin(), parts.cend(),
                           [&rect](const QRectF &part) { return part.intersects(rect); });
    }

private:
    QRectF bounds;
    std::vector<QRectF> parts;
};

// Something the chart draws in the scene's foreground, over the grids and
// the items: the matching network, the held move's circle, the band's curves,
// the Q circles. The scene paints the list of overlays and repaints, after any
// change, just the pieces that appeared or went: so an overlay names what it
// covers piece by piece, each with a fingerprint of what the piece shows.
class ChartOverlay
{
public:
    struct Piece
    {
        // In scene coordinates, with the pen and the antialiasing.
        QRectF rect;
        // Equal for pieces that look alike at the same place.
        std::size_t fingerprint = 0;
    };

    virtual ~ChartOverlay() = default;

    virtual std::vector<Piece> pieces() const = 0;
    // Paints what reaches `exposed`, in scene coordinates.
    virtual void paint(QPainter &painter, const Exposure &exposed) const = 0;
    // Whether a copy of the chart shows it; what only helps a drag does not.
    virtual bool inCopy() const { return true; }
};
