#include "chart/heldcircleoverlay.h"

#include "chart/overlaydrawing.h"

#include <QPainter>
#include <QPen>

using namespace OverlayDrawing;

namespace {

constexpr double circleWidth = 0.6;
constexpr int circleAlpha = 80;

} // namespace

void HeldCircleOverlay::show(std::optional<Electrics::MatchingMove> shownMove, complex_dbl load,
                             complex_dbl z0, double lineImpedance)
{
    move = shownMove;
    circle = move ? Electrics::moveCircle(*move, load, z0, lineImpedance) : std::nullopt;
}

std::vector<ChartOverlay::Piece> HeldCircleOverlay::pieces() const
{
    if (!circle)
        return {};
    const QRectF rect = withMargin(sceneCircleRect(*circle), circleWidth);
    return {{rect, fingerprintOf(rect, static_cast<std::size_t>(*move))}};
}

void HeldCircleOverlay::paint(QPainter &painter, const QRectF &exposed) const
{
    // A repaint wholly inside the circle, as a drag's often is, has nothing of it.
    if (!circle || !exposed.intersects(withMargin(sceneCircleRect(*circle), circleWidth))
        || insideCircle(*circle, exposed, circleWidth))
        return;
    QColor colour = moveColour(*move);
    colour.setAlpha(circleAlpha);
    painter.setPen(QPen(colour, circleWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(sceneCircleRect(*circle));
}
