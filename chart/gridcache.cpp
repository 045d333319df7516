#include "chart/gridcache.h"

#include <QGraphicsEffect>
#include <QGraphicsItem>
#include <QGraphicsItemGroup>
#include <QRect>
#include <QRectF>
#include <QStyle>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <cmath>

namespace {

// Beyond this many device pixels (a view zoomed far into the chart) the grids
// are drawn item by item rather than held as pictures.
constexpr qint64 largestPicture = qint64(4096) * 4096;

// Device transforms that differ by no more than rounding (the toolkit and the
// cache multiply the same factors in different orders) are the same.
constexpr double sameScale = 1e-9;
constexpr double samePosition = 1e-6;

// Draws its item from the cache, or leaves it to the toolkit when the cache cannot.
class GridCacheEffect : public QGraphicsEffect
{
public:
    GridCacheEffect(GridCache &gridCache, const QGraphicsItem *cachedItem)
        : cache(gridCache)
        , item(cachedItem)
    { }

protected:
    void draw(QPainter *painter) override
    {
        if (!cache.paint(item, painter))
            drawSource(painter);
    }

private:
    GridCache &cache;
    const QGraphicsItem *item;
};

// What the view would hand the item's paint function, for a whole item.
QStyleOptionGraphicsItem paintOption(const QGraphicsItem *item)
{
    QStyleOptionGraphicsItem option;
    option.state = item->isEnabled() ? QStyle::State_Enabled : QStyle::State_None;
    if (item->isSelected())
        option.state |= QStyle::State_Selected;
    option.exposedRect = item->boundingRect();
    option.rect = option.exposedRect.toAlignedRect();
    return option;
}

void paintItem(QGraphicsItem *item, QPainter &painter, const QTransform &transform)
{
    painter.setWorldTransform(transform);
    const QStyleOptionGraphicsItem option = paintOption(item);
    item->paint(&painter, &option, nullptr);
}

bool isSameTransform(const QTransform &a, const QTransform &b)
{
    const auto near = [](double x, double y, double tolerance) {
        return std::abs(x - y) <= tolerance;
    };
    return near(a.m11(), b.m11(), sameScale) && near(a.m12(), b.m12(), sameScale)
        && near(a.m21(), b.m21(), sameScale) && near(a.m22(), b.m22(), sameScale)
        && a.m13() == b.m13() && a.m23() == b.m23() && a.m33() == b.m33()
        && near(a.dx(), b.dx(), samePosition) && near(a.dy(), b.dy(), samePosition);
}

} // namespace

void GridCache::addGroup(QGraphicsItemGroup *group)
{
    addPicture(group, true);
}

void GridCache::addChildPictures(QGraphicsItemGroup *group, const QGraphicsItem *liveChild)
{
    const QList<QGraphicsItem *> children = group->childItems();
    for (QGraphicsItem *child : children) {
        if (child != liveChild)
            addPicture(child, false);
    }
}

void GridCache::addPicture(QGraphicsItem *item, bool wholeGroup)
{
    pictures.push_back({item, wholeGroup, {}, {}, {}});
    rendered = false;
    auto *effect = new GridCacheEffect(*this, item);
    effect->setEnabled(enabled);
    item->setGraphicsEffect(effect);
}

void GridCache::clear()
{
    pictures.clear();
    rendered = false;
}

void GridCache::setEnabled(bool enable)
{
    enabled = enable;
    for (const Picture &picture : pictures) {
        if (QGraphicsEffect *effect = picture.item->graphicsEffect())
            effect->setEnabled(enable);
    }
    freePictures();
}

void GridCache::freePictures()
{
    for (Picture &picture : pictures)
        picture.pixmap = QPixmap();
    rendered = false;
}

bool GridCache::paint(const QGraphicsItem *item, QPainter *painter)
{
    const auto found = std::find_if(pictures.begin(), pictures.end(),
                                    [item](const Picture &p) { return p.item == item; });
    if (found == pictures.end())
        return false;
    const QTransform device = painter->deviceTransform();
    if (!rendered || !isSameTransform(device, found->transform)
        || painter->renderHints() != renderedHints)
        render(item->sceneTransform().inverted() * device, painter->renderHints());
    if (tooLarge)
        return false;
    if (found->pixmap.isNull())
        return true;
    // Undo whatever lies between the world and the device (the pixel ratio, an
    // offset into a grab) so that each picture pixel lands on exactly one
    // device pixel.
    const QTransform worldToDevice = painter->worldTransform().inverted() * device;
    painter->save();
    painter->setWorldTransform(QTransform::fromTranslate(found->origin.x(), found->origin.y())
                               * worldToDevice.inverted());
    painter->drawPixmap(0, 0, found->pixmap);
    painter->restore();
    return true;
}

void GridCache::render(const QTransform &sceneToDevice, QPainter::RenderHints hints)
{
    ++renders;
    renderedHints = hints;
    tooLarge = false;
    for (Picture &picture : pictures) {
        picture.transform = picture.item->sceneTransform() * sceneToDevice;
        if (picture.wholeGroup)
            renderGroup(picture, hints);
        else
            renderItem(picture, hints);
    }
    if (tooLarge)
        freePictures();
    // Also when too large: the grids are then drawn item by item until the
    // device transform changes.
    rendered = true;
}

// The group's picture spans the device from its origin, not just the
// children's rectangle: with the very same transform as a direct drawing, its
// many labels land on the same subpixel positions.
void GridCache::renderGroup(Picture &picture, QPainter::RenderHints hints)
{
    picture.pixmap = QPixmap();
    picture.origin = QPoint();
    const QList<QGraphicsItem *> children = picture.item->childItems();
    QRectF area;
    for (const QGraphicsItem *child : children) {
        if (child->isVisible())
            area |= (child->itemTransform(picture.item) * picture.transform)
                        .mapRect(child->boundingRect());
    }
    // Antialiasing reaches a pixel beyond the bounding rectangles.
    const QPoint end = area.toAlignedRect().bottomRight() + QPoint(1, 1);
    if (area.isEmpty() || end.x() < 0 || end.y() < 0)
        return;
    const QSize size(end.x() + 1, end.y() + 1);
    if (qint64(size.width()) * size.height() > largestPicture) {
        tooLarge = true;
        return;
    }
    picture.pixmap = QPixmap(size);
    picture.pixmap.fill(Qt::transparent);
    QPainter painter(&picture.pixmap);
    painter.setRenderHints(hints);
    for (QGraphicsItem *child : children) {
        if (!child->isVisible() || child->opacity() <= 0.0)
            continue;
        painter.setOpacity(child->opacity());
        paintItem(child, painter, child->itemTransform(picture.item) * picture.transform);
    }
}

void GridCache::renderItem(Picture &picture, QPainter::RenderHints hints)
{
    picture.pixmap = QPixmap();
    // Antialiasing reaches a pixel beyond the bounding rectangle.
    const QRect pixels = picture.transform.mapRect(picture.item->boundingRect())
                             .toAlignedRect()
                             .adjusted(-1, -1, 1, 1);
    picture.origin = pixels.topLeft();
    if (pixels.isEmpty())
        return;
    if (qint64(pixels.width()) * pixels.height() > largestPicture) {
        tooLarge = true;
        return;
    }
    picture.pixmap = QPixmap(pixels.size());
    picture.pixmap.fill(Qt::transparent);
    QPainter painter(&picture.pixmap);
    painter.setRenderHints(hints);
    paintItem(picture.item, painter,
              picture.transform * QTransform::fromTranslate(-pixels.left(), -pixels.top()));
}
