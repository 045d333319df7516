#include "chart/chartfocusframe.h"

#include <QEvent>
#include <QPainter>
#include <QRegion>

namespace {

constexpr int ringWidth = 2;

} // namespace

ChartFocusFrame::ChartFocusFrame(QWidget *chartView)
    : QWidget(chartView)
    , view(chartView)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    fitToView();
    setVisible(view->hasFocus());
    view->installEventFilter(this);
}

bool ChartFocusFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view) {
        switch (event->type()) {
        case QEvent::Resize:
            fitToView();
            break;
        case QEvent::FocusIn:
            show();
            break;
        case QEvent::FocusOut:
            hide();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Only the ring belongs to the widget, so the chart inside it repaints
// without it.
void ChartFocusFrame::fitToView()
{
    const QRect whole = view->rect();
    setGeometry(whole);
    const QRect inner = whole.adjusted(ringWidth, ringWidth, -ringWidth, -ringWidth);
    setMask(QRegion(whole).subtracted(QRegion(inner)));
}

void ChartFocusFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Highlight));
}
