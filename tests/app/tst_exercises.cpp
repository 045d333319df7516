#include "modaldriver.h"
#include "windowtest.h"

#include "app/mainwindow.h"
#include "chart/graphicsscene.h"
#include "electrics/conversions.h"
#include "electrics/exercise.h"
#include "electrics/matching.h"

#include <QClipboard>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QHash>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

// Exercises set through the chart's menu and solved, wrongly built or
// abandoned through the window, as a student works them.
class TestExercises : public WindowTest
{
    Q_OBJECT

private slots:
    void everyTwoElementMatchIsJudged_data();
    void everyTwoElementMatchIsJudged();
    void transformerSolvesLevel4();
    void wrongNetworkNamesTheRule();
    void copiedHintedAndCounted();
    void changeAbandonsTheTask_data();
    void changeAbandonsTheTask();
    void dialogRefusesNumber_data();
    void dialogRefusesNumber();

private:
    void chooseFromMenu(const QStringList &entries);
    void startTask(const QString &typed);
    QStringList copiedTaskLines();
    QString described() const { return panel->chartView().accessibleDescription(); }
};

void TestExercises::chooseFromMenu(const QStringList &entries)
{
    ModalDriver walk;
    for (const QString &entry : entries)
        walk.chooseFromMenu(entry);
    walk.start();
    panel->pressOnChart(u"Shift+F10"_s);
    QCOMPARE(walk.stepsDone(), entries.size());
}

// "Übung" → "Aufgabe Nr. …" → the number typed into the dialog's field and Return.
void TestExercises::startTask(const QString &typed)
{
    ModalDriver walk;
    walk.chooseFromMenu(u"Übung"_s);
    walk.chooseFromMenu(u"Aufgabe Nr. …"_s);
    walk.addStep("ExerciseDialog", [typed](QWidget *dialog) {
        auto *field = dialog->findChild<QLineEdit *>(u"LED_AUFGABE"_s);
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
    });
    walk.start();
    panel->pressOnChart(u"Shift+F10"_s);
    QCOMPARE(walk.stepsDone(), 3);
}

// "Diagramm kopieren": the text's lines after the first, up to the readout
// that ends it.
QStringList TestExercises::copiedTaskLines()
{
    chooseFromMenu({u"Diagramm kopieren"_s});
    const QStringList copied = QGuiApplication::clipboard()->text().split(u'\n');
    const QStringList readout = panel->text(u"marker"_s).split(u'\n');
    if (copied.size() <= readout.size() || copied.mid(copied.size() - readout.size()) != readout)
        return {u"(the text does not end with the readout)"_s};
    return copied.mid(1, copied.size() - readout.size() - 1);
}

// Every two-element network of the task's load: a held drag snapped onto the
// circle R = Z0 or G = 1/Z0 from which the second move reaches the centre,
// then one to the centre. At level 1 every L-section solves the task; at
// level 2 the band tells them apart: at least one meets it and at least one
// misses it by a per cent of f0 on a side. At level 3 a line of Z0 to
// G = 1/Z0 and a shunt stub solve it, either way round the chart.
void TestExercises::everyTwoElementMatchIsJudged_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("lineFirst");
    QTest::addColumn<int>("networks");
    QTest::addColumn<bool>("allSolve");
    // R > Z0: only the two that begin with a shunt element.
    QTest::newRow("level 1, 95,1 + j157,5 Ω at 50 Ω") << 1 << false << 2 << true;
    // R < Z0 and G < 1/Z0: four.
    QTest::newRow("level 2, 65,6 + j130,9 Ω at 75 Ω") << 1000 << false << 4 << false;
    // A circle of constant |Γ| crosses G = 1/Z0 twice.
    QTest::newRow("level 3, 57,2 + j146,0 Ω at 75 Ω") << 2000 << true << 2 << true;
}

void TestExercises::everyTwoElementMatchIsJudged()
{
    QFETCH(int, number);
    QFETCH(bool, lineFirst);
    QFETCH(int, networks);
    QFETCH(bool, allSolve);
    using Move = Electrics::MatchingMove;
    const QHash<Move, Qt::KeyboardModifiers> held {
        {Move::Series, Qt::ShiftModifier},
        {Move::Shunt, Qt::ControlModifier},
        {Move::Line, Qt::ShiftModifier | Qt::ControlModifier}};
    const QHash<Move, QString> named {
        {Move::Series, u"Serien-"_s}, {Move::Shunt, u"Parallel-"_s}, {Move::Line, u"Leitung"_s}};
    startTask(QString::number(number));
    const Electrics::ExerciseTask task = *Electrics::exerciseTask(number);
    QVERIFY(described().contains(Electrics::exerciseText(task)));
    const complex_dbl z0(task.z0, 0.0);
    const complex_dbl load = Electrics::gammaFromImpedance(task.load, z0);
    int solved = 0;
    int bandMissed = 0;
    const QList<Move> firstMoves =
        lineFirst ? QList<Move> {Move::Line} : QList<Move> {Move::Shunt, Move::Series};
    for (const Move first : firstMoves) {
        const Move second = first == Move::Shunt ? Move::Series : Move::Shunt;
        for (const complex_dbl corner : Electrics::snapTargets(first, load, z0)) {
            // The corner must lie on the circle that the second move takes to the centre.
            const complex_dbl z = Electrics::impedanceFromGamma(corner, z0);
            const double kept = second == Move::Series ? z.real() / task.z0 : (task.z0 / z).real();
            if (std::abs(kept - 1.0) > 1e-6 || std::abs(corner) < 1e-9)
                continue;
            panel->heldDragTo(corner, held[first]);
            panel->heldDragTo(complex_dbl(), held[second]);
            const QString state = described();
            // The task's stub, not an L or C.
            const QString secondNamed = lineFirst ? u"Parallel-Stichleitung"_s : named[second];
            solved += state.contains(u"gelöst mit 2 Elementen: 1. "_s + named[first])
                && state.contains(u", 2. "_s + secondNamed);
            bandMissed += state.contains(u"SWR ≤ 2 nur von "_s) && !state.contains(u"gelöst"_s);
            chooseFromMenu({u"Anpassung löschen"_s});
        }
    }
    QCOMPARE(solved + bandMissed, networks);
    if (allSolve) {
        QCOMPARE(solved, networks);
    } else {
        QVERIFY(solved >= 1);
        QVERIFY(bandMissed >= 1);
    }
}

// Task 3000, 112,7 + j87,8 Ω at 75 Ω: Γ = 0,46111 ∠ 41,69°, so a line of Z0
// of 41,69° / 720 = 0,058 λ turns it clockwise to the real axis at
// R = 75 · 1,46111 / 0,53889 = 203,35 Ω, and a quarter-wave line of
// √(75 · 203,35) = 123,50 Ω takes that to 75 Ω.
void TestExercises::transformerSolvesLevel4()
{
    startTask(u"3000"_s);
    const Qt::KeyboardModifiers line = Qt::ShiftModifier | Qt::ControlModifier;
    panel->heldDragTo(complex_dbl(0.46111, 0.0), line);
    QCOMPARE(panel->chooseLineImpedance(u"123,5"_s), 2);
    panel->heldDragTo(complex_dbl(), line);
    QVERIFY2(described().contains(u"gelöst mit 2 Elementen: 1. Leitung 0,058 λ"_s),
             qPrintable(described()));
    QVERIFY2(described().contains(u", 2. Leitung 123,50 Ω 0,250 λ (90,0°)"_s),
             qPrintable(described()));
}

// Task 1, 95,1 + j157,5 Ω at 50 Ω: G = 0,1405/Z0, so the shunt element to the
// circle R = Z0 leaves Z = Z0 (1 + j B/G) = Z0 (1 + j2,4736), |Γ| = 0,7776 and
// an SWR of 7,99.
void TestExercises::wrongNetworkNamesTheRule()
{
    startTask(u"1"_s);
    const complex_dbl corner = Electrics::gammaFromImpedance({50.0, 50.0 * 2.47364}, {50.0, 0.0});
    panel->heldDragTo(corner, Qt::ControlModifier);
    QVERIFY2(described().contains(u"SWR 7,99 bei f₀, verlangt ≤ 1,1"_s), qPrintable(described()));
    panel->heldDragTo(complex_dbl(0.0, -0.7), Qt::ShiftModifier | Qt::ControlModifier);
    QVERIFY2(described().contains(u"Element 2 ist eine Leitung, erlaubt sind nur L und C"_s),
             qPrintable(described()));
    panel->heldDragTo(complex_dbl(), Qt::ShiftModifier);
    QVERIFY2(described().contains(u"3 Elemente, höchstens 2"_s), qPrintable(described()));
    QVERIFY(!described().contains(u"gelöst"_s));
}

// "Aufgabe kopieren" puts the task's text on the clipboard, and "Diagramm
// kopieren" the task's lines while it is shown.
// Task 1's load has R > Z0 and G < 1/Z0: only a shunt element reaches a
// circle from which the second element ends at the centre, R = Z0.
void TestExercises::copiedHintedAndCounted()
{
    startTask(u"1"_s);
    chooseFromMenu({u"Übung"_s, u"Aufgabe kopieren"_s});
    QCOMPARE(QGuiApplication::clipboard()->text(),
             Electrics::exerciseText(*Electrics::exerciseTask(1)));
    chooseFromMenu({u"Übung"_s, u"Tipp"_s});
    QVERIFY2(described().contains(u"Tipp: Parallelelement (Strg) bis zum Kreis R = 50 Ω"_s),
             qPrintable(described()));
    // The chart copy's text carries the task's lines as the box shows them.
    const QStringList hinted = copiedTaskLines();
    QCOMPARE(hinted.size(), 2);
    QCOMPARE(hinted.first(), Electrics::exerciseText(*Electrics::exerciseTask(1)));
    QVERIFY(hinted.last().startsWith(u"Tipp: Parallelelement (Strg)"_s));
    const complex_dbl corner = Electrics::gammaFromImpedance({50.0, 50.0 * 2.47364}, {50.0, 0.0});
    panel->heldDragTo(corner, Qt::ControlModifier);
    QVERIFY(!described().contains(u"Tipp: "_s));
    panel->heldDragTo(complex_dbl(), Qt::ShiftModifier);
    QVERIFY2(described().contains(u"gelöst mit 2 Elementen: "_s), qPrintable(described()));
    QVERIFY2(described().contains(u"(mit 1 Tipp)"_s), qPrintable(described()));
    QVERIFY(copiedTaskLines().value(1).contains(u"gelöst mit 2 Elementen: "_s));
    chooseFromMenu({u"Übung"_s, u"Übung beenden"_s});
    QCOMPARE(copiedTaskLines(), QStringList());
}

void TestExercises::changeAbandonsTheTask_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("cause");
    QTest::newRow("typed load") << u"LED_R"_s << u"100"_s << u"die Last wurde geändert"_s;
    QTest::newRow("free move") << u"drag"_s << QString() << u"die Last wurde geändert"_s;
    QTest::newRow("value slider") << u"QS_X"_s << u"Up"_s << u"die Last wurde geändert"_s;
    QTest::newRow("Z0") << u"LED_Z0"_s << u"60"_s << u"Z0 wurde geändert"_s;
    QTest::newRow("frequency") << u"LED_FREQUENZ"_s << u"5 MHz"_s
                               << u"die Frequenz wurde geändert"_s;
}

void TestExercises::changeAbandonsTheTask()
{
    QFETCH(QString, control);
    QFETCH(QString, input);
    QFETCH(QString, cause);
    startTask(u"1"_s);
    // The task's own Z0, frequency and load do not end it.
    QVERIFY(!described().contains(u"abgebrochen"_s));
    if (control == u"drag")
        panel->dragMarkerTo(complex_dbl(0.2, 0.1));
    else
        apply(control, input);
    QVERIFY2(described().contains(u"Aufgabe 1 abgebrochen: "_s + cause), qPrintable(described()));
}

void TestExercises::dialogRefusesNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("0") << u"0"_s;
    QTest::newRow("5000") << u"5000"_s;
    QTest::newRow("12,5") << u"12,5"_s;
    QTest::newRow("text") << u"zwanzig"_s;
}

// The dialog stays open with the field red and its reason said.
void TestExercises::dialogRefusesNumber()
{
    QFETCH(QString, typed);
    bool stayedOpen = false;
    QString reason;
    ModalDriver walk;
    walk.chooseFromMenu(u"Übung"_s);
    walk.chooseFromMenu(u"Aufgabe Nr. …"_s);
    walk.addStep("ExerciseDialog", [&](QWidget *dialog) {
        auto *field = dialog->findChild<QLineEdit *>(u"LED_AUFGABE"_s);
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
        stayedOpen = dialog->isVisible() && field->styleSheet().contains(u"Red"_s)
            && !field->accessibleName().isEmpty();
        reason = field->accessibleDescription();
        QTest::keyClick(field, Qt::Key_Escape);
    });
    walk.start();
    panel->pressOnChart(u"Shift+F10"_s);
    QCOMPARE(walk.stepsDone(), 3);
    QVERIFY(stayedOpen);
    QVERIFY(!reason.isEmpty());
    QVERIFY(!described().contains(u"Aufgabe "_s));
}

QTEST_MAIN(TestExercises)
#include "tst_exercises.moc"
