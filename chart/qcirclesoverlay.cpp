#include "chart/qcirclesoverlay.h"

#include "chart/overlaydrawing.h"
#include "electrics/networkband.h"

#include <QColor>
#include <QPainter>
#include <QPen>

#include <cmath>

using namespace OverlayDrawing;

namespace {

const QColor arcColour(90, 90, 90, 110);
constexpr double arcWidth = 0.6;
constexpr std::size_t qArcSeed = 23;

// The part of the circle inside the chart: between Γ = 1 and Γ = −1, through
// the top of the circle for the inductive arc and its bottom for the other.
Electrics::GammaArc insideChart(double q, bool inductive)
{
    const Electrics::GammaCircle circle = Electrics::constantQCircle(q, inductive);
    // The angle at the circle's centre from the real axis to Γ = 1.
    const double toOpen = std::atan2(std::abs(circle.centre.imag()), 1.0);
    const double sweep = Electrics::pi - 2.0 * toOpen;
    return inductive ? Electrics::GammaArc {circle, toOpen, sweep}
                     : Electrics::GammaArc {circle, -toOpen, -sweep};
}

} // namespace

void QCirclesOverlay::setQ(double q)
{
    shownQ = q > 0.0 && std::isfinite(q) ? q : 0.0;
    if (shownQ == 0.0)
        arcs = {};
    else
        arcs = {insideChart(shownQ, true), insideChart(shownQ, false)};
}

std::vector<ChartOverlay::Piece> QCirclesOverlay::pieces() const
{
    std::vector<Piece> result;
    for (const auto &arc : arcs) {
        if (!arc)
            continue;
        for (const ArcPiece &piece : arcPieces(*arc)) {
            const QRectF rect = withMargin(arcPieceRect(*arc, piece), arcWidth);
            result.push_back(
                {rect, fingerprintOf(rect, fingerprintOf(qArcSeed, shownQ, piece.from))});
        }
    }
    return result;
}

void QCirclesOverlay::paint(QPainter &painter, const Exposure &exposed) const
{
    for (const auto &arc : arcs) {
        if (!arc)
            continue;
        const QPainterPath path = arcPath(*arc, exposed, strokeReach(painter, arcWidth));
        if (path.isEmpty())
            continue;
        painter.setPen(QPen(arcColour, arcWidth, Qt::SolidLine, Qt::FlatCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
}
