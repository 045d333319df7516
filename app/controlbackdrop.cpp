#include "app/controlbackdrop.h"

#include <QEvent>
#include <QPainter>
#include <QRegion>
#include <QWidget>

namespace {

// What changes how a parent looks behind its controls.
bool changesLook(QEvent::Type type)
{
    switch (type) {
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
    const auto picture = pictures.find(widget);
    if (picture != pictures.end()) {
        // A control's own look (a red error text, the focus) is painted over
        // the backdrop; only its place decides what lies behind it.
        if (event->type() == QEvent::Paint)
            paintBackdrop(widget);
        else if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
            picture.value() = QPixmap();
    } else if (changesLook(event->type())) {
        for (auto control = pictures.begin(); control != pictures.end(); ++control) {
            if (control.key()->parentWidget() == widget)
                control.value() = QPixmap();
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
