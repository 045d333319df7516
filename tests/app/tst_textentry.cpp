#include "windowtest.h"

#include "app/mainwindow.h"
#include "chart/graphicsscene.h"

#include <QGraphicsItemGroup>
#include <QLineEdit>
#include <QTest>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace {

QString plainText(const QString &richText)
{
    QTextDocument document;
    document.setHtml(richText);
    return document.toPlainText();
}

} // namespace

// Typed values: what each field accepts and rejects, the red mark that only
// the field's own accepted entry removes, element values, the frequency, the
// Gamma clamps and a new Z0.
class TestTextEntry : public WindowTest
{
    Q_OBJECT

private slots:
    void acceptedEntry_data();
    void acceptedEntry();
    void rejectedEntryChangesNothing_data();
    void rejectedEntryChangesNothing();
    void redSurvivesRefreshUntilOwnSlotAccepts();
    void pairTurnsNormalOnlyWhenBothAccepted();
    void frequency_data();
    void frequency();
    void gammaUnconvertibleRefused();
    void referenceImpedance_data();
    void referenceImpedance();
};

void TestTextEntry::acceptedEntry_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("checked"); // the fields whose texts follow
    QTest::addColumn<QStringList>("shown");
    const auto row = [](const char *tag, const QString &field, const QString &typed,
                        const QStringList &checked, const QStringList &shown) {
        QTest::newRow(tag) << field << typed << checked << shown;
    };

    // The load that a value of each field gives, starting from 50 ohms.
    const QStringList load {u"LED_GAMMAR"_s, u"LED_GAMMAI"_s, u"LED_R"_s};
    row("R 100", u"LED_R"_s, u"100"_s, load, {u"0,333"_s, u"0,000"_s, u"100,00 Ω"_s});
    row("X 50 jΩ", u"LED_X"_s, u"50 jΩ"_s, load, {u"0,200"_s, u"0,400"_s, u"50,00 Ω"_s});
    row("G 20 mS", u"LED_G"_s, u"20 mS"_s, load, {u"0,000"_s, u"0,000"_s, u"50,00 Ω"_s});
    row("G 10 mS", u"LED_G"_s, u"10 mS"_s, load, {u"0,333"_s, u"0,000"_s, u"100,00 Ω"_s});
    row("B -20 mS", u"LED_B"_s, u"-20 mS"_s, load, {u"-0,200"_s, u"0,400"_s, u"25,00 Ω"_s});
    row("RS 1,50 kΩ", u"LED_RS"_s, u"1,50 kΩ"_s, load, {u"0,935"_s, u"0,000"_s, u"1,50 kΩ"_s});
    row("RP 25", u"LED_RP"_s, u"25"_s, load, {u"-0,333"_s, u"0,000"_s, u"25,00 Ω"_s});
    row("XS 7,96 µH", u"LED_XS"_s, u"7,9577 µH"_s, load, {u"0,200"_s, u"0,400"_s, u"50,00 Ω"_s});
    // Without a parallel element the parallel resistance is R.
    row("RP 100 on the resistive load", u"LED_RP"_s, u"100"_s,
        {u"LED_R"_s, u"LED_X"_s, u"LED_GAMMAR"_s}, {u"100,00 Ω"_s, u"0,00 jmΩ"_s, u"0,333"_s});

    // Element values at 1 MHz with the start-up load (RS = 50 ohms), and a
    // parallel element on the pure 50 ohms: 1/Z = 1/50 + 1/(jXP).
    const QStringList series {u"LED_X"_s, u"LED_XS"_s};
    row("XS 10 µH", u"LED_XS"_s, u"10 µH"_s, series, {u"62,83 jΩ"_s, u"10,00 µH"_s});
    row("XS 10 uH", u"LED_XS"_s, u"10 uH"_s, series, {u"62,83 jΩ"_s, u"10,00 µH"_s});
    row("XS 10 nF", u"LED_XS"_s, u"10 nF"_s, series, {u"-15,92 jΩ"_s, u"10,00 nF"_s});
    row("XS 10 pf is pH", u"LED_XS"_s, u"10 pf"_s, series, {u"0,06 jmΩ"_s, u"10,00 pH"_s});
    const QStringList parallel {u"LED_X"_s, u"LED_XP"_s};
    row("XP 10 µH", u"LED_XP"_s, u"10 µH"_s, parallel, {u"24,36 jΩ"_s, u"10,00 µH"_s});
    row("XP 10 nF", u"LED_XP"_s, u"10 nF"_s, parallel, {u"-14,45 jΩ"_s, u"10,00 nF"_s});

    // The Gamma fields clamp to the unit square, the magnitude to 0 up to 1.
    const QStringList gamma {u"LED_GAMMAR"_s, u"LED_GAMMAI"_s};
    row("real 2 to 1", u"LED_GAMMAR"_s, u"2"_s, gamma, {u"1,000"_s, u"0,000"_s});
    row("real -3 to -1", u"LED_GAMMAR"_s, u"-3"_s, gamma, {u"-1,000"_s, u"0,000"_s});
    row("imaginary 1,5 to 1", u"LED_GAMMAI"_s, u"1,5"_s, gamma, {u"0,000"_s, u"1,000"_s});
    row("magnitude 7 to 1", u"LED_GAMMAM"_s, u"7"_s, gamma, {u"1,000"_s, u"0,000"_s});
    row("magnitude -1 to 0", u"LED_GAMMAM"_s, u"-1"_s, gamma, {u"0,000"_s, u"0,000"_s});
    row("magnitude 0,5 at 0 is real", u"LED_GAMMAM"_s, u"0,5"_s, gamma, {u"0,500"_s, u"0,000"_s});
    row("phase at 0 stays 0", u"LED_GAMMAP"_s, u"90"_s, gamma, {u"0,000"_s, u"0,000"_s});
}

void TestTextEntry::acceptedEntry()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, shown);

    panel->enter(field, typed);

    for (qsizetype i = 0; i < checked.size(); ++i)
        QCOMPARE(panel->text(checked.at(i)), shown.at(i));
    QVERIFY(!panel->isRed(field));
}

void TestTextEntry::rejectedEntryChangesNothing_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("reason"); // after the quoted text
    const QString noNumber = u" ist keine Zahl"_s;
    const QString negative = u": negative Werte sind hier nicht möglich"_s;
    const QString withUnit = u": hier nur eine Zahl ohne Einheit"_s;
    const QString tooLarge = u": die Zahl ist zu groß"_s;
    const QString z0Range = u": Z0 muss zwischen 0,1 Ω und 10 kΩ liegen"_s;
    QTest::newRow("R negative") << u"LED_R"_s << u"-10"_s << negative;
    QTest::newRow("R letters") << u"LED_R"_s << u"abc"_s << noNumber;
    QTest::newRow("R empty") << u"LED_R"_s << QString() << noNumber;
    QTest::newRow("X letters") << u"LED_X"_s << u"jΩ"_s << noNumber;
    QTest::newRow("G negative") << u"LED_G"_s << u"-5 mS"_s << negative;
    QTest::newRow("B letters") << u"LED_B"_s << u"mS"_s << noNumber;
    QTest::newRow("RP negative") << u"LED_RP"_s << u"-1 kΩ"_s << negative;
    QTest::newRow("RS letters") << u"LED_RS"_s << u"xyz"_s << noNumber;
    QTest::newRow("XP empty") << u"LED_XP"_s << QString() << noNumber;
    QTest::newRow("XS letters") << u"LED_XS"_s << u"nF"_s << noNumber;
    QTest::newRow("F negative") << u"LED_FREQUENZ"_s << u"-1 MHz"_s << negative;
    QTest::newRow("F overflowing to infinity") << u"LED_FREQUENZ"_s << u"1e308 GHz"_s << tooLarge;
    QTest::newRow("Z0 75 Ω with unit") << u"LED_Z0"_s << u"75 Ω"_s << withUnit;
    QTest::newRow("Z0 75.5 with a point") << u"LED_Z0"_s << u"75.5"_s << noNumber;
    QTest::newRow("Z0 letters") << u"LED_Z0"_s << u"abc"_s << noNumber;
    QTest::newRow("Z0 negative") << u"LED_Z0"_s << u"-5"_s << negative;
    QTest::newRow("Z0 nan") << u"LED_Z0"_s << u"nan"_s << noNumber;
    QTest::newRow("Z0 inf") << u"LED_Z0"_s << u"inf"_s << noNumber;
    QTest::newRow("Z0 1e999") << u"LED_Z0"_s << u"1e999"_s << tooLarge;
    QTest::newRow("Z0 0") << u"LED_Z0"_s << u"0"_s << z0Range;
    QTest::newRow("Z0 -0") << u"LED_Z0"_s << u"-0"_s << z0Range;
    QTest::newRow("Z0 0,0") << u"LED_Z0"_s << u"0,0"_s << z0Range;
    QTest::newRow("Z0 1e-310") << u"LED_Z0"_s << u"1e-310"_s << z0Range;
    QTest::newRow("Z0 0,099") << u"LED_Z0"_s << u"0,099"_s << z0Range;
    QTest::newRow("Z0 10000,01") << u"LED_Z0"_s << u"10000,01"_s << z0Range;
    QTest::newRow("Z0 1e308") << u"LED_Z0"_s << u"1e308"_s << z0Range;
    QTest::newRow("Gamma real with a point") << u"LED_GAMMAR"_s << u"0.3"_s << noNumber;
    QTest::newRow("Gamma imaginary -inf") << u"LED_GAMMAI"_s << u"-inf"_s << noNumber;
    QTest::newRow("Gamma real 1e999") << u"LED_GAMMAR"_s << u"1e999"_s << tooLarge;
    QTest::newRow("Gamma magnitude letters") << u"LED_GAMMAM"_s << u"abc"_s << noNumber;
    QTest::newRow("Gamma phase in degrees") << u"LED_GAMMAP"_s << u"45°"_s << withUnit;
}

void TestTextEntry::rejectedEntryChangesNothing()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, reason);
    const QString usualTip = panel->field(field)->toolTip();
    const QString usualDescription = panel->field(field)->accessibleDescription();
    panel->enterGamma(0.2, 0.3);
    panel->enter(u"LED_Z0"_s, u"60"_s); // away from the 50 Ω of a fresh start
    QHash<QString, QString> before;
    for (const QString &name : WindowDriver::fieldNames())
        before.insert(name, panel->text(name));
    QHash<QString, int> positions;
    for (const QString &name : WindowDriver::sliderNames())
        positions.insert(name, panel->position(name));

    panel->enter(field, typed);

    QVERIFY(panel->isRed(field));
    QCOMPARE(panel->text(field), typed);
    for (const QString &name : WindowDriver::fieldNames()) {
        if (name != field)
            QCOMPARE(panel->text(name), before.value(name));
        if (name != field)
            QVERIFY2(!panel->isRed(name), qPrintable(name));
    }
    for (const QString &name : WindowDriver::sliderNames())
        QCOMPARE(panel->position(name), positions.value(name));
    // The tooltip and the description say first what was refused and why.
    const QString refusal = u"Nicht übernommen: „"_s + typed + u"“"_s + reason;
    QCOMPARE(plainText(panel->field(field)->toolTip()), refusal + u"\n"_s + plainText(usualTip));
    QCOMPARE(panel->field(field)->accessibleDescription(), refusal + u". "_s + usualDescription);
}

void TestTextEntry::redSurvivesRefreshUntilOwnSlotAccepts()
{
    const QString usualTip = panel->field(u"LED_R"_s)->toolTip();
    const QString usualDescription = panel->field(u"LED_R"_s)->accessibleDescription();
    panel->enter(u"LED_R"_s, u"abc"_s);
    QVERIFY(panel->isRed(u"LED_R"_s));

    panel->pressKey(u"QS_X"_s, Qt::Key_PageUp);
    QCOMPARE(panel->text(u"LED_R"_s), u"50,00 Ω"_s); // written by the refresh
    QVERIFY(panel->isRed(u"LED_R"_s));
    panel->enter(u"LED_G"_s, u"10 mS"_s); // another field's slot accepts
    QVERIFY(panel->isRed(u"LED_R"_s));

    QVERIFY(panel->field(u"LED_R"_s)->toolTip().contains(u"„abc“ ist keine Zahl"_s));

    panel->enter(u"LED_R"_s, u"75"_s);
    QVERIFY(!panel->isRed(u"LED_R"_s));
    QCOMPARE(panel->text(u"LED_R"_s), u"75,00 Ω"_s);
    QCOMPARE(panel->field(u"LED_R"_s)->toolTip(), usualTip);
    QCOMPARE(panel->field(u"LED_R"_s)->accessibleDescription(), usualDescription);
}

void TestTextEntry::pairTurnsNormalOnlyWhenBothAccepted()
{
    panel->enter(u"LED_G"_s, u"-1 mS"_s);
    panel->enter(u"LED_B"_s, u"-"_s);
    QVERIFY(panel->isRed(u"LED_G"_s));
    QVERIFY(panel->isRed(u"LED_B"_s));

    // B is still rejected: nothing changes, and the accepted G keeps its red.
    panel->enter(u"LED_G"_s, u"10 mS"_s);
    QVERIFY(panel->isRed(u"LED_G"_s));
    QVERIFY(panel->isRed(u"LED_B"_s));
    QCOMPARE(panel->text(u"LED_GAMMAR"_s), u"0,000"_s);

    panel->enter(u"LED_B"_s, u"0"_s);
    QVERIFY(!panel->isRed(u"LED_G"_s));
    QVERIFY(!panel->isRed(u"LED_B"_s));
    QCOMPARE(panel->text(u"LED_GAMMAR"_s), u"0,333"_s);
}

void TestTextEntry::frequency_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("sliderPosition");
    QTest::newRow("2,45 GHz") << u"2,45 GHz"_s << u"2,450 GHz"_s << 89;
    QTest::newRow("1 MHz") << u"1 MHz"_s << u"1,000 MHz"_s << 42;
    QTest::newRow("500 Hz below the scale") << u"500 Hz"_s << u"500,000 Hz"_s << 0;
    QTest::newRow("20 GHz above the scale") << u"20 GHz"_s << u"20,000 GHz"_s << 99;
    QTest::newRow("0") << u"0"_s << u"0,000 Hz"_s << 0;
}

void TestTextEntry::frequency()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, sliderPosition);
    panel->enterGamma(0.0, 0.5);
    const int rPosition = panel->position(u"QS_R"_s);
    panel->pressKey(u"QS_F"_s, Qt::Key_PageUp); // somewhere else first

    panel->enter(u"LED_FREQUENZ"_s, typed);

    QCOMPARE(panel->text(u"LED_FREQUENZ"_s), shown);
    QCOMPARE(panel->position(u"QS_F"_s), sliderPosition);
    QCOMPARE(panel->text(u"LED_GAMMAI"_s), u"0,500"_s);
    QCOMPARE(panel->position(u"QS_R"_s), rPosition);
}

void TestTextEntry::gammaUnconvertibleRefused()
{
    panel->enter(u"LED_GAMMAM"_s, u"0,5"_s);
    panel->enter(u"LED_GAMMAP"_s, u"90"_s);
    QCOMPARE(panel->text(u"LED_GAMMAR"_s), u"0,000"_s);
    QCOMPARE(panel->text(u"LED_GAMMAI"_s), u"0,500"_s);

    for (const QString &typed : {u"abc"_s, u"0.5"_s, u"nan"_s, u"inf"_s, u"-inf"_s}) {
        panel->enter(u"LED_GAMMAR"_s, typed);
        QCOMPARE(panel->text(u"LED_GAMMAR"_s), typed); // left as typed
        QVERIFY(panel->isRed(u"LED_GAMMAR"_s));
        QCOMPARE(panel->text(u"LED_GAMMAI"_s), u"0,500"_s);
        QCOMPARE(panel->text(u"LED_R"_s), u"30,00 Ω"_s);
    }
    panel->enter(u"LED_GAMMAR"_s, u"0,3"_s);
    QVERIFY(!panel->isRed(u"LED_GAMMAR"_s));
    QCOMPARE(panel->text(u"LED_GAMMAR"_s), u"0,300"_s);
}

void TestTextEntry::referenceImpedance_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shownZ0");
    QTest::addColumn<QString>("shownR");
    QTest::addColumn<bool>("refused");
    QTest::newRow("75") << u"75"_s << u"75,0"_s << u"75,00 Ω"_s << false;
    QTest::newRow("75 Ω with unit is unusable") << u"75 Ω"_s << u"75 Ω"_s << u"100,00 Ω"_s << true;
    QTest::newRow("negative is unusable") << u"-75"_s << u"-75"_s << u"100,00 Ω"_s << true;
    QTest::newRow("nan is unusable") << u"nan"_s << u"nan"_s << u"100,00 Ω"_s << true;
    QTest::newRow("inf is unusable") << u"inf"_s << u"inf"_s << u"100,00 Ω"_s << true;
    QTest::newRow("0 is unusable") << u"0"_s << u"0"_s << u"100,00 Ω"_s << true;
    QTest::newRow("0,1 the smallest") << u"0,1"_s << u"0,1"_s << u"100,00 mΩ"_s << false;
    QTest::newRow("10000 the largest") << u"10000"_s << u"10.000,0"_s << u"10,00 kΩ"_s << false;
    QTest::newRow("60,5") << u"60,5"_s << u"60,5"_s << u"60,50 Ω"_s << false;
}

void TestTextEntry::referenceImpedance()
{
    QFETCH(QString, typed);
    QFETCH(QString, shownZ0);
    QFETCH(QString, shownR);
    QFETCH(bool, refused);
    panel->enter(u"LED_Z0"_s, u"100"_s); // away from the 50 Ω of a fresh start
    panel->pressKey(u"QS_OPACITY"_s, Qt::Key_End); // the Gamma chart alone

    panel->enter(u"LED_Z0"_s, typed);

    QCOMPARE(panel->text(u"LED_Z0"_s), shownZ0);
    QCOMPARE(panel->text(u"LED_R"_s), shownR);
    QCOMPARE(panel->text(u"LED_GAMMAR"_s), u"0,000"_s);
    QCOMPARE(panel->isRed(u"LED_Z0"_s), refused);
    QCOMPARE(panel->position(u"QS_R"_s), 505); // the scale follows Z0
    // The chart drawn for the new Z0 keeps the cross-fade the slider shows.
    const GraphicsScene *scene = panel->window().chartScene();
    QCOMPARE(scene->smithGridGroup()->opacity(), 0.0);
    QCOMPARE(scene->gammaGridGroup()->opacity(), 1.0);
}

QTEST_MAIN(TestTextEntry)
#include "tst_textentry.moc"
