#include "monkey.h"

#include "modaldriver.h"
#include "windowdriver.h"

#include "app/mainwindow.h"
#include "chart/graphicsscene.h"
#include "chart/markeritem.h"
#include "electrics/conversions.h"
#include "electrics/exercise.h"
#include "electrics/matching.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDoubleSpinBox>
#include <QGraphicsView>
#include <QKeySequence>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include <cmath>
#include <complex>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype longestTypedText = 64;

int randomKey(QRandomGenerator &random)
{
    return Hostile::oneOf(
        random,
        {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End});
}

// None, or what holds a drag to a circle: Shift, Ctrl or both, with Alt at times.
Qt::KeyboardModifiers randomModifiers(QRandomGenerator &random)
{
    static const Qt::KeyboardModifiers choices[] = {
        Qt::NoModifier,
        Qt::ShiftModifier,
        Qt::ControlModifier,
        Qt::ShiftModifier | Qt::ControlModifier,
        Qt::AltModifier | Qt::ShiftModifier,
    };
    return Hostile::oneOf(random, choices);
}

QString describeModifiers(Qt::KeyboardModifiers modifiers)
{
    return modifiers == Qt::NoModifier
        ? u"no key"_s
        : QKeySequence(QKeyCombination(modifiers, Qt::Key_unknown)).toString().chopped(1);
}

// An extreme or a random value of the range.
int randomPosition(QRandomGenerator &random, int min, int max)
{
    if (random.bounded(2) == 0)
        return Hostile::oneOf(random, {min, max, 0, 1, -1, min + 1, max - 1});
    return random.bounded(min, max + 1);
}

} // namespace

Monkey::Monkey(WindowDriver &driver, quint32 seed)
    : panel(driver)
    , random(seed)
    , loadChecker(driver)
    , pastes(Hostile::fullLengthPastes())
{ }

QString Monkey::step()
{
    action = UserAction();
    loadChecker.beforeAction();
    const int kind = random.bounded(100);
    // A running task draws held drags, which may solve it before the next
    // change of the load abandons it.
    const bool taskRunning =
        panel.window().chartScene()->exercise().state() == ExerciseOverlay::State::Running;
    if (taskRunning && random.bounded(2) == 0)
        dragMarker();
    else if (kind < 36)
        typeRandomEntry();
    else if (kind < 38)
        useExerciseMenu();
    else if (kind < 42)
        pressReturnUnchanged();
    else if (kind < 62)
        pressSliderKey();
    else if (kind < 70)
        setSliderValue();
    else if (kind < 79)
        dragMarker();
    else if (kind < 82)
        pressChartKey();
    else if (kind < 84)
        useChartMenu();
    else if (kind < 90)
        changeSwr();
    else if (kind < 95)
        crossFade();
    else if (kind < 98)
        typeZ0();
    else
        hoverChart();
    return loadChecker.afterAction(action);
}

QString Monkey::enter(const QString &name, const QString &text)
{
    action = UserAction();
    loadChecker.beforeAction();
    action.description = u"enter \"%1\" into %2"_s.arg(text, name);
    panel.enter(name, text);
    action.enteredField = name;
    action.enteredText = text;
    return loadChecker.afterAction(action);
}

// A field's own kind of value, a hostile text, a full-length paste, or the
// shown text with one character changed.
QString Monkey::fieldText(const QString &name)
{
    const int kind = random.bounded(100);
    if (kind < 50)
        return Hostile::shortText(random);
    if (kind < 60) {
        QString shown = panel.text(name);
        const int at = shown.isEmpty() ? 0 : random.bounded(int(shown.size()));
        if (random.bounded(2) == 0 && !shown.isEmpty())
            return shown.remove(at, 1);
        return shown.insert(at, QLocale().decimalPoint());
    }
    const QLocale locale;
    if (WindowDriver::gammaFieldNames().contains(name))
        return locale.toString(Hostile::between(random, -1.5, 1.5), 'f', random.bounded(1, 8));
    if (name == u"LED_FREQUENZ")
        return locale.toString(Hostile::between(random, 0.0, 999.0), 'f', 3) + u" kHz"_s;
    if (name == u"LED_XS" || name == u"LED_XP")
        return locale.toString(Hostile::between(random, 0.0, 100.0), 'f', 2)
            + (random.bounded(2) ? u" nF"_s : u" µH"_s);
    if (name == u"LED_G" || name == u"LED_B")
        return locale.toString(Hostile::between(random, -50.0, 50.0), 'f', 1) + u" mS"_s;
    return locale.toString(Hostile::between(random, -10.0, 500.0), 'f', 2)
        + (name == u"LED_X" ? u" jΩ"_s : u" Ω"_s);
}

void Monkey::typeRandomEntry()
{
    const QString name = Hostile::oneOf(random, WindowDriver::fieldNames());
    if (random.bounded(50) == 0) {
        const Hostile::Paste paste = Hostile::oneOf(random, pastes);
        action.description = u"paste %1 into %2"_s.arg(paste.kind, name);
        typeIntoField(name, paste.text, true);
    } else {
        // A long text (a paste left standing, changed by one character) is
        // pasted again: typing it key by key would take minutes.
        const QString text = fieldText(name);
        const bool paste = text.size() > longestTypedText;
        action.description =
            u"%1 \"%2\" into %3"_s.arg(paste ? u"paste"_s : u"type"_s, text.left(200), name);
        typeIntoField(name, text, paste);
    }
}

void Monkey::typeZ0()
{
    static const QStringList texts = {
        u"0"_s,   u"0,0"_s,    u"50"_s,    u"75"_s,    u"1e300"_s, u"1e-300"_s, u"-5"_s,   u"nan"_s,
        u"inf"_s, u"100000"_s, u"0,001"_s, u"1.000"_s, u"1,5e2"_s, u"75 Ω"_s,   QString(),
    };
    const QString text = random.bounded(3) == 0
        ? QLocale().toString(Hostile::between(random, 1.0, 300.0), 'f', random.bounded(3))
        : Hostile::oneOf(random, texts);
    action.description = u"type \"%1\" into LED_Z0"_s.arg(text);
    typeIntoField(u"LED_Z0"_s, text, false);
}

void Monkey::typeIntoField(const QString &name, const QString &text, bool paste)
{
    QLineEdit *field = panel.field(name);
    QSignalSpy edits(field, &QLineEdit::textEdited);
    if (paste)
        panel.paste(name, text);
    else
        panel.type(name, text);
    finishEntry(name, int(edits.count()));
}

// Return, Enter or Tab; Tab takes the entry only after an edit.
void Monkey::finishEntry(const QString &name, int edits)
{
    QLineEdit *field = panel.field(name);
    const QString text = field->text();
    const int finish = random.bounded(10);
    if (finish < 2) {
        QTest::keyClick(field, Qt::Key_Tab);
        action.description += u", Tab"_s;
        if (edits == 0)
            return;
    } else {
        QTest::keyClick(field, finish < 4 ? Qt::Key_Enter : Qt::Key_Return);
    }
    action.enteredField = name;
    action.enteredText = text;
}

// The load is read again from the rounded display.
void Monkey::pressReturnUnchanged()
{
    const QString name = Hostile::oneOf(random, WindowDriver::fieldNames());
    action.description = u"Return in unchanged %1"_s.arg(name);
    action.enteredField = name;
    action.enteredText = panel.text(name);
    panel.pressReturn(name);
}

void Monkey::noteSliderMove(const QString &name, int valueBefore)
{
    action.movedSlider = name;
    action.sliderValueChanged = panel.slider(name)->value() != valueBefore;
}

void Monkey::pressSliderKey()
{
    const QString name = Hostile::oneOf(random, WindowDriver::sliderNames());
    const int key = randomKey(random);
    const int before = panel.slider(name)->value();
    action.description = u"key %1 on %2"_s.arg(QKeySequence(key).toString(), name);
    panel.pressKey(name, key);
    noteSliderMove(name, before);
}

void Monkey::setSliderValue()
{
    const QString name = Hostile::oneOf(random, WindowDriver::sliderNames());
    const QSlider *slider = panel.slider(name);
    const int target = randomPosition(random, slider->minimum(), slider->maximum());
    const int before = slider->value();
    action.description = u"%1 set to %2"_s.arg(name).arg(target);
    panel.moveSlider(name, target);
    noteSliderMove(name, before);
}

// Inside the unit circle, in the corners of the square around it, anywhere
// in the view, or far outside the window.
QPointF Monkey::randomViewportTarget(const QGraphicsView &view)
{
    switch (random.bounded(4)) {
    case 0: {
        const double radius = std::sqrt(random.generateDouble());
        const double angle = Hostile::between(random, 0.0, Electrics::twoPi);
        return view.mapFromScene(GraphicsScene::scenePoint(std::polar(radius, angle)));
    }
    case 1: {
        const double re = (random.bounded(2) ? 1 : -1) * Hostile::between(random, 0.75, 1.0);
        const double im = (random.bounded(2) ? 1 : -1) * Hostile::between(random, 0.75, 1.0);
        return view.mapFromScene(GraphicsScene::scenePoint({re, im}));
    }
    case 2:
        return QPointF(random.bounded(view.viewport()->width()),
                       random.bounded(view.viewport()->height()));
    default:
        return QPointF(random.bounded(-2000, 4000), random.bounded(-2000, 4000));
    }
}

// While a task runs, a held drag at times aims at a point where its move
// lands exactly (a crossing with R = Z0 or G = 1/Z0, or the centre), so that
// a task is solved now and then.
std::optional<QPointF> Monkey::landingAim(const QGraphicsView &view,
                                          Qt::KeyboardModifiers modifiers)
{
    const GraphicsScene &scene = *panel.window().chartScene();
    const Qt::KeyboardModifiers held = modifiers & (Qt::ShiftModifier | Qt::ControlModifier);
    const std::optional<complex_dbl> load = panel.markerGamma();
    if (scene.exercise().state() != ExerciseOverlay::State::Running || held == Qt::NoModifier
        || !load || random.bounded(2) == 0)
        return std::nullopt;
    const Electrics::MatchingMove move = held == Qt::ShiftModifier ? Electrics::MatchingMove::Series
        : held == Qt::ControlModifier                              ? Electrics::MatchingMove::Shunt
                                                                   : Electrics::MatchingMove::Line;
    const std::vector<complex_dbl> targets =
        Electrics::snapTargets(move, *load, scene.referenceImpedance(), scene.lineImpedance());
    if (targets.empty())
        return std::nullopt;
    const complex_dbl target = targets[random.bounded(static_cast<quint32>(targets.size()))];
    return view.mapFromScene(GraphicsScene::scenePoint(target));
}

void Monkey::dragMarker()
{
    QGraphicsView &view = panel.chartView();
    const markerItem *marker = panel.window().chartScene()->markerGraphic();
    const QPoint start = marker ? view.mapFromScene(marker->pos()) : QPoint();
    if (!marker || !view.viewport()->rect().contains(start)) {
        // A marker left outside the view cannot be grabbed; move a slider instead.
        pressSliderKey();
        return;
    }
    Qt::KeyboardModifiers modifiers = randomModifiers(random);
    action.description = u"drag marker from (%1, %2) with %3"_s.arg(start.x()).arg(start.y()).arg(
        describeModifiers(modifiers));
    action.drag = true;
    MarkerDrag drag(view, start, modifiers);
    if (const std::optional<QPointF> aim = landingAim(view, modifiers)) {
        action.description += u" straight to (%1, %2)"_s.arg(aim->x()).arg(aim->y());
        drag.moveTo(*aim);
        return;
    }
    const int moves = random.bounded(1, 5);
    for (int i = 0; i < moves; ++i) {
        const QPoint at = randomViewportTarget(view).toPoint();
        // Modifiers pressed or let go during the drag.
        if (random.bounded(3) == 0)
            modifiers = randomModifiers(random);
        action.description +=
            u" to (%1, %2) with %3"_s.arg(at.x()).arg(at.y()).arg(describeModifiers(modifiers));
        drag.moveTo(at, modifiers);
    }
}

// The arrow keys, Home and Ctrl+Z on the focused chart, which move the load
// freely or about its circle in the mode the chart's menu holds.
void Monkey::pressChartKey()
{
    static const QStringList keys = {u"Up"_s,        u"Down"_s,       u"Left"_s, u"Right"_s,
                                     u"Shift+Up"_s,  u"Ctrl+Down"_s,  u"Home"_s, u"Ctrl+Z"_s,
                                     u"Ctrl+Left"_s, u"Shift+Right"_s};
    const QString key = Hostile::oneOf(random, keys);
    action.description = u"key %1 on the chart"_s.arg(key);
    action.drag = true;
    panel.pressOnChart(key);
}

// Opens the chart's menu with the mouse or Shift+F10 and chooses an entry,
// often in the middle of a drag.
void Monkey::useChartMenu()
{
    static const QStringList entries = {
        u"Frei bewegen"_s,
        u"Serienelement (R konstant)"_s,
        u"Parallelelement (G konstant)"_s,
        u"Leitung (|Γ| konstant)"_s,
        u"Leitungsimpedanz …"_s,
        u"Leitungsimpedanz = Z0"_s,
        u"Parallelelemente als/L und C"_s,
        u"Parallelelemente als/Stichleitung, leerlaufend"_s,
        u"Parallelelemente als/Stichleitung, kurzgeschlossen"_s,
        u"Serienelemente als/L und C"_s,
        u"Serienelemente als/Stichleitung, leerlaufend"_s,
        u"Serienelemente als/Stichleitung, kurzgeschlossen"_s,
        u"Letztes Element zurücknehmen"_s,
        u"Anpassung löschen"_s,
        u"Diagramm kopieren"_s,
        u"Frequenzband/aus"_s,
        u"Frequenzband/±5 %"_s,
        u"Frequenzband/±50 %"_s,
        u"Last über der Frequenz/als Reihenschaltung"_s,
        u"Last über der Frequenz/als Parallelschaltung"_s,
        u"Last über der Frequenz/frequenzunabhängig"_s,
        u"Q-Kreise/aus"_s,
        u"Q-Kreise/0,5"_s,
        u"Q-Kreise/10"_s,
    };
    const QString entry = Hostile::oneOf(random, entries);
    action.description = u"choose \"%1\" in the chart's menu"_s.arg(entry);
    ModalDriver menu;
    menu.chooseFromMenu(entry);
    int steps = 1;
    if (entry == u"Leitungsimpedanz …"_s) {
        // A line impedance from the usual range, or a text the dialog refuses
        // before it is cancelled.
        static const QStringList texts = {u"22,36"_s, u"0,1"_s, u"10000"_s, u"0"_s,
                                          u"-5"_s,    u"nan"_s, u"75 Ω"_s,  QString()};
        const QString text = random.bounded(2) == 0
            ? QLocale().toString(Hostile::between(random, 1.0, 300.0), 'f', random.bounded(3))
            : Hostile::oneOf(random, texts);
        action.description += u" and type \"%1\" into LED_ZLEITUNG"_s.arg(text);
        menu.addStep("LineImpedanceDialog", [text](QWidget *dialog) {
            auto *field = dialog->findChild<QLineEdit *>(u"LED_ZLEITUNG"_s);
            // Typed as a paste, since key clicks know no Ω.
            field->selectAll();
            field->insert(text);
            QTest::keyClick(field, Qt::Key_Return);
            if (dialog->isVisible())
                QTest::keyClick(field, Qt::Key_Escape);
        });
        steps = 2;
    }
    openChartMenu(menu, steps);
}

// Sets a task by "Neue Aufgabe" or by a number typed into the dialog, some
// texts refused, or asks for a hint, copies the task or ends it.
void Monkey::useExerciseMenu()
{
    static const QStringList entries = {u"Übung/Neue Aufgabe"_s, u"Übung/Aufgabe Nr. …"_s,
                                        u"Übung/Tipp"_s, u"Übung/Aufgabe kopieren"_s,
                                        u"Übung/Übung beenden"_s};
    static const QStringList refused = {u"0"_s,       u"5000"_s, u"12,5"_s,
                                        u"zwanzig"_s, u"-3"_s,   QString()};
    const QString entry = Hostile::oneOf(random, entries);
    action.description = u"choose \"%1\" in the chart's menu"_s.arg(entry);
    ModalDriver menu;
    menu.chooseFromMenu(entry);
    int steps = 1;
    int typedNumber = 0;
    if (entry == u"Übung/Aufgabe Nr. …"_s) {
        const int number =
            random.bounded(Electrics::firstExerciseNumber, Electrics::lastExerciseNumber + 1);
        const bool refuse = random.bounded(4) == 0;
        const QString text = refuse ? Hostile::oneOf(random, refused) : QString::number(number);
        typedNumber = refuse ? 0 : number;
        action.description += u" and type \"%1\" into LED_AUFGABE"_s.arg(text);
        menu.addStep("ExerciseDialog", [text](QWidget *dialog) {
            auto *field = dialog->findChild<QLineEdit *>(u"LED_AUFGABE"_s);
            QTest::keyClicks(field, text);
            QTest::keyClick(field, Qt::Key_Return);
            if (dialog->isVisible())
                QTest::keyClick(field, Qt::Key_Escape);
        });
        steps = 2;
    }
    if (!openChartMenu(menu, steps))
        return;
    if (typedNumber > 0) {
        action.startedTask = typedNumber;
    } else if (entry == u"Übung/Neue Aufgabe"_s) {
        // The program draws the number; the window must show that task.
        const ExerciseOverlay &shown = panel.window().chartScene()->exercise();
        const bool running = shown.state() == ExerciseOverlay::State::Running;
        action.startedTask = running ? shown.task()->number : -1;
        action.description += u" (task %1)"_s.arg(action.startedTask);
    }
}

// Opens the chart's menu with the mouse or Shift+F10, often in the middle of
// a drag, for a walk of `steps`; false when the walk did not finish.
bool Monkey::openChartMenu(ModalDriver &menu, int steps)
{
    QGraphicsView &view = panel.chartView();
    action.drag = true;
    menu.start();
    const markerItem *marker = panel.window().chartScene()->markerGraphic();
    const QPoint start = marker ? view.mapFromScene(marker->pos()) : QPoint();
    std::optional<MarkerDrag> drag;
    if (marker && view.viewport()->rect().contains(start) && random.bounded(2)) {
        action.description += u" during a drag"_s;
        drag.emplace(view, start);
        drag->moveTo(randomViewportTarget(view).toPoint());
    }
    if (random.bounded(2) == 0) {
        panel.pressOnChart(u"Shift+F10"_s);
    } else {
        const QPoint at = randomViewportTarget(view).toPoint();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
        QApplication::sendEvent(view.viewport(), &click);
    }
    drag.reset(); // the release, if a drag was under way
    const bool walked = menu.stepsDone() == steps;
    if (!walked)
        action.description += u" (the menu did not open)"_s;
    // The headless platform has no window manager to give the activation back.
    panel.window().activateWindow();
    if (!QTest::qWaitForWindowActive(&panel.window()))
        action.description += u" (the window stayed inactive)"_s;
    return walked;
}

// Rests the mouse on the chart: anywhere, or next to the load, where the
// band's curves pass.
void Monkey::hoverChart()
{
    const std::optional<complex_dbl> load = panel.markerGamma();
    const complex_dbl offset(Hostile::between(random, -0.02, 0.02),
                             Hostile::between(random, -0.02, 0.02));
    const complex_dbl at = load && random.bounded(2)
        ? *load + offset
        : complex_dbl(Hostile::between(random, -1.1, 1.1), Hostile::between(random, -1.1, 1.1));
    action.description = u"rest the mouse on the chart at %1%2j"_s.arg(at.real()).arg(at.imag());
    panel.hoverChartAt(at);
}

void Monkey::changeSwr()
{
    const QString name = u"SPB_SWR%1"_s.arg(random.bounded(1, 4));
    auto *spinBox = qobject_cast<QDoubleSpinBox *>(panel.control(name));
    spinBox->setFocus(Qt::TabFocusReason);
    switch (random.bounded(3)) {
    case 0: {
        const int key = randomKey(random);
        action.description = u"key %1 on %2"_s.arg(QKeySequence(key).toString(), name);
        QTest::keyClick(spinBox, Qt::Key(key));
        break;
    }
    case 1: {
        const double value = Hostile::between(random, 0.0, 120.0);
        action.description = u"%1 set to %2"_s.arg(name).arg(value);
        spinBox->setValue(value);
        break;
    }
    default: {
        const QString text = Hostile::shortText(random);
        action.description = u"type \"%1\" into %2"_s.arg(text, name);
        panel.enter(name, text);
    }
    }
}

void Monkey::crossFade()
{
    const QString name = u"QS_OPACITY"_s;
    if (random.bounded(2) == 0) {
        const int key = randomKey(random);
        action.description = u"key %1 on %2"_s.arg(QKeySequence(key).toString(), name);
        panel.pressKey(name, key);
    } else {
        const QSlider *slider = panel.slider(name);
        const int target = randomPosition(random, slider->minimum(), slider->maximum());
        action.description = u"%1 set to %2"_s.arg(name).arg(target);
        panel.moveSlider(name, target);
    }
}
