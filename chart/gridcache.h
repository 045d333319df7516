#pragma once

#include <QPainter>
#include <QPixmap>
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
// A group without live items is drawn from one picture of all its children,
// rendered once per build and device transform (the view's size, fit and pixel
// ratio) by a graphics effect on the group. A group with a live child cannot
// be: the toolkit repaints the whole of a group with an effect whenever a child
// moves. Its other children get a device-resolution picture each instead, kept
// in the pixmap cache, whose limit is raised to hold them. Either way the items
// themselves, their order, pens and opacities are untouched.
//
// The scene owns the cache; each group owns its effect.
class GridCache
{
public:
    // Draws `group` from one picture from now on.
    void addGroup(QGraphicsItemGroup *group);
    // Gives every child of `group` but `liveChild` a picture of its own.
    void addChildPictures(QGraphicsItemGroup *group, const QGraphicsItem *liveChild);
    // Forgets every group and frees the pictures; call when the groups go.
    void clear();
    // Without the cache every item is drawn on its own; the view looks the same.
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled; }
    // How often the group pictures have been rendered since the cache was made.
    int renderCount() const { return renders; }

    // Paints `group` with the painter of its effect (set up for the group, at
    // its opacity); false when it has to be drawn item by item instead.
    bool paint(const QGraphicsItemGroup *group, QPainter *painter);

private:
    struct CachedGroup
    {
        QGraphicsItemGroup *group = nullptr;
        QPixmap picture;
    };

    void render(const QTransform &device, QPainter::RenderHints hints);
    QPixmap picture(const QGraphicsItemGroup *group, const QTransform &device,
                    QPainter::RenderHints hints);
    void freePictures();
    void setChildCacheMode();

    std::vector<CachedGroup> groups;
    std::vector<QGraphicsItem *> childrenWithPictures;
    QTransform renderedTransform;
    QPainter::RenderHints renderedHints;
    bool rendered = false;
    bool tooLarge = false;
    bool enabled = true;
    int renders = 0;
};
