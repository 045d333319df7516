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
    const auto within = [](double x, double y, double tolerance) {
        return std::abs(x - y) <= tolerance;
    };
    return within(a.m11(), b.m11(), sameScale) && within(a.m12(), b.m12(), sameScale)
        && within(a.m21(), b.m21(), sameScale) && within(a.m22(), b.m22(), sameScale)
        && a.m13() == b.m13() && a.m23() == b.m23() && a.m33() == b.m33()
        && within(a.dx(), b.dx(), samePosition) && within(a.dy(), b.dy(), samePosition);
}

} // namespace

void GridCache::addGroup(QGraphicsItemGroup *group)
{
    const QList<QGraphicsItem *> children = group->childItems();
    addPicture(group, {children.cbegin(), children.cend()}, true);
    addEffect(group);
}

void GridCache::addChildPictures(QGraphicsItemGroup *group, const QGraphicsItem *liveChild)
{
    std::vector<QGraphicsItem *> run;
    const QList<QGraphicsItem *> children = group->childItems();
    for (QGraphicsItem *child : children) {
        if (child == liveChild) {
            addRun(run);
            run.clear();
        } else {
            run.push_back(child);
        }
    }
    addRun(run);
}

// A run is drawn by a member whose bounding rectangle holds the whole run, in
// that member's place: the members below it draw nothing and cover nothing
// that the carrier's picture does not, so the stacking stays as it was.
void GridCache::addRun(const std::vector<QGraphicsItem *> &run)
{
    QRectF area;
    for (const QGraphicsItem *item : run)
        area |= item->sceneBoundingRect();
    const auto carrier = std::find_if(run.cbegin(), run.cend(), [&area](const QGraphicsItem *item) {
        return item->sceneBoundingRect().contains(area);
    });
    for (QGraphicsItem *item : run) {
        if (carrier == run.cend())
            addPicture(item, {item}, false);
        else if (item != *carrier)
            drawnByCarrier.push_back(item);
        addEffect(item);
    }
    if (carrier != run.cend())
        addPicture(*carrier, run, false);
}

void GridCache::addPicture(QGraphicsItem *carrier, std::vector<QGraphicsItem *> members,
                           bool wholeGroup)
{
    pictures.push_back({carrier, std::move(members), wholeGroup, {}, {}, {}});
    rendered = false;
}

void GridCache::addEffect(QGraphicsItem *item)
{
    auto *effect = new GridCacheEffect(*this, item);
    effect->setEnabled(enabled);
    item->setGraphicsEffect(effect);
    itemsWithEffects.push_back(item);
}

void GridCache::clear()
{
    pictures.clear();
    drawnByCarrier.clear();
    itemsWithEffects.clear();
    rendered = false;
}

void GridCache::setEnabled(bool enable)
{
    enabled = enable;
    for (QGraphicsItem *item : itemsWithEffects) {
        if (QGraphicsEffect *effect = item->graphicsEffect())
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
    const bool drawnByOther =
        std::find(drawnByCarrier.cbegin(), drawnByCarrier.cend(), item) != drawnByCarrier.cend();
    const auto found = std::find_if(pictures.begin(), pictures.end(),
                                    [item](const Picture &p) { return p.carrier == item; });
    if (!drawnByOther && found == pictures.end())
        return false;
    const QTransform device = painter->deviceTransform();
    if (!rendered || painter->renderHints() != renderedHints
        || !isSameTransform(device, item->sceneTransform() * renderedSceneToDevice))
        render(item->sceneTransform().inverted() * device, painter->renderHints());
    if (drawnByOther)
        return !tooLarge;
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
    renderedSceneToDevice = sceneToDevice;
    renderedHints = hints;
    tooLarge = false;
    for (Picture &picture : pictures) {
        picture.transform = picture.carrier->sceneTransform() * sceneToDevice;
        renderPicture(picture, hints);
    }
    if (tooLarge)
        freePictures();
    // Also when too large: the grids are then drawn item by item until the
    // device transform changes.
    rendered = true;
}

// A group's picture spans the device from its origin, not just the children's
// rectangle: with the very same transform as a direct drawing, its many labels
// land on the same subpixel positions.
void GridCache::renderPicture(Picture &picture, QPainter::RenderHints hints)
{
    picture.pixmap = QPixmap();
    const auto memberTransform = [&picture](const QGraphicsItem *member) {
        return member == picture.carrier
            ? picture.transform
            : member->itemTransform(picture.carrier) * picture.transform;
    };
    QRectF area;
    for (const QGraphicsItem *member : picture.members) {
        if (member->isVisible())
            area |= memberTransform(member).mapRect(member->boundingRect());
    }
    // Antialiasing reaches a pixel beyond the bounding rectangles.
    QRect pixels = area.toAlignedRect().adjusted(-1, -1, 1, 1);
    if (picture.wholeGroup)
        pixels.setTopLeft(QPoint());
    picture.origin = pixels.topLeft();
    if (area.isEmpty() || pixels.isEmpty())
        return;
    if (qint64(pixels.width()) * pixels.height() > largestPicture) {
        tooLarge = true;
        return;
    }
    picture.pixmap = QPixmap(pixels.size());
    picture.pixmap.fill(Qt::transparent);
    QPainter painter(&picture.pixmap);
    painter.setRenderHints(hints);
    const QTransform toPicture = QTransform::fromTranslate(-pixels.left(), -pixels.top());
    for (QGraphicsItem *member : picture.members) {
        if (!member->isVisible() || member->opacity() <= 0.0)
            continue;
        painter.setOpacity(picture.wholeGroup ? member->opacity() : 1.0);
        paintItem(member, painter, memberTransform(member) * toPicture);
    }
}
