#include "modaldriver.h"
#include "throwawaysettings.h"
#include "windowdriver.h"

#include "app/mainwindow.h"
#include "chart/graphicsscene.h"
#include "chart/markeritem.h"

#include <QAbstractItemModel>
#include <QListView>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int dialogRounds = 3;
constexpr int chartRebuilds = 100;

void pressKey(QWidget *window, Qt::Key key)
{
    QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, key);
}

} // namespace

// A whole session for the leak checkers: the Info dialog and the licence
// viewer opened and closed, the chart rebuilt a hundred times, the program
// closed. Under the sanitize preset LeakSanitizer looks at the heap when the
// test ends (and AddressSanitizer at every release), under valgrind memcheck
// does (tst_leakcheck_valgrind); here the test makes sure the session really
// ran and that the objects released by hand go exactly once.
class TestLeakCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void scriptedSession();
};

void TestLeakCheck::initTestCase()
{
    useThrowAwaySettings();
}

void TestLeakCheck::scriptedSession()
{
    auto panel = std::make_unique<WindowDriver>();
    MainWindow &window = panel->window();
    int scenesReleased = 0;
    connect(window.chartScene(), &QObject::destroyed, this, [&] { ++scenesReleased; });

    int modelsMade = 0;
    int modelsReleased = 0;
    for (int round = 0; round < dialogRounds; ++round) {
        ModalDriver driver;
        driver.addStep("InfoDialog", [](QWidget *dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton *>(u"PUB_LGPL"_s), Qt::LeftButton);
        });
        driver.addStep("ShowFile", [&](QWidget *viewer) {
            QAbstractItemModel *model = viewer->findChild<QListView *>(u"LV_Textfile"_s)->model();
            ++modelsMade;
            connect(model, &QObject::destroyed, this, [&] { ++modelsReleased; });
            pressKey(viewer, Qt::Key_Return);
        });
        driver.addStep("InfoDialog", [](QWidget *dialog) { pressKey(dialog, Qt::Key_Escape); });
        driver.start();
        QTest::mouseClick(panel->control(u"PUB_Info"_s), Qt::LeftButton);
        QCOMPARE(driver.stepsDone(), 3);
        QVERIFY(!driver.gaveUp());
    }
    QCOMPARE(modelsMade, dialogRounds);
    QCOMPARE(modelsReleased, dialogRounds);

    const QPointer<QObject> firstMarker = window.chartScene()->markerGraphic();
    for (int rebuild = 1; rebuild <= chartRebuilds; ++rebuild)
        panel->enter(u"LED_Z0"_s, QLocale().toString(50 + rebuild));
    QVERIFY(firstMarker.isNull());
    QCOMPARE(panel->text(u"LED_Z0"_s), QLocale().toString(50.0 + chartRebuilds, 'f', 1));

    QTest::mouseClick(panel->control(u"PUB_CLOSE"_s), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(scenesReleased, 0);
    panel.reset();
    QCOMPARE(scenesReleased, 1);
}

QTEST_MAIN(TestLeakCheck)
#include "tst_leakcheck.moc"
