#pragma once

#include "electrics/complexdbl.h"

#include <QHash>
#include <QString>

#include <memory>
#include <optional>

class MainWindow;
class QLineEdit;
class QSlider;
class QWidget;

// Drives the control panel of a freshly started main window the way a user
// does, with real key and mouse events, and reads what the window shows. The
// settings store is emptied before the window starts, so every window begins
// with the defaults: Z0 50 ohms, Gamma 0, 1 MHz.
class ControlPanelDriver
{
public:
    ControlPanelDriver();
    ~ControlPanelDriver();

    MainWindow &window() const { return *mainWindow; }
    QLineEdit *field(const QString &name) const;
    QSlider *slider(const QString &name) const;
    // The field's text; "marker" names the tooltip that the chart's marker shows.
    QString text(const QString &fieldName) const;
    int position(const QString &sliderName) const;
    bool isRed(const QString &fieldName) const;

    // Clicks into the field, replaces its text by typing and presses Return.
    void enter(const QString &fieldName, const QString &typed);
    // The same without Return: the text waits until the field loses the focus.
    void type(const QString &fieldName, const QString &typed);
    void pressReturn(const QString &fieldName);
    // Gives a widget the keyboard focus with a mouse click.
    void clickOn(QWidget *widget);
    void pressKey(const QString &sliderName, int key);
    // Clicks the chart away from the marker for the focus, then presses the
    // keys one after the other ("Ctrl+Left, Home").
    void pressOnChart(const QString &keys);

    // Sets Gamma through the two Gamma fields.
    void enterGamma(double real, double imaginary);
    // Gamma as shown in the Gamma fields (3 decimals).
    complex_dbl shownGamma() const;
    // Gamma where the marker stands, if the chart has a marker.
    std::optional<complex_dbl> markerGamma() const;
    // Whether all four Gamma fields show finite numbers.
    bool gammaShownFinite() const;

    // Names of the fourteen fields and nine sliders.
    static const QStringList &fieldNames();
    static const QStringList &sliderNames();

private:
    QString markerToolTip() const;

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
