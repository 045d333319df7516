#include "captures.h"

#include "app/mainwindow.h"
#include "windowdriver.h"

#include <QApplication>
#include <QGraphicsView>
#include <QImage>
#include <QLayout>
#include <QPainter>
#include <QPalette>
#include <QRegion>
#include <QTest>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// Paints the widget's area into a new image, the same way the widget paints
// itself on screen, at the given device pixel ratio.
QImage render(QWidget *widget, const QRect &area, qreal ratio)
{
    WindowDriver::settle();
    QImage image(area.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(area));
    return image;
}

QImage renderWhole(QWidget *widget, qreal ratio)
{
    return render(widget, widget->rect(), ratio);
}

} // namespace

namespace Captures {

QImage window(WindowDriver &driver, qreal ratio)
{
    return renderWhole(&driver.window(), ratio);
}

QImage chart(WindowDriver &driver, qreal ratio)
{
    return renderWhole(driver.control(u"QGV_Chart"_s), ratio);
}

QImage chartWithMarkerToolTip(WindowDriver &driver, qreal ratio)
{
    QWidget *view = &driver.chartView();
    const QWidget *tip = driver.hoverMarker();
    if (!tip)
        qFatal("velmora_screenshots: the marker shows no tooltip");
    const QRect chartArea = view->rect();
    const QRect tipArea(view->mapFromGlobal(tip->pos()), tip->size());
    const QRect whole = chartArea.united(tipArea);

    QImage image(whole.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(driver.window().palette().color(QPalette::Window));
    QPainter painter(&image);
    painter.drawImage(chartArea.topLeft() - whole.topLeft(), renderWhole(view, ratio));
    painter.drawImage(tipArea.topLeft() - whole.topLeft(),
                      renderWhole(const_cast<QWidget *>(tip), ratio));
    return image;
}

QImage controls(WindowDriver &driver, qreal ratio)
{
    QWidget *central = driver.control(u"centralwidget"_s);
    const auto *column = driver.window().findChild<QLayout *>(u"gridLayout"_s);
    if (!column)
        qFatal("velmora_screenshots: the main window has no controls column");
    return render(central, column->geometry(), ratio);
}

Capture box(const QString &objectName)
{
    return [objectName](WindowDriver &driver, qreal ratio) {
        return renderWhole(driver.control(objectName), ratio);
    };
}

QImage infoDialog(WindowDriver &driver, qreal ratio)
{
    QImage image;
    // The dialog runs modally inside the click, so it is drawn from within its
    // own event loop and then closed.
    QTimer::singleShot(0, &driver.window(), [&image, ratio] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !QTest::qWaitForWindowExposed(dialog))
            qFatal("velmora_screenshots: the information dialog did not open");
        image = renderWhole(dialog, ratio);
        dialog->close();
    });
    QTest::mouseClick(driver.control(u"PUB_Info"_s), Qt::LeftButton);
    return image;
}

} // namespace Captures
