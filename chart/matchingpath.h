#pragma once

#include "chart/labelplacer.h"
#include "electrics/complexdbl.h"
#include "electrics/matching.h"

#include <QFont>
#include <QRectF>
#include <QStringList>

#include <functional>
#include <limits>
#include <optional>
#include <vector>

class QPainter;

// The matching network the user builds on the chart: a chain of held moves of
// the load, each a series element, a shunt element or a line, element 1
// nearest the load. It decides where a held move takes the load, names each
// element with its value and paints the arcs over the grids. The scene owns
// it; it holds no items.
class MatchingPath
{
public:
    using Move = Electrics::MatchingMove;

    // The kind of move that plain drags and the arrow keys make; none for the
    // free move.
    std::optional<Move> mode() const { return heldMode; }
    void setMode(std::optional<Move> move) { heldMode = move; }

    void setReferenceImpedance(complex_dbl ohms) { z0 = ohms; }
    void setFrequency(double hertz) { frequency = hertz; }
    double frequencyHertz() const { return frequency; }
    // What the numbers and values keep off: the grids' labels, the outer
    // circle, the picture's edges.
    void setLabelObstacles(const LabelPlacer &obstacles) { fixedObstacles = obstacles; }

    bool isEmpty() const { return elements.empty(); }
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

    // The arcs with their start dots, numbers and values, and faintly the
    // circle along which `shownMove` would take `load`, in scene coordinates.
    // Only what reaches into `exposed` is painted.
    void paint(QPainter &painter, const QRectF &exposed, const QFont &font,
               std::optional<Move> shownMove, complex_dbl load) const;
    // What paint covers of the last element, and what of it a change can
    // leave as it was: a step that extends the element changes only the arc
    // between its old and new end, and its value.
    struct LastElement
    {
        std::size_t count = 0;
        QRectF whole;
        QRectF value;
        complex_dbl end;
    };
    LastElement lastElement(const QFont &font) const;
    std::vector<QRectF> changedSince(const LastElement &before, const QFont &font) const;
    // What paint covers of the shown circle.
    static QRectF circleRect(std::optional<Move> move, complex_dbl load);
    // Where paint puts the numbers and values, element by element, number
    // first; a text with no room of its own is left out.
    std::vector<QRectF> labelBoxes(const QFont &font) const;

private:
    struct Element
    {
        Move move;
        complex_dbl start;
        complex_dbl end;
    };

    Element *elementFor(Move move, complex_dbl from);
    // The step from the start of the element that the move extends or begins.
    Electrics::HeldMove extend(Move move, complex_dbl from,
                               const std::function<Electrics::HeldMove(complex_dbl start)> &step);
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
    };

    QString elementText(const Element &element) const;
    std::vector<PlacedElement> layout(const QFont &font) const;

    std::vector<Element> elements;
    std::optional<Move> heldMode;
    LabelPlacer fixedObstacles;
    complex_dbl z0 {50.0, 0.0};
    double frequency = std::numeric_limits<double>::quiet_NaN();
};
