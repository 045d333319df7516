#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTransform>

#include <vector>

class QGraphicsItem;
class QGraphicsItemGroup;

// Device-resolution pictures of the chart's grids. Stroking the grid curves and
// laying out the labels again for every repaint makes the cross-fade and the
// marker drag slow on a large view; drawn from pictures, a fade only blends
// them at new opacities and a drag only repaints the live items around the
// marker.
//
// A group without live items is drawn from one picture of all its children. A
// group with a live child cannot be: the toolkit repaints the whole of a group
// that has a graphics effect whenever one of its children moves. Its other
// children are pictured in runs instead, split around the live child: a run is
// one picture, drawn in the place of a run member whose bounding rectangle
// holds the whole run (the others then draw nothing), or else a picture per
// item. Graphics effects on the items draw them from here; the items
// themselves, their order, pens and opacities are untouched.
//
// All pictures are rendered together, on the first paint after a build or a
// change of the device transform (the view's size, fit or pixel ratio), so a
// fade never renders any, even where one grid is first faded in.
//
// A drag repaints the area around the marker and the Γ line again and again at
// one cross-fade. The bottom pictures, the Smith grid and the Gamma grid's
// fixed lines, are then blended once at that fade over the view's background
// into one opaque picture, which each such repaint merely copies; the lowest of
// them draws it, the others nothing. The blend is made on the second paint at
// a fade, so the steps of a fade, each at a new one, never make it.
//
// The scene owns the cache; the items own their effects.
class GridCache
{
public:
    // Draws `group` from one picture from now on.
    void addGroup(QGraphicsItemGroup *group);
    // Draws the children of `group` but `liveChild` from pictures.
    void addChildPictures(QGraphicsItemGroup *group, const QGraphicsItem *liveChild);
    // Forgets every item and frees the pictures; call when the items go.
    void clear();
    // Items were added to the scene or removed from it outside a build: the
    // order in which the pictures and the other items stack is looked at anew.
    void stackingChanged() { blendCandidatesKnown = false; }
    // Without the cache every item is drawn on its own. The view looks the same,
    // except where items of a run overlap while their grid is partly faded.
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled; }
    // How often the pictures have been rendered since the cache was made.
    int renderCount() const { return renders; }
    // How often the bottom pictures have been blended into one since then.
    int blendCount() const { return blends; }
    // The sizes of the rendered pictures, in device pixels, largest first.
    std::vector<QSize> pictureSizes() const;

    // Paints `item` with the painter of its effect (set up for the item, at its
    // opacity); false when it has to be drawn by the toolkit instead.
    bool paint(const QGraphicsItem *item, QPainter *painter);

private:
    struct Picture
    {
        // The item whose effect draws the picture.
        QGraphicsItem *carrier = nullptr;
        // What the picture shows, bottom first: the carrier's children when it
        // is a group, else a run of items with the carrier among them.
        std::vector<QGraphicsItem *> members;
        bool wholeGroup = false;
        // Device transform of the carrier when rendered.
        QTransform transform;
        QPixmap pixmap;
        // Device pixel of the picture's top-left corner.
        QPoint origin;
        // The device pixels the members cover (a group's picture spans more).
        QRect content;
    };

    // A picture that can be blended with those below it, and the items drawn
    // on their own that lie between it and the one below (or, for the lowest,
    // below it): while any of them shows, the blend ends below the picture.
    struct BlendCandidate
    {
        const Picture *layer = nullptr;
        std::vector<const QGraphicsItem *> between;
    };

    // The bottom pictures blended at `opacities` over `background`.
    struct Blend
    {
        std::vector<const Picture *> layers;
        std::vector<double> opacities;
        QColor background;
        QImage image;
        QRect pixels;
        bool valid = false;
    };

    void addPicture(QGraphicsItem *carrier, std::vector<QGraphicsItem *> members, bool wholeGroup);
    void addRun(const std::vector<QGraphicsItem *> &run);
    void addEffect(QGraphicsItem *item);
    void render(const QTransform &sceneToDevice, QPainter::RenderHints hints);
    void renderPicture(Picture &picture, QPainter::RenderHints hints);
    void freePictures();
    bool paintBlend(const Picture &picture, QPainter *painter);
    std::vector<BlendCandidate> findBlendCandidates() const;
    std::vector<const Picture *> blendableLayers();
    void makeBlend(const std::vector<const Picture *> &layers, const std::vector<double> &opacities,
                   const QColor &background);

    std::vector<Picture> pictures;
    // Run members drawn by another member's picture.
    std::vector<const QGraphicsItem *> drawnByCarrier;
    std::vector<QGraphicsItem *> itemsWithEffects;
    QTransform renderedSceneToDevice;
    QPainter::RenderHints renderedHints;
    Blend blend;
    // Found once per rendering, on the first paint that could use a blend.
    std::vector<BlendCandidate> blendCandidates;
    bool blendCandidatesKnown = false;
    // The bottom pictures' opacities at the last paint that drew them.
    std::vector<double> lastOpacities;
    bool rendered = false;
    bool tooLarge = false;
    bool enabled = true;
    int renders = 0;
    int blends = 0;
};
