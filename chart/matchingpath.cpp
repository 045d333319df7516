#include "chart/matchingpath.h"

#include "chart/graphicsscene.h"
#include "chart/overlaydrawing.h"
#include "electrics/conversions.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>

using namespace OverlayDrawing;

namespace {

constexpr double arcWidth = 1.2;
constexpr double dotRadius = 1.6;
constexpr double valueFontScale = 0.85;
const QColor valueGround(255, 255, 255, 200);
// The load is at the end of the path to this much in Γ.
constexpr double endTolerance = 1e-9;

// What kind of piece a fingerprint is of.
enum class PieceKind : std::size_t { Arc = 1, Dot, Number, Value };

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

QRectF dotRect(const QPointF &centre)
{
    return {centre.x() - dotRadius, centre.y() - dotRadius, 2 * dotRadius, 2 * dotRadius};
}

// Whether two networks name their elements alike, apart from the elements.
bool sameSetting(const Electrics::Network &a, const Electrics::Network &b)
{
    return a.z0 == b.z0 && a.frequency == b.frequency && a.load == b.load
        && a.loadCircuit == b.loadCircuit && a.seriesRealisation == b.seriesRealisation
        && a.shuntRealisation == b.shuntRealisation;
}

bool sameElement(const Electrics::NetworkElement &a, const Electrics::NetworkElement &b)
{
    return a.move == b.move && a.change == b.change && a.lineImpedance == b.lineImpedance;
}

} // namespace

void MatchingPath::setLabelObstacles(const LabelPlacer &obstacles)
{
    fixedObstacles = obstacles;
    laidOut.reset();
}

void MatchingPath::setFont(const QFont &font)
{
    numberFont = font;
    laidOut.reset();
}

void MatchingPath::setReferenceImpedance(complex_dbl ohms)
{
    model.z0 = ohms.real();
}

void MatchingPath::setRealisation(Move move, Electrics::Realisation realisation)
{
    if (move == Move::Series)
        model.seriesRealisation = realisation;
    else if (move == Move::Shunt)
        model.shuntRealisation = realisation;
}

void MatchingPath::setLoad(complex_dbl gamma)
{
    if (!isEmpty())
        return;
    nodes = {gamma};
    model.load = Electrics::impedanceFromGamma(gamma, model.z0);
}

bool MatchingPath::restore(const Electrics::Network &stored, complex_dbl load)
{
    if (stored.elements.size() > maximumElements)
        return false;
    std::vector<complex_dbl> restoredNodes;
    for (std::size_t count = 0; count <= stored.elements.size(); ++count) {
        restoredNodes.push_back(Electrics::reflectionOf(
            Electrics::impedanceAfter(stored, count, stored.frequency), stored.z0));
    }
    if (!(std::abs(restoredNodes.back() - load) <= endTolerance))
        return false;
    model = stored;
    nodes = std::move(restoredNodes);
    // The load is where the window put it, to the last bit.
    nodes.back() = load;
    keepLastLineTurn();
    return true;
}

std::optional<std::size_t> MatchingPath::elementFor(Move move, complex_dbl from)
{
    if (!isEmpty() && model.elements.back().move == move
        && std::abs(nodes.back() - from) <= endTolerance
        && (move != Move::Line || model.elements.back().lineImpedance == nextLineImpedance))
        return model.elements.size() - 1;
    if (model.elements.size() >= maximumElements
        || !Electrics::moveCircle(move, from, model.z0, nextLineImpedance))
        return std::nullopt;
    if (isEmpty())
        setLoad(from);
    model.elements.push_back({move, 0.0, move == Move::Line ? nextLineImpedance : 0.0});
    nodes.push_back(from);
    lastLineTurn = 0.0;
    return model.elements.size() - 1;
}

Electrics::HeldMove
MatchingPath::extend(Move move, complex_dbl from,
                     const std::function<Electrics::HeldMove(complex_dbl start)> &step)
{
    const std::optional<std::size_t> index = elementFor(move, from);
    if (!index)
        return {from, false};
    const complex_dbl elementStart = nodes[*index];
    Electrics::HeldMove moved = step(elementStart);
    Electrics::NetworkElement &element = model.elements[*index];
    if (move != Move::Line) {
        element = Electrics::elementFromMove(move, elementStart, moved.gamma, model.z0, 0.0);
    } else {
        // A line's length adds up step by step, turn after turn, so that it
        // is kept in the model rather than read back from where it ends.
        const double step =
            Electrics::lineStep(nodes.back(), moved.gamma, model.z0, element.lineImpedance);
        const double turn = Electrics::lineTurnAfterStep(lastLineTurn, step);
        // Stopped at either end of the turn, the load is back where the line began.
        if (turn != lastLineTurn + step)
            moved = {elementStart, false};
        lastLineTurn = turn;
        element.change = Electrics::lineLengthOfTurn(turn);
    }
    nodes.back() = moved.gamma;
    return moved;
}

Electrics::HeldMove MatchingPath::moveToward(Move move, complex_dbl from, complex_dbl target,
                                             double snapTolerance)
{
    const complex_dbl z0(model.z0, 0.0);
    return extend(move, from, [&](complex_dbl elementStart) {
        return Electrics::heldMoveSnappedToward(move, elementStart, from, target, z0, snapTolerance,
                                                nextLineImpedance);
    });
}

Electrics::HeldMove MatchingPath::turn(Move move, complex_dbl from, double clockwiseDegrees,
                                       bool snapping)
{
    const complex_dbl z0(model.z0, 0.0);
    return extend(move, from, [&](complex_dbl elementStart) -> Electrics::HeldMove {
        if (snapping)
            return Electrics::heldMoveSnappedTurned(move, elementStart, from, clockwiseDegrees, z0,
                                                    nextLineImpedance);
        return {Electrics::heldMoveTurned(move, elementStart, from, clockwiseDegrees, z0,
                                          nextLineImpedance),
                false};
    });
}

void MatchingPath::removeLastElement()
{
    model.elements.pop_back();
    nodes.pop_back();
    keepLastLineTurn();
}

void MatchingPath::keepLastLineTurn()
{
    const bool line = !isEmpty() && model.elements.back().move == Move::Line;
    lastLineTurn = line ? model.elements.back().change : 0.0;
}

void MatchingPath::dropEmptyElement()
{
    if (!isEmpty() && Electrics::elementText(model, model.elements.size() - 1).isEmpty())
        removeLastElement();
}

std::optional<complex_dbl> MatchingPath::undoElement()
{
    if (isEmpty())
        return std::nullopt;
    removeLastElement();
    return nodes.back();
}

std::optional<complex_dbl> MatchingPath::clear()
{
    if (isEmpty())
        return std::nullopt;
    model.elements.clear();
    nodes.resize(1);
    return nodes.front();
}

QStringList MatchingPath::readout() const
{
    QStringList lines;
    for (std::size_t i = 0; i < model.elements.size(); ++i) {
        const QString text = Electrics::elementText(model, i);
        if (!text.isEmpty())
            lines << QStringLiteral("%1. %2").arg(lines.size() + 1).arg(text);
    }
    return lines;
}

// A held step changes only the last element: the elements before it, and
// where their texts went, stay as they were laid out.
const std::vector<MatchingPath::PlacedElement> &MatchingPath::layout() const
{
    std::size_t unchanged = 0;
    if (laidOut && sameSetting(laidOut->model, model) && laidOut->nodes.front() == nodes.front()) {
        const std::vector<Electrics::NetworkElement> &before = laidOut->model.elements;
        while (unchanged < before.size() && unchanged < model.elements.size()
               && sameElement(before[unchanged], model.elements[unchanged])
               && laidOut->nodes[unchanged + 1] == nodes[unchanged + 1])
            ++unchanged;
        if (unchanged == before.size() && unchanged == model.elements.size())
            return laidOut->placed;
    }
    LabelPlacer placer = fixedObstacles;
    std::vector<PlacedElement> placed;
    if (laidOut) {
        for (PlacedElement &kept : laidOut->placed) {
            if (kept.index >= unchanged)
                break;
            for (const auto &box : {kept.numberBox, kept.valueBox}) {
                if (box)
                    placer.addObstacle(*box);
            }
            placed.push_back(std::move(kept));
        }
    }
    const QFont smaller = valueFont(numberFont);
    for (std::size_t i = unchanged; i < model.elements.size(); ++i) {
        const QString value = Electrics::elementText(model, i);
        const Electrics::NetworkElement &element = model.elements[i];
        const auto arc = element.move == Move::Line
            ? Electrics::lineArc(nodes[i], nodes[i + 1], element.change, model.z0,
                                 element.lineImpedance)
            : Electrics::moveArc(element.move, nodes[i], nodes[i + 1]);
        if (value.isEmpty() || !arc)
            continue;
        PlacedElement shown {i, *arc, QString::number(placed.size() + 1), value, {}, {}, {}};
        const auto [startPoint, startOutward] = arcPoint(*arc, 0.0);
        shown.numberBox =
            placer.place(textSize(shown.number, numberFont), startPoint, startOutward);
        const auto [middle, middleOutward] = arcPoint(*arc, 0.5);
        shown.valueBox = placer.place(textSize(value, smaller), middle, middleOutward);
        placed.push_back(std::move(shown));
    }
    laidOut = Layout {model, nodes, std::move(placed)};
    return laidOut->placed;
}

std::vector<QRectF> MatchingPath::labelBoxes() const
{
    std::vector<QRectF> boxes;
    for (const PlacedElement &placed : layout()) {
        for (const auto &box : {placed.numberBox, placed.valueBox}) {
            if (box)
                boxes.push_back(*box);
        }
    }
    return boxes;
}

// Each arc by its grid pieces, so that a held step repaints only the pieces
// at the end that it changed, and its value.
std::vector<ChartOverlay::Piece> MatchingPath::pieces() const
{
    std::vector<Piece> result;
    for (const PlacedElement &placed : layout()) {
        if (!placed.pieces)
            placed.pieces = piecesOf(placed);
        result.insert(result.end(), placed.pieces->cbegin(), placed.pieces->cend());
    }
    return result;
}

// Each arc by its grid pieces, so that a held step repaints only the pieces
// at the end that it changed, and its value.
std::vector<ChartOverlay::Piece> MatchingPath::piecesOf(const PlacedElement &placed) const
{
    std::vector<Piece> result;
    const auto move = static_cast<std::size_t>(model.elements[placed.index].move);
    const Electrics::GammaCircle &circle = placed.arc.circle;
    for (const ArcPiece &piece : arcPieces(placed.arc)) {
        const QRectF rect = withMargin(arcPieceRect(placed.arc, piece), arcWidth);
        result.push_back({rect,
                          fingerprintOf(rect,
                                        fingerprintOf(std::size_t(PieceKind::Arc) + move,
                                                      circle.centre.real(), circle.centre.imag(),
                                                      circle.radius, piece.from, piece.to))});
    }
    const QRectF dot =
        withMargin(dotRect(GraphicsScene::scenePoint(nodes[placed.index])), arcWidth);
    result.push_back({dot, fingerprintOf(dot, std::size_t(PieceKind::Dot) + move)});
    if (placed.numberBox) {
        const QRectF box = withMargin(*placed.numberBox, arcWidth);
        result.push_back(
            {box, fingerprintOf(box, qHash(placed.number, std::size_t(PieceKind::Number)))});
    }
    if (placed.valueBox) {
        const QRectF box = withMargin(*placed.valueBox, arcWidth);
        result.push_back(
            {box, fingerprintOf(box, qHash(placed.value, std::size_t(PieceKind::Value)))});
    }
    return result;
}

void MatchingPath::paint(QPainter &painter, const Exposure &exposed) const
{
    // Stroking is what costs on a large view; what the repaint does not reach
    // is left out.
    const auto reached = [&exposed](const QRectF &rect) {
        return exposed.reaches(withMargin(rect, arcWidth));
    };
    const double reach = strokeReach(painter, arcWidth);
    const QFont smaller = valueFont(numberFont);
    for (const PlacedElement &placed : layout()) {
        const QColor colour = moveColour(model.elements[placed.index].move);
        const QPainterPath path = arcPath(placed.arc, exposed, reach);
        if (!path.isEmpty()) {
            painter.setPen(QPen(colour, arcWidth, Qt::SolidLine, Qt::RoundCap));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
        }
        const QRectF dot = dotRect(GraphicsScene::scenePoint(nodes[placed.index]));
        if (reached(dot)) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(dot);
        }

        painter.setPen(colour);
        if (placed.numberBox && reached(*placed.numberBox)) {
            painter.setFont(numberFont);
            painter.drawText(*placed.numberBox, Qt::AlignCenter, placed.number);
        }
        if (placed.valueBox && reached(*placed.valueBox)) {
            // A light ground keeps the value readable over the grid lines.
            painter.fillRect(*placed.valueBox, valueGround);
            painter.setFont(smaller);
            painter.drawText(*placed.valueBox, Qt::AlignCenter, placed.value);
        }
    }
}
