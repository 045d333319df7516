#include "chart/bandoverlay.h"

#include "chart/graphicsscene.h"
#include "chart/overlaydrawing.h"
#include "electrics/formatting.h"
#include "electrics/networkband.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace OverlayDrawing;

namespace {

const QColor loadColour(0, 100, 0);
const QColor inputColour(25, 25, 25);
const QColor labelGround(255, 255, 255, 200);
constexpr double loadWidth = 0.5;
constexpr double inputWidth = 0.8;
constexpr double dotRadius = 1.3;
constexpr double tickHalfLength = 2.5;
constexpr double tickWidth = 0.6;
constexpr double labelFontScale = 0.8;
// A curve's pieces are runs of this many segments: a change repaints along
// the old and the new curve, not the rectangle around either.
constexpr std::size_t segmentsPerPiece = 8;
// A crossing of an SWR limit is refined to this fraction of its frequency,
// in as many halvings at most.
constexpr double crossingTolerance = 1e-6;
constexpr int mostCrossingHalvings = 64;

enum class PieceKind : std::size_t { Curve = 11, Mark, Label };

QString text(const char *source)
{
    return QCoreApplication::translate("Velmora", source);
}

QPointF unit(const QPointF &vector)
{
    const double length = std::hypot(vector.x(), vector.y());
    return length > 0.0 ? vector / length : QPointF(0.0, -1.0);
}

// Of the two normals to `along`, the one pointing away from the chart's centre.
QPointF outwardNormal(const QPointF &at, const QPointF &along)
{
    const QPointF normal = unit(QPointF(-along.y(), along.x()));
    return QPointF::dotProduct(normal, at) >= 0.0 ? normal : -normal;
}

double distanceToSegment(const QPointF &point, const QPointF &from, const QPointF &to)
{
    const QPointF chord = to - from;
    const double squared = QPointF::dotProduct(chord, chord);
    const double along = squared > 0.0
        ? std::clamp(QPointF::dotProduct(point - from, chord) / squared, 0.0, 1.0)
        : 0.0;
    return QLineF(point, from + along * chord).length();
}

QPainterPath stroked(const QPainterPath &path, double width, Qt::PenStyle style)
{
    QPainterPathStroker stroker(QPen(Qt::black, width, style, Qt::FlatCap, Qt::RoundJoin));
    return stroker.createStroke(path);
}

bool sameLoad(const Electrics::Network &a, const Electrics::Network &b)
{
    return a.z0 == b.z0 && a.frequency == b.frequency && a.load == b.load
        && a.loadCircuit == b.loadCircuit;
}

std::size_t colourPrint(const QColor &colour)
{
    return static_cast<std::size_t>(colour.rgba());
}

} // namespace

void BandOverlay::refresh(const Electrics::Network &network, double span,
                          const std::vector<double> &swrLimits, const LabelPlacer &obstacles)
{
    inputPoints.clear();
    inputFrequencies.clear();
    shapes.clear();
    labels.clear();
    cachedPieces.clear();
    if (!(span > 0.0) || !Electrics::hasFrequency(network))
        return;
    model = network;
    shownSpan = span;
    placer = obstacles;
    const std::size_t all = network.elements.size();
    // Without a path the input is the load: one curve.
    addEnds(addCurve(all, inputColour, false), inputColour);
    for (const double limit : swrLimits)
        addCrossings(limit);
    if (all > 0)
        addEnds(addCurve(0, loadColour, true), loadColour);
}

std::vector<Electrics::Locus> BandOverlay::addCurve(std::size_t count, const QColor &colour,
                                                    bool dashed)
{
    const bool load = count == 0 && dashed;
    const bool loadKept =
        load && loadCurve && loadCurve->span == shownSpan && sameLoad(loadCurve->load, model);
    std::vector<Electrics::Locus> loci =
        loadKept ? loadCurve->loci : Electrics::gammaLocus(model, count, shownSpan);
    // Every piece of a curve carries the whole curve's print: a dash's place
    // depends on all that comes before it.
    std::size_t curvePrint = fingerprintOf(std::size_t(PieceKind::Curve) + colourPrint(colour));
    QPainterPath path;
    const bool input = count == model.elements.size();
    for (const Electrics::Locus &locus : loci) {
        std::vector<QPointF> points;
        std::vector<double> frequencies;
        for (const Electrics::LocusPoint &point : locus) {
            points.push_back(GraphicsScene::scenePoint(point.gamma));
            frequencies.push_back(point.frequency);
            curvePrint = fingerprintOf(curvePrint, points.back().x(), points.back().y());
        }
        if (!loadKept) {
            path.moveTo(points.front());
            for (std::size_t i = 1; i < points.size(); ++i)
                path.lineTo(points[i]);
        }
        if (input) {
            inputPoints.push_back(std::move(points));
            inputFrequencies.push_back(std::move(frequencies));
        }
    }
    const double width = dashed ? loadWidth : inputWidth;
    if (!loadKept) {
        const QPainterPath outline = stroked(path, width, dashed ? Qt::DashLine : Qt::SolidLine);
        if (load) {
            Electrics::Network withoutElements = model;
            withoutElements.elements.clear();
            loadCurve = LoadCurve {std::move(withoutElements), shownSpan, loci, outline};
        }
        shapes.push_back({outline, colour});
    } else {
        shapes.push_back({loadCurve->outline, colour});
    }

    for (const Electrics::Locus &locus : loci) {
        for (std::size_t first = 0; first + 1 < locus.size(); first += segmentsPerPiece) {
            const std::size_t last = std::min(first + segmentsPerPiece, locus.size() - 1);
            QPolygonF run;
            for (std::size_t i = first; i <= last; ++i)
                run << GraphicsScene::scenePoint(locus[i].gamma);
            const QRectF rect = withMargin(run.boundingRect(), width);
            cachedPieces.push_back({rect, fingerprintOf(rect, curvePrint)});
        }
    }
    return loci;
}

// A dot and the frequency at both ends of the band.
void BandOverlay::addEnds(const std::vector<Electrics::Locus> &loci, const QColor &colour)
{
    if (loci.empty())
        return;
    const auto mark = [&](const Electrics::LocusPoint &end, const Electrics::LocusPoint &inner) {
        const QPointF at = GraphicsScene::scenePoint(end.gamma);
        QPainterPath dot;
        dot.addEllipse(at, dotRadius, dotRadius);
        shapes.push_back({dot, colour});
        const QRectF rect = withMargin(dot.boundingRect(), 1.0);
        cachedPieces.push_back(
            {rect, fingerprintOf(rect, std::size_t(PieceKind::Mark) + colourPrint(colour))});
        addLabel(end.frequency, at, unit(at - GraphicsScene::scenePoint(inner.gamma)), colour);
    };
    const Electrics::Locus &first = loci.front();
    const Electrics::Locus &last = loci.back();
    mark(first.front(), first[1]);
    mark(last.back(), last[last.size() - 2]);
}

// A tick across the input's curve, with the frequency, wherever its SWR
// passes the limit within the band.
void BandOverlay::addCrossings(double swrLimit)
{
    const double limit = 1.0 - 2.0 / (swrLimit + 1.0);
    const std::size_t all = model.elements.size();
    const auto excess = [&](double hertz) {
        return std::abs(
                   Electrics::reflectionOf(Electrics::inputImpedanceAt(model, hertz), model.z0))
            - limit;
    };
    for (std::size_t run = 0; run < inputPoints.size(); ++run) {
        const std::vector<double> &frequencies = inputFrequencies[run];
        for (std::size_t i = 0; i + 1 < frequencies.size(); ++i) {
            double low = frequencies[i];
            double high = frequencies[i + 1];
            const bool lowOutside = excess(low) > 0.0;
            if (lowOutside == (excess(high) > 0.0))
                continue;
            for (int halving = 0;
                 halving < mostCrossingHalvings && high - low > crossingTolerance * high;
                 ++halving) {
                const double middle = (low + high) / 2.0;
                ((excess(middle) > 0.0) == lowOutside ? low : high) = middle;
            }
            const double hertz = (low + high) / 2.0;
            const QPointF at = GraphicsScene::scenePoint(
                Electrics::reflectionOf(Electrics::impedanceAfter(model, all, hertz), model.z0));
            const QPointF normal = outwardNormal(at, inputPoints[run][i + 1] - inputPoints[run][i]);
            QPainterPath tick;
            tick.moveTo(at - tickHalfLength * normal);
            tick.lineTo(at + tickHalfLength * normal);
            const QPainterPath outline = stroked(tick, tickWidth, Qt::SolidLine);
            shapes.push_back({outline, inputColour});
            const QRectF rect = withMargin(outline.boundingRect(), 1.0);
            cachedPieces.push_back({rect, fingerprintOf(rect, std::size_t(PieceKind::Mark) + 1u)});
            addLabel(hertz, at + tickHalfLength * normal, normal, inputColour);
        }
    }
}

void BandOverlay::addLabel(double hertz, const QPointF &anchor, const QPointF &normal,
                           const QColor &colour)
{
    QFont font = labelFont;
    font.setPointSizeF(labelFont.pointSizeF() * labelFontScale);
    const QString frequency = Electrics::formatFrequency(hertz);
    const QSizeF size = QFontMetricsF(font).size(Qt::TextSingleLine, frequency);
    const std::optional<QRectF> box = placer.place(size, anchor, normal);
    if (!box)
        return;
    labels.push_back({*box, frequency, colour});
    const QRectF rect = withMargin(*box, 1.0);
    cachedPieces.push_back(
        {rect,
         fingerprintOf(rect,
                       qHash(frequency, std::size_t(PieceKind::Label)) + colourPrint(colour))});
}

std::optional<double> BandOverlay::inputFrequencyNear(const QPointF &scenePos, double reach) const
{
    double nearest = std::numeric_limits<double>::infinity();
    std::size_t nearestRun = 0;
    std::size_t nearestIndex = 0;
    for (std::size_t run = 0; run < inputPoints.size(); ++run) {
        const std::vector<QPointF> &points = inputPoints[run];
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            const double distance = distanceToSegment(scenePos, points[i], points[i + 1]);
            if (distance < nearest) {
                nearest = distance;
                nearestRun = run;
                nearestIndex = i;
            }
        }
    }
    if (!(nearest <= reach))
        return std::nullopt;
    // The segments on both sides, in case the nearest point lies just beyond.
    const std::vector<double> &frequencies = inputFrequencies[nearestRun];
    const double lower = frequencies[nearestIndex == 0 ? 0 : nearestIndex - 1];
    const double upper = frequencies[std::min(nearestIndex + 2, frequencies.size() - 1)];
    return Electrics::nearestFrequency(model, model.elements.size(), lower, upper,
                                       GraphicsScene::gammaAt(scenePos));
}

QString BandOverlay::inputText(double hertz) const
{
    const complex_dbl z = Electrics::inputImpedanceAt(model, hertz);
    const double swr = Electrics::standingWaveRatio(z, model.z0);
    const QString ratio = std::isnan(swr) ? text("kein SWR (R < 0)")
                                          : text("SWR %1").arg(Electrics::formatNumber(swr, 2));
    return text("f = %1 · Z = %2 · %3")
        .arg(Electrics::formatFrequency(hertz), Electrics::formatImpedance(z.real(), z.imag(), 2),
             ratio);
}

std::vector<ChartOverlay::Piece> BandOverlay::pieces() const
{
    return cachedPieces;
}

void BandOverlay::paint(QPainter &painter, const Exposure &exposed) const
{
    for (const Shape &shape : shapes) {
        if (exposed.reaches(withMargin(shape.outline.boundingRect(), 1.0)))
            painter.fillPath(shape.outline, shape.colour);
    }
    if (labels.empty())
        return;
    QFont font = labelFont;
    font.setPointSizeF(labelFont.pointSizeF() * labelFontScale);
    painter.setFont(font);
    for (const Label &label : labels) {
        if (!exposed.reaches(withMargin(label.box, 1.0)))
            continue;
        // The light ground of the element values keeps it readable over the grids.
        painter.fillRect(label.box, labelGround);
        painter.setPen(label.colour);
        painter.drawText(label.box, Qt::AlignCenter, label.text);
    }
}
