#include "chart/gridcache.h"

#include <QBrush>
#include <QGraphicsEffect>
#include <QGraphicsItem>
#include <QGraphicsItemGroup>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QRect>
#include <QRectF>
#include <QSet>
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

// The colour the view fills its viewport with before it draws the scene, or an
// invalid colour when the background is anything but one plain colour (then
// an opaque blend could not stand in for it).
QColor viewBackground(const QPainter *painter)
{
    const QPaintDevice *device = painter->device();
    if (!device || device->devType() != QInternal::Widget)
        return {};
    const auto *viewport = static_cast<const QWidget *>(device);
    const auto *view = qobject_cast<const QGraphicsView *>(viewport->parentWidget());
    if (!view || view->viewport() != viewport || !viewport->autoFillBackground()
        || view->backgroundBrush().style() != Qt::NoBrush
        || (view->scene() && view->scene()->backgroundBrush().style() != Qt::NoBrush))
        return {};
    const QBrush brush = viewport->palette().brush(viewport->backgroundRole());
    if (brush.style() != Qt::SolidPattern || !brush.isOpaque())
        return {};
    return brush.color();
}

// Whether the toolkit draws anything of `item` itself.
bool drawsOnItsOwn(const QGraphicsItem *item)
{
    return item->isVisible() && item->effectiveOpacity() > 0.0
        && item->type() != QGraphicsItemGroup::Type;
}

QRectF sceneArea(const std::vector<QGraphicsItem *> &items)
{
    QRectF area;
    for (const QGraphicsItem *item : items)
        area |= item->sceneBoundingRect();
    return area;
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
    const QRectF area = sceneArea(run);
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
    pictures.push_back({carrier, std::move(members), wholeGroup, {}, {}, {}, {}});
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
    blend = {};
    blendCandidatesKnown = false;
    lastOpacities.clear();
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
    blend = {};
    blendCandidatesKnown = false;
    lastOpacities.clear();
    rendered = false;
}

std::vector<QSize> GridCache::pictureSizes() const
{
    std::vector<QSize> sizes;
    for (const Picture &picture : pictures) {
        if (!picture.pixmap.isNull())
            sizes.push_back(picture.pixmap.size());
    }
    std::sort(sizes.begin(), sizes.end(), [](const QSize &a, const QSize &b) {
        return qint64(a.width()) * a.height() > qint64(b.width()) * b.height();
    });
    return sizes;
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
    if (found->pixmap.isNull() || paintBlend(*found, painter))
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

// The pictures that one blend can hold, in the scene's stacking order: the
// lowest picture, and the pictures straight above it that lie within its
// bounds, so that the toolkit never paints one of them without the lowest.
// Only the scene's stacking is looked at here; what shows is looked at when
// painting.
std::vector<GridCache::BlendCandidate> GridCache::findBlendCandidates() const
{
    std::vector<BlendCandidate> candidates;
    const QGraphicsScene *scene = pictures.empty() ? nullptr : pictures.front().carrier->scene();
    if (!scene)
        return candidates;
    QSet<const QGraphicsItem *> pictured(drawnByCarrier.cbegin(), drawnByCarrier.cend());
    for (const Picture &picture : pictures) {
        if (picture.wholeGroup)
            pictured.unite(
                QSet<const QGraphicsItem *>(picture.members.cbegin(), picture.members.cend()));
    }
    QRectF lowestArea;
    std::vector<const QGraphicsItem *> between;
    const QList<QGraphicsItem *> stack = scene->items(Qt::AscendingOrder);
    for (const QGraphicsItem *item : stack) {
        const auto carried = std::find_if(pictures.cbegin(), pictures.cend(),
                                          [item](const Picture &p) { return p.carrier == item; });
        if (carried == pictures.cend()) {
            if (!pictured.contains(item) && item->type() != QGraphicsItemGroup::Type)
                between.push_back(item);
            continue;
        }
        if (carried->pixmap.isNull())
            break;
        const QRectF area =
            carried->wholeGroup ? item->sceneBoundingRect() : sceneArea(carried->members);
        if (candidates.empty())
            lowestArea = area;
        else if (!lowestArea.contains(area))
            break;
        candidates.push_back({&*carried, between});
        between.clear();
    }
    return candidates;
}

// The pictures a blend holds now: the candidates up to the first with an item
// below it that shows.
std::vector<const GridCache::Picture *> GridCache::blendableLayers()
{
    if (!blendCandidatesKnown) {
        blendCandidates = findBlendCandidates();
        blendCandidatesKnown = true;
    }
    std::vector<const Picture *> layers;
    for (const BlendCandidate &candidate : blendCandidates) {
        if (std::any_of(candidate.between.cbegin(), candidate.between.cend(), drawsOnItsOwn))
            break;
        layers.push_back(candidate.layer);
    }
    return layers;
}

// Draws the blend in the place of `picture` if the picture is one of its
// layers, making it first on the second paint at these opacities; false when
// the picture is to be drawn by itself.
bool GridCache::paintBlend(const Picture &picture, QPainter *painter)
{
    const std::vector<const Picture *> layers = blendableLayers();
    const auto lowestDrawn = std::find_if(layers.cbegin(), layers.cend(), [](const Picture *layer) {
        return layer->carrier->effectiveOpacity() > 0.0;
    });
    if (std::find(lowestDrawn, layers.cend(), &picture) == layers.cend())
        return false;
    std::vector<double> opacities;
    opacities.reserve(layers.size());
    for (const Picture *layer : layers)
        opacities.push_back(layer->carrier->effectiveOpacity());
    const QColor background = viewBackground(painter);
    const bool blendFits = blend.valid && background.isValid() && blend.layers == layers
        && blend.opacities == opacities && blend.background == background;
    // The lowest layer decides, in each paint, for the layers above it.
    if (*lowestDrawn != &picture)
        return blendFits;
    if (!blendFits) {
        const bool sameFadeAgain = opacities == lastOpacities;
        lastOpacities = opacities;
        if (!sameFadeAgain || !background.isValid())
            return false;
        makeBlend(layers, opacities, background);
    }
    const QTransform worldToDevice =
        painter->worldTransform().inverted() * painter->deviceTransform();
    painter->save();
    painter->setOpacity(1.0);
    painter->setWorldTransform(QTransform::fromTranslate(blend.pixels.left(), blend.pixels.top())
                               * worldToDevice.inverted());
    painter->drawImage(0, 0, blend.image);
    painter->restore();
    return true;
}

// Blends the layers as the toolkit would draw them over the background, with
// the same integer offsets, so the blend matches a direct drawing pixel for
// pixel.
void GridCache::makeBlend(const std::vector<const Picture *> &layers,
                          const std::vector<double> &opacities, const QColor &background)
{
    QRect pixels;
    for (const Picture *layer : layers)
        pixels |= layer->content;
    if (blend.image.size() != pixels.size())
        blend.image = QImage(pixels.size(), QImage::Format_RGB32);
    blend.image.fill(background);
    QPainter painter(&blend.image);
    for (std::size_t i = 0; i < layers.size(); ++i) {
        painter.setOpacity(opacities[i]);
        painter.drawPixmap(layers[i]->origin - pixels.topLeft(), layers[i]->pixmap);
    }
    blend.layers = layers;
    blend.opacities = opacities;
    blend.background = background;
    blend.pixels = pixels;
    blend.valid = true;
    ++blends;
}

void GridCache::render(const QTransform &sceneToDevice, QPainter::RenderHints hints)
{
    ++renders;
    blend.valid = false;
    blendCandidatesKnown = false;
    lastOpacities.clear();
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
    picture.content = pixels;
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
