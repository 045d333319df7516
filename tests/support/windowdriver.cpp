#include "windowdriver.h"

#include "modaldriver.h"

#include "app/mainwindow.h"
#include "app/settingsstore.h"
#include "chart/graphicsscene.h"
#include "chart/markeritem.h"
#include "electrics/conversions.h"
#include "electrics/formatting.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QGraphicsSceneHelpEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

void clearProgramSettings()
{
    QSettings(SettingsStore::organisation(), SettingsStore::application()).clear();
}

const markerItem *markerOf(const QGraphicsView &view)
{
    const auto *scene = qobject_cast<const GraphicsScene *>(view.scene());
    return scene ? scene->markerGraphic() : nullptr;
}

// Where the marker stands in the view's pixels, or the scene's origin without one.
QPointF markerPixel(const QGraphicsView &view)
{
    const markerItem *marker = markerOf(view);
    return view.mapFromScene(marker ? marker->scenePos() : QPointF());
}

} // namespace

MarkerDrag::MarkerDrag(QGraphicsView &chartView, Qt::KeyboardModifiers modifiers)
    : MarkerDrag(chartView, markerPixel(chartView), modifiers)
{ }

MarkerDrag::MarkerDrag(QGraphicsView &chartView, const QPointF &from,
                       Qt::KeyboardModifiers modifiers)
    : view(chartView)
    , position(from)
    , markerStart(markerPos())
    , held(modifiers)
{
    send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
}

MarkerDrag::~MarkerDrag()
{
    release();
}

void MarkerDrag::moveTo(const QPointF &viewportPos)
{
    moveTo(viewportPos, held);
}

void MarkerDrag::moveTo(const QPointF &viewportPos, Qt::KeyboardModifiers modifiers)
{
    position = viewportPos;
    held = modifiers;
    send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
    markerMoved = markerMoved || markerPos() != markerStart;
}

void MarkerDrag::release()
{
    if (!pressed)
        return;
    pressed = false;
    send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
}

bool MarkerDrag::markerFollows() const
{
    return markerMoved;
}

QPointF MarkerDrag::markerPos() const
{
    const markerItem *marker = markerOf(view);
    return marker ? marker->scenePos() : QPointF();
}

void MarkerDrag::send(int type, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QWidget *viewport = view.viewport();
    QMouseEvent event(QEvent::Type(type), position, viewport->mapToGlobal(position), button,
                      buttons, held);
    QApplication::sendEvent(viewport, &event);
}

WindowDriver::WindowDriver()
{
    clearProgramSettings();
    start();
}

WindowDriver::~WindowDriver()
{
    mainWindow.reset();
    clearProgramSettings();
}

void WindowDriver::start()
{
    mainWindow = std::make_unique<MainWindow>();
    mainWindow->activateWindow();
    if (!QTest::qWaitForWindowActive(mainWindow.get()))
        qWarning("the main window did not become active");
}

void WindowDriver::restart()
{
    mainWindow.reset();
    start();
    settle();
}

void WindowDriver::settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QWidget *WindowDriver::control(const QString &name) const
{
    auto *found = mainWindow->findChild<QWidget *>(name);
    if (!found)
        qFatal("the main window has no control %s", qPrintable(name));
    return found;
}

QLineEdit *WindowDriver::field(const QString &name) const
{
    auto *lineEdit = qobject_cast<QLineEdit *>(control(name));
    if (!lineEdit)
        qFatal("%s is not a line edit", qPrintable(name));
    return lineEdit;
}

QSlider *WindowDriver::slider(const QString &name) const
{
    auto *found = qobject_cast<QSlider *>(control(name));
    if (!found)
        qFatal("%s is not a slider", qPrintable(name));
    return found;
}

QGraphicsView &WindowDriver::chartView() const
{
    auto *view = qobject_cast<QGraphicsView *>(control(u"QGV_Chart"_s));
    if (!view)
        qFatal("QGV_Chart is not a graphics view");
    return *view;
}

QString WindowDriver::text(const QString &fieldName) const
{
    if (fieldName == u"marker") {
        const QWidget *tip = hoverMarker();
        return tip ? QToolTip::text() : QString();
    }
    return field(fieldName)->text();
}

int WindowDriver::position(const QString &sliderName) const
{
    return slider(sliderName)->sliderPosition();
}

bool WindowDriver::isRed(const QString &fieldName) const
{
    return field(fieldName)->styleSheet().contains(u"Red"_s);
}

void WindowDriver::clickOn(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(4, widget->height() / 2));
    if (!widget->hasFocus())
        qWarning("the click did not give %s the focus", qPrintable(widget->objectName()));
}

void WindowDriver::type(const QString &name, const QString &typed)
{
    QWidget *target = control(name);
    if (!target->hasFocus())
        clickOn(target);
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Delete);
    typeKeys(name, typed);
}

void WindowDriver::typeKeys(const QString &name, const QString &keys)
{
    typeKeys(control(name), keys);
}

void WindowDriver::typeKeys(QWidget *target, const QString &keys)
{
    for (const QChar character : keys) {
        // Characters outside ASCII (the ohm sign) have no key of their own.
        if (character.unicode() < 0x80)
            QTest::keyClick(target, character.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
    }
}

void WindowDriver::paste(const QString &name, const QString &text)
{
    QWidget *target = control(name);
    QGuiApplication::clipboard()->setText(text);
    if (!target->hasFocus())
        clickOn(target);
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
}

void WindowDriver::pressReturn(const QString &name)
{
    QWidget *target = control(name);
    if (!target->hasFocus())
        clickOn(target);
    QTest::keyClick(target, Qt::Key_Return);
}

void WindowDriver::enter(const QString &name, const QString &typed)
{
    type(name, typed);
    pressReturn(name);
}

void WindowDriver::pressKey(const QString &sliderName, int key)
{
    QSlider *target = slider(sliderName);
    if (!target->hasFocus())
        target->setFocus(Qt::TabFocusReason);
    QTest::keyClick(target, Qt::Key(key));
}

void WindowDriver::moveSlider(const QString &sliderName, int position)
{
    moveSlider(slider(sliderName), position);
}

void WindowDriver::moveSlider(QSlider *slider, int position)
{
    slider->setValue(position);
}

void WindowDriver::turnWheel(QWidget *widget, int notches, Qt::KeyboardModifiers modifiers)
{
    const QPointF centre(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent wheel(centre, widget->mapToGlobal(centre), QPoint(),
                      QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

void WindowDriver::pressOnChart(const QString &keys)
{
    QGraphicsView &view = chartView();
    if (!view.hasFocus())
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(4, 4));
    // A key sequence holds at most four keys, so each is read on its own.
    for (const QString &key : keys.split(u',', Qt::SkipEmptyParts)) {
        const QKeyCombination pressed = QKeySequence(key.trimmed())[0];
        QTest::keyClick(&view, pressed.key(), pressed.keyboardModifiers());
    }
}

int WindowDriver::chooseLineImpedance(const QString &typed)
{
    ModalDriver walk;
    walk.chooseFromMenu(u"Leitungsimpedanz …"_s);
    walk.addStep("LineImpedanceDialog", [&typed](QWidget *dialog) {
        auto *field = dialog->findChild<QLineEdit *>(u"LED_ZLEITUNG"_s);
        field->selectAll();
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
    });
    walk.start();
    pressOnChart(u"Shift+F10"_s);
    return walk.stepsDone();
}

void WindowDriver::dragMarkerTo(const complex_dbl &gamma, Qt::KeyboardModifiers modifiers,
                                int steps)
{
    QGraphicsView &view = chartView();
    const markerItem *marker = markerOf(view);
    if (!marker)
        qFatal("the chart has no marker to drag");
    const QPoint from = view.mapFromScene(marker->pos());
    const QPoint to = view.mapFromScene(GraphicsScene::scenePoint(gamma));
    MarkerDrag drag(view, from, modifiers);
    for (int step = 1; step <= steps; ++step)
        drag.moveTo(from + (to - from) * step / steps);
}

void WindowDriver::heldDragTo(const complex_dbl &gamma, Qt::KeyboardModifiers modifiers)
{
    constexpr int steps = dragSteps;
    GraphicsScene *scene = mainWindow->chartScene();
    const markerItem *marker = scene->markerGraphic();
    if (!marker)
        qFatal("the chart has no marker to drag");
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
    for (int step = 1; step <= steps; ++step)
        send(QEvent::GraphicsSceneMouseMove, from + (to - from) * step / steps, Qt::LeftButton);
    send(QEvent::GraphicsSceneMouseRelease, to, Qt::NoButton);
}

QWidget *WindowDriver::hoverMarker() const
{
    QGraphicsView &view = chartView();
    const markerItem *marker = markerOf(view);
    if (!marker)
        return nullptr;
    const QPoint at = view.mapFromScene(marker->pos());
    QTest::mouseMove(view.viewport(), at);
    // The event that the toolkit sends once the mouse has rested.
    QHelpEvent rested(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view.viewport(), &rested);
    if (!QToolTip::isVisible())
        return nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->inherits("QTipLabel") && window->isVisible())
            return window;
    }
    return nullptr;
}

QString WindowDriver::hoverChartAt(const complex_dbl &gamma) const
{
    QGraphicsView &view = chartView();
    const QPointF at = GraphicsScene::scenePoint(gamma);
    const QPoint pixel = view.mapFromScene(at);
    QTest::mouseMove(view.viewport(), pixel);
    QToolTip::hideText();
    QGraphicsSceneHelpEvent rested(QEvent::GraphicsSceneHelp);
    rested.setWidget(view.viewport());
    rested.setScenePos(at);
    rested.setScreenPos(view.viewport()->mapToGlobal(pixel));
    QCoreApplication::sendEvent(view.scene(), &rested);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

void WindowDriver::releaseFocus()
{
    if (QWidget *focused = QApplication::focusWidget())
        focused->clearFocus();
    settle();
}

void WindowDriver::enterGamma(double real, double imaginary)
{
    enter(u"LED_GAMMAR"_s, QLocale().toString(real, 'f', 3));
    enter(u"LED_GAMMAI"_s, QLocale().toString(imaginary, 'f', 3));
}

complex_dbl WindowDriver::shownGamma() const
{
    return {QLocale().toDouble(text(u"LED_GAMMAR"_s)), QLocale().toDouble(text(u"LED_GAMMAI"_s))};
}

std::optional<complex_dbl> WindowDriver::markerGamma() const
{
    const GraphicsScene *scene = mainWindow->chartScene();
    if (!scene || !scene->markerGraphic())
        return std::nullopt;
    return GraphicsScene::gammaAt(scene->markerGraphic()->pos());
}

bool WindowDriver::gammaShownFinite() const
{
    for (const QString &name : gammaFieldNames()) {
        bool converted = false;
        const double shown = QLocale().toDouble(text(name), &converted);
        if (!converted || !std::isfinite(shown))
            return false;
    }
    return true;
}

const QStringList &WindowDriver::fieldNames()
{
    static const QStringList names = {
        u"LED_R"_s,      u"LED_X"_s,      u"LED_G"_s,  u"LED_B"_s,        u"LED_RP"_s,
        u"LED_XP"_s,     u"LED_RS"_s,     u"LED_XS"_s, u"LED_GAMMAR"_s,   u"LED_GAMMAI"_s,
        u"LED_GAMMAM"_s, u"LED_GAMMAP"_s, u"LED_Z0"_s, u"LED_FREQUENZ"_s,
    };
    return names;
}

const QStringList &WindowDriver::sliderNames()
{
    static const QStringList names = {
        u"QS_R"_s,  u"QS_X"_s,  u"QS_G"_s,  u"QS_B"_s, u"QS_RP"_s,
        u"QS_XP"_s, u"QS_RS"_s, u"QS_XS"_s, u"QS_F"_s,
    };
    return names;
}

const QStringList &WindowDriver::gammaFieldNames()
{
    static const QStringList names = {u"LED_GAMMAR"_s, u"LED_GAMMAI"_s, u"LED_GAMMAM"_s,
                                      u"LED_GAMMAP"_s};
    return names;
}

const QStringList &WindowDriver::tableSliderNames()
{
    static const QStringList names = {u"QS_R"_s, u"QS_X"_s,  u"QS_G"_s,
                                      u"QS_B"_s, u"QS_RS"_s, u"QS_RP"_s};
    return names;
}

bool WindowDriver::isLoadField(const QString &name)
{
    return !gammaFieldNames().contains(name) && name != u"LED_Z0";
}

bool WindowDriver::takesMagnitude(const QString &name)
{
    return name == u"LED_R" || name == u"LED_G" || name == u"LED_RP" || name == u"LED_RS"
        || name == u"LED_FREQUENZ";
}

namespace Expected {

namespace {

constexpr double degree = 3.141592653589793 / 180.0;

// Toward zero like a slider position; values beyond the int range, infinities
// and not-a-number saturate (not-a-number like minus infinity) instead of
// being undefined.
int truncated(double value)
{
    if (!(value > std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (value >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

int rankOf(double value, int limit, double z0)
{
    for (int n = 1; n < limit; ++n) {
        if (tableEntry(n - 1, z0) >= value)
            return n;
    }
    return limit;
}

int resistancePosition(double resistance, double z0)
{
    return truncated(rankOf(resistance, 200, z0) / 200.0 * 1000.0);
}

// In double until the range limits, so that an infinite reactance lands on
// the end of the slider.
int logarithmicPosition(double reactance)
{
    if (reactance > 0.0) {
        const double p = std::trunc(999 * 0.25 * std::log10(reactance / 0.1)) + 1;
        return truncated(std::clamp(p, 1.0, 1000.0));
    }
    if (std::isnan(reactance) || reactance > -0.1)
        return -1;
    const double p = -std::trunc(999 * 0.25 * std::log10(-reactance / 0.1)) - 1;
    return truncated(std::clamp(p, -1000.0, -1.0));
}

QString element(double reactance, double frequency, bool parallel)
{
    const double omega = 2.0 * 3.141592653589793 * frequency;
    if (reactance < 0.0)
        return Electrics::formatCapacitance(parallel ? 1.0 / (omega * reactance)
                                                     : -1.0 / (omega * reactance));
    return Electrics::formatInductance(reactance / omega);
}

} // namespace

double tableEntry(int k, double z0)
{
    return z0 * std::tan((0.225 + 0.45 * k) * degree);
}

QHash<QString, int> sliderPositions(complex_dbl gamma, double z0)
{
    const complex_dbl z = Electrics::impedanceFromGamma(gamma, {z0, 0.0});
    const complex_dbl y = Electrics::admittanceFromImpedance(z);
    const Electrics::ParallelEquivalent parallel = Electrics::parallelFromAdmittance(y);
    const double x = z.imag();
    const int xRank = rankOf(std::fabs(x), 199, z0);
    const int bRank = rankOf(1.0 / std::fabs(y.imag()), 199, z0);
    return {
        {u"QS_R"_s, resistancePosition(z.real(), z0)},
        {u"QS_RS"_s, resistancePosition(z.real(), z0)},
        {u"QS_RP"_s, resistancePosition(parallel.rp, z0)},
        {u"QS_X"_s, truncated((x >= 0.0 ? 200 + xRank : 200 - xRank) / 400.0 * 2000.0 - 1000.0)},
        {u"QS_G"_s, truncated(1000.0 - rankOf(1.0 / y.real(), 200, z0) / 200.0 * 1000.0)},
        {u"QS_B"_s, truncated((y.imag() > 0.0 ? 399 - bRank : bRank) / 400.0 * 2000.0 - 1000.0)},
        {u"QS_XS"_s, logarithmicPosition(x)},
        {u"QS_XP"_s, logarithmicPosition(parallel.xp)},
    };
}

int frequencyPosition(double frequency)
{
    if (!(frequency > 0.0))
        return 0;
    return std::clamp(truncated(14 * std::log10(frequency / 1000.0)), 0, 99);
}

QHash<QString, QString> fieldTexts(complex_dbl gamma, double z0, double frequency)
{
    const complex_dbl z = Electrics::impedanceFromGamma(gamma, {z0, 0.0});
    const complex_dbl y = Electrics::admittanceFromImpedance(z);
    const Electrics::ParallelEquivalent parallel = Electrics::parallelFromAdmittance(y);
    const bool resistive = z.imag() == 0.0;
    const QLocale locale;
    const auto number = [&locale](double value, int decimals) {
        return locale.toString(value, 'f', decimals);
    };
    const auto phase = std::atan2(gamma.imag(), gamma.real()) * 180.0 / 3.141592653589793;
    return {
        {u"LED_R"_s, Electrics::formatOhms(z.real(), 2, false)},
        {u"LED_X"_s, Electrics::formatOhms(z.imag(), 2, true)},
        {u"LED_G"_s, number(1000.0 * y.real(), 1) + u" mS"_s},
        {u"LED_B"_s, number(1000.0 * y.imag(), 1) + u" jmS"_s},
        {u"LED_RS"_s, Electrics::formatOhms(z.real(), 2, false)},
        {u"LED_RP"_s, Electrics::formatOhms(resistive ? z.real() : parallel.rp, 2, false)},
        {u"LED_XS"_s, resistive ? QString() : element(z.imag(), frequency, false)},
        {u"LED_XP"_s, resistive ? QString() : element(parallel.xp, frequency, true)},
        {u"LED_GAMMAR"_s, number(gamma.real(), 3)},
        {u"LED_GAMMAI"_s, number(gamma.imag(), 3)},
        {u"LED_GAMMAM"_s, number(std::hypot(gamma.real(), gamma.imag()), 3)},
        {u"LED_GAMMAP"_s, number(phase, 1)},
        {u"LED_Z0"_s, number(z0, 1)},
        {u"LED_FREQUENZ"_s, Electrics::formatFrequency(frequency)},
    };
}

} // namespace Expected
