#include "chart/graphicsscene.h"

#include "chart/chartgrids.h"
#include "chart/chartmenu.h"
#include "chart/labelplacer.h"
#include "chart/markeritem.h"
#include "chart/overlaydrawing.h"
#include "chart/swrcircleitem.h"
#include "electrics/networkband.h"

#include <QColor>
#include <QFont>
#include <QGraphicsEllipseItem>
#include <QGraphicsItemGroup>
#include <QGraphicsLineItem>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneHelpEvent>
#include <QGraphicsView>
#include <QLineF>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QRegion>
#include <QToolTip>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The outer labels stand in a margin of this many scene units around the unit circle.
constexpr double chartMargin = 10.0;
constexpr double chartExtent = GraphicsScene::unitRadius + chartMargin;
const QRectF chartRect(-chartExtent, -chartExtent, 2 * chartExtent, 2 * chartExtent);

constexpr double swrCircleWidth = 0.8;
const QColor markerColour(0, 100, 0);
constexpr double markerPenWidth = 0.4;
constexpr double markerArm = 5.0;
constexpr double markerCircleRadius = 2.0;
// A held drag lands on a matching point this near the pointer, on the screen.
constexpr double snapDistancePixels = 6.0;
// Resting this near the input's curve, on the screen, names its frequency.
constexpr double curveHoverPixels = 4.0;

// The view hands the foreground the rectangle around what it repaints; the
// region itself is the paint engine's clip, in device pixels.
Exposure exposureOf(const QPainter &painter, const QRectF &rect)
{
    const QPaintEngine *engine = painter.paintEngine();
    const QRegion region = engine ? engine->systemClip() : QRegion();
    bool invertible = false;
    const QTransform toScene = painter.deviceTransform().inverted(&invertible);
    if (region.isEmpty() || !invertible)
        return Exposure(rect);
    std::vector<QRectF> parts;
    for (const QRect &part : region) {
        const QRectF scenePart = toScene.mapRect(QRectF(part)).intersected(rect);
        if (!scenePart.isEmpty())
            parts.push_back(scenePart);
    }
    return Exposure(rect, std::move(parts));
}

QRectF circleRect(double radius)
{
    return {-radius, -radius, 2 * radius, 2 * radius};
}

// The outer circle's line, which texts on the chart keep clear of.
constexpr double unitCircleWidth = 1.0;
const LabelPlacer::Ring unitCircleLine {QPointF(), GraphicsScene::unitRadius, unitCircleWidth};

} // namespace

GraphicsScene::GraphicsScene(QObject *parent)
    : QGraphicsScene(parent)
    , pathFont(ChartGrids::labelFont())
{
    matching.setFont(pathFont);
    band.setFont(pathFont);
    exerciseBox.setFont(pathFont);
    overlays = {&qArcs, &heldCircle, &band, &matching, &exerciseBox};
    hintTimer.setSingleShot(true);
    hintTimer.setInterval(hintMilliseconds);
    connect(&hintTimer, &QTimer::timeout, this, &GraphicsScene::hideExerciseHint);
    readoutTimer.setSingleShot(true);
    readoutTimer.setInterval(readoutIntervalMilliseconds);
    connect(&readoutTimer, &QTimer::timeout, this, &GraphicsScene::refreshReadout);
    qRegisterMetaType<complex_dbl>("complex_dbl");
}

QPointF GraphicsScene::scenePoint(const complex_dbl &gamma)
{
    return {unitRadius * gamma.real(), -unitRadius * gamma.imag()};
}

complex_dbl GraphicsScene::gammaAt(const QPointF &scenePos)
{
    return {scenePos.x() * 2.0 / 250.0, scenePos.y() * -2.0 / 250.0};
}

QRectF GraphicsScene::viewedRect() const
{
    // Both halves reach as far as the farther one, so that the view, which
    // centres the scene rectangle, shows the whole of the grown one.
    double halfWidth = -sceneRect().left();
    double halfHeight = -sceneRect().top();
    for (const auto *labels : {&smithLabels, &gammaLabels}) {
        for (const QAbstractGraphicsShapeItem *label : *labels) {
            const QRectF box = label->sceneBoundingRect();
            halfWidth = std::max({halfWidth, -box.left(), box.right()});
            halfHeight = std::max({halfHeight, -box.top(), box.bottom()});
        }
    }
    return {-halfWidth, -halfHeight, 2 * halfWidth, 2 * halfHeight};
}

void GraphicsScene::drawSmithGrid(double z0Ohms)
{
    z0 = complex_dbl(z0Ohms, 0.0);
    matching.setReferenceImpedance(z0);
    clearChart();
    setSceneRect(chartRect);
    const ChartGrids::Smith grid = ChartGrids(*this).drawSmithGrid(z0Ohms);
    smithGroup = grid.group;
    smithLabels = grid.labels;
    cache.addGroup(smithGroup);
    keepPathTextsOffGrids();
}

void GraphicsScene::drawGammaGrid()
{
    const ChartGrids::Gamma grid = ChartGrids(*this).drawGammaGrid();
    gammaGroup = grid.group;
    gammaLine = grid.line;
    gammaLabels = grid.labels;
    // The line follows the marker, so it is painted as it stands.
    cache.addChildPictures(gammaGroup, gammaLine);
    keepPathTextsOffGrids();
}

// The network's numbers and values keep off the labels of both grids, faded
// or not, so that they stay where they are while the chart cross-fades.
void GraphicsScene::keepPathTextsOffGrids()
{
    LabelPlacer obstacles(chartRect);
    obstacles.addRing(unitCircleLine);
    for (const auto *labels : {&smithLabels, &gammaLabels}) {
        for (const QAbstractGraphicsShapeItem *label : *labels)
            obstacles.addObstacle(label->sceneBoundingRect());
    }
    matching.setLabelObstacles(obstacles);
    textObstacles = obstacles;
}

void GraphicsScene::createSwrCircles(int count)
{
    swrCircles.clear();
    for (int i = 0; i < count; ++i) {
        auto *circle = new SwrCircleItem;
        swrCircles.append(circle);
        addItem(circle);
        circle->hide();
    }
    cache.stackingChanged();
}

void GraphicsScene::setSwrCircles(const double *swr, int count)
{
    changeChart([this, swr, count] { showSwrCircles(swr, count); });
    refreshReadout();
}

void GraphicsScene::showSwrCircles(const double *swr, int count)
{
    swrLimits.clear();
    QColor colour(0, 0, 2);
    colour.setAlpha(100);
    const QPen pen(colour, swrCircleWidth, Qt::DotLine);
    const int circleCount = std::min(count, static_cast<int>(swrCircles.size()));
    for (int i = 0; i < circleCount; ++i) {
        QGraphicsEllipseItem *circle = swrCircles[i];
        const double s = swr[i];
        if (!(s > 1.0)) {
            circle->hide();
            continue;
        }
        // |Gamma| = (s - 1) / (s + 1), written so that an infinite SWR gives
        // the unit circle instead of inf / inf.
        const double magnitude = 1.0 - 2.0 / (s + 1.0);
        circle->setPen(pen);
        circle->setRect(circleRect(magnitude * unitRadius));
        circle->show();
        if (std::isfinite(s))
            swrLimits.push_back(s);
    }
}

void GraphicsScene::createMarker(bool movable)
{
    marker = new markerItem(this);
    marker->setPen(QPen(markerColour, markerPenWidth));
    marker->setSnappedBrush(markerColour);
    // A diagonal cross with a small circle, centred on the item's position,
    // which is the load's point.
    markerPath.clear();
    markerPath.moveTo(-markerArm, -markerArm);
    markerPath.lineTo(markerArm, markerArm);
    markerPath.moveTo(-markerArm, markerArm);
    markerPath.lineTo(markerArm, -markerArm);
    markerPath.addEllipse(circleRect(markerCircleRadius));
    marker->setPath(markerPath);
    if (movable)
        marker->setFlag(QGraphicsItem::ItemIsMovable);
    // Stroking the cross and circle again for every step of a drag costs more
    // than the rest of the chart's repaint; a drag only moves the picture.
    marker->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
    addItem(marker);
    cache.stackingChanged();
    refreshReadout();
}

namespace {

// The region a drag reports: the square around the unit circle. Not a number
// lies outside it.
bool insideDragSquare(const complex_dbl &gamma)
{
    return std::abs(gamma.real()) <= 1.0 && std::abs(gamma.imag()) <= 1.0;
}

bool outsideUnitCircle(const complex_dbl &gamma)
{
    return std::hypot(gamma.real(), gamma.imag()) > 1.0;
}

} // namespace

// The marker shows every load a drag could have reported, with the line
// coloured as the drag would; loads beyond that leave the marker where it is.
void GraphicsScene::setMarkerGamma(const complex_dbl &gamma)
{
    if (!marker || !insideDragSquare(gamma))
        return;
    if (gamma != loadGamma)
        marker->showSnapped(false);
    changeChart([this, gamma] {
        // As after a held step: a snapped marker's old place, painted from
        // its device cache, is not always repainted whole by the toolkit.
        repaintRect(marker->sceneBoundingRect());
        marker->setPos(scenePoint(gamma));
        showLoad(gamma, scenePoint(gamma), gammaLine ? gammaLine->pen() : QPen());
    });
}

bool GraphicsScene::markerMoved()
{
    const QPointF position = marker->pos();
    const complex_dbl gamma = gammaAt(position);
    // Outside the square around the unit circle the load stops following.
    if (!insideDragSquare(gamma))
        return false;
    marker->showSnapped(false);
    changeChart([this, gamma, position] {
        abandonRunningExercise(Electrics::ExerciseChange::Load);
        exerciseBox.hideHint();
        endPath();
        showLoad(gamma, position, QPen());
    });
    refreshReadout();
    emit NewGamma(gamma);
    return true;
}

namespace {

std::optional<GraphicsScene::Move> moveForModifiers(Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers held = modifiers & (Qt::ShiftModifier | Qt::ControlModifier);
    if (held == (Qt::ShiftModifier | Qt::ControlModifier))
        return GraphicsScene::Move::Line;
    if (held == Qt::ShiftModifier)
        return GraphicsScene::Move::Series;
    if (held == Qt::ControlModifier)
        return GraphicsScene::Move::Shunt;
    return std::nullopt;
}

} // namespace

// Where the load now is, for the line and the overlays; a drag's line takes
// the plain pen of a drag, the window's keeps its own.
void GraphicsScene::showLoad(complex_dbl gamma, const QPointF &position, QPen pen)
{
    if (gammaLine) {
        pen.setColor(outsideUnitCircle(gamma) ? Qt::red : Qt::darkBlue);
        moveGammaLine(position, pen);
    }
    loadPoint = position;
    loadGamma = gamma;
    matching.setLoad(gamma);
}

// A held step, an undo or a clear: the marker goes where the step put the
// load, or stays at the load where the move could not take it, and a new
// load is reported to the window.
template<typename Step> void GraphicsScene::takeHeldStep(Step &&step)
{
    const complex_dbl before = loadGamma;
    Electrics::HeldMove moved {before, false};
    changeChart([this, &step, &moved] {
        exerciseBox.hideHint();
        moved = step();
        const QPointF position = scenePoint(moved.gamma);
        // The marker's old place is repainted as well: with its device cache,
        // the toolkit's own repaint of a marker moved by a held step can miss
        // pieces of where it stood, at the load or where the drag took it.
        repaintRect(marker->boundingRect().translated(loadPoint));
        repaintRect(marker->sceneBoundingRect());
        marker->setPos(position);
        marker->showSnapped(moved.snapped);
        if (moved.gamma != loadGamma)
            showLoad(moved.gamma, position, QPen());
    });
    refreshReadout();
    if (moved.gamma != before)
        emit NewGamma(moved.gamma);
}

void GraphicsScene::markerPressed(Qt::KeyboardModifiers modifiers)
{
    changeChart([this, modifiers] {
        dragging = true;
        dragMove = moveForModifiers(modifiers);
        if (!dragMove)
            dragMove = matching.mode();
    });
}

// The default handling of the movable marker has put it where a free drag
// goes; a held move takes the point of its circle nearest to that.
void GraphicsScene::markerDragged(Qt::KeyboardModifiers modifiers)
{
    if (const std::optional<Move> chosen = moveForModifiers(modifiers);
        chosen && chosen != dragMove)
        changeChart([this, chosen] { dragMove = chosen; });
    if (!dragMove) {
        markerMoved();
        return;
    }
    const complex_dbl aim = gammaAt(marker->pos());
    takeHeldStep(
        [this, aim] { return matching.moveToward(*dragMove, loadGamma, aim, snapTolerance()); });
}

// The snap distance of the screen in Γ, through the view's scale; none
// without a view or with snapping off.
double GraphicsScene::snapTolerance() const
{
    if (!snapOn || views().isEmpty())
        return 0.0;
    const double pixelsPerUnit = views().constFirst()->transform().m11();
    return pixelsPerUnit > 0.0 ? snapDistancePixels / pixelsPerUnit / unitRadius : 0.0;
}

bool GraphicsScene::turnMarker(double clockwiseDegrees)
{
    const std::optional<Move> move = matching.mode();
    if (!marker || !move)
        return false;
    takeHeldStep([this, move, clockwiseDegrees] {
        Electrics::HeldMove moved = matching.turn(*move, loadGamma, clockwiseDegrees, snapOn);
        matching.dropEmptyElement();
        return moved;
    });
    return true;
}

// A drag that ends where the load stopped following leaves no marker apart
// from the load: it goes back to the last point the load took.
void GraphicsScene::markerReleased()
{
    if (marker && !insideDragSquare(gammaAt(marker->pos())))
        marker->setPos(loadPoint);
    if (!dragging)
        return;
    changeChart([this] {
        dragging = false;
        dragMove.reset();
        matching.dropEmptyElement();
    });
    refreshReadout();
}

std::optional<GraphicsScene::Move> GraphicsScene::shownMove() const
{
    if (!marker)
        return std::nullopt;
    return dragging ? dragMove : matching.mode();
}

// An empty rectangle would repaint the whole scene.
void GraphicsScene::repaintRect(const QRectF &rect)
{
    if (!rect.isEmpty())
        update(rect);
}

std::vector<ChartOverlay::Piece> GraphicsScene::overlayPieces() const
{
    std::vector<ChartOverlay::Piece> all;
    for (const ChartOverlay *overlay : overlays) {
        const std::vector<ChartOverlay::Piece> pieces = overlay->pieces();
        all.insert(all.end(), pieces.begin(), pieces.end());
    }
    const auto byFingerprint = [](const ChartOverlay::Piece &a, const ChartOverlay::Piece &b) {
        return a.fingerprint < b.fingerprint;
    };
    std::sort(all.begin(), all.end(), byFingerprint);
    return all;
}

// The one repaint rule of the foreground: whatever the change, the pieces of
// the overlays that went and those that came are repainted, and nothing else.
void GraphicsScene::changeChart(const std::function<void()> &change)
{
    const std::vector<ChartOverlay::Piece> before = overlayPieces();
    change();
    heldCircle.show(shownMove(), loadGamma, z0, matching.lineImpedance());
    refreshBand();
    exerciseBox.refresh(matching.network());
    const std::vector<ChartOverlay::Piece> after = overlayPieces();
    // The toolkit clips the Γ line to what it repaints, which bends its
    // antialiasing a little: a repaint that reaches the line takes all of it.
    const QRectF line = gammaLine && gammaLine->effectiveOpacity() > 0.0
        ? gammaLine->sceneBoundingRect()
        : QRectF();
    bool lineReached = false;
    const auto repaintPiece = [this, &line, &lineReached](const QRectF &rect) {
        repaintRect(rect);
        lineReached = lineReached || rect.intersects(line);
    };
    auto old = before.cbegin();
    auto now = after.cbegin();
    while (old != before.cend() || now != after.cend()) {
        if (now == after.cend() || (old != before.cend() && old->fingerprint < now->fingerprint))
            repaintPiece((old++)->rect);
        else if (old == before.cend() || now->fingerprint < old->fingerprint)
            repaintPiece((now++)->rect);
        else {
            ++old;
            ++now;
        }
    }
    if (lineReached)
        repaintRect(line);
}

// The band's labels keep off the network's as well as the grids'.
void GraphicsScene::refreshBand()
{
    if (!(shownSpan > 0.0)) {
        band.refresh(matching.network(), 0.0, {}, {});
        return;
    }
    LabelPlacer obstacles = textObstacles;
    for (const QRectF &box : matching.labelBoxes())
        obstacles.addObstacle(box);
    band.refresh(matching.network(), shownSpan, bandCriteria(), obstacles);
}

void GraphicsScene::setBandSpan(double span)
{
    changeChart([this, span] { shownSpan = span > 0.0 && std::isfinite(span) ? span : 0.0; });
    refreshReadout();
}

void GraphicsScene::setLoadCircuit(Electrics::LoadCircuit circuit)
{
    changeChart([this, circuit] { matching.setLoadCircuit(circuit); });
    refreshReadout();
}

void GraphicsScene::setQCircles(double q)
{
    changeChart([this, q] { qArcs.setQ(q); });
}

void GraphicsScene::setMatchingMode(std::optional<Move> move)
{
    changeChart([this, move] { matching.setMode(move); });
}

void GraphicsScene::setMatchingFrequency(double hertz)
{
    changeChart([this, hertz] { matching.setFrequency(hertz); });
    refreshReadout();
}

void GraphicsScene::setLineImpedance(double ohms)
{
    changeChart([this, ohms] { matching.setLineImpedance(ohms); });
}

void GraphicsScene::endPath()
{
    matching.clear();
    matching.setLoad(loadGamma);
}

void GraphicsScene::endMatchingPath()
{
    if (matching.isEmpty())
        return;
    changeChart([this] { endPath(); });
    refreshReadout();
}

void GraphicsScene::setRealisation(Move move, Electrics::Realisation realisation)
{
    changeChart([this, move, realisation] { matching.setRealisation(move, realisation); });
    refreshReadout();
}

Electrics::Realisation GraphicsScene::realisation(Move move) const
{
    const Electrics::Network &network = matching.network();
    return move == Move::Series ? network.seriesRealisation : network.shuntRealisation;
}

QString GraphicsScene::storedMatchingPath() const
{
    return matching.isEmpty() ? QString() : Electrics::encodeNetworkPath(matching.network());
}

bool GraphicsScene::restoreMatchingPath(const QString &stored, complex_dbl load)
{
    // A load the marker could not show (outside the square around the unit
    // circle) is not where a path could have led.
    if (!marker || stored.isEmpty() || load != loadGamma)
        return false;
    const std::optional<Electrics::Network> network =
        Electrics::decodeNetworkPath(stored, matching.network());
    bool restored = false;
    if (network)
        changeChart(
            [this, &network, &restored, load] { restored = matching.restore(*network, load); });
    refreshReadout();
    return restored;
}

bool GraphicsScene::undoMatchingElement()
{
    if (matching.isEmpty() || !marker)
        return false;
    takeHeldStep([this] { return Electrics::HeldMove {*matching.undoElement(), false}; });
    return true;
}

bool GraphicsScene::clearMatchingPath()
{
    if (matching.isEmpty() || !marker)
        return false;
    takeHeldStep([this] { return Electrics::HeldMove {*matching.clear(), false}; });
    return true;
}

void GraphicsScene::drawForeground(QPainter *painter, const QRectF &rect)
{
    painter->save();
    // The view hands the foreground the opacity of the last item it painted,
    // a faded grid's among them.
    painter->setOpacity(1.0);
    painter->setRenderHint(QPainter::Antialiasing);
    const Exposure exposed = exposureOf(*painter, rect);
    for (const ChartOverlay *overlay : overlays) {
        if (!paintingCopy || overlay->inCopy())
            overlay->paint(*painter, exposed);
    }
    painter->restore();
}

void GraphicsScene::contextMenuEvent(QGraphicsSceneContextMenuEvent *event)
{
    QWidget *viewport = event->widget();
    auto *view = viewport ? qobject_cast<QGraphicsView *>(viewport->parentWidget()) : nullptr;
    if (!view || !marker) {
        event->ignore();
        return;
    }
    // The Menu key reaches the view as a context-menu event of its own.
    if (event->reason() == QGraphicsSceneContextMenuEvent::Keyboard)
        ChartMenu::popUpAtMarker(*this, *view);
    else
        ChartMenu::popUp(*this, *view, event->screenPos());
    event->accept();
}

void GraphicsScene::helpEvent(QGraphicsSceneHelpEvent *event)
{
    QWidget *viewport = event->widget();
    auto *view = viewport ? qobject_cast<QGraphicsView *>(viewport->parentWidget()) : nullptr;
    const double pixelsPerUnit = view ? view->transform().m11() : 0.0;
    const bool overMarker = marker && view
        && items(event->scenePos(), Qt::IntersectsItemShape, Qt::DescendingOrder, view->transform())
               .contains(marker);
    if (overMarker || !(pixelsPerUnit > 0.0)) {
        QGraphicsScene::helpEvent(event);
        return;
    }
    const std::optional<double> hertz =
        band.inputFrequencyNear(event->scenePos(), curveHoverPixels / pixelsPerUnit);
    if (!hertz) {
        QGraphicsScene::helpEvent(event);
        return;
    }
    QToolTip::showText(event->screenPos(), band.inputText(*hertz), viewport);
    event->accept();
}

// The line's old place is repainted here as well: in a faded-in Gamma grid
// drawn from pictures, the toolkit's own repaint of the moved line can miss
// pieces of where it stood. A line faded out shows nowhere.
void GraphicsScene::moveGammaLine(const QPointF &end, const QPen &pen)
{
    if (gammaLine->effectiveOpacity() > 0.0)
        repaintRect(gammaLine->sceneBoundingRect());
    gammaLine->setPen(pen);
    gammaLine->setLine(QLineF(QPointF(), end));
}

void GraphicsScene::setGridOpacity(double smithOpacity)
{
    if (smithGroup)
        smithGroup->setOpacity(smithOpacity);
    if (gammaGroup)
        gammaGroup->setOpacity(1.0 - smithOpacity);
}

void GraphicsScene::setGridCaching(bool enabled)
{
    cache.setEnabled(enabled);
}

void GraphicsScene::clearChart()
{
    cache.clear();
    clear();
    marker = nullptr;
    loadPoint = QPointF();
    loadGamma = complex_dbl();
    endPath();
    dragMove.reset();
    dragging = false;
    swrCircles.clear();
    swrLimits.clear();
    smithGroup = nullptr;
    gammaGroup = nullptr;
    gammaLine = nullptr;
    smithLabels.clear();
    gammaLabels.clear();
}
