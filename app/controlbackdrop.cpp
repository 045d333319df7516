#include "app/controlbackdrop.h"

#include <QEvent>
#include <QPainter>
#include <QRegion>
#include <QWidget>

namespace {

// What changes how a widget itself, or its parent behind it, looks.
bool changesLook(QEvent::Type type)
{
    switch (type) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::FontChange:
    case QEvent::EnabledChange:
    case QEvent::ActivationChange:
    case QEvent::LayoutDirectionChange:
        return true;
    default:
        return false;
    }
}

} // namespace

ControlBackdrop::ControlBackdrop(QObject *parent)
    : QObject(parent)
{ }

void ControlBackdrop::install(QWidget *control)
{
    QWidget *behind = control->parentWidget();
    if (!behind)
        return;
    control->installEventFilter(this);
    behind->installEventFilter(this);
    pictures.insert(control, QPixmap());
    connect(control, &QObject::destroyed, this, [this, control] { pictures.remove(control); });
}

bool ControlBackdrop::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    if (event->type() == QEvent::Paint && pictures.contains(widget)) {
        paintBackdrop(widget);
    } else if (changesLook(event->type())) {
        for (auto picture = pictures.begin(); picture != pictures.end(); ++picture) {
            if (picture.key() == widget || picture.key()->parentWidget() == widget)
                picture.value() = QPixmap();
        }
    }
    return false;
}

// Runs before the control's own paint event, on the same region.
void ControlBackdrop::paintBackdrop(QWidget *control)
{
    // Fusion's polish clears the flag on the controls it highlights under the
    // mouse, sliders among them, after any filter has seen the polish event.
    if (!control->testAttribute(Qt::WA_OpaquePaintEvent))
        control->setAttribute(Qt::WA_OpaquePaintEvent);
    QPixmap &picture = pictures[control];
    const qreal ratio = control->devicePixelRatioF();
    if (picture.isNull() || picture.devicePixelRatio() != ratio) {
        picture = QPixmap(control->size() * ratio);
        picture.setDevicePixelRatio(ratio);
        control->parentWidget()->render(&picture, QPoint(), QRegion(control->geometry()),
                                        QWidget::DrawWindowBackground);
    }
    QPainter painter(control);
    painter.drawPixmap(0, 0, picture);
}
