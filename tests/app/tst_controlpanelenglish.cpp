#include "windowtest.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The panel in an English locale: decimal points in every field and entry.
class TestControlPanelEnglish : public WindowTest
{
    Q_OBJECT

private slots:
    void startUpTexts();
    void typedEntries_data();
    void typedEntries();
    void germanCommaIsNoDecimalPoint();
};

void TestControlPanelEnglish::startUpTexts()
{
    QCOMPARE(panel->text(u"LED_R"_s), u"50.00 Ω"_s);
    QCOMPARE(panel->text(u"LED_G"_s), u"20.0 mS"_s);
    QCOMPARE(panel->text(u"LED_GAMMAM"_s), u"0.000"_s);
    QCOMPARE(panel->text(u"LED_Z0"_s), u"50.0"_s);
    QCOMPARE(panel->text(u"LED_FREQUENZ"_s), u"1.000 MHz"_s);
    QCOMPARE(panel->position(u"QS_F"_s), 42);
}

void TestControlPanelEnglish::typedEntries_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("shown");
    QTest::newRow("frequency 2.45 GHz")
        << u"LED_FREQUENZ"_s << u"2.45 GHz"_s << u"LED_FREQUENZ"_s << u"2.450 GHz"_s;
    QTest::newRow("R 33.3333") << u"LED_R"_s << u"33.3333"_s << u"LED_R"_s << u"33.33 Ω"_s;
    QTest::newRow("gamma magnitude 0.5")
        << u"LED_GAMMAM"_s << u"0.5"_s << u"LED_R"_s << u"150.00 Ω"_s;
    QTest::newRow("XS 10 nF") << u"LED_XS"_s << u"10 nF"_s << u"LED_X"_s << u"-15.92 jΩ"_s;
    QTest::newRow("Z0 75.5") << u"LED_Z0"_s << u"75.5"_s << u"LED_R"_s << u"75.50 Ω"_s;
    QTest::newRow("marker tooltip") << u"LED_GAMMAR"_s << u"-0.5"_s << u"marker"_s
                                    << u"Z = 16.67 + j0.00 Ω · |Γ| = 0.500 ∠ 180.0° · SWR 3.00 · "
                                       u"Rückflussdämpfung 6.0 dB"_s;
}

void TestControlPanelEnglish::typedEntries()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, checked);
    QFETCH(QString, shown);

    panel->enter(field, typed);

    QCOMPARE(panel->text(checked), shown);
    QVERIFY(!panel->isRed(field));
}

// "2,45" is a misplaced group separator here, not 2.45.
void TestControlPanelEnglish::germanCommaIsNoDecimalPoint()
{
    panel->enter(u"LED_FREQUENZ"_s, u"2,45 GHz"_s);
    QVERIFY(panel->isRed(u"LED_FREQUENZ"_s));
    QCOMPARE(panel->position(u"QS_F"_s), 42);

    panel->enter(u"LED_GAMMAR"_s, u"0,5"_s);
    QCOMPARE(panel->text(u"LED_GAMMAR"_s), u"0,5"_s); // refused, left as typed
    QVERIFY(panel->isRed(u"LED_GAMMAR"_s));
    QCOMPARE(panel->text(u"LED_R"_s), u"50.00 Ω"_s);
}

QTEST_MAIN(TestControlPanelEnglish)
#include "tst_controlpanelenglish.moc"
