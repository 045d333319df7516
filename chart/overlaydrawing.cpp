#include "chart/overlaydrawing.h"

#include "chart/graphicsscene.h"

#include <QLineF>
#include <QPainter>

#include <cmath>

namespace OverlayDrawing {

namespace {

constexpr double radiansToDegrees = 180.0 / Electrics::pi;

} // namespace

QColor moveColour(Electrics::MatchingMove move)
{
    switch (move) {
    case Electrics::MatchingMove::Series:
        return {214, 110, 0};
    case Electrics::MatchingMove::Shunt:
        return {160, 0, 170};
    case Electrics::MatchingMove::Line:
        break;
    }
    return {0, 132, 140};
}

QRectF sceneCircleRect(const Electrics::GammaCircle &circle)
{
    const QPointF centre = GraphicsScene::scenePoint(circle.centre);
    const double radius = GraphicsScene::unitRadius * circle.radius;
    return {centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius};
}

std::vector<ArcPiece> arcPieces(const Electrics::GammaArc &arc)
{
    const double start = arc.startAngle * radiansToDegrees;
    const double end = start + arc.sweep * radiansToDegrees;
    std::vector<ArcPiece> pieces;
    if (!std::isfinite(start) || !std::isfinite(end))
        return pieces;
    const bool anticlockwise = end >= start;
    double from = start;
    while (from != end) {
        double next = anticlockwise ? (std::floor(from / arcPieceDegrees) + 1.0) * arcPieceDegrees
                                    : (std::ceil(from / arcPieceDegrees) - 1.0) * arcPieceDegrees;
        if (anticlockwise ? next >= end : next <= end)
            next = end;
        pieces.push_back({from, next});
        from = next;
    }
    return pieces;
}

QPainterPath arcPath(const Electrics::GammaArc &arc, const Exposure &exposed, double reach)
{
    const QRectF rect = sceneCircleRect(arc.circle);
    QPainterPath path;
    bool inRun = false;
    for (const ArcPiece &piece : arcPieces(arc)) {
        if (!exposed.reaches(withMargin(arcPieceRect(arc, piece), reach))) {
            inRun = false;
            continue;
        }
        if (!inRun)
            path.arcMoveTo(rect, piece.from);
        path.arcTo(rect, piece.from, piece.to - piece.from);
        inRun = true;
    }
    return path;
}

double strokeReach(const QPainter &painter, double width)
{
    const double scale = painter.transform().m11();
    return width + (scale > 0.0 ? 1.0 / scale : 0.0);
}

// The chord's rectangle grown by the arc's bulge beyond it: no piece spans
// more than a few degrees, so this is close, and it never cuts the arc.
QRectF arcPieceRect(const Electrics::GammaArc &arc, const ArcPiece &piece)
{
    const QRectF rect = sceneCircleRect(arc.circle);
    const QPointF centre = rect.center();
    const double radius = rect.width() / 2.0;
    const auto at = [&](double degrees) {
        const double radians = degrees / radiansToDegrees;
        return centre + radius * QPointF(std::cos(radians), -std::sin(radians));
    };
    const double bulge =
        radius * (1.0 - std::cos((piece.to - piece.from) / 2.0 / radiansToDegrees));
    return withMargin(QRectF(at(piece.from), at(piece.to)).normalized(), std::abs(bulge));
}

QRectF withMargin(const QRectF &rect, double margin)
{
    return rect.adjusted(-margin, -margin, margin, margin);
}

bool insideCircle(const Electrics::GammaCircle &circle, const QRectF &rect, double lineWidth)
{
    const QPointF centre = GraphicsScene::scenePoint(circle.centre);
    const double clear = GraphicsScene::unitRadius * circle.radius - lineWidth;
    for (const QPointF &corner :
         {rect.topLeft(), rect.topRight(), rect.bottomLeft(), rect.bottomRight()}) {
        if (QLineF(centre, corner).length() >= clear)
            return false;
    }
    return true;
}

std::size_t fingerprintOf(const QRectF &rect, std::size_t seed)
{
    return fingerprintOf(seed, rect.x(), rect.y(), rect.width(), rect.height());
}

} // namespace OverlayDrawing
