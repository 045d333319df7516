#include "iconpainter.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>

#include <algorithm>
#include <cmath>

namespace {

// How the icon is drawn at one edge length. Widths and radii are in pixels of
// that image (a pointer width of 0 leaves the pointer out); the grid lines are
// given as the resistance r and reactance x of the chart's circles and arcs.
// The small sizes get strokes of whole pixels and only the lines that still
// read as a Smith chart at that size.
struct IconStyle
{
    double ringWidth;
    double gridWidth;
    double axisWidth;
    double pointerWidth;
    double markerRadius;
    QList<double> resistances;
    QList<double> reactances;
};

// The empty border around the chart, about a sixteenth of the edge length,
// keeps the icon clear of its neighbours in menus and docks. Small icons round
// it to whole pixels so that the ring's outer edge falls on a pixel boundary.
double margin(int size)
{
    const double exact = size / 16.0;
    return size <= 32 ? std::round(exact) : exact;
}

IconStyle styleFor(int size)
{
    if (size <= 16)
        return {2.0, 1.0, 1.0, 0.0, 2.0, {1.0}, {}};
    if (size <= 24)
        return {2.0, 1.0, 1.0, 1.0, 2.5, {1.0}, {1.0}};
    if (size <= 32)
        return {2.0, 1.0, 1.0, 1.5, 3.0, {0.33, 1.0}, {0.5, 1.5}};
    // Larger icons thicken their lines more slowly than they grow, so that
    // they keep the look of a drawn chart.
    const double grid = std::max(1.0, size / 96.0);
    return {std::max(2.5, size / 28.0), grid,      grid, 1.5 * grid, size / 14.0,
            {0.33, 1.0, 3.0},           {0.5, 1.5}};
}

void drawResistanceCircle(QPainter &painter, double r)
{
    // Constant resistance r: centre r/(r+1) on the real axis, radius 1/(r+1).
    const double radius = 1.0 / (r + 1.0);
    painter.drawEllipse(QPointF(r / (r + 1.0), 0.0), radius, radius);
}

void drawReactanceArcs(QPainter &painter, double x)
{
    // Constant reactance ±x: centres (1, ±1/x), radius 1/x, seen only inside the unit circle.
    const double radius = 1.0 / x;
    painter.drawEllipse(QPointF(1.0, radius), radius, radius);
    painter.drawEllipse(QPointF(1.0, -radius), radius, radius);
}

// Drawing happens in chart units: the unit circle has radius 1 around the
// origin, and one pixel is `pixel` units long.
void drawGrid(QPainter &painter, const IconStyle &style, double pixel)
{
    QPainterPath unitCircle;
    unitCircle.addEllipse(QPointF(0.0, 0.0), 1.0, 1.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 250));
    painter.drawPath(unitCircle);

    painter.save();
    painter.setClipPath(unitCircle);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(200, 30, 30), style.gridWidth * pixel));
    for (const double r : style.resistances)
        drawResistanceCircle(painter, r);
    painter.setPen(QPen(QColor(30, 120, 40), style.gridWidth * pixel));
    for (const double x : style.reactances)
        drawReactanceArcs(painter, x);
    // A line of an odd number of whole pixels is sharp only on a row of pixel
    // centres, half a pixel below the centre of an icon of even size.
    const double axisY = std::fmod(style.axisWidth, 2.0) == 1.0 ? 0.5 * pixel : 0.0;
    painter.setPen(QPen(QColor(60, 60, 60), style.axisWidth * pixel));
    painter.drawLine(QPointF(-1.0, axisY), QPointF(1.0, axisY));
    painter.restore();

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(20, 40, 160), style.ringWidth * pixel));
    painter.drawPath(unitCircle);
}

void drawMarker(QPainter &painter, const IconStyle &style, double pixel)
{
    const QPointF load(0.35, -0.45);
    if (style.pointerWidth > 0.0) {
        painter.setPen(
            QPen(QColor(20, 40, 160), style.pointerWidth * pixel, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0.0, 0.0), load);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 255));
    painter.drawEllipse(load, style.markerRadius * pixel, style.markerRadius * pixel);
}

} // namespace

QImage paintIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const IconStyle style = styleFor(size);
    // The outer edge of the ring ends at the margin.
    const double ringRadius = size / 2.0 - margin(size) - style.ringWidth / 2.0;

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(size / 2.0, size / 2.0);
    painter.scale(ringRadius, ringRadius);
    const double pixel = 1.0 / ringRadius;
    drawGrid(painter, style, pixel);
    drawMarker(painter, style, pixel);
    return image;
}
