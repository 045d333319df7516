#include "chart/smithbasics.h"

#include "chart/graphicsscene.h"
#include "chart/markeritem.h"
#include "chartfixture.h"

#include <QGraphicsItemGroup>
#include <QGraphicsView>
#include <QImage>
#include <QTest>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>

namespace {

// Where the impedance z (normalised) stands on the chart.
QPointF impedancePoint(std::complex<double> z)
{
    const std::complex<double> gamma = (z - 1.0) / (z + 1.0);
    return {125.0 * gamma.real(), -125.0 * gamma.imag()};
}

QPointF unitCirclePoint(double degrees)
{
    const double angle = qDegreesToRadians(degrees);
    return {125.0 * std::cos(angle), -125.0 * std::sin(angle)};
}

using ColourTest = std::function<bool(const QColor &)>;

bool isReddish(const QColor &c)
{
    return c.red() - std::max(c.green(), c.blue()) >= 40;
}

bool isBluish(const QColor &c)
{
    return c.blue() - std::max(c.red(), c.green()) >= 40;
}

bool isDark(const QColor &c)
{
    return std::max({c.red(), c.green(), c.blue()}) < 110;
}

bool isWhite(const QColor &c)
{
    return c.red() > 250 && c.green() > 250 && c.blue() > 250;
}

// Thin curves cover a pixel only in part; look at the few pixels around.
bool anyPixelNear(const QImage &image, const QPoint &centre, const ColourTest &test)
{
    constexpr int reach = 2;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const QPoint p = centre + QPoint(dx, dy);
            if (image.rect().contains(p) && test(image.pixelColor(p)))
                return true;
        }
    }
    return false;
}

} // namespace

// Each test starts from an empty scene and builds the chart itself.
class TestSmithBasics : public ChartFixture
{
    Q_OBJECT

public:
    TestSmithBasics()
        : ChartFixture(Start::Empty)
    { }

private slots:
    void guardedOperationsWaitForBuild();
    void crossFadeSharesOpacity_data();
    void crossFadeSharesOpacity();
    void rebuildRestoresSmithGrid();
    void opacityWithoutGroupsIsIgnored();
    void viewShowsWholeChart_data();
    void viewShowsWholeChart();
};

void TestSmithBasics::guardedOperationsWaitForBuild()
{
    const double swr[3] = {2.0, 3.0, 4.0};
    chart->createSwrCircles(3);
    chart->setSwrCircles(swr, 3);
    chart->createMarker(true);
    chart->setGamma({0.5, 0.5});
    QVERIFY(scene()->items().isEmpty());

    buildChart(*chart, 50.0);
    chart->clear();
    chart->resetReady();
    chart->createMarker(true);
    chart->createSwrCircles(3);
    QVERIFY(scene()->items().isEmpty());
    QVERIFY(!marker());
}

void TestSmithBasics::crossFadeSharesOpacity_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<double>("smith");
    QTest::addColumn<double>("gamma");
    QTest::addColumn<QSize>("viewSize");
    // The share of pixels whose cached picture may differ from the live one.
    QTest::addColumn<double>("mayDiffer");
    // Shown SWR circles lie between the grids: a blend then holds the Smith
    // grid alone, else both.
    QTest::addColumn<bool>("swrShown");

    const QSize form(940, 715);
    const QSize fullHd(1920, 1080);
    QTest::newRow("0, Smith grid alone") << 0 << 1.0 << 0.0 << form << 0.0 << true;
    QTest::newRow("30") << 30 << 0.7 << 0.3 << form << 0.01 << true;
    QTest::newRow("50, half each") << 50 << 0.5 << 0.5 << form << 0.01 << true;
    QTest::newRow("100, Gamma grid alone") << 100 << 0.0 << 1.0 << form << 0.0 << true;
    QTest::newRow("0 at full HD") << 0 << 1.0 << 0.0 << fullHd << 0.0 << true;
    QTest::newRow("50 at full HD") << 50 << 0.5 << 0.5 << fullHd << 0.01 << true;
    QTest::newRow("100 at full HD") << 100 << 0.0 << 1.0 << fullHd << 0.0 << true;
    QTest::newRow("30, no SWR circle") << 30 << 0.7 << 0.3 << form << 0.01 << false;
    QTest::newRow("100, no SWR circle") << 100 << 0.0 << 1.0 << form << 0.0 << false;
}

// The grids are drawn from cached pictures; the view must look as it does when
// every item is drawn on its own, and neither the fade nor the marker may
// render the pictures again. A second paint at one fade draws the grids from
// their blend, which must look as the pictures drawn one by one.
void TestSmithBasics::crossFadeSharesOpacity()
{
    QFETCH(int, slider);
    QFETCH(double, smith);
    QFETCH(double, gamma);
    QFETCH(QSize, viewSize);
    QFETCH(double, mayDiffer);
    QFETCH(bool, swrShown);

    QVERIFY(showAt(viewSize));
    // A first build whose pictures must not survive the next one.
    buildChart(*chart, 75.0);
    view->fitInView(chart->sceneRect(), Qt::KeepAspectRatio);
    view->viewport()->grab();
    const int firstBuildRenders = scene()->gridCache().renderCount();
    rebuild(50.0, swrShown ? std::array {2.0, 3.5, 1.0} : std::array {1.0, 1.0, 1.0});
    chart->setOpacity(1.0 - slider / 100.0);
    QVERIFY(std::abs(scene()->smithGridGroup()->opacity() - smith) < 1e-12);
    QVERIFY(std::abs(scene()->gammaGridGroup()->opacity() - gamma) < 1e-12);
    // The SWR circles and the marker are never faded.
    for (const QGraphicsItem *circle : scene()->swrCircleItems())
        QCOMPARE(circle->effectiveOpacity(), 1.0);
    QCOMPARE(marker()->opacity(), 1.0);

    // The line to the marker runs under the label "0".
    chart->setGamma({0.3, -0.1});
    const QImage cached = view->viewport()->grab().toImage();
    // The pictures of both grids are rendered on the first paint.
    const int renders = scene()->gridCache().renderCount();
    QCOMPARE(renders, firstBuildRenders + 1);
    // With the circles between them and the Smith grid faded out, nothing
    // is left to blend.
    const int blends = scene()->gridCache().blendCount() + (swrShown && smith == 0.0 ? 0 : 1);
    chart->setOpacity(0.5);
    chart->setGamma({-0.4, 0.6});
    chart->setOpacity(1.0 - slider / 100.0);
    chart->setGamma({0.3, -0.1});
    QCOMPARE(view->viewport()->grab().toImage(), cached);
    QCOMPARE(scene()->gridCache().blendCount(), blends);
    chart->setGamma({-0.4, 0.6});
    view->viewport()->grab();
    chart->setGamma({0.3, -0.1});
    QCOMPARE(view->viewport()->grab().toImage(), cached);
    QCOMPARE(scene()->gridCache().blendCount(), blends);
    QCOMPARE(scene()->gridCache().renderCount(), renders);

    scene()->setGridCaching(false);
    const QImage live = view->viewport()->grab().toImage();
    QCOMPARE(scene()->gridCache().renderCount(), renders);
    QCOMPARE(live.size(), cached.size());
    // Half-faded, the Smith grid is blended as one picture, where item by item
    // two overlapping curves would each add their share: crossings and the
    // points where circles touch come out a little lighter. Otherwise only
    // rounding may differ.
    qsizetype differing = 0;
    int largest = 0;
    for (int y = 0; y < live.height(); ++y) {
        for (int x = 0; x < live.width(); ++x) {
            const QRgb a = live.pixel(x, y);
            const QRgb b = cached.pixel(x, y);
            const int difference =
                std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b))});
            largest = std::max(largest, difference);
            if (difference > 2)
                ++differing;
        }
    }
    QVERIFY2(
        differing <= mayDiffer * live.width() * live.height(),
        qPrintable(QStringLiteral("%1 pixels differ, by up to %2").arg(differing).arg(largest)));

    // A new view size renders the pictures again.
    scene()->setGridCaching(true);
    view->resize(viewSize / 2);
    view->fitInView(chart->sceneRect(), Qt::KeepAspectRatio);
    view->viewport()->grab();
    QCOMPARE(scene()->gridCache().renderCount(), renders + 1);

    // A held move's arc stands over both grids at full strength, also in a
    // repaint that leaves the marker out, and renders no picture. A line
    // turned back by 90 degrees is drawn as 270 degrees toward the generator.
    scene()->setMatchingMode(GraphicsScene::Move::Line);
    QVERIFY(scene()->turnMarker(-90.0));
    const complex_dbl start(0.3, -0.1);
    const QPoint onArc = view->mapFromScene(
        GraphicsScene::scenePoint(std::polar(std::abs(start), std::arg(start) - 0.75 * M_PI)));
    view->viewport()->grab();
    QCOMPARE(scene()->gridCache().renderCount(), renders + 1);
    // A grab of a piece of the view renders the pictures for its offset.
    const QImage piece = view->viewport()->grab(QRect(onArc - QPoint(3, 3), QSize(7, 7))).toImage();
    int nearest = 255;
    for (int y = 0; y < piece.height(); ++y) {
        for (int x = 0; x < piece.width(); ++x) {
            const QRgb pixel = piece.pixel(x, y);
            nearest = std::min(nearest,
                               std::max({std::abs(qRed(pixel) - 0), std::abs(qGreen(pixel) - 132),
                                         std::abs(qBlue(pixel) - 140)}));
        }
    }
    QVERIFY2(nearest <= 24, qPrintable(QString::number(nearest)));
}

void TestSmithBasics::rebuildRestoresSmithGrid()
{
    buildChart(*chart, 50.0);
    chart->setOpacity(1.0 - 30 / 100.0);
    rebuild(75.0);
    QCOMPARE(scene()->smithGridGroup()->opacity(), 1.0);
    QCOMPARE(scene()->gammaGridGroup()->opacity(), 0.0);
}

void TestSmithBasics::opacityWithoutGroupsIsIgnored()
{
    chart->setOpacity(0.5);
    buildChart(*chart, 50.0);
    chart->clear();
    chart->setOpacity(0.5);
    QVERIFY(scene()->items().isEmpty());
    QVERIFY(!scene()->smithGridGroup());
}

void TestSmithBasics::viewShowsWholeChart_data()
{
    QTest::addColumn<QSize>("size");

    QTest::newRow("square 400") << QSize(400, 400);
    QTest::newRow("wide 900x500") << QSize(900, 500);
    QTest::newRow("tall 300x700") << QSize(300, 700);
}

void TestSmithBasics::viewShowsWholeChart()
{
    QFETCH(QSize, size);

    QVERIFY(showAt(size));
    buildChart(*chart, 50.0);
    view->fitInView(chart->sceneRect(), Qt::KeepAspectRatio);
    const QImage image = view->viewport()->grab().toImage();
    const auto pixel = [this](const QPointF &scenePos) {
        return view->mapFromScene(scenePos);
    };

    const QPoint centre = pixel(QPointF(0, 0));
    const QPoint right = pixel(QPointF(125, 0));
    const QPoint top = pixel(QPointF(0, -125));
    QVERIFY(std::abs((right.x() - centre.x()) - (centre.y() - top.y())) <= 1);
    for (const QPointF &edge :
         {QPointF(125, 0), QPointF(-125, 0), QPointF(0, 125), QPointF(0, -125)}) {
        QVERIFY(image.rect().adjusted(1, 1, -1, -1).contains(pixel(edge)));
        QVERIFY2(anyPixelNear(image, pixel(edge), isDark), "unit circle");
    }
    for (double degrees : {45.0, 100.0, 320.0})
        QVERIFY2(anyPixelNear(image, pixel(unitCirclePoint(degrees)), isDark), "unit circle");

    // r = 1 between the arcs x = 0.2 and x = 0.5, away from the blue curves.
    QVERIFY2(anyPixelNear(image, pixel(impedancePoint({1, 0.3})), isReddish), "r = 1");
    QVERIFY2(anyPixelNear(image, pixel(impedancePoint({0.5, -1.6})), isReddish), "r = 0.5");
    // g = 1 and b = -0.5, their admittance counterparts.
    QVERIFY2(anyPixelNear(image, pixel(-impedancePoint({1, 0.3})), isBluish), "g = 1");
    QVERIFY2(anyPixelNear(image, pixel(-impedancePoint({0.25, 0.5})), isBluish), "b = 0.5");
    // Between the curves and outside the circle the paper stays white.
    QVERIFY(isWhite(image.pixelColor(pixel(impedancePoint({0.7, 0.35})))));
    QVERIFY(isWhite(image.pixelColor(pixel(QPointF(-132, 132)))));
}

QTEST_MAIN(TestSmithBasics)
#include "tst_smithbasics.moc"
