#include "windowtest.h"

#include "app/mainwindow.h"
#include "chart/graphicsscene.h"

#include <QApplication>
#include <QGraphicsView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

using namespace Qt::StringLiterals;

// A field is read when the user presses Return or Enter in it, or leaves it
// after editing; never because the program rewrote its text and the focus
// then left it.
class TestUserEntries : public WindowTest
{
    Q_OBJECT

private slots:
    void leavingAfterReturnKeepsTypedValue_data();
    void leavingAfterReturnKeepsTypedValue();
    void leavingAfterTypingTakesEntryOnce();
    void unchangedFieldReadsShownValue_data();
    void unchangedFieldReadsShownValue();
    void gammaFieldKeepsTypedValue();
    void referenceImpedanceNotReadAgain();
    void frequencySliderStaysOnLeaving();

private:
    void leaveBy(const QString &how);
};

void TestUserEntries::leaveBy(const QString &how)
{
    QWidget *focused = QApplication::focusWidget();
    if (how == u"tab")
        QTest::keyClick(focused, Qt::Key_Tab);
    else if (how == u"opacity slider")
        panel->clickOn(panel->slider(u"QS_OPACITY"_s));
    else if (how == u"another field")
        panel->clickOn(panel->field(u"LED_GAMMAP"_s));
    else if (how == u"chart corner")
        QTest::mouseClick(panel->chartView().viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(focused != QApplication::focusWidget());
}

void TestUserEntries::leavingAfterReturnKeepsTypedValue_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("tab") << u"tab"_s;
    QTest::newRow("click on a slider") << u"opacity slider"_s;
    QTest::newRow("click into another field") << u"another field"_s;
    QTest::newRow("click on the chart") << u"chart corner"_s;
}

// 0.99994 ohms shows as 1,00 Ω; reading the shown text again would make the
// conductance 1.000,0 mS instead of 1.000,1 mS.
void TestUserEntries::leavingAfterReturnKeepsTypedValue()
{
    QFETCH(QString, how);
    QSignalSpy finished(panel->field(u"LED_R"_s), &QLineEdit::editingFinished);
    panel->enter(u"LED_R"_s, u"0,99994"_s);
    QCOMPARE(panel->text(u"LED_G"_s), u"1.000,1 mS"_s);
    QVERIFY(panel->field(u"LED_R"_s)->hasFocus());

    leaveBy(how);

    QCOMPARE(finished.count(), 2); // the toolkit reports the rewritten field
    QCOMPARE(panel->text(u"LED_G"_s), u"1.000,1 mS"_s);
    QCOMPARE(panel->text(u"LED_R"_s), u"1,00 Ω"_s);
}

void TestUserEntries::leavingAfterTypingTakesEntryOnce()
{
    panel->type(u"LED_R"_s, u"0,99994"_s);
    QCOMPARE(panel->text(u"LED_G"_s), u"20,0 mS"_s); // not read yet

    panel->clickOn(panel->field(u"LED_X"_s)); // leaving R reads it
    QCOMPARE(panel->text(u"LED_G"_s), u"1.000,1 mS"_s);
    panel->clickOn(panel->slider(u"QS_OPACITY"_s)); // leaving X unedited reads nothing
    panel->clickOn(panel->field(u"LED_R"_s));
    panel->clickOn(panel->field(u"LED_GAMMAP"_s));

    QCOMPARE(panel->text(u"LED_G"_s), u"1.000,1 mS"_s);
}

void TestUserEntries::unchangedFieldReadsShownValue_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("leaveFirst");
    QTest::newRow("Return right after the entry") << int(Qt::Key_Return) << false;
    QTest::newRow("Enter after leaving and coming back") << int(Qt::Key_Enter) << true;
}

// Return or Enter in a field that shows the program's own text reads that
// text: the shown 1,00 Ω makes the load exactly 1 ohm.
void TestUserEntries::unchangedFieldReadsShownValue()
{
    QFETCH(int, key);
    QFETCH(bool, leaveFirst);
    panel->enter(u"LED_R"_s, u"0,99994"_s);
    QCOMPARE(panel->text(u"LED_R"_s), u"1,00 Ω"_s);
    QCOMPARE(panel->text(u"LED_G"_s), u"1.000,1 mS"_s);
    if (leaveFirst) {
        panel->clickOn(panel->slider(u"QS_OPACITY"_s));
        panel->clickOn(panel->field(u"LED_R"_s));
    }

    QTest::keyClick(panel->field(u"LED_R"_s), Qt::Key(key));

    QCOMPARE(panel->text(u"LED_G"_s), u"1.000,0 mS"_s);
}

// 0,12345 shows as 0,123; R is 64,08 Ω for the typed and 64,03 Ω for the shown value.
void TestUserEntries::gammaFieldKeepsTypedValue()
{
    panel->enter(u"LED_GAMMAR"_s, u"0,12345"_s);
    QCOMPARE(panel->text(u"LED_R"_s), u"64,08 Ω"_s);

    QTest::keyClick(panel->field(u"LED_GAMMAR"_s), Qt::Key_Tab);
    panel->clickOn(panel->slider(u"QS_OPACITY"_s));

    QCOMPARE(panel->text(u"LED_GAMMAR"_s), u"0,123"_s);
    QCOMPARE(panel->text(u"LED_R"_s), u"64,08 Ω"_s);
}

// 75,04 shows as 75,0: reading it again would rebuild the chart for 75 ohms
// and put back the sliders that the user moved since.
void TestUserEntries::referenceImpedanceNotReadAgain()
{
    panel->enter(u"LED_Z0"_s, u"75,04"_s);
    QCOMPARE(panel->text(u"LED_R"_s), u"75,04 Ω"_s);
    const auto *marker = panel->window().chartScene()->markerGraphic();
    // A wheel turn moves a slider without taking the focus from the field.
    WindowDriver::turnWheel(panel->slider(u"QS_R"_s), 1);
    const int wheeled = panel->position(u"QS_R"_s);
    // One notch, one scale value: T[100] = 75,63 ohms, which the slider's
    // position already stands for.
    QCOMPARE(wheeled, 505);
    QVERIFY(panel->field(u"LED_Z0"_s)->hasFocus());

    panel->clickOn(panel->slider(u"QS_OPACITY"_s));

    QCOMPARE(panel->position(u"QS_R"_s), wheeled);
    QCOMPARE(panel->window().chartScene()->markerGraphic(), marker); // no second rebuild
    QCOMPARE(panel->text(u"LED_Z0"_s), u"75,0"_s);
    QCOMPARE(panel->text(u"LED_GAMMAR"_s), u"0,004"_s); // T[100] against 75.04 ohms
}

void TestUserEntries::frequencySliderStaysOnLeaving()
{
    panel->enter(u"LED_FREQUENZ"_s, u"1 MHz"_s);
    WindowDriver::turnWheel(panel->slider(u"QS_F"_s), 1); // 42 to 45
    QCOMPARE(panel->position(u"QS_F"_s), 45);
    const QString shown = panel->text(u"LED_FREQUENZ"_s);

    panel->clickOn(panel->slider(u"QS_OPACITY"_s));

    // Reading the field again would put the slider at 44 for this frequency.
    QCOMPARE(panel->position(u"QS_F"_s), 45);
    QCOMPARE(panel->text(u"LED_FREQUENZ"_s), shown);
}

QTEST_MAIN(TestUserEntries)
#include "tst_userentries.moc"
