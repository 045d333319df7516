#pragma once

#include <QStringList>

class GraphicsScene;
class QFont;
class QGraphicsView;
class QImage;

// A copy of the chart for a worksheet: a picture of a fixed size, whatever
// the window's, with what the chart shows in words below it, and the same
// words, with the task's, as text for a paste into a text field. Free
// functions; nothing is kept between copies.
namespace ChartCopy {

// The chart is a square of this many pixels, at a device pixel ratio of 1.
constexpr int pictureSide = 1600;

// "Z0 = 50,0 Ω · f = 100,000 MHz", then the scene's own lines: the load's
// summary and the network, one numbered line per element.
QStringList lines(const GraphicsScene &scene);
// The same with the task's lines after the first while a task is shown: a
// pasted text has no picture of the task's box.
QStringList textLines(const GraphicsScene &scene);

// The chart as the view shows it at the current cross-fade, without what
// only helps a drag, with the caption's lines below it in `captionFont`,
// which is shrunk where the widest line would not fit.
QImage picture(GraphicsScene &scene, const QStringList &caption, const QFont &captionFont);

// Puts the picture, its caption in the window's font enlarged as much as the
// picture enlarges the view's chart, and the text lines on the clipboard.
void toClipboard(GraphicsScene &scene, const QGraphicsView &view);

} // namespace ChartCopy
