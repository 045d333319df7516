#include "hostiletexts.h"
#include "loadchecker.h"
#include "throwawaysettings.h"
#include "warningtrap.h"
#include "windowdriver.h"

#include "electrics/formatting.h"
#include "electrics/valueparser.h"

#include <QTest>
#include <QtNumeric>

#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

// A full line edit of every adversarial kind pasted into every value field
// ends as the rules say: a value field turns red and keeps the paste (or takes
// the number it finds), a Gamma field ignores what is no number, and Z0 falls
// back to 50 ohms. Nothing else changes on a refused paste, the window keeps
// one sound load, and nothing prints a warning. How fast the answer comes is
// measured by bench_hostile.
class TestHostileText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void pasteEndsAsTheRulesSay_data();
    void pasteEndsAsTheRulesSay();

private:
    QString pasteAndReturn(const QString &name, const QString &text);
    void enterChecked(const QString &name, const QString &text);
    void restoreStart();

    std::unique_ptr<WindowDriver> panel;
    std::unique_ptr<LoadChecker> checker;
};

namespace {

bool parserRefuses(const QString &name, const QString &text)
{
    ValueEntry entry;
    entry.text = text;
    entry.nonNegative = WindowDriver::takesMagnitude(name);
    Electrics::parseValue(entry, true);
    return entry.empty || entry.error;
}

} // namespace

void TestHostileText::initTestCase()
{
    useThrowAwaySettings();
    panel = std::make_unique<WindowDriver>();
    checker = std::make_unique<LoadChecker>(*panel);
    // A load with every field filled: no element field is empty.
    panel->enterGamma(0.2, 0.3);
    checker->beforeAction();
    QCOMPARE(checker->afterAction({u"start"_s, u"LED_GAMMAI"_s, u"0,300"_s, {}, false, false}),
             QString());
}

void TestHostileText::cleanupTestCase()
{
    checker.reset();
    panel.reset();
}

void TestHostileText::pasteEndsAsTheRulesSay_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    for (const Hostile::Paste &paste : Hostile::fullLengthPastes()) {
        for (const QString &field : WindowDriver::fieldNames())
            QTest::addRow("%s/%s", qPrintable(paste.kind), qPrintable(field))
                << field << paste.text;
    }
}

// Pastes like a user (the clipboard and Ctrl+V), presses Return and returns
// what the checker found.
QString TestHostileText::pasteAndReturn(const QString &name, const QString &text)
{
    checker->beforeAction();
    panel->paste(name, text);
    const QString pasted = panel->text(name);
    panel->pressReturn(name);
    return checker->afterAction({u"paste"_s, name, pasted, {}, false, false});
}

void TestHostileText::enterChecked(const QString &name, const QString &text)
{
    const QString problem = pasteAndReturn(name, text);
    QVERIFY2(problem.isEmpty(), qPrintable(name + u": "_s + problem));
}

// Every field unmarked (a pair needs both of its fields taken), then the
// starting load again: Z0 50 ohms, 1 MHz, Gamma 0.2 + 0.3j.
void TestHostileText::restoreStart()
{
    static const QList<QPair<QString, QString>> validEntries = {
        {u"LED_X"_s, u"10 jΩ"_s},        {u"LED_R"_s, u"25 Ω"_s},     {u"LED_B"_s, u"1 mS"_s},
        {u"LED_G"_s, u"20 mS"_s},        {u"LED_RP"_s, u"100 Ω"_s},   {u"LED_RS"_s, u"50 Ω"_s},
        {u"LED_XP"_s, u"1 nF"_s},        {u"LED_XS"_s, u"1 µH"_s},    {u"LED_Z0"_s, u"50"_s},
        {u"LED_FREQUENZ"_s, u"1 MHz"_s}, {u"LED_GAMMAM"_s, u"0,5"_s}, {u"LED_GAMMAP"_s, u"45"_s},
        {u"LED_GAMMAR"_s, u"0,2"_s},     {u"LED_GAMMAI"_s, u"0,3"_s},
    };
    const auto pairRed = [this](const QString &first, const QString &second) {
        return panel->isRed(first) || panel->isRed(second);
    };
    const bool impedanceRed = pairRed(u"LED_R"_s, u"LED_X"_s);
    const bool admittanceRed = pairRed(u"LED_G"_s, u"LED_B"_s);
    for (const auto &[name, text] : validEntries) {
        const bool inRedPair = ((name == u"LED_R" || name == u"LED_X") && impedanceRed)
            || ((name == u"LED_G" || name == u"LED_B") && admittanceRed);
        if (inRedPair || panel->isRed(name) || !WindowDriver::isLoadField(name)
            || name == u"LED_FREQUENZ")
            enterChecked(name, text);
    }
    for (const QString &name : WindowDriver::fieldNames())
        QVERIFY2(!panel->isRed(name), qPrintable(name));
}

void TestHostileText::pasteEndsAsTheRulesSay()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    WarningTrap warnings;

    const QString problem = pasteAndReturn(field, text);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    const bool stands = panel->text(field) == text;
    if (WindowDriver::isLoadField(field)) {
        if (parserRefuses(field, text)) {
            QVERIFY(panel->isRed(field));
            QVERIFY(stands);
        }
    } else {
        const double number = plainEntry(field, text).value_or(qQNaN());
        const bool usable = !std::isnan(number);
        QCOMPARE(panel->isRed(field), !usable);
        QCOMPARE(stands, !usable);
        if (usable && field == u"LED_Z0")
            QCOMPARE(panel->text(field), Electrics::formatNumber(number, 1));
    }
    QCOMPARE(warnings.take(), QString());

    restoreStart();
    QCOMPARE(warnings.take(), QString());
}

QTEST_MAIN(TestHostileText)
#include "tst_hostiletext.moc"
