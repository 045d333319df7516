#include "chartfixture.h"

#include "chart/graphicsscene.h"
#include "chart/smithbasics.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLocale>
#include <QTest>

void buildChart(SmithBasics &chart, double z0, const std::array<double, 3> &swr)
{
    chart.drawSmithGrid(z0);
    chart.setReady();
    chart.createSwrCircles(3);
    chart.setSwrCircles(swr.data(), 3);
    chart.drawGammaGrid();
    chart.createMarker(true);
}

QList<QGraphicsItem *> topLevelItems(const QGraphicsScene &scene)
{
    QList<QGraphicsItem *> result;
    const QList<QGraphicsItem *> all = scene.items(Qt::AscendingOrder);
    for (QGraphicsItem *item : all) {
        if (!item->parentItem())
            result.append(item);
    }
    return result;
}

ChartFixture::ChartFixture(Start startWith)
    : start(startWith)
{ }

ChartFixture::~ChartFixture() = default;

void ChartFixture::init()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    view = std::make_unique<QGraphicsView>();
    chart = std::make_unique<SmithBasics>();
    chart->attachView(view.get());
    if (start == Start::Empty)
        return;
    buildChart(*chart, 50.0);
    if (start == Start::OnScreen) {
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QVERIFY(showAt(QSize(320, 320)));
        QVERIFY(view->transform().isIdentity());
    }
}

void ChartFixture::cleanup()
{
    // The chart owns the scene the view shows.
    chart.reset();
    view.reset();
    QLocale::setDefault(QLocale::system());
}

GraphicsScene *ChartFixture::scene() const
{
    return chart->chartScene();
}

markerItem *ChartFixture::marker() const
{
    return scene()->markerGraphic();
}

void ChartFixture::rebuild(double z0, const std::array<double, 3> &swr)
{
    chart->clear();
    chart->resetReady();
    buildChart(*chart, z0, swr);
}

bool ChartFixture::showAt(const QSize &size)
{
    view->resize(size);
    view->show();
    return QTest::qWaitForWindowExposed(view.get());
}
