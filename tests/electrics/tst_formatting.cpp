#include "electrics/formatting.h"

#include <QLocale>
#include <QObject>
#include <QTest>

#include <limits>

using namespace Electrics;

namespace {

const double inf = std::numeric_limits<double>::infinity();
const double notANumber = std::numeric_limits<double>::quiet_NaN();

const QLocale german(QLocale::German, QLocale::Germany);
const QLocale english(QLocale::English, QLocale::UnitedStates);

} // namespace

// The engineering-notation texts in the application's default locale.
// Each row pins the default locale; cleanup() restores the system's.
class TestFormatting : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void formatsOhms_data();
    void formatsOhms();
    void formatsMagnitudes_data();
    void formatsMagnitudes();
    void formatsPlainNumbers_data();
    void formatsPlainNumbers();
    void notANumberGivesNullText();
    void followsSystemLocale();
};

void TestFormatting::cleanup()
{
    QLocale::setDefault(QLocale::system());
}

void TestFormatting::formatsOhms_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("ohms");
    QTest::addColumn<bool>("imaginary");
    QTest::addColumn<QString>("text");

    QTest::newRow("german/50") << german << 50.0 << false << QStringLiteral("50,00 Ω");
    QTest::newRow("german/-25 j") << german << -25.0 << true << QStringLiteral("-25,00 jΩ");
    QTest::newRow("german/1500 j") << german << 1500.0 << true << QStringLiteral("1,50 jkΩ");
    QTest::newRow("german/0") << german << 0.0 << false << QStringLiteral("0,00 mΩ");
    QTest::newRow("german/999.85") << german << 999.85 << false << QStringLiteral("999,85 Ω");
    QTest::newRow("german/999.9") << german << 999.9 << false << QStringLiteral("1,00 kΩ");
    QTest::newRow("german/5e12") << german << 5e12 << false << QStringLiteral("5.000,00 GΩ");
    QTest::newRow("german/+inf") << german << inf << false << QStringLiteral("inf GΩ");
    QTest::newRow("german/-inf j") << german << -inf << true << QStringLiteral("-inf jGΩ");
    QTest::newRow("german/nan") << german << notANumber << false << QString();
    QTest::newRow("german/0.9999 is 1 ohm")
        << german << 0.9999 << false << QStringLiteral("1,00 Ω");
    QTest::newRow("german/0.5 j milliohms")
        << german << 0.5 << true << QStringLiteral("500,00 jmΩ");
    QTest::newRow("german/-0 has no sign") << german << -0.0 << false << QStringLiteral("0,00 mΩ");
    QTest::newRow("german/-1e-6 keeps the sign")
        << german << -1e-6 << false << QStringLiteral("-0,00 mΩ");
    QTest::newRow("german/tie 2.125 rounds away from zero")
        << german << 2.125 << false << QStringLiteral("2,13 Ω");
    QTest::newRow("german/-2 M j") << german << -2.5e6 << true << QStringLiteral("-2,50 jMΩ");
    QTest::newRow("english/50") << english << 50.0 << false << QStringLiteral("50.00 Ω");
    QTest::newRow("english/5e12") << english << 5e12 << false << QStringLiteral("5,000.00 GΩ");
}

void TestFormatting::formatsOhms()
{
    QFETCH(QLocale, locale);
    QFETCH(double, ohms);
    QFETCH(bool, imaginary);
    QFETCH(QString, text);
    QLocale::setDefault(locale);
    QCOMPARE(formatOhms(ohms, 2, imaginary), text);
}

void TestFormatting::formatsMagnitudes_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    const QString capacitance = QStringLiteral("capacitance");
    const QString inductance = QStringLiteral("inductance");
    const QString frequency = QStringLiteral("frequency");

    QTest::newRow("german/C -4.7e-9 drops the sign")
        << german << capacitance << -4.7e-9 << QStringLiteral("4,70 nF");
    QTest::newRow("german/C 1e-12") << german << capacitance << 1e-12 << QStringLiteral("1,00 pF");
    QTest::newRow("german/C 0") << german << capacitance << 0.0 << QStringLiteral("0,00 fF");
    QTest::newRow("german/C 9.999e-13 is already pF")
        << german << capacitance << 9.999e-13 << QStringLiteral("1,00 pF");
    QTest::newRow("german/C 2.2e-6")
        << german << capacitance << 2.2e-6 << QStringLiteral("2,20 µF");
    QTest::newRow("german/C 0.5 mF")
        << german << capacitance << 5e-4 << QStringLiteral("500,00 µF");
    QTest::newRow("german/C 2 F") << german << capacitance << 2.0 << QStringLiteral("2,00 F");
    QTest::newRow("german/C +inf") << german << capacitance << inf << QStringLiteral("inf F");
    QTest::newRow("german/L 6.3662e-6")
        << german << inductance << 6.3662e-6 << QStringLiteral("6,37 µH");
    QTest::newRow("german/L 1e-15") << german << inductance << 1e-15 << QStringLiteral("0,00 pH");
    QTest::newRow("german/L 4.7e-9") << german << inductance << 4.7e-9 << QStringLiteral("4,70 nH");
    QTest::newRow("german/L -0.01") << german << inductance << -0.01 << QStringLiteral("10,00 mH");
    QTest::newRow("german/L 3 H") << german << inductance << 3.0 << QStringLiteral("3,00 H");
    QTest::newRow("german/f 1e6") << german << frequency << 1e6 << QStringLiteral("1,000 MHz");
    QTest::newRow("german/f 999950")
        << german << frequency << 999950.0 << QStringLiteral("1,000 MHz");
    QTest::newRow("german/f 0") << german << frequency << 0.0 << QStringLiteral("0,000 Hz");
    QTest::newRow("german/f 2.45e9")
        << german << frequency << 2.45e9 << QStringLiteral("2,450 GHz");
    QTest::newRow("german/f 999.9 is already kHz")
        << german << frequency << 999.9 << QStringLiteral("1,000 kHz");
    QTest::newRow("german/f 999.8") << german << frequency << 999.8 << QStringLiteral("999,800 Hz");
    QTest::newRow("german/f 5e12")
        << german << frequency << 5e12 << QStringLiteral("5.000,000 GHz");
    QTest::newRow("german/f 423e6 to 2 decimals")
        << german << QStringLiteral("frequency to 2 decimals") << 423e6
        << QStringLiteral("423,00 MHz");
    QTest::newRow("english/f 1e6") << english << frequency << 1e6 << QStringLiteral("1.000 MHz");
    QTest::newRow("english/C 4.7e-9")
        << english << capacitance << 4.7e-9 << QStringLiteral("4.70 nF");
}

void TestFormatting::formatsMagnitudes()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, quantity);
    QFETCH(double, value);
    QFETCH(QString, text);
    QLocale::setDefault(locale);
    if (quantity == u"capacitance")
        QCOMPARE(formatCapacitance(value), text);
    else if (quantity == u"inductance")
        QCOMPARE(formatInductance(value), text);
    else if (quantity == u"frequency to 2 decimals")
        QCOMPARE(formatFrequencyWithDecimals(value, 2), text);
    else
        QCOMPARE(formatFrequency(value), text);
}

void TestFormatting::formatsPlainNumbers_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");

    QTest::newRow("german/20 mS") << german << 20.0 << 1 << QStringLiteral("20,0");
    QTest::newRow("german/-0.125 ties away from zero")
        << german << -0.125 << 2 << QStringLiteral("-0,13");
    QTest::newRow("german/1234.5") << german << 1234.5 << 2 << QStringLiteral("1.234,50");
    QTest::newRow("english/1234.5") << english << 1234.5 << 2 << QStringLiteral("1,234.50");
}

void TestFormatting::formatsPlainNumbers()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QLocale::setDefault(locale);
    QCOMPARE(formatNumber(value, decimals), text);
}

// The caller writes the result into its field to clear it, so it must be a
// null string, not merely an empty one.
void TestFormatting::notANumberGivesNullText()
{
    QVERIFY(formatOhms(notANumber, 2, true).isNull());
    QVERIFY(formatCapacitance(notANumber).isNull());
    QVERIFY(formatInductance(notANumber).isNull());
    QVERIFY(formatFrequency(notANumber).isNull());
}

// The program never sets a locale: without a pinned default the texts follow
// the system locale, German or English as this test is registered.
void TestFormatting::followsSystemLocale()
{
    const QLocale::Language language = QLocale::system().language();
    QVERIFY2(language == QLocale::German || language == QLocale::English,
             "registered for German and English system locales only");
    QCOMPARE(formatOhms(1500.0, 2, true),
             language == QLocale::German ? QStringLiteral("1,50 jkΩ") : QStringLiteral("1.50 jkΩ"));
    QCOMPARE(formatFrequency(1e6),
             language == QLocale::German ? QStringLiteral("1,000 MHz")
                                         : QStringLiteral("1.000 MHz"));
}

QTEST_GUILESS_MAIN(TestFormatting)
#include "tst_formatting.moc"
