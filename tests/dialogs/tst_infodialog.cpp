#include "dialogs/infodialog.h"
#include "dialogs/infotext.h"
#include "modaldriver.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTest>

class TestInfoDialog : public QObject
{
    Q_OBJECT

private slots:
    void formSizeAndTitle();
    void labelShowsTheText();
    void gridCells_data();
    void gridCells();
    void buttonsInCreationOrder();
    void lgplHasFocusAndIsDefault();
    void tabFollowsCreationOrder();
    void twoDialogsShowTheSameText();
    void walkWithKeyboard();
    void walkWithMouse();
};

namespace {

QPushButton *button(const QWidget *dialog, const char *name)
{
    return dialog->findChild<QPushButton *>(QLatin1String(name));
}

void clickButton(const QWidget *dialog, const char *name)
{
    QTest::mouseClick(button(dialog, name), Qt::LeftButton);
}

void pressKey(QWidget *window, Qt::Key key)
{
    QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, key);
}

int rowsShown(const QWidget *viewer)
{
    const auto *model = viewer->findChild<QListView *>(QStringLiteral("LV_Textfile"))->model();
    return model ? model->rowCount() : -1;
}

// What the walk Info -> LGPL -> Exit -> Qt Info -> Close saw on its way.
struct WalkLog
{
    QString focusAtStart;
    int licenceRows = -1;
    QString focusAfterLicence;
    QString aboutTitle;
};

} // namespace

void TestInfoDialog::formSizeAndTitle()
{
    const InfoDialog dialog(nullptr, QString());
    QCOMPARE(dialog.objectName(), QStringLiteral("InfoDialog"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Program Information"));
    QCOMPARE(dialog.size(), QSize(312, 177));
}

void TestInfoDialog::labelShowsTheText()
{
    const QString text = programInfoText();
    const InfoDialog dialog(nullptr, text);
    const auto *label = dialog.findChild<QLabel *>(QStringLiteral("LAB_InfoText"));
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->frameShape(), QFrame::Box);
    QCOMPARE(label->frameShadow(), QFrame::Raised);
    QVERIFY(label->alignment().testFlag(Qt::AlignLeft));
    QVERIFY(label->alignment().testFlag(Qt::AlignTop));
    QVERIFY(!label->wordWrap());
}

void TestInfoDialog::gridCells_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("columnSpan");
    QTest::newRow("label above all") << QStringLiteral("LAB_InfoText") << QString() << 0 << 0 << 5;
    QTest::newRow("Qt Info left") << QStringLiteral("PUB_QtInfoButton") << QStringLiteral("Qt Info")
                                  << 0 << 1 << 1;
    QTest::newRow("LGPL middle") << QStringLiteral("PUB_LGPL") << QStringLiteral("LGPL") << 2 << 1
                                 << 1;
    QTest::newRow("Close right") << QStringLiteral("PUB_CloseInfoButton") << QStringLiteral("Close")
                                 << 4 << 1 << 1;
}

void TestInfoDialog::gridCells()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(int, columnSpan);
    const InfoDialog dialog(nullptr, QString());
    const auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
    QVERIFY(grid);
    QWidget *widget = dialog.findChild<QWidget *>(name);
    QVERIFY(widget);
    int actualRow = -1, actualColumn = -1, rowSpan = -1, actualColumnSpan = -1;
    grid->getItemPosition(grid->indexOf(widget), &actualRow, &actualColumn, &rowSpan,
                          &actualColumnSpan);
    QCOMPARE(actualRow, row);
    QCOMPARE(actualColumn, column);
    QCOMPARE(rowSpan, 1);
    QCOMPARE(actualColumnSpan, columnSpan);
    if (const auto *pushButton = qobject_cast<QPushButton *>(widget))
        QCOMPARE(pushButton->text(), text);
}

void TestInfoDialog::buttonsInCreationOrder()
{
    const InfoDialog dialog(nullptr, QString());
    QStringList names;
    for (const QPushButton *pushButton : dialog.findChildren<QPushButton *>())
        names.append(pushButton->objectName());
    QCOMPARE(names,
             QStringList({QStringLiteral("PUB_LGPL"), QStringLiteral("PUB_QtInfoButton"),
                          QStringLiteral("PUB_CloseInfoButton")}));
}

void TestInfoDialog::lgplHasFocusAndIsDefault()
{
    InfoDialog dialog(nullptr, programInfoText());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTRY_VERIFY(button(&dialog, "PUB_LGPL")->hasFocus());
    QVERIFY(button(&dialog, "PUB_LGPL")->isDefault());
    QVERIFY(!button(&dialog, "PUB_QtInfoButton")->isDefault());
    QVERIFY(!button(&dialog, "PUB_CloseInfoButton")->isDefault());
}

void TestInfoDialog::tabFollowsCreationOrder()
{
    InfoDialog dialog(nullptr, programInfoText());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTRY_VERIFY(button(&dialog, "PUB_LGPL")->hasFocus());
    pressKey(&dialog, Qt::Key_Tab);
    QVERIFY(button(&dialog, "PUB_QtInfoButton")->hasFocus());
    pressKey(&dialog, Qt::Key_Tab);
    QVERIFY(button(&dialog, "PUB_CloseInfoButton")->hasFocus());
    QVERIFY(button(&dialog, "PUB_CloseInfoButton")->isDefault());
}

void TestInfoDialog::twoDialogsShowTheSameText()
{
    QStringList shown;
    for (int run = 0; run < 2; ++run) {
        ModalDriver driver;
        driver.addStep("InfoDialog", [&shown](QWidget *dialog) {
            shown.append(dialog->findChild<QLabel *>(QStringLiteral("LAB_InfoText"))->text());
            clickButton(dialog, "PUB_CloseInfoButton");
        });
        driver.start();
        InfoDialog dialog(nullptr, programInfoText());
        dialog.exec();
        QCOMPARE(driver.stepsDone(), 1);
        QVERIFY(!driver.gaveUp());
    }
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(0), shown.at(1));
    QCOMPARE(shown.at(0).count(u'\n'), 10);
}

void TestInfoDialog::walkWithKeyboard()
{
    WalkLog log;
    ModalDriver driver;
    driver.addStep("InfoDialog", [&log](QWidget *dialog) {
        log.focusAtStart = dialog->focusWidget()->objectName();
        pressKey(dialog, Qt::Key_Return);
    });
    driver.addStep("ShowFile", [&log](QWidget *viewer) {
        log.licenceRows = rowsShown(viewer);
        // The list view leaves Enter to the dialog, whose default button is "Exit".
        pressKey(viewer, Qt::Key_Return);
    });
    driver.addStep("InfoDialog", [&log](QWidget *dialog) {
        log.focusAfterLicence = dialog->focusWidget()->objectName();
        pressKey(dialog, Qt::Key_Tab);
        pressKey(dialog, Qt::Key_Enter);
    });
    driver.addStep("QMessageBox", [&log](QWidget *box) {
        log.aboutTitle = box->windowTitle();
        pressKey(box, Qt::Key_Escape);
    });
    driver.addStep("InfoDialog", [](QWidget *dialog) { pressKey(dialog, Qt::Key_Escape); });
    driver.start();
    InfoDialog dialog(nullptr, programInfoText());
    dialog.exec();
    QCOMPARE(driver.stepsDone(), 5);
    QVERIFY(!driver.gaveUp());
    QCOMPARE(log.focusAtStart, QStringLiteral("PUB_LGPL"));
    QCOMPARE(log.licenceRows, 165);
    QCOMPARE(log.focusAfterLicence, QStringLiteral("PUB_LGPL"));
    QCOMPARE(log.aboutTitle, QStringLiteral("About Qt"));
    QVERIFY(!dialog.isVisible());
}

void TestInfoDialog::walkWithMouse()
{
    WalkLog log;
    ModalDriver driver;
    driver.addStep("InfoDialog", [](QWidget *dialog) { clickButton(dialog, "PUB_LGPL"); });
    driver.addStep("ShowFile", [&log](QWidget *viewer) {
        log.licenceRows = rowsShown(viewer);
        clickButton(viewer, "pushButton");
    });
    driver.addStep("InfoDialog", [](QWidget *dialog) { clickButton(dialog, "PUB_QtInfoButton"); });
    driver.addStep("QMessageBox", [&log](QWidget *box) {
        log.aboutTitle = box->windowTitle();
        QTest::mouseClick(qobject_cast<QMessageBox *>(box)->button(QMessageBox::Ok),
                          Qt::LeftButton);
    });
    driver.addStep("InfoDialog",
                   [](QWidget *dialog) { clickButton(dialog, "PUB_CloseInfoButton"); });
    driver.start();
    InfoDialog dialog(nullptr, programInfoText());
    dialog.exec();
    QCOMPARE(driver.stepsDone(), 5);
    QVERIFY(!driver.gaveUp());
    QCOMPARE(log.licenceRows, 165);
    QCOMPARE(log.aboutTitle, QStringLiteral("About Qt"));
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestInfoDialog)
#include "tst_infodialog.moc"
