#pragma once

#include "electrics/complexdbl.h"

#include <QHash>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <Qt>

#include <memory>
#include <optional>

class MainWindow;
class QGraphicsView;
class QLineEdit;
class QSlider;
class QWidget;

// A left-button drag on a chart view with real mouse events on its viewport:
// pressed on construction (on the marker unless told where), released by
// release() or on destruction. The modifiers are held throughout unless a
// move says otherwise: Shift, Ctrl or both hold the drag to a circle.
class MarkerDrag
{
public:
    explicit MarkerDrag(QGraphicsView &view, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    MarkerDrag(QGraphicsView &view, const QPointF &from,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    ~MarkerDrag();
    MarkerDrag(const MarkerDrag &) = delete;
    MarkerDrag &operator=(const MarkerDrag &) = delete;

    void moveTo(const QPointF &viewportPos);
    // A move with the modifiers pressed or let go on the way.
    void moveTo(const QPointF &viewportPos, Qt::KeyboardModifiers modifiers);
    void release();
    // False when the marker does not follow the mouse (the chart has no
    // marker, or the press missed it).
    bool markerFollows() const;

private:
    void send(int type, Qt::MouseButton button, Qt::MouseButtons buttons);
    QPointF markerPos() const;

    QGraphicsView &view;
    QPointF position;
    QPointF markerStart;
    Qt::KeyboardModifiers held;
    bool pressed = true;
    bool markerMoved = false;
};

// Starts the main window with empty settings and works it the way a user does,
// with real key, mouse and wheel events, and reads back what it shows. The
// tests, the robustness programs, the benchmarks and the guide's pictures all
// drive the window through it. Every window begins with the defaults: Z0 50
// ohms, Gamma 0, 1 MHz; the settings are emptied again when the driver goes.
class WindowDriver
{
public:
    // The mouse moves of a drag unless told otherwise.
    static constexpr int dragSteps = 8;

    WindowDriver();
    ~WindowDriver();
    WindowDriver(const WindowDriver &) = delete;
    WindowDriver &operator=(const WindowDriver &) = delete;

    MainWindow &window() const { return *mainWindow; }
    // Any control of the window by its object name; a missing one ends the program.
    QWidget *control(const QString &name) const;
    QLineEdit *field(const QString &name) const;
    QSlider *slider(const QString &name) const;
    QGraphicsView &chartView() const;

    // The field's text; "marker" names the tooltip that the chart's marker shows.
    QString text(const QString &fieldName) const;
    int position(const QString &sliderName) const;
    bool isRed(const QString &fieldName) const;

    // Clicks into the field or spin box, replaces its text by typing and
    // presses Return.
    void enter(const QString &name, const QString &typed);
    // The same without Return: the text waits until the field loses the focus.
    void type(const QString &name, const QString &typed);
    // Types key by key at the cursor, keeping what the field holds.
    void typeKeys(const QString &name, const QString &keys);
    static void typeKeys(QWidget *target, const QString &keys);
    // Replaces the field's text by a paste from the clipboard (Ctrl+A, Ctrl+V).
    void paste(const QString &name, const QString &text);
    void pressReturn(const QString &name);
    // Gives a widget the keyboard focus with a mouse click.
    void clickOn(QWidget *widget);
    // Presses a key on the slider, giving it the focus first.
    void pressKey(const QString &sliderName, int key);
    // Puts the slider's handle at a position, as dragging the handle there does.
    void moveSlider(const QString &sliderName, int position);
    static void moveSlider(QSlider *slider, int position);
    // Turns the mouse wheel over a widget by whole notches, up for positive.
    static void turnWheel(QWidget *widget, int notches,
                          Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Clicks the chart away from the marker for the focus, then presses the
    // keys one after the other ("Ctrl+Left, Home").
    void pressOnChart(const QString &keys);
    // Chooses "Leitungsimpedanz …" in the chart's menu and types the value
    // into its dialog, finished with Return; the steps of the walk done (2
    // when the dialog was reached).
    int chooseLineImpedance(const QString &typed);
    // Drags the marker to the pixel of a load in `steps` mouse moves.
    void dragMarkerTo(const complex_dbl &gamma, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                      int steps = dragSteps);
    // A drag held to a circle by the modifiers, aimed at a point of the chart
    // to the last bit rather than to the nearest pixel: the scene's own mouse
    // events carry scene positions as they are.
    void heldDragTo(const complex_dbl &gamma, Qt::KeyboardModifiers modifiers);
    // Rests the mouse on the marker until its tooltip shows; returns the
    // tooltip window, or null when none shows.
    QWidget *hoverMarker() const;
    // Rests the mouse on the chart at Γ, to the last bit, and returns the
    // tooltip that shows there; empty when none does.
    QString hoverChartAt(const complex_dbl &gamma) const;
    // Takes the keyboard focus from every control, so that no field shows a
    // cursor or a selection and the chart no focus frame.
    void releaseFocus();
    // Closes the window, which stores its settings, and starts a new one that
    // reads them back.
    void restart();
    // Delivers what the last action left queued: layout, scene and paint updates.
    static void settle();

    // Sets Gamma through the two Gamma fields.
    void enterGamma(double real, double imaginary);
    // Gamma as shown in the Gamma fields (3 decimals).
    complex_dbl shownGamma() const;
    // Gamma where the marker stands, if the chart has a marker.
    std::optional<complex_dbl> markerGamma() const;
    // Whether all four Gamma fields show finite numbers.
    bool gammaShownFinite() const;

    // The fourteen fields, the nine value sliders, and groups of them.
    static const QStringList &fieldNames();
    static const QStringList &sliderNames();
    static const QStringList &gammaFieldNames();
    // The six sliders that step through the table of scale values (not the
    // logarithmic XS and XP, nor the frequency).
    static const QStringList &tableSliderNames();
    // A field that holds a value of the load rather than Gamma or Z0.
    static bool isLoadField(const QString &name);
    // A field that takes only values of zero or more.
    static bool takesMagnitude(const QString &name);

private:
    void start();

    std::unique_ptr<MainWindow> mainWindow;
};

// What the controls should show for a load, computed on its own from the
// rules of the program (the slider scale from its closed form z0 tan(angle)).
namespace Expected {

QHash<QString, QString> fieldTexts(complex_dbl gamma, double z0, double frequency);
QHash<QString, int> sliderPositions(complex_dbl gamma, double z0);
int frequencyPosition(double frequency);
double tableEntry(int k, double z0);

} // namespace Expected
