#pragma once

#include "chart/chartoverlay.h"
#include "electrics/exercise.h"
#include "electrics/exercisejudge.h"
#include "electrics/network.h"

#include <QFont>
#include <QRectF>
#include <QStringList>

#include <optional>

class QPainter;

// The exercise set on the chart: the task in a box at the top of the chart, on
// a light ground that keeps it legible at every cross-fade, with what the
// network built so far lacks, green once it is solved, or why the task was
// abandoned; while a hint is shown, the circle the next element should reach.
// The scene owns it and hands it the network after every change.
class ExerciseOverlay : public ChartOverlay
{
public:
    enum class State { None, Running, Abandoned };

    State state() const { return current; }
    const std::optional<Electrics::ExerciseTask> &task() const { return exercise; }
    bool isSolved() const { return current == State::Running && verdict.solved; }
    int hintsUsed() const { return hints; }

    void start(const Electrics::ExerciseTask &task);
    void abandon(Electrics::ExerciseChange change);
    void end();
    // A hint for the network as it stands, counted; false when there is none.
    bool showHint(const Electrics::Network &network);
    void hideHint();
    bool showsHint() const { return hint.has_value(); }
    void setHintsUsed(int count) { hints = count; }
    // Judges the network anew when its elements changed since the last time.
    void refresh(const Electrics::Network &network);

    // The box's lines: the task, then its state or the hint.
    QStringList lines() const;

    // The task and its state for the settings, "1042;laufend;1"; empty
    // without a task.
    QString storedText() const;
    // The task, whether it was running, and the hints used, from that text;
    // none for any other text.
    struct Stored
    {
        Electrics::ExerciseTask task;
        std::optional<Electrics::ExerciseChange> abandonedBy;
        int hintsUsed = 0;
    };
    static std::optional<Stored> fromStoredText(const QString &text);
    void restoreAbandoned(const Electrics::ExerciseTask &task, Electrics::ExerciseChange change,
                          int hintsUsed);

    void setFont(const QFont &font);

    std::vector<Piece> pieces() const override;
    void paint(QPainter &painter, const Exposure &exposed) const override;

private:
    void layOut();
    QString stateLine() const;

    State current = State::None;
    std::optional<Electrics::ExerciseTask> exercise;
    std::optional<Electrics::ExerciseChange> abandonedBy;
    Electrics::ExerciseVerdict verdict;
    QString solved;
    std::vector<Electrics::NetworkElement> judgedElements;
    bool judged = false;
    int hints = 0;
    std::optional<Electrics::ExerciseHint> hint;
    QFont textFont;
    // Where paint puts the box and its text, worked out on every change.
    QRectF box;
    QString boxText;
};
