#include "chartfixture.h"

#include "chart/smithbasics.h"

#include <QGraphicsItem>
#include <QGraphicsScene>

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
