#include "iconpainter.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QTest>

#include <algorithm>

// The icon at the sizes the desktop shows: an empty margin of about a sixteenth
// of the edge all round, and a ring that starts right at the margin with whole,
// opaque pixels, at the smallest sizes too.
class TestIconPainter : public QObject
{
    Q_OBJECT

private slots:
    void margin_data();
    void margin();
};

namespace {

// Antialiasing leaves a touch of transparency on a ring pixel that the curve
// does not cover completely.
constexpr int nearlyOpaque = 250;

int highestAlpha(const QImage &image, const QRect &area)
{
    int highest = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            highest = std::max(highest, qAlpha(image.pixel(x, y)));
    }
    return highest;
}

} // namespace

void TestIconPainter::margin_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("margin");
    QTest::newRow("16 px") << 16 << 1;
    QTest::newRow("24 px") << 24 << 2;
    QTest::newRow("32 px") << 32 << 2;
    QTest::newRow("48 px") << 48 << 3;
    QTest::newRow("64 px (ICO)") << 64 << 4;
    QTest::newRow("128 px (ICO)") << 128 << 8;
    QTest::newRow("256 px") << 256 << 16;
}

void TestIconPainter::margin()
{
    QFETCH(int, size);
    QFETCH(int, margin);
    const QImage icon = paintIcon(size);
    QCOMPARE(icon.size(), QSize(size, size));

    const int far = size - margin;
    QCOMPARE(highestAlpha(icon, QRect(0, 0, size, margin)), 0);
    QCOMPARE(highestAlpha(icon, QRect(0, far, size, margin)), 0);
    QCOMPARE(highestAlpha(icon, QRect(0, 0, margin, size)), 0);
    QCOMPARE(highestAlpha(icon, QRect(far, 0, margin, size)), 0);

    const int middle = size / 2;
    for (const QPoint ringStart : {QPoint(middle, margin), QPoint(middle, far - 1),
                                   QPoint(margin, middle), QPoint(far - 1, middle)}) {
        QVERIFY2(qAlpha(icon.pixel(ringStart)) >= nearlyOpaque,
                 qPrintable(QStringLiteral("pixel %1, %2").arg(ringStart.x()).arg(ringStart.y())));
    }
}

QTEST_GUILESS_MAIN(TestIconPainter)
#include "tst_iconpainter.moc"
