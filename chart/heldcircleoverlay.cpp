#include "chart/heldcircleoverlay.h"

#include "chart/overlaydrawing.h"
#include "electrics/conversions.h"

#include <QPainter>
#include <QPen>

#include <cmath>

using namespace OverlayDrawing;

namespace {

constexpr double circleWidth = 0.6;
constexpr int circleAlpha = 80;
// The load moves along its circle, but the circle worked out again from each
// new load wanders in the last bits; closer than this, far below a pixel, it
// is the circle already drawn, which then need not be repainted whole.
constexpr double sameCircleTolerance = 1e-9;

bool sameCircle(const std::optional<Electrics::GammaCircle> &a,
                const std::optional<Electrics::GammaCircle> &b)
{
    return a && b && std::abs(a->centre - b->centre) <= sameCircleTolerance
        && std::abs(a->radius - b->radius) <= sameCircleTolerance;
}

} // namespace

void HeldCircleOverlay::show(std::optional<Electrics::MatchingMove> shownMove, complex_dbl load,
                             complex_dbl z0, double lineImpedance)
{
    const std::optional<Electrics::GammaCircle> now =
        shownMove ? Electrics::moveCircle(*shownMove, load, z0, lineImpedance) : std::nullopt;
    if (shownMove == move && sameCircle(now, circle))
        return;
    move = shownMove;
    circle = now;
}

std::vector<ChartOverlay::Piece> HeldCircleOverlay::pieces() const
{
    if (!circle)
        return {};
    const QRectF rect = withMargin(sceneCircleRect(*circle), circleWidth);
    return {{rect, fingerprintOf(rect, static_cast<std::size_t>(*move))}};
}

void HeldCircleOverlay::paint(QPainter &painter, const Exposure &exposed) const
{
    // A repaint wholly inside the circle, as a drag's often is, has nothing of it.
    if (!circle || !exposed.reaches(withMargin(sceneCircleRect(*circle), circleWidth))
        || insideCircle(*circle, exposed.boundingRect(), circleWidth))
        return;
    // Only what the repaint reaches, from the grid pieces of the whole turn.
    const Electrics::GammaArc wholeTurn {*circle, 0.0, 2.0 * Electrics::pi};
    const QPainterPath path = arcPath(wholeTurn, exposed, strokeReach(painter, circleWidth));
    QColor colour = moveColour(*move);
    colour.setAlpha(circleAlpha);
    painter.setPen(QPen(colour, circleWidth, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}
