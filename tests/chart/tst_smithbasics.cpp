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
#include <memory>

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

class TestSmithBasics : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void guardedOperationsWaitForBuild();
    void crossFadeSharesOpacity_data();
    void crossFadeSharesOpacity();
    void rebuildRestoresSmithGrid();
    void opacityWithoutGroupsIsIgnored();
    void viewShowsWholeChart_data();
    void viewShowsWholeChart();

private:
    GraphicsScene *scene() const { return chart->chartScene(); }

    std::unique_ptr<QGraphicsView> view;
    std::unique_ptr<SmithBasics> chart;
};

void TestSmithBasics::init()
{
    view = std::make_unique<QGraphicsView>();
    chart = std::make_unique<SmithBasics>();
    chart->attachView(view.get());
}

void TestSmithBasics::cleanup()
{
    chart.reset();
    view.reset();
}

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
    QVERIFY(!scene()->markerGraphic());
}

void TestSmithBasics::crossFadeSharesOpacity_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<double>("smith");
    QTest::addColumn<double>("gamma");

    QTest::newRow("0, Smith grid alone") << 0 << 1.0 << 0.0;
    QTest::newRow("30") << 30 << 0.7 << 0.3;
    QTest::newRow("50, half each") << 50 << 0.5 << 0.5;
    QTest::newRow("100, Gamma grid alone") << 100 << 0.0 << 1.0;
}

void TestSmithBasics::crossFadeSharesOpacity()
{
    QFETCH(int, slider);
    QFETCH(double, smith);
    QFETCH(double, gamma);

    buildChart(*chart, 50.0, {2.0, 2.0, 2.0});
    chart->setOpacity(1.0 - slider / 100.0);
    QVERIFY(std::abs(scene()->smithGridGroup()->opacity() - smith) < 1e-12);
    QVERIFY(std::abs(scene()->gammaGridGroup()->opacity() - gamma) < 1e-12);
    // The SWR circles and the marker are never faded.
    for (const QGraphicsItem *circle : scene()->swrCircleItems())
        QCOMPARE(circle->effectiveOpacity(), 1.0);
    QCOMPARE(scene()->markerGraphic()->opacity(), 1.0);
}

void TestSmithBasics::rebuildRestoresSmithGrid()
{
    buildChart(*chart, 50.0);
    chart->setOpacity(1.0 - 30 / 100.0);
    chart->clear();
    chart->resetReady();
    buildChart(*chart, 75.0);
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

    view->resize(size);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
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
