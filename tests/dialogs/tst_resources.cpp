#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QResource>
#include <QTest>
#include <QtEndian>

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void storedUncompressed_data();
    void storedUncompressed();
    void iconDirectory_data();
    void iconDirectory();
    void iconBitmaps_data();
    void iconBitmaps();
    void iconReadsBack();
};

namespace {

const QString iconPath = QStringLiteral(":/resource/resource/icon.ico");
constexpr int icoHeaderSize = 6;
constexpr int icoEntrySize = 16;

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint16 word(const QByteArray &data, int offset)
{
    return qFromLittleEndian<quint16>(data.constData() + offset);
}

quint32 dword(const QByteArray &data, int offset)
{
    return qFromLittleEndian<quint32>(data.constData() + offset);
}

// Colour rows of four bytes per pixel, then the one-bit mask padded to 32-bit rows.
quint32 bitmapBytes(int edge)
{
    return 40 + quint32(edge * edge * 4) + quint32((edge + 31) / 32 * 4 * edge);
}

void addIconRows()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("edge");
    QTest::newRow("first 128") << 0 << 128;
    QTest::newRow("second 32") << 1 << 32;
    QTest::newRow("third 64") << 2 << 64;
}

} // namespace

void TestResources::texts_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QByteArray>("firstWords");
    QTest::newRow("GPL 3") << QStringLiteral(":/resource/resource/COPYING") << 35149 << 674
                           << QByteArray("GNU GENERAL PUBLIC LICENSE");
    QTest::newRow("LGPL 3") << QStringLiteral(":/resource/resource/COPYING.LESSER") << 7652 << 165
                            << QByteArray("GNU LESSER GENERAL PUBLIC LICENSE");
}

void TestResources::texts()
{
    QFETCH(QString, path);
    QFETCH(int, bytes);
    QFETCH(int, lines);
    QFETCH(QByteArray, firstWords);
    const QByteArray text = contents(path);
    QCOMPARE(text.size(), bytes);
    QCOMPARE(text.count('\n'), lines);
    QVERIFY(text.endsWith('\n'));
    QVERIFY(!text.contains('\r'));
    QCOMPARE(text.left(text.indexOf('\n')).trimmed(), firstWords);
}

void TestResources::storedUncompressed_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("GPL") << QStringLiteral(":/resource/resource/COPYING");
    QTest::newRow("LGPL") << QStringLiteral(":/resource/resource/COPYING.LESSER");
    QTest::newRow("icon") << iconPath;
}

void TestResources::storedUncompressed()
{
    QFETCH(QString, path);
    const QResource resource(path);
    QVERIFY(resource.isValid());
    QCOMPARE(resource.compressionAlgorithm(), QResource::NoCompression);
}

void TestResources::iconDirectory_data()
{
    addIconRows();
}

void TestResources::iconDirectory()
{
    QFETCH(int, index);
    QFETCH(int, edge);
    const QByteArray ico = contents(iconPath);
    QCOMPARE(ico.size(), 88878);
    QCOMPARE(word(ico, 0), quint16(0));
    QCOMPARE(word(ico, 2), quint16(1));
    QCOMPARE(word(ico, 4), quint16(3));
    const int entry = icoHeaderSize + index * icoEntrySize;
    QCOMPARE(quint8(ico.at(entry)), quint8(edge));
    QCOMPARE(quint8(ico.at(entry + 1)), quint8(edge));
    QCOMPARE(word(ico, entry + 4), quint16(1));
    QCOMPARE(word(ico, entry + 6), quint16(32));
    QCOMPARE(dword(ico, entry + 8), bitmapBytes(edge));
}

void TestResources::iconBitmaps_data()
{
    addIconRows();
}

void TestResources::iconBitmaps()
{
    QFETCH(int, index);
    QFETCH(int, edge);
    const QByteArray ico = contents(iconPath);
    const int entry = icoHeaderSize + index * icoEntrySize;
    const int bitmap = int(dword(ico, entry + 12));
    QVERIFY(bitmap + int(bitmapBytes(edge)) <= ico.size());
    // A bitmap, not PNG: a BITMAPINFOHEADER whose height counts colour and mask rows.
    QVERIFY(!ico.mid(bitmap, 4).startsWith("\x89PNG"));
    QCOMPARE(dword(ico, bitmap), quint32(40));
    QCOMPARE(qint32(dword(ico, bitmap + 4)), edge);
    QCOMPARE(qint32(dword(ico, bitmap + 8)), 2 * edge);
    QCOMPARE(word(ico, bitmap + 12), quint16(1));
    QCOMPARE(word(ico, bitmap + 14), quint16(32));
    QCOMPARE(dword(ico, bitmap + 16), quint32(0));
}

void TestResources::iconReadsBack()
{
    QImageReader reader(iconPath);
    QCOMPARE(reader.imageCount(), 3);
    const QList<int> edges {128, 32, 64};
    for (int index = 0; index < edges.size(); ++index) {
        QVERIFY(reader.jumpToImage(index));
        const QImage image = reader.read();
        QCOMPARE(image.size(), QSize(edges.at(index), edges.at(index)));
        // The round chart leaves the corners transparent and covers the centre.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
    }
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
