#include "chart/exerciseoverlay.h"

#include "chart/graphicsscene.h"
#include "chart/overlaydrawing.h"

#include <QColor>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <array>

using namespace OverlayDrawing;

namespace {

// The box spans the chart's top edge, inside the margin of the outer labels.
constexpr double boxLeft = -133.0;
constexpr double boxTop = -134.0;
constexpr double boxWidth = 266.0;
constexpr double padding = 1.5;
constexpr double borderWidth = 0.4;
constexpr double fontScale = 0.85;
const QColor runningGround(255, 255, 255, 230);
const QColor solvedGround(222, 245, 222, 235);
const QColor abandonedGround(238, 238, 238, 230);
const QColor runningText(0, 0, 0);
const QColor solvedText(0, 100, 0);
const QColor abandonedText(90, 90, 90);
const QColor borderColour(120, 120, 120);

constexpr double hintWidth = 1.0;
const QColor hintColour(215, 110, 0);
// The centre is drawn as the circle within which the SWR meets the task.
const double matchedRadius =
    (Electrics::exerciseMatchedSwr - 1.0) / (Electrics::exerciseMatchedSwr + 1.0);

enum class PieceKind : std::size_t { Box = 11, Hint };

bool sameElements(const std::vector<Electrics::NetworkElement> &a,
                  const std::vector<Electrics::NetworkElement> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Electrics::NetworkElement &x, const Electrics::NetworkElement &y) {
                          return x.move == y.move && x.change == y.change
                              && x.lineImpedance == y.lineImpedance;
                      });
}

// The circle of the hint's target in Γ; none for the real axis.
std::optional<Electrics::GammaCircle> targetCircle(Electrics::ExerciseHint::Target target)
{
    using Target = Electrics::ExerciseHint::Target;
    switch (target) {
    case Target::ResistanceCircle:
        return Electrics::GammaCircle {complex_dbl(0.5, 0.0), 0.5};
    case Target::ConductanceCircle:
        return Electrics::GammaCircle {complex_dbl(-0.5, 0.0), 0.5};
    case Target::Centre:
        return Electrics::GammaCircle {complex_dbl(), matchedRadius};
    case Target::RealAxis:
        break;
    }
    return std::nullopt;
}

QRectF targetRect(Electrics::ExerciseHint::Target target)
{
    if (const std::optional<Electrics::GammaCircle> circle = targetCircle(target))
        return withMargin(sceneCircleRect(*circle), hintWidth);
    constexpr double radius = GraphicsScene::unitRadius;
    return withMargin(QRectF(-radius, 0.0, 2 * radius, 0.0), hintWidth);
}

const QString runningWord = QStringLiteral("laufend");
const std::array<QString, 3> changeWords {QStringLiteral("Last"), QStringLiteral("Z0"),
                                          QStringLiteral("Frequenz")};

} // namespace

void ExerciseOverlay::start(const Electrics::ExerciseTask &task)
{
    current = State::Running;
    exercise = task;
    abandonedBy.reset();
    hints = 0;
    hint.reset();
    judged = false;
    verdict = {};
    layOut();
}

void ExerciseOverlay::abandon(Electrics::ExerciseChange change)
{
    if (current != State::Running)
        return;
    current = State::Abandoned;
    abandonedBy = change;
    hint.reset();
    layOut();
}

void ExerciseOverlay::restoreAbandoned(const Electrics::ExerciseTask &task,
                                       Electrics::ExerciseChange change, int hintsUsed)
{
    start(task);
    hints = hintsUsed;
    abandon(change);
}

void ExerciseOverlay::end()
{
    current = State::None;
    exercise.reset();
    abandonedBy.reset();
    hint.reset();
    layOut();
}

bool ExerciseOverlay::showHint(const Electrics::Network &network)
{
    if (current != State::Running)
        return false;
    hint = Electrics::exerciseHint(*exercise, network);
    if (!hint)
        return false;
    ++hints;
    layOut();
    return true;
}

void ExerciseOverlay::hideHint()
{
    if (!hint)
        return;
    hint.reset();
    layOut();
}

void ExerciseOverlay::refresh(const Electrics::Network &network)
{
    if (current != State::Running || (judged && sameElements(network.elements, judgedElements)))
        return;
    judged = true;
    judgedElements = network.elements;
    verdict = Electrics::judgeExercise(*exercise, network);
    solved = verdict.solved ? Electrics::solvedText(*exercise, network, hints) : QString();
    layOut();
}

QString ExerciseOverlay::stateLine() const
{
    if (current == State::Abandoned)
        return Electrics::abandonedText(exercise->number, *abandonedBy);
    if (hint)
        return QStringLiteral("Tipp: ") + hint->text;
    return verdict.solved ? solved : verdict.brokenRule;
}

QStringList ExerciseOverlay::lines() const
{
    if (current == State::None)
        return {};
    QStringList all {Electrics::exerciseText(*exercise)};
    if (const QString line = stateLine(); !line.isEmpty())
        all << line;
    return all;
}

QString ExerciseOverlay::storedText() const
{
    if (current == State::None)
        return QString();
    const QString state =
        abandonedBy ? changeWords[static_cast<std::size_t>(*abandonedBy)] : runningWord;
    return QStringLiteral("%1;%2;%3").arg(exercise->number).arg(state).arg(hints);
}

std::optional<ExerciseOverlay::Stored> ExerciseOverlay::fromStoredText(const QString &text)
{
    const QStringList parts = text.split(u';');
    if (parts.size() != 3)
        return std::nullopt;
    bool numberRead = false;
    bool hintsRead = false;
    const int number = parts[0].toInt(&numberRead);
    const int hintsUsed = parts[2].toInt(&hintsRead);
    const std::optional<Electrics::ExerciseTask> task =
        numberRead ? Electrics::exerciseTask(number) : std::nullopt;
    if (!task || !hintsRead || hintsUsed < 0)
        return std::nullopt;
    Stored stored {*task, std::nullopt, hintsUsed};
    if (parts[1] == runningWord)
        return stored;
    const auto word = std::find(changeWords.begin(), changeWords.end(), parts[1]);
    if (word == changeWords.end())
        return std::nullopt;
    stored.abandonedBy = static_cast<Electrics::ExerciseChange>(word - changeWords.begin());
    return stored;
}

void ExerciseOverlay::setFont(const QFont &font)
{
    textFont = font;
    textFont.setPointSizeF(font.pointSizeF() * fontScale);
    layOut();
}

void ExerciseOverlay::layOut()
{
    boxText = lines().join(u'\n');
    if (boxText.isEmpty()) {
        box = QRectF();
        return;
    }
    const double textWidth = boxWidth - 2 * padding;
    const QRectF textBox = QFontMetricsF(textFont).boundingRect(
        QRectF(0.0, 0.0, textWidth, 1e6), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, boxText);
    box = QRectF(boxLeft, boxTop, boxWidth, textBox.height() + 2 * padding);
}

std::vector<ChartOverlay::Piece> ExerciseOverlay::pieces() const
{
    std::vector<Piece> all;
    if (box.isEmpty())
        return all;
    const QRectF boxRect = withMargin(box, borderWidth);
    const std::size_t look = qHash(boxText, static_cast<std::size_t>(PieceKind::Box))
        + static_cast<std::size_t>(isSolved()) * 2
        + static_cast<std::size_t>(current == State::Abandoned);
    all.push_back({boxRect, fingerprintOf(boxRect, look)});
    if (hint) {
        const QRectF rect = targetRect(hint->target);
        all.push_back({rect,
                       fingerprintOf(rect,
                                     static_cast<std::size_t>(PieceKind::Hint)
                                         + static_cast<std::size_t>(hint->target))});
    }
    return all;
}

void ExerciseOverlay::paint(QPainter &painter, const Exposure &exposed) const
{
    if (box.isEmpty())
        return;
    if (hint && exposed.reaches(targetRect(hint->target))) {
        painter.setPen(QPen(hintColour, hintWidth));
        painter.setBrush(Qt::NoBrush);
        if (const std::optional<Electrics::GammaCircle> circle = targetCircle(hint->target))
            painter.drawEllipse(sceneCircleRect(*circle));
        else
            painter.drawLine(QPointF(-GraphicsScene::unitRadius, 0.0),
                             QPointF(GraphicsScene::unitRadius, 0.0));
    }
    if (!exposed.reaches(withMargin(box, borderWidth)))
        return;
    const bool solvedNow = isSolved();
    const bool abandoned = current == State::Abandoned;
    painter.setPen(QPen(borderColour, borderWidth));
    painter.setBrush(solvedNow ? solvedGround : abandoned ? abandonedGround : runningGround);
    painter.drawRect(box);
    painter.setPen(solvedNow ? solvedText : abandoned ? abandonedText : runningText);
    painter.setFont(textFont);
    painter.drawText(box.adjusted(padding, padding, -padding, -padding),
                     Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, boxText);
}
