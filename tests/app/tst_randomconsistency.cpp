#include "hostiletexts.h"
#include "windowtest.h"

#include "electrics/conversions.h"
#include "electrics/valueparser.h"

#include <QApplication>
#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

// A few hundred random inputs through the real controls, then every field and
// slider must agree with the load, and Gamma must have stayed finite all along.
class TestRandomConsistency : public WindowTest
{
    Q_OBJECT

private slots:
    void randomInputsLeaveControlsConsistent_data();
    void randomInputsLeaveControlsConsistent();

private:
    QString randomStep(QRandomGenerator &random);
    bool gammaFinite(const QString &typedField) const;
    QString randomText(QRandomGenerator &random, const QString &fieldName) const;
    static double shownValue(const QString &text);
};

void TestRandomConsistency::randomInputsLeaveControlsConsistent_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::newRow("seed 1") << 1u;
    QTest::newRow("seed 20261207") << 20261207u;
    QTest::newRow("seed 4711") << 4711u;
}

QString TestRandomConsistency::randomText(QRandomGenerator &random, const QString &fieldName) const
{
    const QLocale locale;
    const auto number = [&](double low, double high, int decimals) {
        return locale.toString(low + random.generateDouble() * (high - low), 'f', decimals);
    };
    const auto pick = [&](std::initializer_list<QString> choices) {
        return Hostile::oneOf(random, choices);
    };
    if (random.bounded(12) == 0)
        return pick({u"abc"_s, QString(), u"-"_s, u"nan"_s, u"inf"_s});
    if (fieldName == u"LED_R" || fieldName == u"LED_RS" || fieldName == u"LED_RP")
        return number(-5, 500, 2) + pick({u""_s, u" Ω"_s, u" kΩ"_s, u" mΩ"_s});
    if (fieldName == u"LED_X")
        return number(-500, 500, 2) + pick({u" jΩ"_s, u" jkΩ"_s, u" Ω"_s});
    if (fieldName == u"LED_G" || fieldName == u"LED_B")
        return number(fieldName == u"LED_G" ? -1 : -50, 50, 1) + u" mS"_s;
    if (fieldName == u"LED_XS" || fieldName == u"LED_XP")
        return number(0, 100, 2) + pick({u" nF"_s, u" µH"_s, u" pF"_s, u" pf"_s, u" mH"_s});
    if (fieldName == u"LED_GAMMAR" || fieldName == u"LED_GAMMAI")
        return number(-1.5, 1.5, 3);
    if (fieldName == u"LED_GAMMAM")
        return number(-0.2, 1.2, 3);
    if (fieldName == u"LED_GAMMAP")
        return number(-360, 360, 1);
    if (fieldName == u"LED_Z0")
        return pick({u"25"_s, u"50"_s, u"75"_s, u"100"_s, u"60,5"_s});
    return number(0, 999, 3) + pick({u" kHz"_s, u" MHz"_s, u" GHz"_s, u" Hz"_s});
}

// Returns the field typed into, if any.
QString TestRandomConsistency::randomStep(QRandomGenerator &random)
{
    if (random.bounded(2) == 0) {
        static const int keys[] = {Qt::Key_Up,       Qt::Key_Down, Qt::Key_PageUp,
                                   Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
        panel->pressKey(Hostile::oneOf(random, WindowDriver::sliderNames()),
                        Hostile::oneOf(random, keys));
        return QString();
    }
    const QString field = Hostile::oneOf(random, WindowDriver::fieldNames());
    panel->type(field, randomText(random, field));
    if (random.bounded(3) == 0)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    else
        panel->pressReturn(field);
    return field;
}

// An unconvertible Gamma entry stays in its field as typed, so that field is
// left out; the other three show the load.
bool TestRandomConsistency::gammaFinite(const QString &typedField) const
{
    for (const QString &name : WindowDriver::gammaFieldNames()) {
        bool converted = false;
        const double shown = QLocale().toDouble(panel->text(name), &converted);
        if (name != typedField && (!converted || !std::isfinite(shown)))
            return false;
    }
    return true;
}

double TestRandomConsistency::shownValue(const QString &text)
{
    ValueEntry entry;
    entry.text = text;
    Electrics::parseValue(entry, true);
    return entry.value;
}

void TestRandomConsistency::randomInputsLeaveControlsConsistent()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);

    for (int step = 0; step < 300; ++step) {
        const QString typedField = randomStep(random);
        QVERIFY2(gammaFinite(typedField), qPrintable(u"after step %1"_s.arg(step)));
        const std::optional<complex_dbl> marker = panel->markerGamma();
        const complex_dbl shown = panel->shownGamma();
        if (marker && std::abs(shown) < 0.999
            && !WindowDriver::gammaFieldNames().contains(typedField))
            QVERIFY(std::abs(*marker - shown) < 0.001);
    }

    // Take the shown Z0, frequency and impedance as they are: from then on
    // the load is known exactly, and everything must show it.
    panel->enterGamma(0.1 + 0.1 * random.generateDouble(), -0.3);
    panel->pressReturn(u"LED_Z0"_s);
    panel->pressReturn(u"LED_FREQUENZ"_s);
    panel->pressReturn(u"LED_R"_s);
    const double z0 = QLocale().toDouble(panel->text(u"LED_Z0"_s));
    const double frequency = shownValue(panel->text(u"LED_FREQUENZ"_s));
    const complex_dbl gamma = Electrics::gammaFromImpedance(
        {shownValue(panel->text(u"LED_R"_s)), shownValue(panel->text(u"LED_X"_s))}, {z0, 0.0});

    const QHash<QString, QString> texts = Expected::fieldTexts(gamma, z0, frequency);
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        QCOMPARE(panel->text(it.key()), it.value());
    const QHash<QString, int> positions = Expected::sliderPositions(gamma, z0);
    for (auto it = positions.cbegin(); it != positions.cend(); ++it)
        QCOMPARE(panel->position(it.key()), it.value());
    QCOMPARE(panel->position(u"QS_F"_s), Expected::frequencyPosition(frequency));
    if (const std::optional<complex_dbl> marker = panel->markerGamma())
        QVERIFY(std::abs(*marker - gamma) < 1e-9);
}

QTEST_MAIN(TestRandomConsistency)
#include "tst_randomconsistency.moc"
