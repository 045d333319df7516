#pragma once

#include "chart/chartoverlay.h"
#include "chart/labelplacer.h"
#include "electrics/complexdbl.h"
#include "electrics/matching.h"
#include "electrics/network.h"

#include <QFont>
#include <QRectF>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QPainter;

// The matching network the user builds on the chart: a chain of held moves of
// the load, each a series element, a shunt element or a line, element 1
// nearest the load. The network itself is the one model of electrics/, each
// element kept as what it does at the design frequency; this decides where a
// held move takes the load, names the elements and paints their arcs with
// numbers and values over the grids. The scene owns it; it holds no items.
class MatchingPath : public ChartOverlay
{
public:
    using Move = Electrics::MatchingMove;

    // The kind of move that plain drags and the arrow keys make; none for the
    // free move.
    std::optional<Move> mode() const { return heldMode; }
    void setMode(std::optional<Move> move) { heldMode = move; }

    void setReferenceImpedance(complex_dbl ohms);
    void setFrequency(double hertz) { model.frequency = hertz; }
    double frequencyHertz() const { return model.frequency; }
    void setLoadCircuit(Electrics::LoadCircuit circuit) { model.loadCircuit = circuit; }
    // How every element of the kind is built, those already drawn included.
    void setRealisation(Move move, Electrics::Realisation realisation);
    // The impedance of the lines that come after; not positive for Z0.
    void setLineImpedance(double ohms) { nextLineImpedance = ohms; }
    double lineImpedance() const { return nextLineImpedance; }
    // What the numbers and values keep off: the grids' labels, the outer
    // circle, the picture's edges.
    void setLabelObstacles(const LabelPlacer &obstacles);
    void setFont(const QFont &font);

    // The network with its load at the path's start: the load itself while
    // the path is empty, as `setLoad` last gave it.
    const Electrics::Network &network() const { return model; }
    void setLoad(complex_dbl gamma);
    // Takes a stored network; false, leaving the path empty, unless it ends
    // at `load` and fits the path's limits.
    bool restore(const Electrics::Network &stored, complex_dbl load);
    // Where the path begins and ends; the load while it is empty.
    complex_dbl start() const { return nodes.front(); }
    complex_dbl end() const { return nodes.back(); }

    bool isEmpty() const { return model.elements.empty(); }
    // At most this many elements; another move cannot start one.
    static constexpr std::size_t maximumElements = 100;
    // Where a held move of this kind takes the load at `from`, aimed at
    // `target` or turned clockwise by some degrees, and whether it landed on
    // a point of the matching circles: an aim closer than `snapTolerance` (in
    // Γ) to one, or a turn that would pass one while `snapping`. The move
    // extends the last element when it is of the same kind and ends at
    // `from`, else it starts a new element there. A load the move cannot take
    // stays, with no element.
    Electrics::HeldMove moveToward(Move move, complex_dbl from, complex_dbl target,
                                   double snapTolerance = 0.0);
    Electrics::HeldMove turn(Move move, complex_dbl from, double clockwiseDegrees,
                             bool snapping = false);
    // Forgets an element that ended where it began.
    void dropEmptyElement();
    // Where the last element began, taking it off the path.
    std::optional<complex_dbl> undoElement();
    // Where the path began, taking every element off it.
    std::optional<complex_dbl> clear();

    // One line per element that changes the load, numbered from the load:
    // "1. Parallel-C 21,96 pF".
    QStringList readout() const;

    std::vector<Piece> pieces() const override;
    // The arcs with their start dots, numbers and values, in scene coordinates.
    void paint(QPainter &painter, const Exposure &exposed) const override;
    // Where paint puts the numbers and values, element by element, number
    // first; a text with no room of its own is left out.
    std::vector<QRectF> labelBoxes() const;

private:
    // An element as paint shows it: its arc, and where its number and value
    // found room. Each element's texts are placed after those of the elements
    // before it, so a change of the last element moves only its own.
    struct PlacedElement
    {
        std::size_t index = 0;
        Electrics::GammaArc arc;
        QString number;
        QString value;
        std::optional<QRectF> numberBox;
        std::optional<QRectF> valueBox;
        // What it covers, worked out when first asked for.
        mutable std::optional<std::vector<Piece>> pieces;
    };

    // The index of the element that the move extends or begins.
    std::optional<std::size_t> elementFor(Move move, complex_dbl from);
    Electrics::HeldMove extend(Move move, complex_dbl from,
                               const std::function<Electrics::HeldMove(complex_dbl start)> &step);
    void removeLastElement();
    // The turn of a line that is the last element, taken from its length
    // when the path did not make it just now.
    void keepLastLineTurn();
    const std::vector<PlacedElement> &layout() const;

    std::vector<Piece> piecesOf(const PlacedElement &placed) const;

    // Placing the texts measures them against every obstacle, and a held
    // step asks for the layout and the pieces several times over: both are
    // kept with the network and nodes they were worked out from.
    struct Layout
    {
        Electrics::Network model;
        std::vector<complex_dbl> nodes;
        std::vector<PlacedElement> placed;
    };
    mutable std::optional<Layout> laidOut;

    Electrics::Network model;
    // Γ at f0 where each element begins, and at the end where the last ends:
    // what the held moves gave, or else worked out from the model.
    std::vector<complex_dbl> nodes {complex_dbl()};
    std::optional<Move> heldMode;
    double nextLineImpedance = 0.0;
    // The last element's turn while it is a line: what a held line move has
    // added up, back (negative) or toward the generator.
    double lastLineTurn = 0.0;
    LabelPlacer fixedObstacles;
    QFont numberFont;
};
