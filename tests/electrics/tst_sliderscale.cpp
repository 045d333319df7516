#include "electrics/sliderscale.h"

#include <QTest>

#include <climits>
#include <cmath>
#include <functional>

using namespace Electrics;

// The slider scales alone: the shared table of reactances, the rank rule, and
// the conversions between positions and values for each kind of slider.
class TestSliderScale : public QObject
{
    Q_OBJECT

private slots:
    void tableFollowsTheOuterCircle_data();
    void tableFollowsTheOuterCircle();
    void rankOfValue_data();
    void rankOfValue();
    void positionArithmetic_data();
    void positionArithmetic();
    void valuesOfPositions_data();
    void valuesOfPositions();

private:
    SliderTable table() const
    {
        SliderTable filled {};
        fillSliderTable(filled, {50.0, 0.0});
        return filled;
    }
};

void TestSliderScale::tableFollowsTheOuterCircle_data()
{
    QTest::addColumn<int>("k");
    // Entry k is z0 cot(theta / 2) for theta = 179.55 - 0.9 k degrees.
    for (int k : {0, 1, 99, 100, 198, 199})
        QTest::addRow("T[%d]", k) << k;
}

void TestSliderScale::tableFollowsTheOuterCircle()
{
    QFETCH(int, k);
    const SliderTable entries = table();
    const double halfAngle = (179.55 - 0.9 * k) / 2.0 * M_PI / 180.0;
    QVERIFY(qFuzzyCompare(entries.at(k), 50.0 / std::tan(halfAngle)));
    if (k > 0)
        QVERIFY(entries.at(k) > entries.at(k - 1));
}

void TestSliderScale::rankOfValue_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("rank");
    const SliderTable entries = table();
    QTest::newRow("Z0 between T[99] and T[100]") << 50.0 << unipolarLimit << 101;
    QTest::newRow("exactly T[100]") << entries.at(100) << unipolarLimit << 101;
    QTest::newRow("below T[0]") << 0.0 << unipolarLimit << 1;
    QTest::newRow("exactly T[198]") << entries.at(198) << unipolarLimit << 199;
    QTest::newRow("above T[198], unipolar") << entries.at(199) << unipolarLimit << 200;
    QTest::newRow("above T[197], bipolar") << entries.at(198) << bipolarLimit << 199;
    QTest::newRow("not a number") << std::nan("") << unipolarLimit << 200;
}

void TestSliderScale::rankOfValue()
{
    QFETCH(double, value);
    QFETCH(int, limit);
    QFETCH(int, rank);
    QCOMPARE(tableRank(table(), value, limit), rank);
}

void TestSliderScale::positionArithmetic_data()
{
    QTest::addColumn<std::function<int()>>("formula");
    QTest::addColumn<int>("expected");
    const SliderRange unipolar {0, 1000};
    const SliderRange bipolar {-1000, 1000};
    const SliderRange frequency {0, 99};
    const auto row = [](const char *name, std::function<int()> formula, int expected) {
        QTest::newRow(name) << formula << expected;
    };
    row(
        "rank 101 at 505", [=] { return unipolarPosition(unipolar, 101); }, 505);
    row(
        "G rank 101 at 495", [=] { return reversedPosition(unipolar, 101); }, 495);
    row(
        "step 201 just below 5", [=] { return bipolarPosition(bipolar, 201); }, 4);
    row(
        "step 199 at -5", [=] { return bipolarPosition(bipolar, 199); }, -5);
    row(
        "index at 505", [=] { return unipolarIndex(unipolar, 505); }, 100);
    row(
        "index at 500", [=] { return unipolarIndex(unipolar, 500); }, 99);
    row(
        "index at -6", [=] { return bipolarIndex(bipolar, -6); }, -1);
    row(
        "index at -5 truncates to 0", [=] { return bipolarIndex(bipolar, -5); }, 0);
    row(
        "0.1 ohm next to the centre", [=] { return logarithmicPosition(bipolar, 0.1); }, 1);
    row(
        "1 kohm at the top", [=] { return logarithmicPosition(bipolar, 1000.0); }, 1000);
    row(
        "beyond the top", [=] { return logarithmicPosition(bipolar, 1e9); }, 1000);
    row(
        "zero just below the centre", [=] { return logarithmicPosition(bipolar, 0.0); }, -1);
    row(
        "-10 ohms", [=] { return logarithmicPosition(bipolar, -10.0); }, -500);
    row(
        "1 MHz", [=] { return frequencyPosition(frequency, 1e6); }, 42);
    row(
        "500 Hz below the scale", [=] { return frequencyPosition(frequency, 500.0); }, 0);
    row(
        "20 GHz above the scale", [=] { return frequencyPosition(frequency, 2e10); }, 99);
    row(
        "truncated toward zero", [] { return truncateToInt(-2.7); }, -2);
    row(
        "not a number", [] { return truncateToInt(std::nan("")); }, INT_MIN);
    row(
        "saturated", [] { return truncateToInt(1e300); }, INT_MAX);
}

void TestSliderScale::positionArithmetic()
{
    QFETCH(std::function<int()>, formula);
    QFETCH(int, expected);
    QCOMPARE(formula(), expected);
}

void TestSliderScale::valuesOfPositions_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    const SliderRange bipolar {-1000, 1000};
    const SliderRange frequency {0, 99};
    QTest::newRow("centre is 0") << logarithmicValue(bipolar, 0) << 0.0;
    QTest::newRow("next to the centre") << logarithmicValue(bipolar, 1) << 0.1;
    QTest::newRow("the top") << logarithmicValue(bipolar, 1000) << 1000.0;
    QTest::newRow("the bottom") << logarithmicValue(bipolar, -1000) << -1000.0;
    QTest::newRow("frequency at 0") << frequencyAt(frequency, 0) << 1e3;
    QTest::newRow("frequency at 42") << frequencyAt(frequency, 42) << 932603.3;
    QTest::newRow("frequency at 99") << frequencyAt(frequency, 99) << 1e10;
    QTest::newRow("frequency beyond the range") << frequencyAt(frequency, 150) << 1e10;
}

void TestSliderScale::valuesOfPositions()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QVERIFY2(std::fabs(value - expected) <= 1e-7 * std::fabs(expected),
             qPrintable(QString::number(value, 'g', 17)));
}

QTEST_GUILESS_MAIN(TestSliderScale)
#include "tst_sliderscale.moc"
