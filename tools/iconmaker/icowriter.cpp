#include "icowriter.h"

#include <QDataStream>
#include <QIODevice>
#include <QImage>

namespace {

constexpr quint16 iconResourceType = 1;
constexpr quint32 directoryHeaderSize = 6;
constexpr quint32 directoryEntrySize = 16;
constexpr quint32 bitmapInfoHeaderSize = 40;
constexpr quint16 bitsPerPixel = 32;

// Rows of the one-bit AND mask are padded to whole 32-bit words.
int maskStride(int width)
{
    return ((width + 31) / 32) * 4;
}

quint32 bitmapSize(const QImage &image)
{
    return bitmapInfoHeaderSize + quint32(image.width()) * quint32(image.height()) * 4
        + quint32(maskStride(image.width())) * quint32(image.height());
}

void writeDirectoryEntry(QDataStream &stream, const QImage &image, quint32 offset)
{
    stream << quint8(image.width()) << quint8(image.height()) << quint8(0) << quint8(0);
    stream << quint16(1) << bitsPerPixel << bitmapSize(image) << offset;
}

void writeBitmapInfoHeader(QDataStream &stream, const QImage &image)
{
    // The height counts the colour rows and the mask rows together.
    stream << bitmapInfoHeaderSize << qint32(image.width()) << qint32(2 * image.height());
    stream << quint16(1) << bitsPerPixel << quint32(0) << quint32(0);
    stream << qint32(0) << qint32(0) << quint32(0) << quint32(0);
}

void writePixels(QDataStream &stream, const QImage &image)
{
    // Bottom-up rows of blue, green, red, alpha; the alpha channel is not premultiplied.
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            stream << quint8(qBlue(row[x])) << quint8(qGreen(row[x])) << quint8(qRed(row[x]))
                   << quint8(qAlpha(row[x]));
    }
}

void writeMask(QDataStream &stream, const QImage &image)
{
    // A set bit marks a fully transparent pixel for readers that ignore alpha.
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row(maskStride(image.width()), '\0');
        const auto *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(pixels[x]) == 0)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        stream.writeRawData(row.constData(), int(row.size()));
    }
}

} // namespace

QByteArray makeIco(const QList<QImage> &images)
{
    QByteArray ico;
    QDataStream stream(&ico, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << quint16(0) << iconResourceType << quint16(images.size());

    QList<QImage> bitmaps;
    quint32 offset = directoryHeaderSize + directoryEntrySize * quint32(images.size());
    for (const QImage &image : images) {
        bitmaps.append(image.convertToFormat(QImage::Format_ARGB32));
        writeDirectoryEntry(stream, bitmaps.last(), offset);
        offset += bitmapSize(bitmaps.last());
    }
    for (const QImage &bitmap : bitmaps) {
        writeBitmapInfoHeader(stream, bitmap);
        writePixels(stream, bitmap);
        writeMask(stream, bitmap);
    }
    return ico;
}
