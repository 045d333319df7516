#include "chart/graphicsscene.h"

#include "chart/markeritem.h"

#include <QGraphicsItemGroup>

GraphicsScene::GraphicsScene(QObject *parent)
    : QGraphicsScene(parent)
{
    qRegisterMetaType<complex_dbl>("complex_dbl");
}

QPointF GraphicsScene::scenePoint(const complex_dbl &gamma)
{
    return {unitRadius * gamma.real(), -unitRadius * gamma.imag()};
}

complex_dbl GraphicsScene::gammaAt(const QPointF &scenePos)
{
    return {scenePos.x() * 2.0 / 250.0, scenePos.y() * -2.0 / 250.0};
}

void GraphicsScene::drawSmithGrid(double z0Ohms)
{
    z0 = complex_dbl(z0Ohms, 0.0);
    clearChart();
    setSceneRect(-135.0, -135.0, 270.0, 270.0);
}

void GraphicsScene::drawGammaGrid() { }

void GraphicsScene::createSwrCircles(int) { }

void GraphicsScene::setSwrCircles(const double *, int) { }

void GraphicsScene::createMarker(bool) { }

void GraphicsScene::setMarkerGamma(const complex_dbl &) { }

void GraphicsScene::markerMoved() { }

void GraphicsScene::setGridOpacity(double smithOpacity)
{
    if (smithGroup)
        smithGroup->setOpacity(smithOpacity);
    if (gammaGroup)
        gammaGroup->setOpacity(1.0 - smithOpacity);
}

void GraphicsScene::clearChart()
{
    clear();
    marker = nullptr;
    swrCircles.clear();
    smithItems.clear();
    smithGroup = nullptr;
    gammaItems.clear();
    gammaGroup = nullptr;
    gammaLine = nullptr;
    smithLabels.clear();
    gammaLabels.clear();
}
