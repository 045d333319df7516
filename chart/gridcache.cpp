#include "chart/gridcache.h"

#include <QGraphicsEffect>
#include <QGraphicsItem>
#include <QGraphicsItemGroup>
#include <QGuiApplication>
#include <QPixmapCache>
#include <QRect>
#include <QRectF>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <climits>

namespace {

// Beyond this many device pixels (a view zoomed far into the chart) a group is
// drawn item by item rather than held as a picture.
constexpr qint64 largestPicture = qint64(4096) * 4096;

// The scene units across the chart that the view fits: the unit circle and the
// margin of the labels.
constexpr double chartSpan = 270.0;
constexpr qint64 bytesPerPixel = 4;

// Draws its group from the cache, or item by item when the cache cannot.
class GridCacheEffect : public QGraphicsEffect
{
public:
    GridCacheEffect(GridCache &gridCache, const QGraphicsItemGroup *cachedGroup)
        : cache(gridCache)
        , group(cachedGroup)
    { }

protected:
    void draw(QPainter *painter) override
    {
        if (!cache.paint(group, painter))
            drawSource(painter);
    }

private:
    GridCache &cache;
    const QGraphicsItemGroup *group;
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

// Device pixels per scene unit when the chart fills the largest screen.
double largestScale()
{
    double scale = 1.0;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QSize pixels = screen->size() * screen->devicePixelRatio();
        scale = std::max(scale, std::min(pixels.width(), pixels.height()) / chartSpan);
    }
    return scale;
}

// Lets the pixmap cache hold a picture of each item as large as the chart on
// the largest screen, beside what it holds anyway.
void makeRoomForPictures(const std::vector<QGraphicsItem *> &items)
{
    static const int ordinaryLimitKib = QPixmapCache::cacheLimit();
    const double scale = largestScale();
    qint64 bytes = 0;
    for (const QGraphicsItem *item : items) {
        const QSizeF size = item->boundingRect().size() * scale;
        bytes += qint64(size.width() + 3) * qint64(size.height() + 3) * bytesPerPixel;
    }
    const qint64 neededKib = ordinaryLimitKib + bytes / 1024;
    if (neededKib > QPixmapCache::cacheLimit())
        QPixmapCache::setCacheLimit(static_cast<int>(std::min<qint64>(neededKib, INT_MAX)));
}

} // namespace

void GridCache::addGroup(QGraphicsItemGroup *group)
{
    groups.push_back({group, {}});
    rendered = false;
    auto *effect = new GridCacheEffect(*this, group);
    effect->setEnabled(enabled);
    group->setGraphicsEffect(effect);
}

void GridCache::addChildPictures(QGraphicsItemGroup *group, const QGraphicsItem *liveChild)
{
    const QList<QGraphicsItem *> children = group->childItems();
    const auto start = childrenWithPictures.size();
    std::copy_if(children.cbegin(), children.cend(), std::back_inserter(childrenWithPictures),
                 [liveChild](const QGraphicsItem *child) { return child != liveChild; });
    makeRoomForPictures({childrenWithPictures.begin() + start, childrenWithPictures.end()});
    setChildCacheMode();
}

void GridCache::clear()
{
    groups.clear();
    childrenWithPictures.clear();
    rendered = false;
}

void GridCache::setEnabled(bool enable)
{
    enabled = enable;
    for (const CachedGroup &cached : groups) {
        if (QGraphicsEffect *effect = cached.group->graphicsEffect())
            effect->setEnabled(enable);
    }
    setChildCacheMode();
    freePictures();
}

void GridCache::setChildCacheMode()
{
    for (QGraphicsItem *child : childrenWithPictures)
        child->setCacheMode(enabled ? QGraphicsItem::DeviceCoordinateCache
                                    : QGraphicsItem::NoCache);
}

void GridCache::freePictures()
{
    for (CachedGroup &cached : groups)
        cached.picture = QPixmap();
    rendered = false;
}

bool GridCache::paint(const QGraphicsItemGroup *group, QPainter *painter)
{
    const QTransform device = painter->deviceTransform();
    if (!rendered || device != renderedTransform || painter->renderHints() != renderedHints)
        render(device, painter->renderHints());
    if (tooLarge)
        return false;
    const auto cached = std::find_if(groups.cbegin(), groups.cend(),
                                     [group](const CachedGroup &c) { return c.group == group; });
    if (cached == groups.cend())
        return false;
    if (cached->picture.isNull())
        return true;
    // The picture starts at the device's origin: undo whatever lies between the
    // world and the device (the pixel ratio, an offset into a grab) so that each
    // picture pixel lands on exactly one device pixel.
    const QTransform worldToDevice = painter->worldTransform().inverted() * device;
    painter->save();
    painter->setWorldTransform(worldToDevice.inverted());
    painter->drawPixmap(0, 0, cached->picture);
    painter->restore();
    return true;
}

void GridCache::render(const QTransform &device, QPainter::RenderHints hints)
{
    ++renders;
    renderedTransform = device;
    renderedHints = hints;
    tooLarge = false;
    for (CachedGroup &cached : groups)
        cached.picture = picture(cached.group, device, hints);
    if (tooLarge)
        freePictures();
    // Also when too large: the groups are then drawn item by item until the
    // device transform changes.
    rendered = true;
}

// The picture spans the device from its origin, not just the children's
// rectangle: with the very same transform as a direct drawing, text lands on
// the same subpixel positions.
QPixmap GridCache::picture(const QGraphicsItemGroup *group, const QTransform &device,
                           QPainter::RenderHints hints)
{
    const QList<QGraphicsItem *> children = group->childItems();
    QRectF area;
    for (const QGraphicsItem *child : children) {
        if (child->isVisible())
            area |= (child->itemTransform(group) * device).mapRect(child->boundingRect());
    }
    // Antialiasing reaches a pixel beyond the bounding rectangles.
    const QPoint end = area.toAlignedRect().bottomRight() + QPoint(1, 1);
    if (area.isEmpty() || end.x() < 0 || end.y() < 0)
        return {};
    const QSize size(end.x() + 1, end.y() + 1);
    if (qint64(size.width()) * size.height() > largestPicture) {
        tooLarge = true;
        return {};
    }
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHints(hints);
    for (QGraphicsItem *child : children) {
        if (!child->isVisible() || child->opacity() <= 0.0)
            continue;
        painter.setWorldTransform(child->itemTransform(group) * device);
        painter.setOpacity(child->opacity());
        const QStyleOptionGraphicsItem option = paintOption(child);
        child->paint(&painter, &option, nullptr);
    }
    return picture;
}
