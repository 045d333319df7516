#include "dialogs/infotext.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <QTime>

class TestInfoText : public QObject
{
    Q_OBJECT

private slots:
    void hasElevenLinesWithoutTrailingBreak();
    void fixedLines_data();
    void fixedLines();
    void firstLineNamesVersionAndBuildTime();
    void buildDateAndTimeAreReal();
    void versionHasTwoDigitMinor_data();
    void versionHasTwoDigitMinor();

private:
    static QStringList lines() { return programInfoText().split(u'\n'); }
};

void TestInfoText::hasElevenLinesWithoutTrailingBreak()
{
    QCOMPARE(lines().size(), 11);
    QVERIFY(!programInfoText().endsWith(u'\n'));
}

void TestInfoText::fixedLines_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::newRow("2 empty") << 2 << QString();
    QTest::newRow("3 purpose") << 3 << QStringLiteral("Purpose: Learn how a Smith-Chart works,");
    QTest::newRow("4 blend") << 4
                             << QStringLiteral(
                                    "blend between Smith Chart and reflection coefficent Gamma");
    QTest::newRow("5 empty") << 5 << QString();
    QTest::newRow("7 warranty") << 7
                                << QStringLiteral("This program is distributed in the hope that "
                                                  "it will be useful,");
    QTest::newRow("8 warranty") << 8
                                << QStringLiteral("but WITHOUT ANY WARRANTY; without even the "
                                                  "implied warranty of");
    QTest::newRow("9 warranty") << 9
                                << QStringLiteral(
                                       "MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.");
    QTest::newRow("10 empty") << 10 << QString();
}

void TestInfoText::fixedLines()
{
    QFETCH(int, line);
    QFETCH(QString, text);
    QCOMPARE(lines().at(line - 1), text);
}

void TestInfoText::firstLineNamesVersionAndBuildTime()
{
    // The compiler's date has a three-letter month, the day padded with a space, and the year.
    static const QRegularExpression firstLine(QStringLiteral(
        "^Velmora - Version 0\\.90, compiled on "
        "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) ( [1-9]|[12][0-9]|3[01]) [0-9]{4}, "
        "([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$"));
    QVERIFY2(firstLine.match(lines().first()).hasMatch(), qPrintable(lines().first()));
    QVERIFY(lines().at(5).startsWith(QStringLiteral("Velmora ")));
    QVERIFY(lines().at(5).size() > 8);
    QVERIFY(!lines().at(10).isEmpty());
}

void TestInfoText::buildDateAndTimeAreReal()
{
    const QString buildTime = lines().first().section(QStringLiteral(", compiled on "), 1);
    const QDate date =
        QDate::fromString(buildTime.section(u',', 0, 0).simplified(), QStringLiteral("MMM d yyyy"));
    QVERIFY2(date.isValid(), qPrintable(buildTime));
    QVERIFY(date <= QDate::currentDate());
    QVERIFY(QTime::fromString(buildTime.section(u',', 1).trimmed(), QStringLiteral("HH:mm:ss"))
                .isValid());
}

void TestInfoText::versionHasTwoDigitMinor_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.90") << 0 << 90 << QStringLiteral("0.90");
    QTest::newRow("minor 5 padded") << 0 << 5 << QStringLiteral("0.05");
    QTest::newRow("minor 0 padded") << 1 << 0 << QStringLiteral("1.00");
    QTest::newRow("two-digit major") << 12 << 34 << QStringLiteral("12.34");
}

void TestInfoText::versionHasTwoDigitMinor()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, text);
    QCOMPARE(versionText(major, minor), text);
}

QTEST_GUILESS_MAIN(TestInfoText)
#include "tst_infotext.moc"
