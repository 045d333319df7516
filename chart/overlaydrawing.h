#pragma once

#include "chart/chartoverlay.h"
#include "electrics/complexdbl.h"
#include "electrics/matching.h"

#include <QColor>
#include <QHashFunctions>
#include <QPainterPath>
#include <QRectF>

#include <cstddef>

class QPainter;

// What the chart's overlays draw alike: the colours of the kinds of element,
// circles and arcs of the Gamma plane in scene coordinates, and fingerprints.
namespace OverlayDrawing {

// One colour per kind of element, apart from the grids' red and blue and the
// marker's green.
QColor moveColour(Electrics::MatchingMove move);

QRectF sceneCircleRect(const Electrics::GammaCircle &circle);

// The arc is made of pieces that end on a fixed grid of angles about its
// circle's centre, this many degrees apart. An arc that grows or shrinks then
// keeps the pieces it shares with the old one, and so their pixels: one curve
// through the whole sweep would be bent a little differently all along, and a
// repaint of the changed end alone would leave the rest a shade off.
constexpr double arcPieceDegrees = 3.0;
// The arc's pieces that come within `reach` of the exposed rectangle, each
// run of them one stroke. Stroking is what costs on a large view, and a
// repaint of a few pixels asked for the whole arc; drawn piece by piece on
// the fixed grid, the pixels the repaint reaches come out as in a whole one.
QPainterPath arcPath(const Electrics::GammaArc &arc, const Exposure &exposed, double reach);
// How far beyond its line a stroke of this width can touch a pixel: half the
// width, as much again for a cap, and the antialiasing, a device pixel.
double strokeReach(const QPainter &painter, double width);
// The grid pieces of the arc, each from one angle in degrees to the next.
struct ArcPiece
{
    double from = 0.0;
    double to = 0.0;
};
std::vector<ArcPiece> arcPieces(const Electrics::GammaArc &arc);
QRectF arcPieceRect(const Electrics::GammaArc &arc, const ArcPiece &piece);

// A rectangle grown by a pen's reach and the antialiasing.
QRectF withMargin(const QRectF &rect, double margin);

// Whether the rectangle lies wholly inside the circle, clear of a line that wide.
bool insideCircle(const Electrics::GammaCircle &circle, const QRectF &rect, double lineWidth);

// A fingerprint of everything given, doubles and rectangles by their bits.
inline std::size_t fingerprintOf(std::size_t seed)
{
    return seed;
}
template<typename... Rest> std::size_t fingerprintOf(std::size_t seed, double first, Rest... rest)
{
    return fingerprintOf(qHash(first, seed) * 31u + 7u, rest...);
}
std::size_t fingerprintOf(const QRectF &rect, std::size_t seed);

} // namespace OverlayDrawing
