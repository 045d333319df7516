#include "chart/chartkeyboard.h"

#include "chart/chartmenu.h"
#include "chart/graphicsscene.h"
#include "chart/markeritem.h"

#include <QGraphicsView>
#include <QKeyEvent>
#include <QKeySequence>

#include <optional>

namespace {

constexpr double plainStep = 0.01;
constexpr double fineStep = 0.001;
constexpr double coarseStep = 0.1;

// A held move turns the load about its circle's centre by degrees.
constexpr double plainTurn = 1.0;
constexpr double fineTurn = 0.1;
constexpr double coarseTurn = 10.0;

double stepFor(Qt::KeyboardModifiers modifiers, double plain, double fine, double coarse)
{
    if (modifiers == Qt::ShiftModifier)
        return fine;
    if (modifiers == Qt::ControlModifier)
        return coarse;
    return modifiers == Qt::NoModifier ? plain : 0.0;
}

double stepFor(Qt::KeyboardModifiers modifiers)
{
    return stepFor(modifiers, plainStep, fineStep, coarseStep);
}

// Up and Right turn clockwise (a series L, a shunt C, a line toward the
// generator), Down and Left back; none for other keys.
std::optional<double> clockwiseTurn(int key, Qt::KeyboardModifiers modifiers)
{
    const double turn = stepFor(modifiers, plainTurn, fineTurn, coarseTurn);
    if (turn == 0.0)
        return std::nullopt;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        return turn;
    case Qt::Key_Down:
    case Qt::Key_Left:
        return -turn;
    default:
        return std::nullopt;
    }
}

// The change of Gamma that an arrow key asks for; none for other keys and for
// modifiers that have no step.
std::optional<complex_dbl> gammaStep(int key, Qt::KeyboardModifiers modifiers)
{
    const double step = stepFor(modifiers);
    if (step == 0.0)
        return std::nullopt;
    switch (key) {
    case Qt::Key_Right:
        return complex_dbl(step, 0.0);
    case Qt::Key_Left:
        return complex_dbl(-step, 0.0);
    case Qt::Key_Up:
        return complex_dbl(0.0, step);
    case Qt::Key_Down:
        return complex_dbl(0.0, -step);
    default:
        return std::nullopt;
    }
}

} // namespace

ChartKeyboard::ChartKeyboard(QGraphicsView *chartView)
    : QObject(chartView)
    , view(chartView)
{
    view->installEventFilter(this);
}

bool ChartKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view && event->type() == QEvent::KeyPress)
        return handleKey(*static_cast<QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}

// Auto-repeated presses arrive as presses too, each one drag step.
bool ChartKeyboard::handleKey(const QKeyEvent &event)
{
    auto *scene = qobject_cast<GraphicsScene *>(view->scene());
    markerItem *marker = scene ? scene->markerGraphic() : nullptr;
    if (!marker)
        return false;
    // The arrows of the keypad carry a modifier of their own.
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (event.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier) {
        ChartMenu::popUpAtMarker(*scene, *view);
        return true;
    }
    if (event.matches(QKeySequence::Undo)) {
        scene->undoMatchingElement();
        return true;
    }
    if (scene->matchingMode() && event.key() != Qt::Key_Home) {
        const std::optional<double> turn = clockwiseTurn(event.key(), modifiers);
        return turn && scene->turnMarker(*turn);
    }
    const QPointF from = marker->pos();
    QPointF to;
    if (event.key() == Qt::Key_Home && modifiers == Qt::NoModifier) {
        to = GraphicsScene::scenePoint(complex_dbl(0.0, 0.0));
    } else if (const std::optional<complex_dbl> step = gammaStep(event.key(), modifiers)) {
        // The steps are whole multiples of 1/8 scene unit, so repeated presses
        // add up without rounding.
        to = from + GraphicsScene::scenePoint(*step);
    } else {
        return false;
    }
    marker->setPos(to);
    if (!scene->markerMoved())
        marker->setPos(from);
    return true;
}
