#include "chart/chartcopy.h"

#include "chart/graphicsscene.h"
#include "electrics/formatting.h"

#include <QClipboard>
#include <QColor>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// A worksheet is printed: dark text on white.
const QColor paperColour(Qt::white);
const QColor inkColour(Qt::black);
constexpr int smallestCaptionPixels = 6;

// The scene leaves out what only helps a drag for as long as this lives.
class PaintingCopy
{
public:
    explicit PaintingCopy(GraphicsScene &copied)
        : scene(copied)
    {
        scene.setPaintingCopy(true);
    }
    ~PaintingCopy() { scene.setPaintingCopy(false); }
    PaintingCopy(const PaintingCopy &) = delete;
    PaintingCopy &operator=(const PaintingCopy &) = delete;

private:
    GraphicsScene &scene;
};

// The scene renders a source of another shape into the top-left corner of
// the target; a square centres the chart in the picture.
QRectF squareAround(const QRectF &rect)
{
    const double side = std::max(rect.width(), rect.height());
    return {rect.center().x() - side / 2, rect.center().y() - side / 2, side, side};
}

// The font made small enough for the widest line to fit `width`.
QFont fittedFont(QFont font, const QStringList &lines, double width)
{
    if (font.pixelSize() <= 0)
        font.setPixelSize(QFontInfo(font).pixelSize());
    for (;;) {
        const QFontMetricsF metrics(font);
        double widest = 0.0;
        for (const QString &line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        const int pixels = font.pixelSize();
        if (widest <= width || pixels <= smallestCaptionPixels)
            return font;
        font.setPixelSize(
            std::max(smallestCaptionPixels,
                     std::min(pixels - 1, static_cast<int>(pixels * width / widest))));
    }
}

} // namespace

namespace ChartCopy {

QStringList lines(const GraphicsScene &scene)
{
    const QString header = u"Z0 = %1 Ω · f = %2"_s.arg(
        Electrics::formatNumber(scene.referenceImpedance().real(), 1),
        Electrics::formatFrequency(scene.matchingPath().frequencyHertz()));
    return QStringList {header} + scene.readoutLines();
}

QStringList textLines(const GraphicsScene &scene)
{
    QStringList text = lines(scene);
    const QStringList task = scene.exercise().lines();
    for (qsizetype line = 0; line < task.size(); ++line)
        text.insert(1 + line, task.at(line));
    return text;
}

QImage picture(GraphicsScene &scene, const QStringList &caption, const QFont &captionFont)
{
    // The caption keeps half a line of paper around it.
    const double margin = QFontMetricsF(captionFont).lineSpacing() / 2;
    const QFont font = fittedFont(captionFont, caption, pictureSide - 2 * margin);
    const QFontMetricsF metrics(font);
    const int captionHeight =
        static_cast<int>(std::ceil(caption.size() * metrics.lineSpacing() + 2 * margin));

    QImage image(pictureSide, pictureSide + captionHeight, QImage::Format_RGB32);
    image.setDevicePixelRatio(1.0);
    image.fill(paperColour);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                           | QPainter::SmoothPixmapTransform);
    {
        const PaintingCopy copying(scene);
        scene.render(&painter, QRectF(0, 0, pictureSide, pictureSide),
                     squareAround(scene.viewedRect()));
    }
    painter.setPen(inkColour);
    painter.setFont(font);
    double baseline = pictureSide + margin + metrics.ascent();
    for (const QString &line : caption) {
        painter.drawText(QPointF(margin, baseline), line);
        baseline += metrics.lineSpacing();
    }
    return image;
}

void toClipboard(GraphicsScene &scene, const QGraphicsView &view)
{
    // The picture's side holds the longer side of the chart as the view shows it.
    const QRectF shown = view.transform().mapRect(scene.viewedRect());
    const double shownSide = std::max(shown.width(), shown.height());
    QFont font = view.window()->font();
    const double enlargement = shownSide > 0.0 ? pictureSide / shownSide : 1.0;
    font.setPixelSize(
        std::max(smallestCaptionPixels,
                 static_cast<int>(std::lround(QFontInfo(font).pixelSize() * enlargement))));
    const QStringList caption = lines(scene);
    auto *data = new QMimeData;
    data->setImageData(picture(scene, caption, font));
    data->setText(textLines(scene).join(u'\n'));
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace ChartCopy
