#pragma once

#include <QPainter>
#include <QPixmap>
#include <QPoint>
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
// children get a picture each instead, and the live child is drawn as it is.
// Graphics effects on the group or on the children draw them from here; the
// items themselves, their order, pens and opacities are untouched.
//
// All pictures are rendered together, on the first paint after a build or a
// change of the device transform (the view's size, fit or pixel ratio), so a
// fade never renders any, even where one grid is first faded in.
//
// The scene owns the cache; the items own their effects.
class GridCache
{
public:
    // Draws `group` from one picture from now on.
    void addGroup(QGraphicsItemGroup *group);
    // Draws every child of `group` but `liveChild` from a picture of its own.
    void addChildPictures(QGraphicsItemGroup *group, const QGraphicsItem *liveChild);
    // Forgets every item and frees the pictures; call when the items go.
    void clear();
    // Without the cache every item is drawn on its own; the view looks the same.
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled; }
    // How often the pictures have been rendered since the cache was made.
    int renderCount() const { return renders; }

    // Paints `item` with the painter of its effect (set up for the item, at its
    // opacity); false when it has to be drawn by the toolkit instead.
    bool paint(const QGraphicsItem *item, QPainter *painter);

private:
    struct Picture
    {
        QGraphicsItem *item = nullptr;
        // A group's children in one picture, or the item alone.
        bool wholeGroup = false;
        // Device transform of the item when rendered.
        QTransform transform;
        QPixmap pixmap;
        // Device pixel of the picture's top-left corner.
        QPoint origin;
    };

    void addPicture(QGraphicsItem *item, bool wholeGroup);
    void render(const QTransform &sceneToDevice, QPainter::RenderHints hints);
    void renderGroup(Picture &picture, QPainter::RenderHints hints);
    void renderItem(Picture &picture, QPainter::RenderHints hints);
    void freePictures();

    std::vector<Picture> pictures;
    QPainter::RenderHints renderedHints;
    bool rendered = false;
    bool tooLarge = false;
    bool enabled = true;
    int renders = 0;
};
