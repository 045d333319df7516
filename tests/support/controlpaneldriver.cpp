#include "controlpaneldriver.h"

#include "app/mainwindow.h"
#include "app/settingsstore.h"
#include "chart/graphicsscene.h"
#include "chart/markeritem.h"
#include "electrics/conversions.h"
#include "electrics/formatting.h"

#include <QCoreApplication>
#include <QGraphicsView>
#include <QHelpEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QLocale>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

ControlPanelDriver::ControlPanelDriver()
{
    QSettings(SettingsStore::organisation(), SettingsStore::application()).clear();
    mainWindow = std::make_unique<MainWindow>();
    mainWindow->activateWindow();
    if (!QTest::qWaitForWindowActive(mainWindow.get()))
        qWarning("the main window did not become active");
}

ControlPanelDriver::~ControlPanelDriver()
{
    mainWindow.reset();
    QSettings(SettingsStore::organisation(), SettingsStore::application()).clear();
}

QLineEdit *ControlPanelDriver::field(const QString &name) const
{
    auto *lineEdit = mainWindow->findChild<QLineEdit *>(name);
    Q_ASSERT(lineEdit);
    return lineEdit;
}

QSlider *ControlPanelDriver::slider(const QString &name) const
{
    auto *found = mainWindow->findChild<QSlider *>(name);
    Q_ASSERT(found);
    return found;
}

QString ControlPanelDriver::text(const QString &fieldName) const
{
    if (fieldName == u"marker")
        return markerToolTip();
    return field(fieldName)->text();
}

// Rests the mouse on the marker and reads the tooltip that comes up.
QString ControlPanelDriver::markerToolTip() const
{
    auto *view = mainWindow->findChild<QGraphicsView *>(u"QGV_Chart"_s);
    const QPoint at = view->mapFromScene(mainWindow->chartScene()->markerGraphic()->pos());
    QTest::mouseMove(view->viewport(), at);
    // The event that the toolkit sends once the mouse has rested.
    QHelpEvent rested(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view->viewport(), &rested);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

int ControlPanelDriver::position(const QString &sliderName) const
{
    return slider(sliderName)->sliderPosition();
}

bool ControlPanelDriver::isRed(const QString &fieldName) const
{
    return field(fieldName)->styleSheet().contains(u"Red"_s);
}

void ControlPanelDriver::clickOn(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(4, widget->height() / 2));
    if (!widget->hasFocus())
        qWarning("the click did not give %s the focus", qPrintable(widget->objectName()));
}

void ControlPanelDriver::type(const QString &fieldName, const QString &typed)
{
    QLineEdit *lineEdit = field(fieldName);
    if (!lineEdit->hasFocus())
        clickOn(lineEdit);
    QTest::keyClick(lineEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(lineEdit, Qt::Key_Delete);
    for (const QChar character : typed) {
        // Characters outside Latin-1 (the ohm sign) have no key of their own.
        if (character.unicode() < 0x80)
            QTest::keyClick(lineEdit, character.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, lineEdit, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
    }
}

void ControlPanelDriver::pressReturn(const QString &fieldName)
{
    QLineEdit *lineEdit = field(fieldName);
    if (!lineEdit->hasFocus())
        clickOn(lineEdit);
    QTest::keyClick(lineEdit, Qt::Key_Return);
}

void ControlPanelDriver::enter(const QString &fieldName, const QString &typed)
{
    type(fieldName, typed);
    pressReturn(fieldName);
}

void ControlPanelDriver::pressKey(const QString &sliderName, int key)
{
    QSlider *target = slider(sliderName);
    if (!target->hasFocus())
        target->setFocus(Qt::TabFocusReason);
    QTest::keyClick(target, Qt::Key(key));
}

void ControlPanelDriver::pressOnChart(const QString &keys)
{
    auto *view = mainWindow->findChild<QGraphicsView *>(u"QGV_Chart"_s);
    if (!view->hasFocus())
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
    for (const QString &key : keys.split(u',', Qt::SkipEmptyParts)) {
        const QKeyCombination pressed = QKeySequence(key.trimmed())[0];
        QTest::keyClick(view, pressed.key(), pressed.keyboardModifiers());
    }
}

void ControlPanelDriver::enterGamma(double real, double imaginary)
{
    enter(u"LED_GAMMAR"_s, QLocale().toString(real, 'f', 3));
    enter(u"LED_GAMMAI"_s, QLocale().toString(imaginary, 'f', 3));
}

complex_dbl ControlPanelDriver::shownGamma() const
{
    return {QLocale().toDouble(text(u"LED_GAMMAR"_s)), QLocale().toDouble(text(u"LED_GAMMAI"_s))};
}

std::optional<complex_dbl> ControlPanelDriver::markerGamma() const
{
    const GraphicsScene *scene = mainWindow->chartScene();
    if (!scene || !scene->markerGraphic())
        return std::nullopt;
    return GraphicsScene::gammaAt(scene->markerGraphic()->pos());
}

bool ControlPanelDriver::gammaShownFinite() const
{
    for (const QString &name :
         {u"LED_GAMMAR"_s, u"LED_GAMMAI"_s, u"LED_GAMMAM"_s, u"LED_GAMMAP"_s}) {
        bool converted = false;
        const double shown = QLocale().toDouble(text(name), &converted);
        if (!converted || !std::isfinite(shown))
            return false;
    }
    return true;
}

const QStringList &ControlPanelDriver::fieldNames()
{
    static const QStringList names = {
        u"LED_R"_s,      u"LED_X"_s,      u"LED_G"_s,  u"LED_B"_s,        u"LED_RP"_s,
        u"LED_XP"_s,     u"LED_RS"_s,     u"LED_XS"_s, u"LED_GAMMAR"_s,   u"LED_GAMMAI"_s,
        u"LED_GAMMAM"_s, u"LED_GAMMAP"_s, u"LED_Z0"_s, u"LED_FREQUENZ"_s,
    };
    return names;
}

const QStringList &ControlPanelDriver::sliderNames()
{
    static const QStringList names = {
        u"QS_R"_s,  u"QS_X"_s,  u"QS_G"_s,  u"QS_B"_s, u"QS_RP"_s,
        u"QS_XP"_s, u"QS_RS"_s, u"QS_XS"_s, u"QS_F"_s,
    };
    return names;
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
