#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int generatorTimeoutMs = 120000;

// The curves and labels of the Smith grid and the rejected field's text are
// pure red or pure blue; antialiasing and fading only lighten them.
bool isStrongRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 100 && qBlue(pixel) < 100;
}

bool isStrongBlue(QRgb pixel)
{
    return qBlue(pixel) > 200 && qRed(pixel) < 100 && qGreen(pixel) < 100;
}

int countPixels(const QImage &image, bool (*matches)(QRgb))
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += matches(image.pixel(x, y)) ? 1 : 0;
    }
    return count;
}

QString readSource(const QString &relativePath)
{
    QFile file(QDir(QStringLiteral(VELMORA_SOURCE_DIR)).filePath(relativePath));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The file names of the pictures that the guide and the README show.
QStringList referencedPictures()
{
    static const QRegularExpression pictureLink(uR"(\]\((?:docs/)?images/([\w@.-]+\.png)\))"_s);
    QSet<QString> names;
    for (const QString &document : {u"docs/guide.md"_s, u"README.md"_s}) {
        auto matches = pictureLink.globalMatch(readSource(document));
        while (matches.hasNext())
            names.insert(matches.next().captured(1));
    }
    QStringList sorted(names.begin(), names.end());
    sorted.sort();
    return sorted;
}

} // namespace

// Runs the picture generator of the user guide into a temporary folder and
// checks that it still draws every picture the documents show, and draws
// what their names promise.
class TestGuidePictures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void documentsShowPictures();
    void everyShownPictureIsDrawn_data();
    void everyShownPictureIsDrawn();
    void windowPictureShowsTheWholeWindow();
    void doubleDensityPicturesHaveTwiceThePixels_data();
    void doubleDensityPicturesHaveTwiceThePixels();
    void smithChartHasRedAndBlueCurves();
    void fullCrossFadeHidesTheSmithGrid();
    void markerBeyondTheCircleDrawsARedLine();
    void rejectedEntryIsShownInRed();

private:
    QImage drawn(const QString &fileName) const;

    QTemporaryDir output;
};

void TestGuidePictures::initTestCase()
{
    QVERIFY(output.isValid());
    QProcess generator;
    generator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    generator.start(QStringLiteral(VELMORA_SCREENSHOTS_PROGRAM), {output.path()});
    QVERIFY2(generator.waitForFinished(generatorTimeoutMs), "the generator did not finish");
    QCOMPARE(generator.exitStatus(), QProcess::NormalExit);
    QCOMPARE(generator.exitCode(), 0);
}

QImage TestGuidePictures::drawn(const QString &fileName) const
{
    return QImage(QDir(output.path()).filePath(fileName));
}

void TestGuidePictures::documentsShowPictures()
{
    const QStringList pictures = referencedPictures();
    QVERIFY(pictures.contains(u"window.png"_s));
    QVERIFY2(pictures.size() >= 10, qPrintable(pictures.join(u", "_s)));
}

void TestGuidePictures::everyShownPictureIsDrawn_data()
{
    QTest::addColumn<QString>("fileName");
    for (const QString &name : referencedPictures())
        QTest::newRow(qPrintable(name)) << name;
}

// A drawn picture has the size of the committed one: a change of the window
// that moves or resizes what a picture shows needs the pictures drawn anew.
void TestGuidePictures::everyShownPictureIsDrawn()
{
    QFETCH(QString, fileName);
    const QImage image = drawn(fileName);
    QVERIFY2(!image.isNull(), qPrintable(fileName));
    QVERIFY(image.width() >= 100 && image.height() >= 30);
    const QImage committed(
        QDir(QStringLiteral(VELMORA_SOURCE_DIR)).filePath(u"docs/images/"_s + fileName));
    QVERIFY2(!committed.isNull(), "the picture is not in docs/images");
    QCOMPARE(image.size(), committed.size());
}

void TestGuidePictures::windowPictureShowsTheWholeWindow()
{
    QCOMPARE(drawn(u"window.png"_s).size(), QSize(940, 715));
}

void TestGuidePictures::doubleDensityPicturesHaveTwiceThePixels_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("window") << u"window"_s;
    QTest::newRow("chart-matched") << u"chart-matched"_s;
}

void TestGuidePictures::doubleDensityPicturesHaveTwiceThePixels()
{
    QFETCH(QString, name);
    const QImage single = drawn(name + u".png"_s);
    const QImage twice = drawn(name + u"@2x.png"_s);
    QVERIFY(!single.isNull());
    QCOMPARE(twice.size(), single.size() * 2);
    QVERIFY(countPixels(twice, isStrongRed) > countPixels(single, isStrongRed));
}

void TestGuidePictures::smithChartHasRedAndBlueCurves()
{
    const QImage chart = drawn(u"chart-matched.png"_s);
    QVERIFY(countPixels(chart, isStrongRed) > 500);
    QVERIFY(countPixels(chart, isStrongBlue) > 500);
}

void TestGuidePictures::fullCrossFadeHidesTheSmithGrid()
{
    QVERIFY(countPixels(drawn(u"chart-crossfade-0.png"_s), isStrongRed) > 500);
    QCOMPARE(countPixels(drawn(u"chart-crossfade-100.png"_s), isStrongRed), 0);
    QVERIFY(countPixels(drawn(u"chart-crossfade-100.png"_s), isStrongBlue) > 100);
}

void TestGuidePictures::markerBeyondTheCircleDrawsARedLine()
{
    QVERIFY(countPixels(drawn(u"chart-outside.png"_s), isStrongRed) > 100);
}

void TestGuidePictures::rejectedEntryIsShownInRed()
{
    QVERIFY(countPixels(drawn(u"impedance-rejected.png"_s), isStrongRed) > 10);
    QCOMPARE(countPixels(drawn(u"impedance-slider-step.png"_s), isStrongRed), 0);
}

QTEST_GUILESS_MAIN(TestGuidePictures)
#include "tst_guidepictures.moc"
