#include "chart/graphicsscene.h"

#include "chart/chartmenu.h"
#include "chart/markeritem.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QGraphicsEllipseItem>
#include <QGraphicsItemGroup>
#include <QGraphicsLineItem>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QLineF>
#include <QPen>
#include <QRectF>
#include <QStringView>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The outer labels stand in a margin of this many scene units around the unit circle.
constexpr double chartMargin = 10.0;
constexpr double chartExtent = GraphicsScene::unitRadius + chartMargin;
const QRectF chartRect(-chartExtent, -chartExtent, 2 * chartExtent, 2 * chartExtent);

// Every grid curve is sampled at the 180 reactances where the unit circle has
// the angles 1, 3, ..., 359 degrees; the first 90 of them are the positive ones.
constexpr int sampleCount = 180;
constexpr int positiveSampleCount = sampleCount / 2;

// Indices into the grid values: z0 itself, z0 / 5 and 10 z0 bound the clipped arcs.
constexpr int gridOneFifth = 0;
constexpr int gridUnity = 2;
constexpr int gridTen = 5;
constexpr int positiveGridCount = 6;

constexpr double gridCurveWidth = 0.2;
constexpr double unitCircleWidth = 1.0;
constexpr double axisWidth = 0.3;
constexpr double thinCircleWidth = 0.4;
constexpr double halfCircleWidth = 0.6;
constexpr double gammaLineWidth = 1.5;
constexpr double swrCircleWidth = 0.8;
const QColor markerColour(0, 100, 0);
constexpr double markerPenWidth = 0.4;
constexpr double markerArm = 5.0;
constexpr double markerCircleRadius = 2.0;
constexpr int labelPointSize = 4;
// A held drag lands on a matching point this near the pointer, on the screen.
constexpr double snapDistancePixels = 6.0;

// The label positions were laid out on a chart of radius 100.
constexpr double labelScale = GraphicsScene::unitRadius / 100.0;

QRectF circleRect(double radius)
{
    return {-radius, -radius, 2 * radius, 2 * radius};
}

const QRectF unitCircleRect = circleRect(GraphicsScene::unitRadius);

bool isDrawable(const QPointF &point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

QFont labelFont()
{
    QFont font;
    font.setPointSize(labelPointSize);
    font.setWeight(QFont::Normal);
    return font;
}

double ohms(double gridValue)
{
    return gridValue;
}

double millisiemens(double gridValue)
{
    return 1000.0 / gridValue;
}

double negatedMillisiemens(double gridValue)
{
    return -1000.0 / gridValue;
}

// A run of Smith grid labels for consecutive grid values, starting with the first.
struct LabelRun
{
    QStringView format;
    double (*shownValue)(double gridValue);
    int decimals;
    Qt::GlobalColor colour;
    int count;
};

const std::array<LabelRun, 5> smithLabelRuns {{
    {u"%L1\u03A9", ohms, 0, Qt::red, positiveGridCount},
    {u"%L1mS", millisiemens, 1, Qt::blue, positiveGridCount},
    {u"%L1j\u03A9", ohms, 0, Qt::red, 2 * positiveGridCount},
    {u"%L1jmS", negatedMillisiemens, 1, Qt::blue, positiveGridCount},
    {u"%L1jmS", millisiemens, 1, Qt::blue, positiveGridCount},
}};

// Top-left corners of the 36 Smith labels, in the order of the runs above.
const std::array<QPointF, 36> smithLabelSpots {{
    {6.49, 77.9},     {32.98, 61.49},    {51.5, 44.08},     {59.7, 27.56},    {73.47, 13.51},
    {86.4, 2.95},     {-86.93, -21.87},  {-74.4, -38.8},    {-65.11, -55.17}, {-45.94, -71.35},
    {-19.32, -84.85}, {16.43, -92.33},   {-101.16, -45.59}, {-63.71, -89.25}, {1.54, -105.81},
    {63.58, -81.93},  {90.99, -49.02},   {99.79, -20.08},   {-102.7, 40.38},  {-64.23, 84.25},
    {3.45, 100.73},   {64.84, 76.92},    {91.72, 42.5},     {99.69, 14.96},   {-113.44, -38.5},
    {-79.7, -82.55},  {-15.71, -105.55}, {56.2, -88.24},    {87.48, -54.13},  {98.19, -25.98},
    {-112.13, 33.86}, {-77.59, 77.51},   {-13.23, 100.94},  {54.18, 84.52},   {88.33, 50.04},
    {99.06, 21.76},
}};

// The labels that meet at Gamma = +j, the reactance z0 and the susceptance
// -1/z0, and at -j their negatives, as indices into the spots above. Each
// pair stands one on each side of its point, this far from it, as wide as
// its texts are for the Z0 at hand.
constexpr std::array<std::pair<int, int>, 2> labelsMeetingOnTheRim {{{14, 26}, {20, 32}}};
constexpr double rimLabelGap = 1.0;

struct GammaLabel
{
    QStringView text;
    QPointF layoutPos;
};

const std::array<GammaLabel, 12> gammaLabelTable {{
    {u"-1", {-105.21, -3}},
    {u"-0.5", {-58.54, 1}},
    {u"0", {1.52, 0.6}},
    {u"+0.5", {52.06, 1}},
    {u"+1", {101.87, -3}},
    {u"+j", {-2, -106.51}},
    {u"+0.5j", {-9.99, -56}},
    {u"-0.5j", {-9.62, 50.3}},
    {u"-j", {-0.73, 100.6}},
    {u"| \u0393 |=M=0.25", {20.5, -20.02}},
    {u"| \u0393 |=M=0.5", {42.54, -32.7}},
    {u"| \u0393 |=M=0.75", {64.48, -44.41}},
}};

constexpr int tickCount = 9;
constexpr int longTick = 5;

} // namespace

GraphicsScene::GraphicsScene(QObject *parent)
    : QGraphicsScene(parent)
    , pathFont(labelFont())
{
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

QPointF GraphicsScene::impedancePoint(const complex_dbl &impedance) const
{
    return scenePoint((impedance - z0) / (impedance + z0));
}

void GraphicsScene::drawSmithGrid(double z0Ohms)
{
    z0 = complex_dbl(z0Ohms, 0.0);
    matching.setReferenceImpedance(z0);
    const GridValues values {z0Ohms / 5, z0Ohms * 0.5,     z0Ohms,      z0Ohms * 2,
                             z0Ohms * 4, z0Ohms * 10,      z0Ohms / -5, z0Ohms * -0.5,
                             -z0Ohms,    -z0Ohms - z0Ohms, z0Ohms * -4, z0Ohms * -10};
    clearChart();
    setSceneRect(chartRect);
    fillReactanceTable();

    const QPen redPen(Qt::red, gridCurveWidth);
    const QPen bluePen(Qt::blue, gridCurveWidth);
    addResistanceCircles(values, redPen);
    addReactanceArcs(values, redPen);
    addConductanceCircles(values, bluePen);
    addSusceptanceArcs(values, bluePen);
    addSmithLabels(values, labelFont());
    smithItems.append(addEllipse(unitCircleRect, QPen(Qt::black, unitCircleWidth)));
    smithItems.append(addLine(-unitRadius, 0, unitRadius, 0, QPen(Qt::black, axisWidth)));
    for (QAbstractGraphicsShapeItem *label : std::as_const(smithLabels))
        smithItems.append(label);
    smithGroup = createItemGroup(smithItems);
    smithGroup->setOpacity(1.0);
    cache.addGroup(smithGroup);
}

void GraphicsScene::fillReactanceTable()
{
    // The reactance where the unit circle has the angle theta is z0 cot(theta / 2).
    for (int k = 0; k < sampleCount; ++k) {
        const double halfAngle = qDegreesToRadians(k + 0.5);
        reactanceTable[k] = z0.real() * std::cos(halfAngle) / std::sin(halfAngle);
    }
}

void GraphicsScene::addGridCurve(const std::vector<complex_dbl> &impedances, const QPen &pen)
{
    // Points that are not finite (a reference impedance of 0, infinity or NaN)
    // are left out, so the path starts at the first point that can be drawn.
    gridPath.clear();
    bool started = false;
    for (const complex_dbl &impedance : impedances) {
        const QPointF point = impedancePoint(impedance);
        if (!isDrawable(point))
            continue;
        if (started)
            gridPath.lineTo(point);
        else
            gridPath.moveTo(point);
        started = true;
    }
    smithItems.append(addPath(gridPath, pen));
}

void GraphicsScene::addResistanceCircles(const GridValues &values, const QPen &pen)
{
    for (int i = 0; i < positiveGridCount; ++i) {
        std::vector<complex_dbl> impedances;
        for (const double reactance : reactanceTable)
            impedances.emplace_back(values[i], reactance);
        addGridCurve(impedances, pen);
    }
}

void GraphicsScene::addReactanceArcs(const GridValues &values, const QPen &pen)
{
    // The arcs |x| <= 1 end on the circle r = 10 so that the crowded area
    // near Gamma = 1 stays readable. Comparing magnitudes lets a negative z0
    // draw the same grid as its magnitude.
    for (const double reactance : values) {
        const bool clipped = std::abs(reactance) <= std::abs(values[gridUnity]);
        std::vector<complex_dbl> impedances;
        for (int k = positiveSampleCount - 1; k >= 0; --k) {
            const double resistance = reactanceTable[k];
            if (clipped && std::abs(resistance) > std::abs(values[gridTen])) {
                impedances.emplace_back(values[gridTen], reactance);
                break;
            }
            impedances.emplace_back(resistance, reactance);
        }
        addGridCurve(impedances, pen);
    }
}

void GraphicsScene::addConductanceCircles(const GridValues &values, const QPen &pen)
{
    for (int i = 0; i < positiveGridCount; ++i) {
        const double conductance = 1.0 / values[i];
        std::vector<complex_dbl> impedances;
        for (const double reactance : reactanceTable)
            impedances.push_back(1.0 / complex_dbl(conductance, 1.0 / reactance));
        addGridCurve(impedances, pen);
    }
}

void GraphicsScene::addSusceptanceArcs(const GridValues &values, const QPen &pen)
{
    // The arcs |b| < 1 end on the circle g = 5, the counterpart of the reactance
    // arcs' clip near Gamma = -1; b = 1 runs on.
    for (const double value : values) {
        const double susceptance = 1.0 / value;
        const bool clipped = std::abs(value) > std::abs(values[gridUnity]);
        std::vector<complex_dbl> impedances;
        for (int k = 0; k < positiveSampleCount; ++k) {
            if (clipped && std::abs(reactanceTable[k]) < std::abs(values[gridOneFifth])) {
                impedances.push_back(1.0 / complex_dbl(1.0 / values[gridOneFifth], susceptance));
                break;
            }
            impedances.push_back(1.0 / complex_dbl(1.0 / reactanceTable[k], susceptance));
        }
        addGridCurve(impedances, pen);
    }
}

QGraphicsSimpleTextItem *GraphicsScene::addLabel(const QString &text, const QFont &font,
                                                 const QPointF &layoutPos, const QBrush &brush)
{
    QGraphicsSimpleTextItem *label = addSimpleText(text, font);
    label->setPos(labelScale * layoutPos.x(), labelScale * layoutPos.y());
    label->setBrush(brush);
    return label;
}

void GraphicsScene::addSmithLabels(const GridValues &values, const QFont &font)
{
    auto spot = smithLabelSpots.cbegin();
    for (const LabelRun &run : smithLabelRuns) {
        const QBrush brush(run.colour);
        for (int i = 0; i < run.count; ++i) {
            const QString text =
                run.format.toString().arg(run.shownValue(values[i]), 0, 'f', run.decimals);
            smithLabels.append(addLabel(text, font, *spot++, brush));
        }
    }
    for (const auto &[reactance, susceptance] : labelsMeetingOnTheRim) {
        QAbstractGraphicsShapeItem *right = smithLabels.at(reactance);
        QAbstractGraphicsShapeItem *left = smithLabels.at(susceptance);
        right->setX(rimLabelGap);
        left->setX(-rimLabelGap - left->boundingRect().width());
    }
}

void GraphicsScene::drawGammaGrid()
{
    gammaLabels.clear();
    gammaItems.clear();
    addGammaLabels(labelFont());
    addMagnitudeCircles();
    gammaItems.append(addEllipse(unitCircleRect, QPen(Qt::black, unitCircleWidth)));
    addGammaAxes();
    // A stub at the centre until the marker is first placed.
    gammaLine = addLine(-0.1, 0, 0.1, 0, QPen(Qt::darkBlue, gammaLineWidth));
    gammaItems.append(gammaLine);
    for (QAbstractGraphicsShapeItem *label : std::as_const(gammaLabels))
        gammaItems.append(label);
    gammaGroup = createItemGroup(gammaItems);
    gammaGroup->setOpacity(0.0);
    // The line follows the marker, so it is painted as it stands.
    cache.addChildPictures(gammaGroup, gammaLine);
}

void GraphicsScene::addGammaLabels(const QFont &font)
{
    const QBrush brush(Qt::blue);
    for (const GammaLabel &label : gammaLabelTable)
        gammaLabels.append(addLabel(label.text.toString(), font, label.layoutPos, brush));
}

void GraphicsScene::addMagnitudeCircles()
{
    QPen pen(Qt::darkBlue, thinCircleWidth, Qt::DotLine);
    gammaItems.append(addEllipse(circleRect(0.25 * unitRadius), pen));
    gammaItems.append(addEllipse(circleRect(0.75 * unitRadius), pen));
    pen.setWidthF(halfCircleWidth);
    gammaItems.append(addEllipse(circleRect(0.5 * unitRadius), pen));
}

void GraphicsScene::addGammaAxes()
{
    const QPen pen(Qt::black, axisWidth);
    gammaItems.append(addLine(-unitRadius, 0, unitRadius, 0, pen));
    gammaItems.append(addLine(0, unitRadius, 0, -unitRadius, pen));
    // Ticks every 0.1 on both half axes, longer at 0.5.
    for (int i = 1; i <= tickCount; ++i) {
        const double h = i == longTick ? 2.5 : 1.0;
        const double w = i * 2 * unitRadius / 20;
        const double x = w - unitRadius;
        gammaItems.append(addLine(x, h, x, -h, pen));
        gammaItems.append(addLine(w, h, w, -h, pen));
        gammaItems.append(addLine(-h, x, h, x, pen));
        gammaItems.append(addLine(-h, w, h, w, pen));
    }
}

void GraphicsScene::createSwrCircles(int count)
{
    swrCircles.clear();
    for (int i = 0; i < count; ++i) {
        auto *circle = new QGraphicsEllipseItem(QRectF());
        swrCircles.append(circle);
        addItem(circle);
        circle->hide();
    }
    cache.stackingChanged();
}

void GraphicsScene::setSwrCircles(const double *swr, int count)
{
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
    const QRectF circleBefore = shownCircleRect();
    if (gamma != loadGamma)
        marker->showSnapped(false);
    loadPoint = scenePoint(gamma);
    loadGamma = gamma;
    marker->setPos(loadPoint);
    if (const QRectF circleAfter = shownCircleRect(); circleAfter != circleBefore) {
        repaintRect(circleBefore);
        repaintRect(circleAfter);
    }
    if (gammaLine) {
        QPen pen = gammaLine->pen();
        pen.setColor(outsideUnitCircle(gamma) ? Qt::red : Qt::darkBlue);
        gammaLine->setPen(pen);
    }
    moveGammaLine(loadPoint);
}

bool GraphicsScene::markerMoved()
{
    const QPointF position = marker->pos();
    const complex_dbl gamma = gammaAt(position);
    // Outside the square around the unit circle the load stops following.
    if (!insideDragSquare(gamma))
        return false;
    marker->showSnapped(false);
    endMatchingPath();
    takeLoad(gamma, position);
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

// The load as a drag or a held move leaves it, reported to the window.
void GraphicsScene::takeLoad(complex_dbl gamma, const QPointF &position)
{
    const QRectF circleBefore = shownCircleRect();
    if (gammaLine)
        gammaLine->setPen(QPen(outsideUnitCircle(gamma) ? Qt::red : Qt::darkBlue));
    loadPoint = position;
    loadGamma = gamma;
    moveGammaLine(position);
    if (const QRectF circleAfter = shownCircleRect(); circleAfter != circleBefore) {
        repaintRect(circleBefore);
        repaintRect(circleAfter);
    }
    emit NewGamma(gamma);
}

// The marker goes where a held move put the load, and stays at the load
// where the move could not take it.
void GraphicsScene::placeHeldLoad(complex_dbl gamma, bool snapped)
{
    refreshReadout();
    const QPointF position = scenePoint(gamma);
    marker->setPos(position);
    marker->showSnapped(snapped);
    if (gamma != loadGamma)
        takeLoad(gamma, position);
}

void GraphicsScene::markerPressed(Qt::KeyboardModifiers modifiers)
{
    changePath([this, modifiers] {
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
        changePath([this, chosen] { dragMove = chosen; });
    if (!dragMove) {
        markerMoved();
        return;
    }
    const complex_dbl aim = gammaAt(marker->pos());
    Electrics::HeldMove moved;
    changePath([this, aim, &moved] {
        moved = matching.moveToward(*dragMove, loadGamma, aim, snapTolerance());
    });
    placeHeldLoad(moved.gamma, moved.snapped);
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
    Electrics::HeldMove moved;
    changePath([this, move, clockwiseDegrees, &moved] {
        moved = matching.turn(*move, loadGamma, clockwiseDegrees, snapOn);
    });
    placeHeldLoad(moved.gamma, moved.snapped);
    matching.dropEmptyElement();
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
    changePath([this] {
        dragging = false;
        dragMove.reset();
        matching.dropEmptyElement();
    });
}

std::optional<GraphicsScene::Move> GraphicsScene::shownMove() const
{
    if (!marker)
        return std::nullopt;
    return dragging ? dragMove : matching.mode();
}

QRectF GraphicsScene::shownCircleRect() const
{
    return MatchingPath::circleRect(shownMove(), loadGamma);
}

// An empty rectangle would repaint the whole scene.
void GraphicsScene::repaintRect(const QRectF &rect)
{
    if (!rect.isEmpty())
        update(rect);
}

void GraphicsScene::repaintPath()
{
    repaintRect(viewedRect());
}

// Repaints what the change did to the path's last element and to the shown
// circle: a held step repaints only around the bit of arc it added or took.
template<typename Change> void GraphicsScene::changePath(Change &&change)
{
    const MatchingPath::LastElement elementBefore = matching.lastElement(pathFont);
    const QRectF circleBefore = shownCircleRect();
    change();
    for (const QRectF &changed : matching.changedSince(elementBefore, pathFont))
        repaintRect(changed);
    if (const QRectF circleAfter = shownCircleRect(); circleAfter != circleBefore) {
        repaintRect(circleBefore);
        repaintRect(circleAfter);
    }
}

void GraphicsScene::setMatchingMode(std::optional<Move> move)
{
    changePath([this, move] { matching.setMode(move); });
}

void GraphicsScene::setMatchingFrequency(double hertz)
{
    matching.setFrequency(hertz);
    if (!matching.isEmpty()) {
        repaintPath();
        refreshReadout();
    }
}

void GraphicsScene::endMatchingPath()
{
    if (matching.isEmpty())
        return;
    repaintPath();
    matching.clear();
    refreshReadout();
}

bool GraphicsScene::undoMatchingElement()
{
    std::optional<complex_dbl> start;
    changePath([this, &start] { start = matching.undoElement(); });
    if (!start || !marker)
        return false;
    placeHeldLoad(*start);
    refreshReadout();
    return true;
}

bool GraphicsScene::clearMatchingPath()
{
    if (matching.isEmpty() || !marker)
        return false;
    repaintPath();
    placeHeldLoad(*matching.clear());
    refreshReadout();
    return true;
}

void GraphicsScene::setLoadSummary(const QString &summary)
{
    loadSummary = summary;
    refreshReadout();
}

void GraphicsScene::setViewDescription(const QString &description)
{
    viewDescription = description;
}

// Hovering shows the summary and the network; a screen reader, which cannot
// hover, finds both in the view's description.
void GraphicsScene::refreshReadout()
{
    QString readout = loadSummary;
    for (const QString &line : matching.readout())
        readout += u'\n' + line;
    if (marker)
        marker->setToolTip(readout);
    const QString description =
        viewDescription.isEmpty() ? readout : viewDescription + u'\n' + readout;
    for (QGraphicsView *view : views())
        view->setAccessibleDescription(description);
}

void GraphicsScene::drawForeground(QPainter *painter, const QRectF &rect)
{
    const std::optional<Move> shown = shownMove();
    if (matching.isEmpty() && !shown)
        return;
    matching.paint(*painter, rect, pathFont, shown, loadGamma);
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

void GraphicsScene::moveGammaLine(const QPointF &end)
{
    if (gammaLine)
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
    matching.clear();
    dragMove.reset();
    dragging = false;
    swrCircles.clear();
    smithItems.clear();
    smithGroup = nullptr;
    gammaItems.clear();
    gammaGroup = nullptr;
    gammaLine = nullptr;
    smithLabels.clear();
    gammaLabels.clear();
}
