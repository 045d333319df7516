#include "iconpainter.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>

#include <algorithm>

namespace {

// Drawing happens in chart units: the unit circle has radius 1 around the origin.
constexpr double chartMargin = 1.06;

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

void drawGrid(QPainter &painter, double pixel)
{
    QPainterPath unitCircle;
    unitCircle.addEllipse(QPointF(0.0, 0.0), 1.0, 1.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 250));
    painter.drawPath(unitCircle);

    painter.save();
    painter.setClipPath(unitCircle);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(200, 30, 30), 1.4 * pixel));
    drawResistanceCircle(painter, 0.33);
    drawResistanceCircle(painter, 1.0);
    painter.setPen(QPen(QColor(30, 120, 40), 1.4 * pixel));
    drawReactanceArcs(painter, 0.5);
    drawReactanceArcs(painter, 1.5);
    painter.setPen(QPen(QColor(60, 60, 60), 1.2 * pixel));
    painter.drawLine(QPointF(-1.0, 0.0), QPointF(1.0, 0.0));
    painter.restore();

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(20, 40, 160), 2.5 * pixel));
    painter.drawPath(unitCircle);
}

void drawMarker(QPainter &painter, double pixel)
{
    const QPointF load(0.35, -0.45);
    painter.setPen(QPen(QColor(20, 40, 160), 1.5 * pixel));
    painter.drawLine(QPointF(0.0, 0.0), load);
    painter.setBrush(QColor(0, 0, 255));
    const double radius = std::max(0.09, 2.0 * pixel);
    painter.drawEllipse(load, radius, radius);
}

} // namespace

QImage paintIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(size / 2.0, size / 2.0);
    const double scale = size / (2.0 * chartMargin);
    painter.scale(scale, scale);
    // Line widths are given in pixels of the smallest icon and grow with it.
    const double pixel = std::max(1.0, size / 32.0) / scale;
    drawGrid(painter, pixel);
    drawMarker(painter, pixel);
    return image;
}
