#include "chart/graphicsscene.h"
#include "chart/markeritem.h"
#include "chart/smithbasics.h"
#include "chartfixture.h"

#include <QGraphicsEllipseItem>
#include <QGraphicsItemGroup>
#include <QGraphicsLineItem>
#include <QGraphicsPathItem>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPen>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Where each kind of item begins among the children of the two grids' groups,
// which the chart builds in this order.
enum GridChild {
    // the Smith grid
    resistanceCircles = 0,
    reactanceArcs = 6,
    conductanceCircles = 18,
    susceptanceArcs = 24,
    smithUnitCircle = 36,
    smithRealAxis = 37,
    firstSmithLabel = 38,
    innerSmithLabels = 12, // of the resistance and conductance circles
    // the Gamma grid
    firstTick = 6,
    gammaLineIndex = 42,
    firstGammaLabel = 43,
};

const double normalisedGrid[12] = {0.2, 0.5, 1, 2, 4, 10, -0.2, -0.5, -1, -2, -4, -10};

QPointF elementPoint(const QPainterPath &path, int index)
{
    return path.elementAt(index);
}

// Where the impedance z (normalised to z0) stands on the chart.
QPointF chartPoint(std::complex<double> z)
{
    const std::complex<double> gamma = (z - 1.0) / (z + 1.0);
    return {125.0 * gamma.real(), -125.0 * gamma.imag()};
}

double distance(const QPointF &a, const QPointF &b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// The 36 labels of the Smith grid from the numbers of its six circles of
// constant r, in ohms, and of constant g, in millisiemens: the circles, then the
// reactance arcs above and below the axis, then the susceptance arcs below and
// above it.
QStringList smithLabels(const QStringList &ohms, const QStringList &millisiemens)
{
    QStringList labels;
    for (const QString &form :
         {u"%1Ω"_s, u"%1mS"_s, u"%1jΩ"_s, u"-%1jΩ"_s, u"-%1jmS"_s, u"%1jmS"_s}) {
        for (const QString &number : form.endsWith(u"Ω") ? ohms : millisiemens)
            labels.append(form.arg(number));
    }
    return labels;
}

// A held drag of the marker towards a load, as the scene takes it from the
// marker: Shift a series element, Ctrl a shunt element.
struct HeldStep
{
    Qt::KeyboardModifiers held;
    std::complex<double> aim; // normalised impedance
};

// Whether the box keeps clear of the outer circle's line, 1 unit wide:
// wholly inside it or wholly outside.
bool offOuterCircle(const QRectF &box)
{
    double farthest = 0;
    for (const QPointF &corner :
         {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
        farthest = std::max(farthest, distance(corner, QPointF()));
    const QPointF nearest(std::clamp(0.0, box.left(), box.right()),
                          std::clamp(0.0, box.top(), box.bottom()));
    return farthest < 124.5 || distance(nearest, QPointF()) > 125.5;
}

QPen itemPen(const QGraphicsItem *item)
{
    if (const auto *shape = dynamic_cast<const QAbstractGraphicsShapeItem *>(item))
        return shape->pen();
    return qgraphicsitem_cast<const QGraphicsLineItem *>(item)->pen();
}

} // namespace

Q_DECLARE_METATYPE(QList<HeldStep>)

// The items of the chart as built at Z0 = 50 ohms, in the German locale.
class TestGraphicsScene : public ChartFixture
{
    Q_OBJECT

public:
    TestGraphicsScene()
        : ChartFixture(Start::Built)
    { }

private slots:
    void topLevelItemsStackInBuildOrder();
    void secondBuildGivesTheSameAndNothingMore();
    void gridGroupsHoldTheirItemsInOrder_data();
    void gridGroupsHoldTheirItemsInOrder();

    void gridCurvePointCounts_data();
    void gridCurvePointCounts();
    void resistanceCircleOnePassesThroughCentre();
    void reactanceArcOneRunsFromJToCircleTen();
    void susceptanceArcOneRunsOnTowardsMinusOne();
    void gridCurvesDoNotDependOnZ0_data();
    void gridCurvesDoNotDependOnZ0();

    void smithLabelTexts_data();
    void smithLabelTexts();
    void smithLabelNumbersFollowLocale_data();
    void smithLabelNumbersFollowLocale();
    void labelPlacement_data();
    void labelPlacement();
    void labelFontIsSmallAndNormal();
    void labelBoxesDoNotOverlap_data();
    void labelBoxesDoNotOverlap();
    void gammaLabelTexts();

    void ticksStandEveryTenthButNotAtZeroOrOne();
    void tickEnds_data();
    void tickEnds();
    void gammaLineStartsAsStubAtCentre();

    void swrCircleRadius_data();
    void swrCircleRadius();
    void swrCirclesShowOnlyValuesAboveOne();
    void swrCountBeyondCirclesIsIgnored();

    void degenerateZ0DrawsQuietly_data();
    void degenerateZ0DrawsQuietly();

private:
    QGraphicsItem *smithItem(int index) const;
    QGraphicsItem *gammaItem(int index) const;
    QPainterPath smithPath(int index) const;
};

QGraphicsItem *TestGraphicsScene::smithItem(int index) const
{
    return scene()->smithGridGroup()->childItems().at(index);
}

QGraphicsItem *TestGraphicsScene::gammaItem(int index) const
{
    return scene()->gammaGridGroup()->childItems().at(index);
}

QPainterPath TestGraphicsScene::smithPath(int index) const
{
    const auto *item = qgraphicsitem_cast<const QGraphicsPathItem *>(smithItem(index));
    return item ? item->path() : QPainterPath();
}

void TestGraphicsScene::topLevelItemsStackInBuildOrder()
{
    const QList<QGraphicsItem *> top = topLevelItems(*scene());
    const QList<QGraphicsEllipseItem *> &swr = scene()->swrCircleItems();
    QCOMPARE(swr.size(), 3);
    const QList<QGraphicsItem *> expected {
        scene()->smithGridGroup(), swr[0], swr[1], swr[2], scene()->gammaGridGroup(),
        scene()->markerGraphic()};
    QCOMPARE(top, expected);
    QVERIFY(!expected.contains(nullptr));
}

void TestGraphicsScene::secondBuildGivesTheSameAndNothingMore()
{
    const qsizetype itemsAfterFirst = scene()->items().size();
    QCOMPARE(itemsAfterFirst, 1 + 38 + 36 + 3 + 1 + 55 + 1);
    rebuild(50.0);
    QCOMPARE(scene()->items().size(), itemsAfterFirst);
    QCOMPARE(topLevelItems(*scene()).size(), 6);
    QCOMPARE(scene()->smithGridGroup()->childItems().size(), 74);
    QCOMPARE(scene()->gammaGridGroup()->childItems().size(), 55);
}

void TestGraphicsScene::gridGroupsHoldTheirItemsInOrder_data()
{
    QTest::addColumn<bool>("smith"); // the Smith grid's group, else the Gamma grid's
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("itemType");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<double>("width");
    QTest::addColumn<Qt::PenStyle>("style");
    QTest::addColumn<double>("radius"); // of the circles about the centre

    const int path = QGraphicsPathItem::Type;
    const int ellipse = QGraphicsEllipseItem::Type;
    const int line = QGraphicsLineItem::Type;
    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    const QColor darkBlue(0, 0, 128);
    const QColor black(0, 0, 0);
    const Qt::PenStyle solid = Qt::SolidLine;
    const Qt::PenStyle dotted = Qt::DotLine;
    QTest::newRow("smith/6 resistance circles")
        << true << int(resistanceCircles) << 6 << path << red << 0.2 << solid << 0.0;
    QTest::newRow("smith/12 reactance arcs")
        << true << int(reactanceArcs) << 12 << path << red << 0.2 << solid << 0.0;
    QTest::newRow("smith/6 conductance circles")
        << true << int(conductanceCircles) << 6 << path << blue << 0.2 << solid << 0.0;
    QTest::newRow("smith/12 susceptance arcs")
        << true << int(susceptanceArcs) << 12 << path << blue << 0.2 << solid << 0.0;
    QTest::newRow("smith/unit circle")
        << true << int(smithUnitCircle) << 1 << ellipse << black << 1.0 << solid << 125.0;
    QTest::newRow("smith/real axis")
        << true << int(smithRealAxis) << 1 << line << black << 0.3 << solid << 0.0;
    QTest::newRow("gamma/circle 0.25")
        << false << 0 << 1 << ellipse << darkBlue << 0.4 << dotted << 31.25;
    QTest::newRow("gamma/circle 0.75")
        << false << 1 << 1 << ellipse << darkBlue << 0.4 << dotted << 93.75;
    QTest::newRow("gamma/circle 0.5")
        << false << 2 << 1 << ellipse << darkBlue << 0.6 << dotted << 62.5;
    QTest::newRow("gamma/unit circle")
        << false << 3 << 1 << ellipse << black << 1.0 << solid << 125.0;
    QTest::newRow("gamma/axes and ticks")
        << false << 4 << 38 << line << black << 0.3 << solid << 0.0;
    QTest::newRow("gamma/gamma line")
        << false << int(gammaLineIndex) << 1 << line << darkBlue << 1.5 << solid << 0.0;
}

// Each group holds its curves first, in the order built, and its labels last;
// the Smith grid shows and the Gamma grid is faded out.
void TestGraphicsScene::gridGroupsHoldTheirItemsInOrder()
{
    QFETCH(bool, smith);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(int, itemType);
    QFETCH(QColor, colour);
    QFETCH(double, width);
    QFETCH(Qt::PenStyle, style);
    QFETCH(double, radius);

    const QGraphicsItemGroup *group = smith ? scene()->smithGridGroup() : scene()->gammaGridGroup();
    const QList<QGraphicsItem *> children = group->childItems();
    QCOMPARE(children.size(), smith ? 6 + 12 + 6 + 12 + 2 + 36 : 55);
    for (int i = first; i < first + count; ++i) {
        const QGraphicsItem *item = children.at(i);
        QCOMPARE(item->type(), itemType);
        const QPen pen = itemPen(item);
        QCOMPARE(pen.color(), colour);
        QCOMPARE(pen.widthF(), width);
        QCOMPARE(pen.style(), style);
        if (const auto *shape = dynamic_cast<const QAbstractGraphicsShapeItem *>(item))
            QCOMPARE(shape->brush().style(), Qt::NoBrush);
        if (const auto *circle = qgraphicsitem_cast<const QGraphicsEllipseItem *>(item))
            QCOMPARE(circle->rect(), QRectF(-radius, -radius, 2 * radius, 2 * radius));
    }
    if (!smith)
        QCOMPARE(children.at(gammaLineIndex), scene()->gammaLineItem());
    for (int i = smith ? firstSmithLabel : firstGammaLabel; i < children.size(); ++i)
        QCOMPARE(children.at(i)->type(), int(QGraphicsSimpleTextItem::Type));
    QCOMPARE(group->opacity(), smith ? 1.0 : 0.0);
}

void TestGraphicsScene::gridCurvePointCounts_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("points");

    for (int i = 0; i < 6; ++i) {
        const QByteArray r = QByteArray::number(normalisedGrid[i]);
        QTest::addRow("resistance r=%s", r.constData()) << resistanceCircles + i << 180;
        QTest::addRow("conductance g=%s", QByteArray::number(1 / normalisedGrid[i]).constData())
            << conductanceCircles + i << 180;
    }
    for (int i = 0; i < 12; ++i) {
        const double x = normalisedGrid[i];
        const bool reactanceClipped = std::abs(x) <= 1;
        const bool susceptanceClipped = std::abs(1 / x) < 1;
        QTest::addRow("reactance x=%s", QByteArray::number(x).constData())
            << reactanceArcs + i << (reactanceClipped ? 85 : 90);
        QTest::addRow("susceptance b=%s", QByteArray::number(1 / x).constData())
            << susceptanceArcs + i << (susceptanceClipped ? 80 : 90);
    }
}

void TestGraphicsScene::gridCurvePointCounts()
{
    QFETCH(int, index);
    QFETCH(int, points);

    const QPainterPath path = smithPath(index);
    QCOMPARE(path.elementCount(), points);
    QCOMPARE(path.elementAt(0).type, QPainterPath::MoveToElement);
    for (int i = 1; i < points; ++i)
        QCOMPARE(path.elementAt(i).type, QPainterPath::LineToElement);
}

void TestGraphicsScene::resistanceCircleOnePassesThroughCentre()
{
    const QPainterPath circle = smithPath(resistanceCircles + 2);
    QCOMPARE(circle.elementCount(), 180);
    // The samples 89 and 90 lie symmetrically just above and below the centre.
    const QPointF above = elementPoint(circle, 89);
    const QPointF below = elementPoint(circle, 90);
    QVERIFY(above.y() < 0 && below.y() > 0);
    QVERIFY(std::abs(above.x()) < 0.01);
    QVERIFY(std::abs(above.x() - below.x()) < 1e-9);
    QVERIFY(distance(above, QPointF()) < 1.0);

    const QPointF start = elementPoint(circle, 0);
    const QPointF end = elementPoint(circle, 179);
    QVERIFY2(start.y() < 0 && end.y() > 0, "open ends above and below the real axis");
    QVERIFY(distance(start, QPointF(125, 0)) < 2.5);
    QVERIFY(distance(end, QPointF(125, 0)) < 2.5);
    QVERIFY(circle.elementAt(0) != circle.elementAt(179));
}

void TestGraphicsScene::reactanceArcOneRunsFromJToCircleTen()
{
    const QPainterPath arc = smithPath(reactanceArcs + 2);
    QVERIFY(distance(elementPoint(arc, 0), QPointF(0, -125)) < 1.5);
    QVERIFY(distance(elementPoint(arc, 84), chartPoint({10, 1})) < 1e-9);

    const QPainterPath negativeArc = smithPath(reactanceArcs + 8);
    QVERIFY(distance(elementPoint(negativeArc, 0), QPointF(0, 125)) < 1.5);
    QVERIFY(distance(elementPoint(negativeArc, 84), chartPoint({10, -1})) < 1e-9);
}

void TestGraphicsScene::susceptanceArcOneRunsOnTowardsMinusOne()
{
    // b = 1 belongs to the grid value x = 1; it is not held at g = 5.
    const QPainterPath arc = smithPath(susceptanceArcs + 2);
    const QPointF end = elementPoint(arc, 89);
    QVERIFY2(end.x() < -122.5, qPrintable(QString::number(end.x())));
    QVERIFY(std::abs(end.y()) < 2.5);

    // b = 0.5 (grid value x = 2) ends on the circle g = 5.
    const QPainterPath clipped = smithPath(susceptanceArcs + 3);
    const std::complex<double> admittance(5, 0.5);
    QVERIFY(distance(elementPoint(clipped, 79), chartPoint(1.0 / admittance)) < 1e-9);
}

void TestGraphicsScene::gridCurvesDoNotDependOnZ0_data()
{
    QTest::addColumn<double>("z0");
    QTest::addColumn<bool>("rebuilt"); // the whole chart, or the Smith grid drawn over

    QTest::newRow("75 ohms, rebuilt") << 75.0 << true;
    QTest::newRow("-50 ohms draws the grid of its magnitude") << -50.0 << false;
}

// The curves are those of the normalised grid; only the labels name Z0.
void TestGraphicsScene::gridCurvesDoNotDependOnZ0()
{
    QFETCH(double, z0);
    QFETCH(bool, rebuilt);

    std::vector<QPainterPath> at50;
    for (int i = 0; i < 36; ++i)
        at50.push_back(smithPath(i));
    if (rebuilt)
        rebuild(z0);
    else
        chart->drawSmithGrid(z0);
    for (int i = 0; i < 36; ++i) {
        const QPainterPath path = smithPath(i);
        QCOMPARE(path.elementCount(), at50[i].elementCount());
        for (int e = 0; e < path.elementCount(); ++e)
            QVERIFY(distance(elementPoint(path, e), elementPoint(at50[i], e)) < 1e-9);
    }
}

void TestGraphicsScene::smithLabelTexts_data()
{
    QTest::addColumn<double>("z0");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("german/50 ohm")
        << 50.0
        << smithLabels({u"10"_s, u"25"_s, u"50"_s, u"100"_s, u"200"_s, u"500"_s},
                       {u"100,0"_s, u"40,0"_s, u"20,0"_s, u"10,0"_s, u"5,0"_s, u"2,0"_s});
    // 37.5 is an exact binary tie and rounds away from zero.
    QTest::newRow("german/75 ohm")
        << 75.0
        << smithLabels({u"15"_s, u"38"_s, u"75"_s, u"150"_s, u"300"_s, u"750"_s},
                       {u"66,7"_s, u"26,7"_s, u"13,3"_s, u"6,7"_s, u"3,3"_s, u"1,3"_s});
}

void TestGraphicsScene::smithLabelTexts()
{
    QFETCH(double, z0);
    QFETCH(QStringList, texts);

    chart->drawSmithGrid(z0);
    const QList<QGraphicsItem *> children = scene()->smithGridGroup()->childItems();
    QStringList shown;
    for (int i = firstSmithLabel; i < children.size(); ++i)
        shown << qgraphicsitem_cast<const QGraphicsSimpleTextItem *>(children.at(i))->text();
    QCOMPARE(shown, texts);
}

void TestGraphicsScene::smithLabelNumbersFollowLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("z0");
    QTest::addColumn<int>("label");
    QTest::addColumn<QString>("text");

    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("german/1 kΩ, r=10") << german << 1000.0 << 5 << u"10.000Ω"_s;
    QTest::newRow("english/1 kΩ, r=10") << english << 1000.0 << 5 << u"10,000Ω"_s;
    QTest::newRow("english/50 Ω, g=5") << english << 50.0 << 6 << u"100.0mS"_s;
    QTest::newRow("english/50 Ω, b=5") << english << 50.0 << 24 << u"-100.0jmS"_s;
    QTest::newRow("german/0,5 Ω, x=-10") << german << 0.5 << 23 << u"-5jΩ"_s;
}

void TestGraphicsScene::smithLabelNumbersFollowLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(double, z0);
    QFETCH(int, label);
    QFETCH(QString, text);

    QLocale::setDefault(locale);
    chart->drawSmithGrid(z0);
    const auto *item =
        qgraphicsitem_cast<const QGraphicsSimpleTextItem *>(smithItem(firstSmithLabel + label));
    QCOMPARE(item->text(), text);
}

void TestGraphicsScene::labelPlacement_data()
{
    QTest::addColumn<bool>("smith");
    QTest::addColumn<int>("label");
    QTest::addColumn<QPointF>("position");
    QTest::addColumn<QColor>("colour");

    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    QTest::newRow("smith 1, 10Ω") << true << 0 << QPointF(8.1125, 97.375) << red;
    QTest::newRow("smith 6, 500Ω") << true << 5 << QPointF(108, 3.6875) << red;
    QTest::newRow("smith 7, 100,0mS") << true << 6 << QPointF(-108.6625, -27.3375) << blue;
    QTest::newRow("smith 13, 10jΩ") << true << 12 << QPointF(-126.45, -56.9875) << red;
    QTest::newRow("smith 24, -500jΩ") << true << 23 << QPointF(124.6125, 18.7) << red;
    QTest::newRow("smith 25, -100,0jmS") << true << 24 << QPointF(-141.8, -48.125) << blue;
    QTest::newRow("smith 36, 2,0jmS") << true << 35 << QPointF(123.825, 27.2) << blue;
    QTest::newRow("gamma 1, -1") << false << 0 << QPointF(-131.5125, -3.75) << blue;
    QTest::newRow("gamma 6, +j") << false << 5 << QPointF(-2.5, -133.1375) << blue;
    QTest::newRow("gamma 9, -j") << false << 8 << QPointF(-0.9125, 125.75) << blue;
    QTest::newRow("gamma 12, M=0.75") << false << 11 << QPointF(80.6, -55.5125) << blue;
}

void TestGraphicsScene::labelPlacement()
{
    QFETCH(bool, smith);
    QFETCH(int, label);
    QFETCH(QPointF, position);
    QFETCH(QColor, colour);

    const QGraphicsItem *item =
        smith ? smithItem(firstSmithLabel + label) : gammaItem(firstGammaLabel + label);
    const auto *text = qgraphicsitem_cast<const QGraphicsSimpleTextItem *>(item);
    QVERIFY(text);
    QCOMPARE(text->pos(), position);
    QCOMPARE(text->brush().color(), colour);
    QCOMPARE(text->brush().style(), Qt::SolidPattern);
}

void TestGraphicsScene::labelFontIsSmallAndNormal()
{
    const QList<QGraphicsItem *> labels =
        scene()->smithGridGroup()->childItems().mid(firstSmithLabel)
        + scene()->gammaGridGroup()->childItems().mid(firstGammaLabel);
    QCOMPARE(labels.size(), 36 + 12);
    for (const QGraphicsItem *item : labels) {
        const QFont font = qgraphicsitem_cast<const QGraphicsSimpleTextItem *>(item)->font();
        QCOMPARE(font.pointSize(), 4);
        QCOMPARE(font.weight(), QFont::Normal);
    }
}

void TestGraphicsScene::labelBoxesDoNotOverlap_data()
{
    QTest::addColumn<double>("z0");
    QTest::addColumn<QSize>("viewSize");
    QTest::addColumn<std::complex<double>>("load"); // normalised
    QTest::addColumn<QList<HeldStep>>("network"); // at 100 MHz
    for (const double z0 : {0.1, 1.0, 50.0, 75.0, 100.0, 1000.0, 10000.0}) {
        for (const QSize &size : {QSize(330, 330), QSize(1400, 1000)})
            QTest::addRow("%g ohms, %dx%d", z0, size.width(), size.height())
                << z0 << size << std::complex<double>() << QList<HeldStep>();
    }
    // z = 2 + j: the shunt C takes y = 0.4 - j0.2 to 0.4 + j0.49 on the
    // circle r = 1, at 1 - j1.22, where the series L ends at the centre.
    const QList<HeldStep> worked {{Qt::ControlModifier, {1, -std::sqrt(1.5)}},
                                  {Qt::ShiftModifier, {1, 0}}};
    const QSize small(330, 330);
    QTest::newRow("network C then L, 50 ohms")
        << 50.0 << small << std::complex<double>(2, 1) << worked;
    QTest::newRow("network C then L, 100 ohms")
        << 100.0 << small << std::complex<double>(2, 1) << worked;
    QTest::newRow("short elements close together")
        << 50.0 << small << std::complex<double>(1.1, 0.3)
        << QList<HeldStep> {{Qt::ShiftModifier, {1.1, 0.2}},
                            {Qt::ControlModifier, {1.0, 0.2}},
                            {Qt::ShiftModifier, {1.0, 0.1}},
                            {Qt::ControlModifier, {0.9, 0.1}}};
    QTest::newRow("network along the rim, near the grid labels")
        << 50.0 << small << std::complex<double>(0.1, 1.5)
        << QList<HeldStep> {{Qt::ShiftModifier, {0.1, 3.0}}, {Qt::ControlModifier, {0.3, 4.0}}};
}

// No two labels of one grid share a point, the two labels at Gamma = +j and
// -j included, no label inside the chart touches its outer circle, and every label stands
// whole in the fitted view. The matching network's numbers and values all
// find room of their own, off every grid label, and its last element reports
// them as what it covers.
void TestGraphicsScene::labelBoxesDoNotOverlap()
{
    QFETCH(double, z0);
    QFETCH(QSize, viewSize);
    QFETCH(std::complex<double>, load);
    QFETCH(QList<HeldStep>, network);
    rebuild(z0);
    QVERIFY(showAt(viewSize));
    view->fitInView(scene()->viewedRect(), Qt::KeepAspectRatio);

    QList<QRectF> gridBoxes;
    for (const QGraphicsItemGroup *group : {scene()->smithGridGroup(), scene()->gammaGridGroup()}) {
        const QList<QGraphicsItem *> labels = group->childItems().mid(
            group == scene()->smithGridGroup() ? firstSmithLabel : firstGammaLabel);
        for (qsizetype i = 0; i < labels.size(); ++i) {
            const auto *label = qgraphicsitem_cast<const QGraphicsSimpleTextItem *>(labels.at(i));
            const QRectF box = label->sceneBoundingRect();
            gridBoxes.append(box);
            QVERIFY2(view->viewport()->rect().contains(view->mapFromScene(box).boundingRect()),
                     qPrintable(label->text()));
            if (group == scene()->smithGridGroup() && i < innerSmithLabels)
                QVERIFY2(offOuterCircle(box), qPrintable(label->text()));
            for (qsizetype j = 0; j < i; ++j) {
                const auto *other =
                    qgraphicsitem_cast<const QGraphicsSimpleTextItem *>(labels.at(j));
                QVERIFY2(!box.intersects(other->sceneBoundingRect()),
                         qPrintable(label->text() + u" on "_s + other->text()));
            }
        }
    }

    if (network.isEmpty())
        return;
    chart->setMatchingFrequency(1e8);
    chart->setGamma((load - 1.0) / (load + 1.0));
    for (const HeldStep &step : network) {
        scene()->markerPressed(step.held);
        marker()->setPos(chartPoint(step.aim));
        scene()->markerDragged(step.held);
        scene()->markerReleased();
    }
    const MatchingPath &path = scene()->matchingPath();
    QCOMPARE(path.readout().size(), network.size());
    const std::vector<QRectF> boxes = path.labelBoxes();
    QCOMPARE(qsizetype(boxes.size()), 2 * network.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        QVERIFY(offOuterCircle(boxes[i]));
        QVERIFY(scene()->sceneRect().contains(boxes[i]));
        for (const QRectF &grid : gridBoxes)
            QVERIFY(!boxes[i].intersects(grid));
        for (std::size_t j = 0; j < i; ++j)
            QVERIFY(!boxes[i].intersects(boxes[j]));
    }
    // What the chart repaints of the network covers every placed text.
    for (const QRectF &box : boxes) {
        const std::vector<ChartOverlay::Piece> pieces = path.pieces();
        QVERIFY(
            std::any_of(pieces.cbegin(), pieces.cend(), [&box](const ChartOverlay::Piece &piece) {
                return piece.rect.contains(box);
            }));
    }
}

void TestGraphicsScene::gammaLabelTexts()
{
    const QStringList expected {u"-1"_s,
                                u"-0.5"_s,
                                u"0"_s,
                                u"+0.5"_s,
                                u"+1"_s,
                                u"+j"_s,
                                u"+0.5j"_s,
                                u"-0.5j"_s,
                                u"-j"_s,
                                u"| \u0393 |=M=0.25"_s,
                                u"| \u0393 |=M=0.5"_s,
                                u"| \u0393 |=M=0.75"_s};
    QStringList shown;
    const QList<QGraphicsItem *> children = scene()->gammaGridGroup()->childItems();
    for (int i = firstGammaLabel; i < children.size(); ++i)
        shown << qgraphicsitem_cast<const QGraphicsSimpleTextItem *>(children.at(i))->text();
    QCOMPARE(shown, expected);
}

void TestGraphicsScene::ticksStandEveryTenthButNotAtZeroOrOne()
{
    QList<double> onRealAxis;
    QList<double> onImaginaryAxis;
    for (int i = firstTick; i < firstTick + 36; ++i) {
        const QLineF tick = qgraphicsitem_cast<const QGraphicsLineItem *>(gammaItem(i))->line();
        if (tick.x1() == tick.x2())
            onRealAxis << tick.x1();
        else
            onImaginaryAxis << tick.y1();
    }
    std::sort(onRealAxis.begin(), onRealAxis.end());
    std::sort(onImaginaryAxis.begin(), onImaginaryAxis.end());
    QList<double> expected;
    for (int tenth : {-9, -8, -7, -6, -5, -4, -3, -2, -1, 1, 2, 3, 4, 5, 6, 7, 8, 9})
        expected << 12.5 * tenth;
    QCOMPARE(onRealAxis, expected);
    QCOMPARE(onImaginaryAxis, expected);
}

void TestGraphicsScene::tickEnds_data()
{
    QTest::addColumn<int>("tick");
    QTest::addColumn<QLineF>("line");

    QTest::newRow("real axis -0.9") << 0 << QLineF(-112.5, 1, -112.5, -1);
    QTest::newRow("real axis +0.1") << 1 << QLineF(12.5, 1, 12.5, -1);
    QTest::newRow("imaginary axis +0.9j") << 2 << QLineF(-1, -112.5, 1, -112.5);
    QTest::newRow("imaginary axis -0.1j") << 3 << QLineF(-1, 12.5, 1, 12.5);
    QTest::newRow("real axis +0.5, long") << 17 << QLineF(62.5, 2.5, 62.5, -2.5);
    QTest::newRow("imaginary axis +0.3j") << 26 << QLineF(-1, -37.5, 1, -37.5);
}

void TestGraphicsScene::tickEnds()
{
    QFETCH(int, tick);
    QFETCH(QLineF, line);

    QCOMPARE(qgraphicsitem_cast<const QGraphicsLineItem *>(gammaItem(firstTick + tick))->line(),
             line);
}

void TestGraphicsScene::gammaLineStartsAsStubAtCentre()
{
    const QGraphicsLineItem *line = scene()->gammaLineItem();
    QCOMPARE(line->line(), QLineF(-0.1, 0, 0.1, 0));
    QCOMPARE(line->pen().widthF(), 1.5);
    QCOMPARE(line->pen().color(), QColor(Qt::darkBlue));
    QCOMPARE(line->parentItem(), scene()->gammaGridGroup());
}

void TestGraphicsScene::swrCircleRadius_data()
{
    QTest::addColumn<double>("swr");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<double>("radius");

    QTest::newRow("1.0 hides") << 1.0 << false << 0.0;
    QTest::newRow("0.5 hides") << 0.5 << false << 0.0;
    QTest::newRow("NaN hides") << std::numeric_limits<double>::quiet_NaN() << false << 0.0;
    QTest::newRow("1.1") << 1.1 << true << 5.952;
    QTest::newRow("2") << 2.0 << true << 41.667;
    QTest::newRow("3") << 3.0 << true << 62.5;
    QTest::newRow("100") << 100.0 << true << 122.525;
    QTest::newRow("infinite, the unit circle")
        << std::numeric_limits<double>::infinity() << true << 125.0;
}

void TestGraphicsScene::swrCircleRadius()
{
    QFETCH(double, swr);
    QFETCH(bool, shown);
    QFETCH(double, radius);

    const double values[3] = {2.0, 2.0, swr};
    chart->setSwrCircles(values, 3);
    const QGraphicsEllipseItem *circle = scene()->swrCircleItems().at(2);
    QCOMPARE(circle->isVisible(), shown);
    if (!shown)
        return;
    const QRectF rect = circle->rect();
    QCOMPARE(rect.center(), QPointF(0, 0));
    QVERIFY2(std::abs(rect.width() / 2 - radius) < 0.0005,
             qPrintable(QString::number(rect.width())));
    QCOMPARE(rect.width(), rect.height());
    QColor colour(0, 0, 2);
    colour.setAlpha(100);
    QCOMPARE(circle->pen().color(), colour);
    QCOMPARE(circle->pen().widthF(), 0.8);
    QCOMPARE(circle->pen().style(), Qt::DotLine);
    QCOMPARE(circle->brush().style(), Qt::NoBrush);
}

void TestGraphicsScene::swrCirclesShowOnlyValuesAboveOne()
{
    const QList<QGraphicsEllipseItem *> &circles = scene()->swrCircleItems();
    for (const QGraphicsEllipseItem *circle : circles)
        QVERIFY(!circle->isVisible());

    const double mixed[3] = {2.0, 1.0, 3.0};
    chart->setSwrCircles(mixed, 3);
    QVERIFY(circles[0]->isVisible());
    QVERIFY(!circles[1]->isVisible());
    QVERIFY(circles[2]->isVisible());

    const double allOne[3] = {1.0, 1.0, 1.0};
    chart->setSwrCircles(allOne, 3);
    for (const QGraphicsEllipseItem *circle : circles)
        QVERIFY(!circle->isVisible());
}

void TestGraphicsScene::swrCountBeyondCirclesIsIgnored()
{
    const double five[5] = {2.0, 2.0, 2.0, 2.0, 2.0};
    chart->setSwrCircles(five, 5);
    QCOMPARE(scene()->swrCircleItems().size(), 3);
    QCOMPARE(topLevelItems(*scene()).size(), 6);
}

void TestGraphicsScene::degenerateZ0DrawsQuietly_data()
{
    QTest::addColumn<double>("z0");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("zero") << 0.0;
    QTest::newRow("negative zero") << -0.0;
    QTest::newRow("negative") << -50.0;
    QTest::newRow("infinite") << inf;
    QTest::newRow("minus infinite") << -inf;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("denormal") << std::numeric_limits<double>::denorm_min();
    QTest::newRow("huge") << std::numeric_limits<double>::max() / 2;
}

void TestGraphicsScene::degenerateZ0DrawsQuietly()
{
    QFETCH(double, z0);

    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    rebuild(z0, {2.0, 3.0, 1.0});
    chart->setGamma({0.5, 0.5});

    QCOMPARE(topLevelItems(*scene()).size(), 6);
    QCOMPARE(scene()->smithGridGroup()->childItems().size(), 74);
    for (int i = 0; i < 36; ++i) {
        const QPainterPath path = smithPath(i);
        for (int e = 0; e < path.elementCount(); ++e) {
            const QPointF point = elementPoint(path, e);
            QVERIFY(std::isfinite(point.x()) && std::isfinite(point.y()));
        }
    }
    // Painting the whole scene must not complain either.
    QImage image(300, 300, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene()->render(&painter);
}

QTEST_MAIN(TestGraphicsScene)
#include "tst_graphicsscene.moc"
