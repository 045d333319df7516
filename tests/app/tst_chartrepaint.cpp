#include "modaldriver.h"
#include "windowtest.h"

#include "app/mainwindow.h"

#include <QGraphicsView>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;

// The chart repaints only what an input changed. Whatever such a repaint
// leaves in the window must be what painting the whole chart afresh gives,
// after every kind of input, at every cross-fade and size: a stale pixel of
// the marker, an arc, a circle or a label is a fault however few there are.
class TestChartRepaint : public WindowTest
{
    Q_OBJECT

private slots:
    void chartRepaintsAsPaintedWhole_data();
    void chartRepaintsAsPaintedWhole();

private:
    void takeStep(const QString &step);
    QString differenceAfter(const QString &step) const;
};

// Each row is a sequence of steps, "control=input":
//   menu=ENTRY            chooses an entry of the chart's menu ("Submenu/Entry")
//   lineimpedance=OHMS    takes a line impedance through the chart's menu and dialog
//   task=NUMBER           sets the exercise of that number through the menu's dialog
//   drag=RE;IM            a free drag of the marker to Gamma
//   shunt, series, line=RE;IM   a drag held with Ctrl, Shift or both
//   QGV_Chart=KEYS        keys pressed on the chart
//   any other control     a field, spin box or slider worked as WindowTest::apply does
void TestChartRepaint::chartRepaintsAsPaintedWhole_data()
{
    QTest::addColumn<QSize>("windowSize");
    QTest::addColumn<int>("crossFade");
    QTest::addColumn<QStringList>("steps");

    const QString series = u"menu=Serienelement (R konstant)"_s;
    const QString shunt = u"menu=Parallelelement (G konstant)"_s;
    const QString line = u"menu=Leitung (|Γ| konstant)"_s;
    const QString free = u"menu=Frei bewegen"_s;
    const QString mismatched = u"LED_R=100"_s;
    const QString reactive = u"LED_X=50"_s;
    QStringList turns;
    for (int key = 0; key < 40; ++key)
        turns << u"Ctrl+Right"_s;
    const QList<std::pair<const char *, QStringList>> inputs = {
        {"free drags", {u"drag=0.3;0.4"_s, u"drag=-0.2;-0.5"_s, u"drag=0.05;0.02"_s}},
        {"held drags",
         {mismatched, reactive, u"shunt=0.1;-0.45"_s, u"series=0.0;0.0"_s, u"line=0.3;-0.3"_s,
          u"series=0.5;0.2"_s}},
        {"held keys",
         {mismatched, series, u"QGV_Chart=Ctrl+Right"_s, u"QGV_Chart=Ctrl+Right"_s,
          u"QGV_Chart=Right"_s, u"QGV_Chart=Shift+Right"_s, u"QGV_Chart=Ctrl+Left"_s,
          u"QGV_Chart=Left"_s, shunt, u"QGV_Chart=Right"_s, u"QGV_Chart=Ctrl+Right"_s, line,
          u"QGV_Chart=Ctrl+Right"_s, u"QGV_Chart=Ctrl+Right"_s}},
        {"free keys", {u"QGV_Chart=Right, Up, Shift+Left"_s, u"QGV_Chart=Ctrl+Down, Ctrl+Right"_s}},
        {"Home", {mismatched, series, u"QGV_Chart=Ctrl+Right"_s, u"QGV_Chart=Home"_s}},
        {"undo",
         {mismatched, reactive, shunt, u"QGV_Chart=Ctrl+Right, Right"_s, series,
          u"QGV_Chart=Ctrl+Left"_s, u"QGV_Chart=Ctrl+Z"_s, u"QGV_Chart=Ctrl+Z"_s}},
        {"clear",
         {mismatched, shunt, u"QGV_Chart=Ctrl+Right"_s, line, u"QGV_Chart=Ctrl+Right"_s,
          u"menu=Anpassung löschen"_s}},
        {"modes", {mismatched, series, shunt, line, free}},
        {"line impedance",
         {mismatched, reactive, line, u"lineimpedance=22,36"_s, u"line=0.3;-0.3"_s,
          u"line=-0.4;0.1"_s, u"menu=Leitungsimpedanz = Z0"_s,
          u"QGV_Chart="_s + turns.join(u", "_s)}},
        {"SWR circles", {u"SPB_SWR3=1,5"_s, u"SPB_SWR1=4"_s, u"SPB_SWR2=1"_s}},
        {"Z0", {mismatched, series, u"QGV_Chart=Ctrl+Right"_s, u"LED_Z0=75"_s}},
        // Task 1: the shunt element to R = Z0 ends at Γ = 0,6047 + j0,4889.
        {"exercise",
         {u"task=1"_s, u"menu=Übung/Tipp"_s, u"shunt=0.6047;0.4889"_s, u"series=0.0;0.0"_s,
          mismatched, u"menu=Übung/Übung beenden"_s}},
        {"frequency",
         {mismatched, reactive, shunt, u"QGV_Chart=Ctrl+Right"_s, u"LED_FREQUENZ=100 MHz"_s}},
        {"realisations",
         {mismatched, reactive, shunt, u"QGV_Chart=Ctrl+Right"_s, series, u"QGV_Chart=Ctrl+Right"_s,
          u"menu=Parallelelemente als/Stichleitung, kurzgeschlossen"_s,
          u"menu=Serienelemente als/Stichleitung, leerlaufend"_s,
          u"menu=Parallelelemente als/L und C"_s}},
        {"band",
         {u"LED_FREQUENZ=100 MHz"_s, mismatched, reactive, u"menu=Frequenzband/±20 %"_s,
          u"shunt=0.275;-0.44"_s, u"series=0.01;-0.01"_s, series, u"QGV_Chart=Right"_s,
          u"SPB_SWR3=1,5"_s, u"menu=Last über der Frequenz/als Parallelschaltung"_s,
          u"QGV_Chart=Ctrl+Z"_s, u"menu=Frequenzband/±50 %"_s, u"drag=0.2;0.3"_s, u"LED_Z0=75"_s,
          u"menu=Frequenzband/aus"_s}},
        {"Q circles",
         {mismatched, reactive, u"menu=Q-Kreise/1"_s, u"shunt=0.275;-0.44"_s,
          u"menu=Q-Kreise/0,5"_s, u"menu=Q-Kreise/aus"_s}},
    };
    for (const QSize size : {QSize(940, 715), QSize(1920, 1080)}) {
        for (const int fade : {0, 50, 100}) {
            for (const auto &[name, steps] : inputs) {
                QTest::addRow("%dx%d/fade %d/%s", size.width(), size.height(), fade, name)
                    << size << fade << steps;
            }
        }
    }
}

void TestChartRepaint::chartRepaintsAsPaintedWhole()
{
    QFETCH(QSize, windowSize);
    QFETCH(int, crossFade);
    QFETCH(QStringList, steps);

    // A blinking cursor would differ between the two paintings.
    QApplication::setCursorFlashTime(0);
    panel->window().resize(windowSize);
    panel->moveSlider(u"QS_OPACITY"_s, crossFade);
    // Two SWR circles are shown throughout: their dots must repaint too.
    takeStep(u"SPB_SWR1=2"_s);
    takeStep(u"SPB_SWR2=3"_s);
    QString difference = differenceAfter(u"the set-up"_s);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    for (const QString &step : std::as_const(steps)) {
        takeStep(step);
        difference = differenceAfter(step);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
}

void TestChartRepaint::takeStep(const QString &step)
{
    const QString control = step.section(u'=', 0, 0);
    const QString input = step.section(u'=', 1);
    const auto gamma = [&input] {
        return complex_dbl(input.section(u';', 0, 0).toDouble(),
                           input.section(u';', 1, 1).toDouble());
    };
    if (control == u"menu" || control == u"task") {
        ModalDriver menu;
        menu.chooseFromMenu(control == u"task" ? u"Übung/Aufgabe Nr. …"_s : input);
        if (control == u"task") {
            menu.addStep("QDialog", [input](QWidget *dialog) {
                QTest::keyClicks(dialog->focusWidget(), input);
                QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
            });
        }
        menu.start();
        panel->pressOnChart(u"Shift+F10"_s);
        QCOMPARE(menu.stepsDone(), control == u"task" ? 2 : 1);
    } else if (control == u"lineimpedance") {
        QCOMPARE(panel->chooseLineImpedance(input), 2);
    } else if (control == u"drag") {
        panel->dragMarkerTo(gamma());
    } else if (control == u"series") {
        panel->dragMarkerTo(gamma(), Qt::ShiftModifier);
    } else if (control == u"shunt") {
        panel->dragMarkerTo(gamma(), Qt::ControlModifier);
    } else if (control == u"line") {
        panel->dragMarkerTo(gamma(), Qt::ShiftModifier | Qt::ControlModifier);
    } else {
        apply(control, input);
    }
}

// What the window holds for the chart's viewport, painted bit by bit as the
// inputs asked, against the viewport painted whole; empty when they agree.
QString TestChartRepaint::differenceAfter(const QString &step) const
{
    for (int round = 0; round < 3; ++round)
        WindowDriver::settle();
    MainWindow &window = panel->window();
    QWidget *viewport = panel->chartView().viewport();
    const QPoint inWindow = viewport->mapTo(&window, QPoint());
    const QImage painted = window.screen()
                               ->grabWindow(window.winId(), inWindow.x(), inWindow.y(),
                                            viewport->width(), viewport->height())
                               .toImage()
                               .convertToFormat(QImage::Format_RGB32);
    const QImage whole = viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (painted.size() != whole.size())
        return u"after %1: sizes differ"_s.arg(step);
    int stale = 0;
    QPoint first;
    for (int y = 0; y < whole.height(); ++y) {
        for (int x = 0; x < whole.width(); ++x) {
            if (painted.pixel(x, y) != whole.pixel(x, y) && stale++ == 0)
                first = QPoint(x, y);
        }
    }
    if (stale == 0)
        return {};

    return u"after %1: %2 stale pixels, the first at (%3, %4)"_s.arg(step)
        .arg(stale)
        .arg(first.x())
        .arg(first.y());
}

QTEST_MAIN(TestChartRepaint)
#include "tst_chartrepaint.moc"
