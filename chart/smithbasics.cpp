#include "chart/smithbasics.h"

#include "chart/chartfocusframe.h"
#include "chart/chartkeyboard.h"
#include "chart/graphicsscene.h"

#include <QGraphicsView>
#include <QPainter>

SmithBasics::SmithBasics() = default;

SmithBasics::~SmithBasics()
{
    delete scene;
}

void SmithBasics::attachView(QGraphicsView *chartView)
{
    if (!chartView)
        return;
    view = chartView;
    delete scene;
    scene = new GraphicsScene;
    view->setScene(scene);
    view->setRenderHint(QPainter::Antialiasing);
    scene->setViewDescription(view->accessibleDescription());
    // Both belong to the view and go with it.
    new ChartKeyboard(view);
    new ChartFocusFrame(view);
}

bool SmithBasics::isReady() const
{
    return ready;
}

void SmithBasics::setReady()
{
    ready = true;
}

void SmithBasics::resetReady()
{
    ready = false;
}

QRectF SmithBasics::sceneRect() const
{
    return scene ? scene->sceneRect() : QRectF();
}

QRectF SmithBasics::viewedRect() const
{
    return scene ? scene->viewedRect() : QRectF();
}

void SmithBasics::clear()
{
    if (scene)
        scene->clearChart();
}

void SmithBasics::setOpacity(double smithOpacity)
{
    if (scene)
        scene->setGridOpacity(smithOpacity);
}

void SmithBasics::drawSmithGrid(double z0)
{
    if (scene)
        scene->drawSmithGrid(z0);
}

void SmithBasics::drawGammaGrid()
{
    if (scene)
        scene->drawGammaGrid();
}

void SmithBasics::createSwrCircles(int count)
{
    if (ready)
        scene->createSwrCircles(count);
}

void SmithBasics::setSwrCircles(const double *swr, int count)
{
    if (ready)
        scene->setSwrCircles(swr, count);
}

void SmithBasics::createMarker(bool movable)
{
    if (ready)
        scene->createMarker(movable);
}

void SmithBasics::setGamma(const complex_dbl &gamma)
{
    if (ready)
        scene->setMarkerGamma(gamma);
}

void SmithBasics::setMarkerToolTip(const QString &text)
{
    if (scene)
        scene->setLoadSummary(text);
}

void SmithBasics::setMatchingFrequency(double hertz)
{
    if (scene)
        scene->setMatchingFrequency(hertz);
}

void SmithBasics::endMatchingPath()
{
    if (scene)
        scene->endMatchingPath();
}

QString SmithBasics::storedMatchingPath() const
{
    return ready ? scene->storedMatchingPath() : QString();
}

bool SmithBasics::restoreMatchingPath(const QString &stored, const complex_dbl &load)
{
    return ready && scene->restoreMatchingPath(stored, load);
}

void SmithBasics::setRealisation(Electrics::MatchingMove move, Electrics::Realisation realisation)
{
    if (scene)
        scene->setRealisation(move, realisation);
}

Electrics::Realisation SmithBasics::realisation(Electrics::MatchingMove move) const
{
    return scene ? scene->realisation(move) : Electrics::Realisation::LumpedLC;
}
