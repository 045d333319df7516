#include "app/wheelstepfilter.h"

#include <QAbstractSlider>
#include <QWheelEvent>

#include <cstdlib>

namespace {

// One notch of a common mouse wheel, in eighths of a degree.
constexpr int notch = QWheelEvent::DefaultDeltasPerStep;

} // namespace

WheelStepFilter::WheelStepFilter(QObject *parent)
    : QObject(parent)
{ }

void WheelStepFilter::install(QAbstractSlider *slider)
{
    slider->installEventFilter(this);
}

bool WheelStepFilter::eventFilter(QObject *watched, QEvent *event)
{
    auto *slider = qobject_cast<QAbstractSlider *>(watched);
    if (!slider || event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    const auto *wheel = static_cast<QWheelEvent *>(event);
    // With Shift or Ctrl a notch moves the slider by a page, as in the toolkit.
    const bool byPages = (wheel->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) != 0;

    const QPoint angle = wheel->angleDelta();
    int delta = std::abs(angle.x()) > std::abs(angle.y()) ? -angle.x() : angle.y();
    if (wheel->inverted())
        delta = -delta;
    if (slider->invertedControls())
        delta = -delta;
    if (watched != pendingSlider) {
        pendingSlider = watched;
        pendingDelta = 0;
    }
    pendingDelta += delta;
    while (std::abs(pendingDelta) >= notch) {
        const bool up = pendingDelta > 0;
        if (byPages)
            slider->triggerAction(up ? QAbstractSlider::SliderPageStepAdd
                                     : QAbstractSlider::SliderPageStepSub);
        else
            slider->triggerAction(up ? QAbstractSlider::SliderSingleStepAdd
                                     : QAbstractSlider::SliderSingleStepSub);
        pendingDelta += up ? -notch : notch;
    }
    event->accept();
    return true;
}
