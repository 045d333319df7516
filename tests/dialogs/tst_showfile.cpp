#include "dialogs/showfile.h"
#include "modaldriver.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestShowFile : public QObject
{
    Q_OBJECT

private slots:
    void form();
    void licenceHasOneRowPerLine();
    void licenceRows_data();
    void licenceRows();
    void missingFileShowsErrorAndEmptyList();
    void exitButtonCloses();
};

namespace {

const QString lgplPath = QStringLiteral(":/resource/resource/COPYING.LESSER");

const QAbstractItemModel *shownModel(const ShowFile &viewer)
{
    return viewer.findChild<QListView *>(QStringLiteral("LV_Textfile"))->model();
}

} // namespace

void TestShowFile::form()
{
    const ShowFile viewer(nullptr, lgplPath);
    QCOMPARE(viewer.objectName(), QStringLiteral("ShowFile"));
    QCOMPARE(viewer.windowTitle(), QStringLiteral("License File"));
    QCOMPARE(viewer.size(), QSize(408, 471));
    QVERIFY(viewer.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(viewer.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    const auto *list = viewer.findChild<QListView *>(QStringLiteral("LV_Textfile"));
    QVERIFY(list);
    QCOMPARE(list->styleSheet(),
             QStringLiteral("font: 14pt \"Segoe UI\";\ncolor: rgb(0, 0, 255);"));
    QCOMPARE(list->viewMode(), QListView::ListMode);
    QCOMPARE(viewer.findChild<QPushButton *>(QStringLiteral("pushButton"))->text(),
             QStringLiteral("Exit"));
}

void TestShowFile::licenceHasOneRowPerLine()
{
    const ShowFile viewer(nullptr, lgplPath);
    QVERIFY(shownModel(viewer));
    QCOMPARE(shownModel(viewer)->rowCount(), 165);
}

void TestShowFile::licenceRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::newRow("centred title keeps its indentation")
        << 0 << QStringLiteral("                   GNU LESSER GENERAL PUBLIC LICENSE");
    QTest::newRow("centred version line") << 1
                                          << QStringLiteral("                       Version 3, "
                                                            "29 June 2007");
    QTest::newRow("blank line stays") << 2 << QString();
    QTest::newRow("one leading space") << 3
                                       << QStringLiteral(" Copyright (C) 2007 Free Software "
                                                         "Foundation, Inc. <https://fsf.org/>");
    QTest::newRow("last line, no empty row after it") << 164 << QStringLiteral("Library.");
}

void TestShowFile::licenceRows()
{
    QFETCH(int, row);
    QFETCH(QString, text);
    const ShowFile viewer(nullptr, lgplPath);
    const QAbstractItemModel *model = shownModel(viewer);
    QCOMPARE(model->data(model->index(row, 0)).toString(), text);
}

void TestShowFile::missingFileShowsErrorAndEmptyList()
{
    const QTemporaryDir folder;
    const QString missing = QDir(folder.path()).filePath(QStringLiteral("missing.txt"));
    QString title;
    QString text;
    ModalDriver driver;
    driver.addStep("QMessageBox", [&title, &text](QWidget *box) {
        title = box->windowTitle();
        text = qobject_cast<QMessageBox *>(box)->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    driver.start();
    const ShowFile viewer(nullptr, missing);
    QVERIFY(!driver.gaveUp());
    QCOMPARE(driver.stepsDone(), 1);
    QCOMPARE(title, QStringLiteral("error"));
    QVERIFY2(text.contains(QStringLiteral("No such file"), Qt::CaseInsensitive), qPrintable(text));
    const QAbstractItemModel *model = shownModel(viewer);
    QCOMPARE(model ? model->rowCount() : 0, 0);
}

void TestShowFile::exitButtonCloses()
{
    ModalDriver driver;
    driver.addStep("ShowFile", [](QWidget *viewer) {
        QTest::mouseClick(viewer->findChild<QPushButton *>(QStringLiteral("pushButton")),
                          Qt::LeftButton);
    });
    driver.start();
    ShowFile viewer(nullptr, lgplPath);
    QCOMPARE(viewer.exec(), int(QDialog::Rejected));
    QVERIFY(!driver.gaveUp());
    QCOMPARE(driver.stepsDone(), 1);
    QVERIFY(!viewer.isVisible());
}

QTEST_MAIN(TestShowFile)
#include "tst_showfile.moc"
