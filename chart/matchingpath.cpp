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
// Texts keep this far from the point they belong to.
constexpr double textGap = 1.5;
constexpr double valueFontScale = 0.85;
const QColor valueGround(255, 255, 255, 200);
constexpr double radiansToDegrees = 180.0 / Electrics::pi;

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

QPainterPath arcPath(const Electrics::GammaArc &arc)
{
    const QRectF rect = sceneCircleRect(arc.circle);
    QPainterPath path;
    path.arcMoveTo(rect, arc.startAngle * radiansToDegrees);
    path.arcTo(rect, arc.startAngle * radiansToDegrees, arc.sweep * radiansToDegrees);
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

// Where a text stands beside `anchor`, on the side `outward` points to.
QRectF textBox(const QString &text, const QFont &font, const QPointF &anchor, QPointF outward)
{
    const QSizeF size = QFontMetricsF(font).size(Qt::TextSingleLine, text);
    const double length = std::hypot(outward.x(), outward.y());
    outward = length > 0.0 ? outward / length : QPointF(1.0, 0.0);
    const double reach = textGap + std::abs(outward.x()) * size.width() / 2
        + std::abs(outward.y()) * size.height() / 2;
    const QPointF centre = anchor + reach * outward;
    return {centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(),
            size.height()};
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
    int number = 0;
    for (const Element &element : elements) {
        const QString value = elementText(element);
        const auto arc = Electrics::moveArc(element.move, element.start, element.end);
        if (value.isEmpty() || !arc)
            continue;
        ++number;
        const QColor colour = moveColour(element.move);
        const QPainterPath path = arcPath(*arc);
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
        const auto [startPoint, startOutward] = arcPoint(*arc, 0.0);
        const QString numberText = QString::number(number);
        painter.setFont(font);
        painter.drawText(textBox(numberText, font, startPoint, startOutward), Qt::AlignCenter,
                         numberText);
        const auto [middle, middleOutward] = arcPoint(*arc, 0.5);
        const QFont smaller = valueFont(font);
        const QRectF valueBox = textBox(value, smaller, middle, middleOutward);
        if (!reached(valueBox))
            continue;
        // A light ground keeps the value readable over the grid lines and labels.
        painter.fillRect(valueBox, valueGround);
        painter.setFont(smaller);
        painter.drawText(valueBox, Qt::AlignCenter, value);
    }
    painter.restore();
}

QRectF MatchingPath::valueRect(const Element &element, const QFont &font) const
{
    const auto arc = Electrics::moveArc(element.move, element.start, element.end);
    if (!arc)
        return {};
    const auto [middle, middleOutward] = arcPoint(*arc, 0.5);
    return textBox(elementText(element), valueFont(font), middle, middleOutward);
}

MatchingPath::LastElement MatchingPath::lastElement(const QFont &font) const
{
    if (elements.empty())
        return {};
    const Element &element = elements.back();
    const auto arc = Electrics::moveArc(element.move, element.start, element.end);
    LastElement last {elements.size(), {}, {}, element.end};
    if (elementText(element).isEmpty() || !arc)
        return last;
    const QPointF start = GraphicsScene::scenePoint(element.start);
    const auto [startPoint, startOutward] = arcPoint(*arc, 0.0);
    last.value = valueRect(element, font);
    last.whole = arcPath(*arc).boundingRect() | last.value
        | QRectF(start.x() - dotRadius, start.y() - dotRadius, 2 * dotRadius, 2 * dotRadius)
        | textBox(QString::number(readout().size()), font, startPoint, startOutward);
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
