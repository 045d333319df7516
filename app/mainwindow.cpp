#include "app/mainwindow.h"

#include "app/controlbackdrop.h"
#include "app/settingsstore.h"
#include "app/updatemask.h"
#include "app/wheelstepfilter.h"
#include "chart/graphicsscene.h"
#include "dialogs/infodialog.h"
#include "dialogs/infotext.h"

#include "ui_mainwindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QResizeEvent>
#include <QSlider>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::Velmora)
    , infoText(programInfoText())
    , errorStyle(QStringLiteral("color: Red;"))
{
    ui->setupUi(this);
    fitControlsToContents();
    // The fields and sliders, rewritten on every step of a drag, repaint
    // without their group boxes.
    auto *backdrop = new ControlBackdrop(this);
    for (QWidget *control : ui->centralwidget->findChildren<QWidget *>()) {
        if ((qobject_cast<QLineEdit *>(control) || qobject_cast<QSlider *>(control))
            && qobject_cast<QGroupBox *>(control->parentWidget()))
            backdrop->install(control);
    }

    // The settings store is addressed by these two names.
    QCoreApplication::setOrganizationName(SettingsStore::organisation());
    QCoreApplication::setApplicationName(SettingsStore::application());
    loadSettings();
    restoreControls();

    attachView(ui->QGV_Chart);
    chartScene()->setSnapping(snapping);
    chartScene()->setLineImpedance(lineImpedance);
    setRealisation(Electrics::MatchingMove::Series, seriesRealisation);
    setRealisation(Electrics::MatchingMove::Shunt, shuntRealisation);
    chartScene()->setBandSpan(bandSpan);
    chartScene()->setLoadCircuit(loadCircuit);
    chartScene()->setQCircles(qCircles);
    connectControls();
    trackUserEntries();
    initChart();
    setMatchingFrequency(frequency);
    updateSliders(UpdateMask::All);
    setGamma(gamma);
    restoreMatchingPath(matchingPath, gamma);
    refreshDisplays(UpdateMask::All);
    normalStyle = ui->LED_FREQUENZ->styleSheet();
    setUpExercises();
}

MainWindow::~MainWindow()
{
    // A field that still has the focus would report its editing as finished
    // while the base classes hide the window, after this part is gone; it
    // finishes now, as on closing, so that its entry is kept.
    if (QWidget *focused = focusWidget())
        focused->clearFocus();
    saveSettings();
    delete ui;
}

void MainWindow::connectControls()
{
    connect(ui->QS_R, &QSlider::valueChanged, this, &MainWindow::QS_setR);
    connect(ui->QS_X, &QSlider::valueChanged, this, &MainWindow::QS_setX);
    connect(ui->QS_G, &QSlider::valueChanged, this, &MainWindow::QS_setG);
    connect(ui->QS_B, &QSlider::valueChanged, this, &MainWindow::QS_setB);
    connect(ui->QS_RP, &QSlider::valueChanged, this, &MainWindow::QS_setRP);
    connect(ui->QS_XP, &QSlider::valueChanged, this, &MainWindow::QS_setXP);
    connect(ui->QS_RS, &QSlider::valueChanged, this, &MainWindow::QS_setRS);
    connect(ui->QS_XS, &QSlider::valueChanged, this, &MainWindow::QS_setXS);
    connect(ui->QS_F, &QSlider::valueChanged, this, &MainWindow::QS_setF);
    // The table sliders step one scale value, counted from the load, per key
    // press and per wheel notch, and a page's worth per page step.
    auto *wheelSteps = new WheelStepFilter(this);
    for (QSlider *slider : {ui->QS_R, ui->QS_X, ui->QS_G, ui->QS_B, ui->QS_RP, ui->QS_RS}) {
        wheelSteps->install(slider);
        connect(slider, &QAbstractSlider::actionTriggered, this,
                [this, slider](int action) { stepTableSlider(slider, action); });
    }

    connect(ui->LED_R, &QLineEdit::editingFinished, this, &MainWindow::LED_setRX);
    connect(ui->LED_X, &QLineEdit::editingFinished, this, &MainWindow::LED_setRX);
    connect(ui->LED_G, &QLineEdit::editingFinished, this, &MainWindow::LED_setGB);
    connect(ui->LED_B, &QLineEdit::editingFinished, this, &MainWindow::LED_setGB);
    connect(ui->LED_RP, &QLineEdit::editingFinished, this, &MainWindow::LED_setRP);
    connect(ui->LED_RS, &QLineEdit::editingFinished, this, &MainWindow::LED_setRS);
    connect(ui->LED_XP, &QLineEdit::editingFinished, this, &MainWindow::LED_setXP);
    connect(ui->LED_XS, &QLineEdit::editingFinished, this, &MainWindow::LED_setXS);
    connect(ui->LED_GAMMAR, &QLineEdit::editingFinished, this, &MainWindow::LED_setGammaR);
    connect(ui->LED_GAMMAI, &QLineEdit::editingFinished, this, &MainWindow::LED_setGammaI);
    connect(ui->LED_GAMMAM, &QLineEdit::editingFinished, this, &MainWindow::LED_setGammaM);
    connect(ui->LED_GAMMAP, &QLineEdit::editingFinished, this, &MainWindow::LED_setGammaP);
    connect(ui->LED_Z0, &QLineEdit::editingFinished, this, &MainWindow::LED_setZ0);
    connect(ui->LED_FREQUENZ, &QLineEdit::editingFinished, this, &MainWindow::LED_setF);

    // Any one SWR spin box changing re-reads all three.
    const auto readSwrCircles = [this](double) {
        swr[0] = ui->SPB_SWR1->value();
        swr[1] = ui->SPB_SWR2->value();
        swr[2] = ui->SPB_SWR3->value();
        setSwrCircles(swr, 3);
    };
    connect(ui->SPB_SWR1, &QDoubleSpinBox::valueChanged, this, readSwrCircles);
    connect(ui->SPB_SWR2, &QDoubleSpinBox::valueChanged, this, readSwrCircles);
    connect(ui->SPB_SWR3, &QDoubleSpinBox::valueChanged, this, readSwrCircles);
    connect(ui->PUB_CLOSE, &QPushButton::clicked, this, [this](bool) { close(); });
    connect(ui->QS_OPACITY, &QSlider::valueChanged, this, [this](int) { applyCrossFade(); });

    connect(chartScene(), &GraphicsScene::NewGamma, this, &MainWindow::NewGamma);
}

void MainWindow::initChart()
{
    if (isReady())
        return;
    show();
    drawSmithGrid(z0.real());
    setReady();
    createSwrCircles(3);
    setSwrCircles(swr, 3);
    drawGammaGrid();
    createMarker(true);
    // A new chart shows the cross-fade the slider stands at.
    applyCrossFade();
    ui->QGV_Chart->fitInView(viewedRect(), Qt::KeepAspectRatio);
    fillSliderTable();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    // Keep the whole chart and its labels in view, equally scaled on both axes.
    ui->QGV_Chart->fitInView(viewedRect(), Qt::KeepAspectRatio);
    event->accept();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    matchingPath = storedMatchingPath();
    tearDownChart();
    Q_UNUSED(event)
}

// QS_OPACITY runs from the Smith chart at 0 to the Gamma chart at 100.
void MainWindow::applyCrossFade()
{
    setOpacity(1.0 - ui->QS_OPACITY->value() / 100.0);
}

// Clears the chart so that the next initChart builds it from nothing.
void MainWindow::tearDownChart()
{
    clear();
    resetReady();
}

// Draws the chart anew for a new Z0 while the window stays open: closing the
// only window would end the program.
void MainWindow::rebuildChart()
{
    tearDownChart();
    initChart();
}

void MainWindow::on_PUB_Info_clicked()
{
    InfoDialog dialog(nullptr, infoText);
    dialog.exec();
}
