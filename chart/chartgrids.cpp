#include "chart/chartgrids.h"

#include "chart/graphicsscene.h"
#include "chart/labelplacer.h"

#include <QAbstractGraphicsShapeItem>
#include <QBrush>
#include <QFont>
#include <QGraphicsItemGroup>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QPen>
#include <QRectF>
#include <QStringView>
#include <QtMath>

#include <cmath>
#include <utility>

namespace {

constexpr double unitRadius = GraphicsScene::unitRadius;

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
constexpr int labelPointSize = 4;

// The label positions were laid out on a chart of radius 100.
constexpr double labelScale = GraphicsScene::unitRadius / 100.0;

QRectF circleRect(double radius)
{
    return {-radius, -radius, 2 * radius, 2 * radius};
}

const QRectF unitCircleRect = circleRect(GraphicsScene::unitRadius);
const LabelPlacer::Ring unitCircleLine {QPointF(), GraphicsScene::unitRadius, unitCircleWidth};

bool isDrawable(const QPointF &point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
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
// The first labels, of the resistance and the conductance circles, stand
// inside the unit circle.
constexpr int innerLabelCount = 2 * positiveGridCount;

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

QFont ChartGrids::labelFont()
{
    QFont font;
    font.setPointSize(labelPointSize);
    font.setWeight(QFont::Normal);
    return font;
}

QPointF ChartGrids::impedancePoint(const complex_dbl &impedance) const
{
    return GraphicsScene::scenePoint((impedance - z0) / (impedance + z0));
}

ChartGrids::Smith ChartGrids::drawSmithGrid(double z0Ohms)
{
    z0 = complex_dbl(z0Ohms, 0.0);
    const GridValues values {z0Ohms / 5, z0Ohms * 0.5,     z0Ohms,      z0Ohms * 2,
                             z0Ohms * 4, z0Ohms * 10,      z0Ohms / -5, z0Ohms * -0.5,
                             -z0Ohms,    -z0Ohms - z0Ohms, z0Ohms * -4, z0Ohms * -10};
    items.clear();
    labels.clear();
    fillReactanceTable();

    const QPen redPen(Qt::red, gridCurveWidth);
    const QPen bluePen(Qt::blue, gridCurveWidth);
    addResistanceCircles(values, redPen);
    addReactanceArcs(values, redPen);
    addConductanceCircles(values, bluePen);
    addSusceptanceArcs(values, bluePen);
    addSmithLabels(values, labelFont());
    items.append(scene.addEllipse(unitCircleRect, QPen(Qt::black, unitCircleWidth)));
    items.append(scene.addLine(-unitRadius, 0, unitRadius, 0, QPen(Qt::black, axisWidth)));
    for (QAbstractGraphicsShapeItem *label : std::as_const(labels))
        items.append(label);
    QGraphicsItemGroup *group = scene.createItemGroup(items);
    group->setOpacity(1.0);
    return {group, labels};
}

void ChartGrids::fillReactanceTable()
{
    // The reactance where the unit circle has the angle theta is z0 cot(theta / 2).
    for (int k = 0; k < sampleCount; ++k) {
        const double halfAngle = qDegreesToRadians(k + 0.5);
        reactanceTable[k] = z0.real() * std::cos(halfAngle) / std::sin(halfAngle);
    }
}

void ChartGrids::addGridCurve(const std::vector<complex_dbl> &impedances, const QPen &pen)
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
    items.append(scene.addPath(gridPath, pen));
}

void ChartGrids::addResistanceCircles(const GridValues &values, const QPen &pen)
{
    for (int i = 0; i < positiveGridCount; ++i) {
        std::vector<complex_dbl> impedances;
        for (const double reactance : reactanceTable)
            impedances.emplace_back(values[i], reactance);
        addGridCurve(impedances, pen);
    }
}

void ChartGrids::addReactanceArcs(const GridValues &values, const QPen &pen)
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

void ChartGrids::addConductanceCircles(const GridValues &values, const QPen &pen)
{
    for (int i = 0; i < positiveGridCount; ++i) {
        const double conductance = 1.0 / values[i];
        std::vector<complex_dbl> impedances;
        for (const double reactance : reactanceTable)
            impedances.push_back(1.0 / complex_dbl(conductance, 1.0 / reactance));
        addGridCurve(impedances, pen);
    }
}

void ChartGrids::addSusceptanceArcs(const GridValues &values, const QPen &pen)
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

QGraphicsSimpleTextItem *ChartGrids::addLabel(const QString &text, const QFont &font,
                                              const QPointF &layoutPos, const QBrush &brush)
{
    QGraphicsSimpleTextItem *label = scene.addSimpleText(text, font);
    label->setPos(labelScale * layoutPos.x(), labelScale * layoutPos.y());
    label->setBrush(brush);
    return label;
}

void ChartGrids::addSmithLabels(const GridValues &values, const QFont &font)
{
    auto spot = smithLabelSpots.cbegin();
    for (const LabelRun &run : smithLabelRuns) {
        const QBrush brush(run.colour);
        for (int i = 0; i < run.count; ++i) {
            const QString text =
                run.format.toString().arg(run.shownValue(values[i]), 0, 'f', run.decimals);
            labels.append(addLabel(text, font, *spot++, brush));
        }
    }
    for (const auto &[reactance, susceptance] : labelsMeetingOnTheRim) {
        QAbstractGraphicsShapeItem *right = labels.at(reactance);
        QAbstractGraphicsShapeItem *left = labels.at(susceptance);
        right->setX(rimLabelGap);
        left->setX(-rimLabelGap - left->boundingRect().width());
    }
    // The resistance and conductance labels stand inside the unit circle,
    // where the wide texts of a large or a small Z0 would reach its line on
    // the right: such a label moves left along its row until it keeps clear.
    for (int i = 0; i < innerLabelCount; ++i) {
        QAbstractGraphicsShapeItem *label = labels.at(i);
        while (label->x() > 0.0
               && LabelPlacer::touchesRing(label->sceneBoundingRect(), unitCircleLine,
                                           LabelPlacer::clearance))
            label->moveBy(-LabelPlacer::step, 0.0);
    }
}

ChartGrids::Gamma ChartGrids::drawGammaGrid()
{
    items.clear();
    labels.clear();
    addGammaLabels(labelFont());
    addMagnitudeCircles();
    items.append(scene.addEllipse(unitCircleRect, QPen(Qt::black, unitCircleWidth)));
    addGammaAxes();
    // A stub at the centre until the marker is first placed.
    QGraphicsLineItem *line = scene.addLine(-0.1, 0, 0.1, 0, QPen(Qt::darkBlue, gammaLineWidth));
    items.append(line);
    for (QAbstractGraphicsShapeItem *label : std::as_const(labels))
        items.append(label);
    QGraphicsItemGroup *group = scene.createItemGroup(items);
    group->setOpacity(0.0);
    return {group, line, labels};
}

void ChartGrids::addGammaLabels(const QFont &font)
{
    const QBrush brush(Qt::blue);
    for (const GammaLabel &label : gammaLabelTable)
        labels.append(addLabel(label.text.toString(), font, label.layoutPos, brush));
}

void ChartGrids::addMagnitudeCircles()
{
    QPen pen(Qt::darkBlue, thinCircleWidth, Qt::DotLine);
    items.append(scene.addEllipse(circleRect(0.25 * unitRadius), pen));
    items.append(scene.addEllipse(circleRect(0.75 * unitRadius), pen));
    pen.setWidthF(halfCircleWidth);
    items.append(scene.addEllipse(circleRect(0.5 * unitRadius), pen));
}

void ChartGrids::addGammaAxes()
{
    const QPen pen(Qt::black, axisWidth);
    items.append(scene.addLine(-unitRadius, 0, unitRadius, 0, pen));
    items.append(scene.addLine(0, unitRadius, 0, -unitRadius, pen));
    // Ticks every 0.1 on both half axes, longer at 0.5.
    for (int i = 1; i <= tickCount; ++i) {
        const double h = i == longTick ? 2.5 : 1.0;
        const double w = i * 2 * unitRadius / 20;
        const double x = w - unitRadius;
        items.append(scene.addLine(x, h, x, -h, pen));
        items.append(scene.addLine(w, h, w, -h, pen));
        items.append(scene.addLine(-h, x, h, x, pen));
        items.append(scene.addLine(-h, w, h, w, pen));
    }
}
