#pragma once

#include "chart/smithbasics.h"
#include "electrics/complexdbl.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <limits>

class QCloseEvent;
class QResizeEvent;
struct ValueEntry;

namespace Ui {
class Velmora;
}

// The one window of the program: the chart on the left, the column of
// controls on the right, and the load they all show. gamma is the master
// value; z0 and frequency stand beside it, and everything else is derived.
class MainWindow : public QMainWindow, public SmithBasics
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void initChart();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_PUB_Info_clicked();
    void QS_setR(int value);
    void QS_setX(int value);
    void QS_setG(int value);
    void QS_setB(int value);
    void QS_setRP(int value);
    void QS_setXP(int value);
    void QS_setRS(int value);
    void QS_setXS(int value);
    void QS_setF(int value);
    void LED_setZ0();
    void LED_setRX();
    void LED_setGB();
    void LED_setF();
    void LED_setRP();
    void LED_setRS();
    void LED_setXP();
    void LED_setXS();
    void LED_setGammaR();
    void LED_setGammaI();
    void LED_setGammaM();
    void LED_setGammaP();
    void NewGamma(complex_dbl new_gamma);

private:
    static constexpr int sliderTableSize = 200;

    void connectControls();
    void loadSettings();
    void saveSettings();
    void restoreControls();
    void updateSliders(unsigned mask);
    void updateFrequencySlider();
    void refreshDisplays(unsigned mask);
    void fillSliderTable();
    void parseValue(ValueEntry &entry) const;

    bool useLocale = true;
    complex_dbl z0 {50.0, 0.0};
    complex_dbl gamma {0.0, 0.0};
    double frequency = std::numeric_limits<double>::quiet_NaN();
    double rp = std::numeric_limits<double>::quiet_NaN();
    double xp = std::numeric_limits<double>::quiet_NaN();
    double rs = std::numeric_limits<double>::quiet_NaN();
    double xs = std::numeric_limits<double>::quiet_NaN();
    Ui::Velmora *ui;
    bool updatingSliders = false;
    bool updatingFrequency = false;
    double swr[3] = {1.0, 1.0, 1.0};
    // The slider scale; every access goes through at(), which is range-tested.
    std::array<double, sliderTableSize> sliderTable {};
    QString infoText;
    QString normalStyle;
    QString errorStyle;
};
