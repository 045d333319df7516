#include "chart/matchingpath.h"

#include "chart/graphicsscene.h"
#include "electrics/conversions.h"

#include <QColor>
#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <cmath>

namespace {

using Electrics::MatchingMove;

constexpr double arcWidth = 1.2;
constexpr double circleWidth = 0.6;
constexpr int circleAlpha = 80;
constexpr double dotRadius = 1.6;
constexpr double valueFontScale = 0.85;
const QColor valueGround(255, 255, 255, 200);
constexpr double radiansToDegrees = 180.0 / Electrics::pi;
constexpr double arcPieceDegrees = 3.0;

// One colour per kind of element, apart from the grids' red and blue and the
// marker's green.
QColor moveColour(MatchingMove move)
{
    switch (move) {
    case MatchingMove::Series:
        return {214, 110, 0};
    case MatchingMove::Shunt:
        return {160, 0, 170};
    case MatchingMove::Line:
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

// The arc is made of pieces that end on a fixed grid of angles about its
// circle's centre. An arc that grows or shrinks then keeps the pieces it
// shares with the old one, and so their pixels: one curve through the whole
// sweep would be bent a little differently all along, and a repaint of the
// changed end alone would leave the rest a shade off.
QPainterPath arcPath(const Electrics::GammaArc &arc)
{
    const QRectF rect = sceneCircleRect(arc.circle);
    const double start = arc.startAngle * radiansToDegrees;
    const double end = start + arc.sweep * radiansToDegrees;
    QPainterPath path;
    if (!std::isfinite(start) || !std::isfinite(end))
        return path;
    path.arcMoveTo(rect, start);
    const bool anticlockwise = end >= start;
    double from = start;
    while (from != end) {
        double next = anticlockwise ? (std::floor(from / arcPieceDegrees) + 1.0) * arcPieceDegrees
                                    : (std::ceil(from / arcPieceDegrees) - 1.0) * arcPieceDegrees;
        if (anticlockwise ? next >= end : next <= end)
            next = end;
        path.arcTo(rect, from, next - from);
        from = next;
    }
    return path;
}

// The point of the arc at `fraction` of its sweep, and the direction away
// from its circle's centre there, in scene coordinates.
std::pair<QPointF, QPointF> arcPoint(const Electrics::GammaArc &arc, double fraction)
{
    const double angle = arc.startAngle + fraction * arc.sweep;
    const complex_dbl outward = std::polar(1.0, angle);
    return {GraphicsScene::scenePoint(arc.circle.centre + arc.circle.radius * outward),
            GraphicsScene::scenePoint(outward)};
}

QFont valueFont(const QFont &font)
{
    QFont smaller = font;
    smaller.setPointSizeF(font.pointSizeF() * valueFontScale);
    return smaller;
}

QSizeF textSize(const QString &text, const QFont &font)
{
    return QFontMetricsF(font).size(Qt::TextSingleLine, text);
}

// The pen and the antialiasing reach beyond the geometry.
QRectF withPen(const QRectF &rect)
{
    return rect.isEmpty() ? rect : rect.adjusted(-arcWidth, -arcWidth, arcWidth, arcWidth);
}

// Whether the rectangle lies wholly inside the circle, clear of its line.
bool insideCircle(const Electrics::GammaCircle &circle, const QRectF &rect)
{
    const QPointF centre = GraphicsScene::scenePoint(circle.centre);
    const double clear = GraphicsScene::unitRadius * circle.radius - circleWidth;
    for (const QPointF &corner :
         {rect.topLeft(), rect.topRight(), rect.bottomLeft(), rect.bottomRight()}) {
        if (QLineF(centre, corner).length() >= clear)
            return false;
    }
    return true;
}

} // namespace

MatchingPath::Element *MatchingPath::elementFor(Move move, complex_dbl from)
{
    if (!elements.empty() && elements.back().move == move && elements.back().end == from)
        return &elements.back();
    if (!Electrics::moveCircle(move, from))
        return nullptr;
    elements.push_back({move, from, from});
    return &elements.back();
}

Electrics::HeldMove
MatchingPath::extend(Move move, complex_dbl from,
                     const std::function<Electrics::HeldMove(complex_dbl start)> &step)
{
    Element *element = elementFor(move, from);
    if (!element)
        return {from, false};
    const Electrics::HeldMove moved = step(element->start);
    element->end = moved.gamma;
    return moved;
}

Electrics::HeldMove MatchingPath::moveToward(Move move, complex_dbl from, complex_dbl target,
                                             double snapTolerance)
{
    return extend(move, from, [&](complex_dbl start) {
        return Electrics::heldMoveSnappedToward(move, start, from, target, z0, snapTolerance);
    });
}

Electrics::HeldMove MatchingPath::turn(Move move, complex_dbl from, double clockwiseDegrees,
                                       bool snapping)
{
    return extend(move, from, [&](complex_dbl start) -> Electrics::HeldMove {
        if (snapping)
            return Electrics::heldMoveSnappedTurned(move, start, from, clockwiseDegrees, z0);
        return {Electrics::heldMoveTurned(move, start, from, clockwiseDegrees, z0), false};
    });
}

void MatchingPath::dropEmptyElement()
{
    if (!elements.empty() && elementText(elements.back()).isEmpty())
        elements.pop_back();
}

std::optional<complex_dbl> MatchingPath::undoElement()
{
    if (elements.empty())
        return std::nullopt;
    const complex_dbl start = elements.back().start;
    elements.pop_back();
    return start;
}

std::optional<complex_dbl> MatchingPath::clear()
{
    if (elements.empty())
        return std::nullopt;
    const complex_dbl start = elements.front().start;
    elements.clear();
    return start;
}

QString MatchingPath::elementText(const Element &element) const
{
    return Electrics::matchingElementText(element.move, element.start, element.end, z0, frequency);
}

QStringList MatchingPath::readout() const
{
    QStringList lines;
    for (const Element &element : elements) {
        const QString text = elementText(element);
        if (!text.isEmpty())
            lines << QStringLiteral("%1. %2").arg(lines.size() + 1).arg(text);
    }
    return lines;
}

void MatchingPath::paint(QPainter &painter, const QRectF &exposed, const QFont &font,
                         std::optional<Move> shownMove, complex_dbl load) const
{
    painter.save();
    // The view hands the foreground the opacity of the last item it painted,
    // a faded grid's among them.
    painter.setOpacity(1.0);
    painter.setRenderHint(QPainter::Antialiasing);
    // Stroking is what costs on a large view; what the repaint does not reach
    // is left out.
    const auto reached = [&exposed](const QRectF &rect) {
        return exposed.intersects(withPen(rect));
    };
    if (const auto circle = shownMove ? Electrics::moveCircle(*shownMove, load) : std::nullopt;
        circle && reached(sceneCircleRect(*circle)) && !insideCircle(*circle, exposed)) {
        QColor colour = moveColour(*shownMove);
        colour.setAlpha(circleAlpha);
        painter.setPen(QPen(colour, circleWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(sceneCircleRect(*circle));
    }
    const QFont smaller = valueFont(font);
    for (const PlacedElement &placed : layout(font)) {
        const Element &element = elements[placed.index];
        const QColor colour = moveColour(element.move);
        const QPainterPath path = arcPath(placed.arc);
        if (reached(path.boundingRect())) {
            painter.setPen(QPen(colour, arcWidth, Qt::SolidLine, Qt::RoundCap));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
        }
        const QPointF start = GraphicsScene::scenePoint(element.start);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(start, dotRadius, dotRadius);

        painter.setPen(colour);
        if (placed.numberBox && reached(*placed.numberBox)) {
            painter.setFont(font);
            painter.drawText(*placed.numberBox, Qt::AlignCenter, placed.number);
        }
        if (placed.valueBox && reached(*placed.valueBox)) {
            // A light ground keeps the value readable over the grid lines.
            painter.fillRect(*placed.valueBox, valueGround);
            painter.setFont(smaller);
            painter.drawText(*placed.valueBox, Qt::AlignCenter, placed.value);
        }
    }
    painter.restore();
}

std::vector<MatchingPath::PlacedElement> MatchingPath::layout(const QFont &font) const
{
    LabelPlacer placer = fixedObstacles;
    const QFont smaller = valueFont(font);
    std::vector<PlacedElement> placed;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const Element &element = elements[i];
        const QString value = elementText(element);
        const auto arc = Electrics::moveArc(element.move, element.start, element.end);
        if (value.isEmpty() || !arc)
            continue;
        PlacedElement shown {i, *arc, QString::number(placed.size() + 1), value, {}, {}};
        const auto [startPoint, startOutward] = arcPoint(*arc, 0.0);
        shown.numberBox = placer.place(textSize(shown.number, font), startPoint, startOutward);
        const auto [middle, middleOutward] = arcPoint(*arc, 0.5);
        shown.valueBox = placer.place(textSize(value, smaller), middle, middleOutward);
        placed.push_back(shown);
    }
    return placed;
}

std::vector<QRectF> MatchingPath::labelBoxes(const QFont &font) const
{
    std::vector<QRectF> boxes;
    for (const PlacedElement &placed : layout(font)) {
        for (const auto &box : {placed.numberBox, placed.valueBox}) {
            if (box)
                boxes.push_back(*box);
        }
    }
    return boxes;
}

MatchingPath::LastElement MatchingPath::lastElement(const QFont &font) const
{
    if (elements.empty())
        return {};
    const Element &element = elements.back();
    LastElement last {elements.size(), {}, {}, element.end};
    const std::vector<PlacedElement> placed = layout(font);
    if (placed.empty() || placed.back().index + 1 != elements.size())
        return last;
    const PlacedElement &shown = placed.back();
    const QPointF start = GraphicsScene::scenePoint(element.start);
    last.value = shown.valueBox.value_or(QRectF());
    last.whole = arcPath(shown.arc).boundingRect()
        | QRectF(start.x() - dotRadius, start.y() - dotRadius, 2 * dotRadius, 2 * dotRadius)
        | last.value | shown.numberBox.value_or(QRectF());
    last.whole = withPen(last.whole);
    last.value = withPen(last.value);
    return last;
}

std::vector<QRectF> MatchingPath::changedSince(const LastElement &before, const QFont &font) const
{
    const LastElement now = lastElement(font);
    const bool sameElement =
        now.count == before.count && !before.whole.isEmpty() && !now.whole.isEmpty();
    if (!sameElement)
        return {before.whole, now.whole};
    // The arc between the old and the new end, the way the element changed:
    // a line's grows or shrinks clockwise, unless it went round past a turn.
    const Element &element = elements.back();
    complex_dbl from = before.end;
    complex_dbl to = now.end;
    if (element.move == Move::Line) {
        const double grown =
            Electrics::lineLength(element.start, to) - Electrics::lineLength(element.start, from);
        if (std::abs(grown) > 0.25)
            return {before.whole, now.whole};
        if (grown < 0.0)
            std::swap(from, to);
    }
    const auto change = Electrics::moveArc(element.move, from, to);
    if (!change)
        return {before.whole, now.whole};
    return {withPen(arcPath(*change).boundingRect()), before.value, now.value};
}

QRectF MatchingPath::circleRect(std::optional<Move> move, complex_dbl load)
{
    const auto circle = move ? Electrics::moveCircle(*move, load) : std::nullopt;
    if (!circle)
        return {};
    return sceneCircleRect(*circle).adjusted(-circleWidth, -circleWidth, circleWidth, circleWidth);
}
