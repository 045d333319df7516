#pragma once

#include "chart/smithbasics.h"
#include "electrics/complexdbl.h"
#include "electrics/network.h"
#include "electrics/sliderscale.h"

#include <QHash>
#include <QMainWindow>
#include <QString>

#include <initializer_list>
#include <limits>
#include <optional>

class QCloseEvent;
class QLineEdit;
class QResizeEvent;
class QSlider;
struct ValueEntry;
enum class EntryRefusal;
namespace Electrics {
enum class ExerciseChange;
struct ExerciseTask;
} // namespace Electrics

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
    void connectControls();
    void loadSettings();
    void saveSettings();
    void restoreControls();
    void updateSliders(unsigned mask);
    void updateFrequencySlider();
    void refreshDisplays(unsigned mask);
    void fillSliderTable();
    void parseValue(ValueEntry &entry) const;

    void fitControlsToContents();
    void applyCrossFade();
    void rebuildChart();
    void tearDownChart();
    void trackUserEntries();
    bool takeUserEntry(unsigned fields);

    // A table slider's scale, the load's quantity on it and its slot.
    struct TableSlider
    {
        Electrics::TableScale scale;
        double quantity;
        void (MainWindow::*slot)(int);
    };
    TableSlider tableSlider(const QSlider *slider) const;
    void stepTableSlider(QSlider *slider, int action);
    complex_dbl gammaOfImpedance(complex_dbl z) const;
    complex_dbl gammaOfAdmittance(complex_dbl y) const;
    complex_dbl gammaWithSeriesResistance(double seriesR) const;
    complex_dbl gammaWithSeriesReactance(double seriesX) const;
    complex_dbl gammaWithParallelResistance(double parallelR) const;
    complex_dbl gammaWithParallelReactance(double parallelX) const;
    void renewEquivalents();
    void setFrequency(double hertz, bool moveSlider);
    void setReferenceImpedance(double ohms);
    bool setLoad(complex_dbl newGamma, unsigned sliderMask);
    void setLoadFromSlider(complex_dbl newGamma, unsigned movedSlider);

    // Exercises: a task's Z0, frequency and load are set through the paths
    // above, and a later change of any of them abandons it.
    void setUpExercises();
    void startExercise(int number, int hintsUsed = 0);
    void resumeExercisePath(const Electrics::ExerciseTask &task, complex_dbl pathEnd);
    void abandonExerciseUnless(bool kept, Electrics::ExerciseChange change);
    // Whether the value is the running task's; true without a running task.
    bool isExerciseLoad(complex_dbl newGamma) const;
    bool isExerciseFrequency(double hertz) const;
    bool isExerciseReferenceImpedance(double ohms) const;

    void markRefused(QLineEdit *field, EntryRefusal cause);
    void markAccepted(QLineEdit *field);
    static ValueEntry plainNumberEntry(const QLineEdit *field, bool nonNegative);
    bool judgedNumber(QLineEdit *field, const ValueEntry &entry);
    std::optional<ValueEntry> acceptedEntry(QLineEdit *field, bool nonNegative);
    std::optional<double> acceptedNumber(QLineEdit *field, bool nonNegative);
    std::optional<double> acceptedReactance(QLineEdit *field);
    void setTypedLoad(complex_dbl newGamma, std::initializer_list<QLineEdit *> fields);

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
    // Whether held moves on the chart land exactly on the matching circles,
    // between the settings and the chart.
    bool snapping = true;
    // The impedance of the lines held moves make, in ohms; 0 follows Z0.
    double lineImpedance = 0.0;
    // How the chart builds series and shunt elements, between the settings
    // and the chart.
    Electrics::Realisation seriesRealisation = Electrics::Realisation::LumpedLC;
    Electrics::Realisation shuntRealisation = Electrics::Realisation::LumpedLC;
    // The matching path as stored, taken back once the chart stands, and
    // kept here from the close, which takes the chart down, to the store.
    QString matchingPath;
    // The match over a band as the chart's menu last chose it: the span as a
    // fraction of f0, the load's circuit and the Q of the Q circles, 0 for off.
    double bandSpan = 0.0;
    Electrics::LoadCircuit loadCircuit = Electrics::LoadCircuit::Series;
    double qCircles = 0.0;
    // The exercise as stored, between the settings and the chart.
    QString storedExercise;
    // The slider scale; every access goes through at(), which is range-tested.
    Electrics::SliderTable sliderTable {};
    QString infoText;
    QString normalStyle;
    QString errorStyle;
    // The usual tooltip and accessible description of each field that is red
    // now, to come back when it is accepted again.
    struct FieldTexts
    {
        QString toolTip;
        QString description;
    };
    QHash<const QLineEdit *, FieldTexts> usualTexts;
    // The line edits (by their update-mask bits) whose text the user asked to be
    // read: by Return or Enter, or by editing it since the field was last written.
    unsigned userEntries = 0;
};
