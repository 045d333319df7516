#include "chart/labelplacer.h"

#include <QList>
#include <QTest>

// Where a text of 10 x 4 scene units goes, worked out by hand from the gap of
// 1.5 to the anchor, the clearance of 0.5 and the steps of 0.5 along the normal.
class TestLabelPlacer : public QObject
{
    Q_OBJECT

private slots:
    void placesBesideAnchorOrNowhere_data();
    void placesBesideAnchorOrNowhere();
};

void TestLabelPlacer::placesBesideAnchorOrNowhere_data()
{
    QTest::addColumn<QRectF>("bounds");
    QTest::addColumn<QList<QRectF>>("obstacles");
    QTest::addColumn<double>("ringRadius"); // about the origin, line width 1; 0 for none
    QTest::addColumn<QPointF>("anchor");
    QTest::addColumn<QPointF>("normal");
    QTest::addColumn<int>("placedBefore"); // the same text placed this often before
    QTest::addColumn<QRectF>("expected"); // empty for no room

    const QRectF none;
    const QPointF origin;
    const QPointF right(1, 0);
    QTest::newRow("free: beside the anchor")
        << none << QList<QRectF>() << 0.0 << origin << right << 0 << QRectF(1.5, -2, 10, 4);
    // Centre 6.5 along the unit normal (0.6, 0.8) plus half the box's extent
    // along it: 1.5 + 0.6 * 5 + 0.8 * 2 = 6.1.
    QTest::newRow("free: along a slanted normal")
        << none << QList<QRectF>() << 0.0 << origin << QPointF(3, 4) << 0
        << QRectF(3.66 - 5, 4.88 - 2, 10, 4);
    QTest::newRow("label in the way: 18 steps outward")
        << none << QList<QRectF> {{0, -5, 10, 10}} << 0.0 << origin << right << 0
        << QRectF(10.5, -2, 10, 4);
    QTest::newRow("text placed before: 21 steps outward")
        << none << QList<QRectF>() << 0.0 << origin << right << 1 << QRectF(12, -2, 10, 4);
    QTest::newRow("blocked beyond the reach: inward")
        << none << QList<QRectF> {{0, -5, 30, 10}} << 0.0 << origin << right << 0
        << QRectF(-11.5, -2, 10, 4);
    QTest::newRow("blocked both ways: no room")
        << none << QList<QRectF> {{-30, -5, 60, 10}} << 0.0 << origin << right << 0 << none;
    // The line of radius 10 reaches out to 10.5, the clearance to 11.
    QTest::newRow("circle's line in the way: 19 steps outward")
        << none << QList<QRectF>() << 10.0 << origin << right << 0 << QRectF(11, -2, 10, 4);
    QTest::newRow("outside the bounds: inward")
        << QRectF(-20, -20, 40, 40) << QList<QRectF>() << 0.0 << QPointF(0, -15) << QPointF(0, -1)
        << 0 << QRectF(-5, -13.5, 10, 4);
}

void TestLabelPlacer::placesBesideAnchorOrNowhere()
{
    QFETCH(QRectF, bounds);
    QFETCH(QList<QRectF>, obstacles);
    QFETCH(double, ringRadius);
    QFETCH(QPointF, anchor);
    QFETCH(QPointF, normal);
    QFETCH(int, placedBefore);
    QFETCH(QRectF, expected);

    LabelPlacer placer(bounds);
    for (const QRectF &obstacle : obstacles)
        placer.addObstacle(obstacle);
    if (ringRadius > 0)
        placer.addRing({QPointF(), ringRadius, 1.0});
    const QSizeF size(10, 4);
    for (int i = 0; i < placedBefore; ++i)
        QVERIFY(placer.place(size, anchor, normal));
    const std::optional<QRectF> placed = placer.place(size, anchor, normal);
    QCOMPARE(placed.value_or(QRectF()), expected);
}

QTEST_GUILESS_MAIN(TestLabelPlacer)
#include "tst_labelplacer.moc"
