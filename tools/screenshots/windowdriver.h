#pragma once

#include "electrics/complexdbl.h"

#include <QString>
#include <Qt>

#include <memory>

class MainWindow;
class QWidget;

// Starts the main window with empty settings and works its controls the way a
// user does: typing into fields and pressing Return, moving sliders, dragging
// the marker. The window belongs to the driver.
class WindowDriver
{
public:
    WindowDriver();
    ~WindowDriver();
    WindowDriver(const WindowDriver &) = delete;
    WindowDriver &operator=(const WindowDriver &) = delete;

    MainWindow &window() const { return *mainWindow; }
    QWidget *control(const QString &objectName) const;

    // Clicks into the field or spin box, replaces its text and presses Return.
    void enter(const QString &objectName, const QString &typed);
    void moveSlider(const QString &sliderName, int position);
    void dragMarkerTo(const complex_dbl &gamma);
    // A drag held to a circle by the modifiers (Shift, Ctrl or both), aimed at
    // a point of the chart to the last bit rather than to the nearest pixel.
    void heldDragTo(const complex_dbl &gamma, Qt::KeyboardModifiers modifiers);
    // Gives the chart the keyboard focus and presses the keys ("Ctrl+Right").
    void pressOnChart(const QString &keys);
    // Rests the mouse on the marker until its tooltip shows; returns the tooltip.
    QWidget *hoverMarker();
    // Takes the keyboard focus from every control, so that no field shows a
    // cursor or a selection and the chart no focus frame.
    void releaseFocus();
    // Closes the window, which stores its settings, and starts a new one that
    // reads them back.
    void restart();
    // Delivers what the last action left queued: layout, scene and paint updates.
    static void settle();

private:
    void start();

    std::unique_ptr<MainWindow> mainWindow;
};
