#include "windowtest.h"

#include "electrics/conversions.h"

#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

// Faults that random use of the window brought to light, each kept from
// coming back.
class TestRegressions : public WindowTest
{
    Q_OBJECT

private slots:
    void hugePhaseKeepsItsDirection_data();
    void hugePhaseKeepsItsDirection();
};

void TestRegressions::hugePhaseKeepsItsDirection_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("degrees");
    QTest::newRow("1e308") << u"1e308"_s << 1e308;
    QTest::newRow("-1e308") << u"-1e308"_s << -1e308;
    QTest::newRow("1,7e308") << u"1,7e308"_s << 1.7e308;
    QTest::newRow("400") << u"400"_s << 400.0;
}

// A phase of 1e308 degrees overflowed on its way to radians, and the entry
// was silently dropped; it is a direction like any other.
void TestRegressions::hugePhaseKeepsItsDirection()
{
    QFETCH(QString, typed);
    QFETCH(double, degrees);
    panel->enter(u"LED_GAMMAM"_s, u"0,5"_s);
    panel->enter(u"LED_GAMMAP"_s, typed);

    const complex_dbl gamma = Electrics::gammaFromPolar(0.5, std::fmod(degrees, 360.0));
    const QHash<QString, QString> texts = Expected::fieldTexts(gamma, 50.0, 1e6);
    for (const QString &name :
         WindowDriver::gammaFieldNames() + QStringList {u"LED_R"_s, u"LED_X"_s})
        QCOMPARE(panel->text(name), texts.value(name));
    QVERIFY(std::abs(panel->markerGamma().value() - gamma) < 1e-12);
}

QTEST_MAIN(TestRegressions)
#include "tst_regressions.moc"
