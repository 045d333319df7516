#pragma once

#include <QString>

#include <functional>

class QImage;
class WindowDriver;

// A capture draws one part of the running program into an image at a device
// pixel ratio (1 for plain screens, 2 for high-density ones).
using Capture = std::function<QImage(WindowDriver &driver, qreal ratio)>;

namespace Captures {

// The whole window.
QImage window(WindowDriver &driver, qreal ratio);
// The chart view alone, frame included.
QImage chart(WindowDriver &driver, qreal ratio);
// The chart view with the tooltip of the marker beside it, as the mouse
// resting on the marker shows it.
QImage chartWithMarkerToolTip(WindowDriver &driver, qreal ratio);
// The column of controls to the right of the chart.
QImage controls(WindowDriver &driver, qreal ratio);
// One group box of the controls column, by object name.
Capture box(const QString &objectName);
// The information dialog that the "Info" button opens, captured while it is open.
QImage infoDialog(WindowDriver &driver, qreal ratio);

} // namespace Captures
