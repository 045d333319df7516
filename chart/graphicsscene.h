#pragma once

#include "chart/bandoverlay.h"
#include "chart/bandreadout.h"
#include "chart/chartoverlay.h"
#include "chart/exerciseoverlay.h"
#include "chart/gridcache.h"
#include "chart/heldcircleoverlay.h"
#include "chart/labelplacer.h"
#include "chart/matchingpath.h"
#include "chart/qcirclesoverlay.h"
#include "electrics/complexdbl.h"

#include <QElapsedTimer>
#include <QFont>
#include <QGraphicsScene>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QStringList>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QAbstractGraphicsShapeItem;
class QGraphicsEllipseItem;
class QGraphicsItem;
class QGraphicsItemGroup;
class QGraphicsLineItem;
class QPen;
class markerItem;

// The chart: the Smith grid and the polar Gamma grid as two cross-faded item
// groups, up to three SWR circles and the draggable load marker, with the
// matching network the user builds by held moves drawn over them in the
// foreground. The scene owns every item; the lists and pointers below only
// refer to them. It reports one thing back, NewGamma, while the user moves the
// marker.
class GraphicsScene : public QGraphicsScene
{
    Q_OBJECT

public:
    // Gamma = 1 lies this many scene units from the centre.
    static constexpr double unitRadius = 125.0;

    explicit GraphicsScene(QObject *parent = nullptr);

    // Gamma g stands at (125 Re g, -125 Im g); y points down, so inductive
    // loads lie above the real axis.
    static QPointF scenePoint(const complex_dbl &gamma);
    static complex_dbl gammaAt(const QPointF &scenePos);

    // What a view fits to show the whole chart: the scene rectangle, grown
    // evenly on opposite sides to take in every grid label.
    QRectF viewedRect() const;

    void drawSmithGrid(double z0);
    void drawGammaGrid();
    void createSwrCircles(int count);
    void setSwrCircles(const double *swr, int count);
    void createMarker(bool movable);
    void setMarkerGamma(const complex_dbl &gamma);
    // Takes the marker's position as the new load by a free move, which ends
    // the matching path; false when it lies outside the square around the unit
    // circle and nothing was reported.
    bool markerMoved();
    // A drag of the marker: the modifiers at the press choose the move
    // (Shift series, Ctrl shunt, Ctrl+Shift line, none the chosen mode), and
    // another combination during the drag switches to its move.
    void markerPressed(Qt::KeyboardModifiers modifiers);
    void markerDragged(Qt::KeyboardModifiers modifiers);
    // Also when the drag loses the mouse.
    void markerReleased();

    // The matching network built by held moves.
    using Move = MatchingPath::Move;
    const MatchingPath &matchingPath() const { return matching; }
    // The font of the network's numbers; its values are a little smaller.
    const QFont &matchingFont() const { return pathFont; }
    std::optional<Move> matchingMode() const { return matching.mode(); }
    void setMatchingMode(std::optional<Move> move);
    void setMatchingFrequency(double hertz);
    // The impedance of the lines that held moves make from now on, in ohms;
    // not positive for the chart's Z0. Lines already drawn keep theirs.
    void setLineImpedance(double ohms);
    double lineImpedance() const { return matching.lineImpedance(); }
    // Turns the load about the circle of the chosen mode; false in the free mode.
    bool turnMarker(double clockwiseDegrees);
    // Whether held drags and turns land exactly on the matching circles when
    // they come near them; on unless switched off.
    void setSnapping(bool on) { snapOn = on; }
    bool snapping() const { return snapOn; }
    void endMatchingPath();
    // How every series or every shunt element is built, those drawn included;
    // the load stays where it is and only the names change.
    void setRealisation(Move move, Electrics::Realisation realisation);
    Electrics::Realisation realisation(Move move) const;
    // The path as the settings keep it (see electrics' encodeNetworkPath);
    // empty while it has no element.
    QString storedMatchingPath() const;
    // Takes a stored path back onto the chart, once the chart is built and the
    // marker shows `load`; false, leaving the path empty, unless it is whole
    // and leads to that load.
    bool restoreMatchingPath(const QString &stored, complex_dbl load);
    // The match over a band f0·(1 − span) … f0·(1 + span): the curves on the
    // chart and the band's edges in the readout; 0 is off.
    void setBandSpan(double span);
    double bandSpan() const { return shownSpan; }
    // How the load behaves away from f0, for the band.
    void setLoadCircuit(Electrics::LoadCircuit circuit);
    Electrics::LoadCircuit loadCircuit() const { return matching.network().loadCircuit; }
    // The arcs of one constant Q; 0 shows none.
    void setQCircles(double q);
    double qCircles() const { return qArcs.q(); }
    // The SWR limits the band is named by: every circle shown, or else SWR 2.
    std::vector<double> bandCriteria() const;
    // Put the load back where the last element, or the whole path, began.
    bool undoMatchingElement();
    bool clearMatchingPath();
    // What hovering the marker shows: the load's summary, then the network.
    void setLoadSummary(const QString &summary);
    // The view's own description, which the summary and the network follow.
    void setViewDescription(const QString &description);
    // What the chart tells in words, line by line: the load's summary, then
    // the network, one numbered line per element.
    QStringList readoutLines() const;
    complex_dbl referenceImpedance() const { return z0; }
    // While set, the chart paints as a copy shows it: without what only helps
    // a drag, such as the faint circle of the held mode.
    void setPaintingCopy(bool copy) { paintingCopy = copy; }
    void setGridOpacity(double smithOpacity);
    // Deletes every item and forgets the pointers to them.
    void clearChart();
    // The grids are drawn from device-resolution pictures unless this is off.
    // The view looks the same either way, except that where grid lines cross or
    // touch, a partly faded grid is a little lighter from its pictures.
    void setGridCaching(bool enabled);
    const GridCache &gridCache() const { return cache; }

    // The exercise set on the chart. The window sets a task's Z0, frequency
    // and load after startExercise; a later change of any of them abandons it.
    const ExerciseOverlay &exercise() const { return exerciseBox; }
    // Asks the window for the task of this number.
    void requestExercise(int number) { emit exerciseRequested(number); }
    // Clears the path and builds elements as the task needs, the load held
    // as a series circuit and lines of Z0 to begin with, until the task ends and the choices before
    // it come back.
    void startExercise(const Electrics::ExerciseTask &task, int hintsUsed = 0);
    void abandonExercise(Electrics::ExerciseChange change);
    void showAbandonedExercise(const Electrics::ExerciseTask &task,
                               Electrics::ExerciseChange change, int hintsUsed);
    void endExercise();
    // How elements are built and the load is held: the user's choices, which
    // a running task sets aside for its own until it ends.
    struct MatchingChoices
    {
        Electrics::LoadCircuit loadCircuit;
        Electrics::Realisation series;
        Electrics::Realisation shunt;
        double lineImpedance;
    };
    MatchingChoices usersChoices() const;
    // Shows for a while, or until the next move, where the next element
    // should go; false when there is nothing to show.
    bool showExerciseHint();
    // How long a hint stays.
    static constexpr int hintMilliseconds = 5000;
    // How often the words follow a drag at most.
    static constexpr int readoutIntervalMilliseconds = 50;

    QGraphicsItemGroup *smithGridGroup() const { return smithGroup; }
    QGraphicsItemGroup *gammaGridGroup() const { return gammaGroup; }
    QGraphicsLineItem *gammaLineItem() const { return gammaLine; }
    markerItem *markerGraphic() const { return marker; }
    const QList<QGraphicsEllipseItem *> &swrCircleItems() const { return swrCircles; }

signals:
    void NewGamma(complex_dbl gamma);
    void exerciseRequested(int number);

protected:
    void drawForeground(QPainter *painter, const QRectF &rect) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;
    // Resting near the input's curve names the frequency there; the marker's
    // own tooltip comes first.
    void helpEvent(QGraphicsSceneHelpEvent *event) override;

private:
    void keepPathTextsOffGrids();
    void moveGammaLine(const QPointF &end, const QPen &pen);
    void showLoad(complex_dbl gamma, const QPointF &position, QPen pen);
    template<typename Step> void takeHeldStep(Step &&step);
    void endPath();
    double snapTolerance() const;
    std::optional<Move> shownMove() const;
    void repaintRect(const QRectF &rect);
    std::vector<ChartOverlay::Piece> overlayPieces() const;
    void changeChart(const std::function<void()> &change);
    void refreshReadout();
    void showSwrCircles(const double *swr, int count);
    const QStringList &bandLines() const;
    void refreshBand();
    void hideExerciseHint();
    void abandonRunningExercise(Electrics::ExerciseChange change);
    void restoreChoicesBeforeExercise();

    complex_dbl z0 {50.0, 0.0};
    // Where the marker last showed the load, from the window or a drag.
    QPointF loadPoint;
    complex_dbl loadGamma;
    MatchingPath matching;
    HeldCircleOverlay heldCircle;
    BandOverlay band;
    QCirclesOverlay qArcs;
    double shownSpan = 0.0;
    // The SWR of each circle shown.
    std::vector<double> swrLimits;
    mutable BandReadout bandReadout;
    QElapsedTimer sinceReadout;
    QTimer readoutTimer;
    // What the texts drawn on the chart keep off: the grids' labels and the outer circle.
    LabelPlacer textObstacles;
    ExerciseOverlay exerciseBox;
    QTimer hintTimer;
    // How the user had elements built and the load held before the task.
    std::optional<MatchingChoices> choicesBeforeExercise;
    // Painted in this order, the first lowest.
    std::vector<ChartOverlay *> overlays;
    // The move of the drag under way, none for a free one.
    std::optional<Move> dragMove;
    bool dragging = false;
    bool paintingCopy = false;
    bool snapOn = true;
    QFont pathFont;
    QString loadSummary;
    QString viewDescription;
    QPainterPath markerPath;
    markerItem *marker = nullptr;
    QList<QGraphicsEllipseItem *> swrCircles;
    QGraphicsItemGroup *smithGroup = nullptr;
    QGraphicsItemGroup *gammaGroup = nullptr;
    QGraphicsLineItem *gammaLine = nullptr;
    QList<QAbstractGraphicsShapeItem *> smithLabels;
    QList<QAbstractGraphicsShapeItem *> gammaLabels;
    GridCache cache;
};
