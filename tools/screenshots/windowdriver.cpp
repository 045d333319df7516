#include "windowdriver.h"

#include "app/mainwindow.h"
#include "app/settingsstore.h"
#include "chart/graphicsscene.h"
#include "chart/markeritem.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QHelpEvent>
#include <QKeySequence>
#include <QSettings>
#include <QSlider>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int dragSteps = 8;

void clearProgramSettings()
{
    QSettings(SettingsStore::organisation(), SettingsStore::application()).clear();
}

} // namespace

WindowDriver::WindowDriver()
{
    clearProgramSettings();
    start();
}

WindowDriver::~WindowDriver() = default;

void WindowDriver::start()
{
    mainWindow = std::make_unique<MainWindow>();
    mainWindow->activateWindow();
    if (!QTest::qWaitForWindowActive(mainWindow.get()))
        std::fprintf(stderr, "velmora_screenshots: the main window did not become active\n");
    settle();
}

void WindowDriver::restart()
{
    mainWindow.reset();
    start();
}

void WindowDriver::settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QWidget *WindowDriver::control(const QString &objectName) const
{
    auto *found = mainWindow->findChild<QWidget *>(objectName);
    if (!found)
        qFatal("velmora_screenshots: the main window has no control %s", qPrintable(objectName));
    return found;
}

void WindowDriver::enter(const QString &objectName, const QString &typed)
{
    QWidget *field = control(objectName);
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(4, field->height() / 2));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, typed);
    QTest::keyClick(field, Qt::Key_Return);
    settle();
}

void WindowDriver::moveSlider(const QString &sliderName, int position)
{
    auto *slider = qobject_cast<QSlider *>(control(sliderName));
    if (!slider)
        qFatal("velmora_screenshots: %s is not a slider", qPrintable(sliderName));
    slider->setValue(position);
    settle();
}

void WindowDriver::dragMarkerTo(const complex_dbl &gamma)
{
    auto *view = qobject_cast<QGraphicsView *>(control(u"QGV_Chart"_s));
    const markerItem *marker = mainWindow->chartScene()->markerGraphic();
    if (!view || !marker)
        qFatal("velmora_screenshots: the chart has no marker to drag");
    const QPoint from = view->mapFromScene(marker->pos());
    const QPoint to = view->mapFromScene(GraphicsScene::scenePoint(gamma));
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
    for (int step = 1; step <= dragSteps; ++step)
        QTest::mouseMove(view->viewport(), from + (to - from) * step / dragSteps);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
    settle();
}

// The scene's own mouse events carry scene positions as they are, where the
// view's would round them to its pixels.
void WindowDriver::heldDragTo(const complex_dbl &gamma, Qt::KeyboardModifiers modifiers)
{
    GraphicsScene *scene = mainWindow->chartScene();
    const markerItem *marker = scene->markerGraphic();
    if (!marker)
        qFatal("velmora_screenshots: the chart has no marker to drag");
    const QPointF from = marker->pos();
    const QPointF to = GraphicsScene::scenePoint(gamma);
    const auto send = [&](QEvent::Type type, const QPointF &at, Qt::MouseButtons buttons) {
        QGraphicsSceneMouseEvent event(type);
        event.setScenePos(at);
        event.setButtonDownScenePos(Qt::LeftButton, from);
        event.setButton(type == QEvent::GraphicsSceneMouseMove ? Qt::NoButton : Qt::LeftButton);
        event.setButtons(buttons);
        event.setModifiers(modifiers);
        QCoreApplication::sendEvent(scene, &event);
    };
    send(QEvent::GraphicsSceneMousePress, from, Qt::LeftButton);
    for (int step = 1; step <= dragSteps; ++step)
        send(QEvent::GraphicsSceneMouseMove, from + (to - from) * step / dragSteps, Qt::LeftButton);
    send(QEvent::GraphicsSceneMouseRelease, to, Qt::NoButton);
    settle();
}

void WindowDriver::pressOnChart(const QString &keys)
{
    QWidget *view = control(u"QGV_Chart"_s);
    view->setFocus(Qt::TabFocusReason);
    // A key sequence holds at most four keys, so each is read on its own.
    for (const QString &key : keys.split(u',', Qt::SkipEmptyParts)) {
        const QKeyCombination pressed = QKeySequence(key.trimmed())[0];
        QTest::keyClick(view, pressed.key(), pressed.keyboardModifiers());
    }
    settle();
}

QWidget *WindowDriver::hoverMarker()
{
    auto *view = qobject_cast<QGraphicsView *>(control(u"QGV_Chart"_s));
    const markerItem *marker = mainWindow->chartScene()->markerGraphic();
    if (!view || !marker)
        qFatal("velmora_screenshots: the chart has no marker to hover");
    const QPoint at = view->mapFromScene(marker->pos());
    QTest::mouseMove(view->viewport(), at);
    // What the toolkit sends once the mouse has rested.
    QHelpEvent rested(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view->viewport(), &rested);
    settle();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->inherits("QTipLabel") && window->isVisible())
            return window;
    }
    qFatal("velmora_screenshots: the marker shows no tooltip");
}

void WindowDriver::releaseFocus()
{
    if (QWidget *focused = QApplication::focusWidget())
        focused->clearFocus();
    settle();
}
