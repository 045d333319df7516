#include "app/mainwindow.h"
#include "chart/graphicsscene.h"
#include "throwawaysettings.h"

#include <QGraphicsItem>
#include <QGraphicsView>
#include <QMetaMethod>
#include <QSettings>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The window's life: building the chart once, tearing it down on close,
// building it again, keeping it whole in the view, and the window's slots.
class TestWindowLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void initChartOnReadyChartChangesNothing();
    void closeThenInitChartRebuilds();
    void resizeKeepsChartWhole_data();
    void resizeKeepsChartWhole();
    void slotsInDeclaredOrder();
    void metacastAnswersBothBases();

private:
    QGraphicsView *chartView() const
    {
        return mainWindow->findChild<QGraphicsView *>(u"QGV_Chart"_s);
    }

    std::unique_ptr<MainWindow> mainWindow;
};

void TestWindowLifecycle::initTestCase()
{
    useThrowAwaySettings();
}

void TestWindowLifecycle::init()
{
    QSettings(u"Quenlit Freeware"_s, u"Velmora"_s).clear(); // start from the form's defaults
    mainWindow = std::make_unique<MainWindow>();
}

void TestWindowLifecycle::cleanup()
{
    mainWindow.reset();
}

void TestWindowLifecycle::initChartOnReadyChartChangesNothing()
{
    QVERIFY(mainWindow->isReady());
    QVERIFY(mainWindow->isVisible());
    const QList<QGraphicsItem *> before = mainWindow->chartScene()->items();

    mainWindow->hide();
    mainWindow->initChart();

    QVERIFY(!mainWindow->isVisible()); // not shown again
    QCOMPARE(mainWindow->chartScene()->items(), before);
}

void TestWindowLifecycle::closeThenInitChartRebuilds()
{
    GraphicsScene *scene = mainWindow->chartScene();
    const qsizetype builtItems = scene->items().size();

    QVERIFY(mainWindow->close());
    QVERIFY(!mainWindow->isReady());
    QVERIFY(scene->items().isEmpty());
    QVERIFY(!scene->smithGridGroup());
    QVERIFY(!scene->markerGraphic());

    mainWindow->initChart();
    QVERIFY(mainWindow->isReady());
    QVERIFY(mainWindow->isVisible());
    QCOMPARE(mainWindow->chartScene(), scene); // the same scene, filled anew
    QCOMPARE(scene->items().size(), builtItems);
    QCOMPARE(scene->sceneRect(), QRectF(-135, -135, 270, 270));
}

void TestWindowLifecycle::resizeKeepsChartWhole_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("form size") << QSize(940, 715);
    QTest::newRow("tall and narrow") << QSize(520, 1000);
    QTest::newRow("wide") << QSize(1900, 730);
    QTest::newRow("full hd") << QSize(1920, 1080);
}

void TestWindowLifecycle::resizeKeepsChartWhole()
{
    QFETCH(QSize, size);
    mainWindow->resize(size);
    QVERIFY(QTest::qWaitForWindowExposed(mainWindow.get()));
    QTRY_COMPARE(mainWindow->size(), size);

    const QGraphicsView *view = chartView();
    const QTransform transform = view->transform();
    QCOMPARE(transform.m11(), transform.m22()); // circles stay circles
    QVERIFY(transform.m11() > 0);
    const QRect chartOnScreen = view->mapFromScene(QRectF(-135, -135, 270, 270)).boundingRect();
    QVERIFY2(view->viewport()->rect().adjusted(-1, -1, 1, 1).contains(chartOnScreen),
             qPrintable(u"chart %1,%2 %3x%4 outside the viewport"_s.arg(chartOnScreen.x())
                            .arg(chartOnScreen.y())
                            .arg(chartOnScreen.width())
                            .arg(chartOnScreen.height())));
    // fitInView leaves only a small margin on the tighter side.
    const QSize viewport = view->viewport()->size();
    const int tighter = qMin(viewport.width(), viewport.height());
    QVERIFY(qMax(chartOnScreen.width(), chartOnScreen.height()) >= tighter - 12);
}

void TestWindowLifecycle::slotsInDeclaredOrder()
{
    const QStringList expected {
        u"on_PUB_Info_clicked()"_s, u"QS_setR(int)"_s,         u"QS_setX(int)"_s,
        u"QS_setG(int)"_s,          u"QS_setB(int)"_s,         u"QS_setRP(int)"_s,
        u"QS_setXP(int)"_s,         u"QS_setRS(int)"_s,        u"QS_setXS(int)"_s,
        u"QS_setF(int)"_s,          u"LED_setZ0()"_s,          u"LED_setRX()"_s,
        u"LED_setGB()"_s,           u"LED_setF()"_s,           u"LED_setRP()"_s,
        u"LED_setRS()"_s,           u"LED_setXP()"_s,          u"LED_setXS()"_s,
        u"LED_setGammaR()"_s,       u"LED_setGammaI()"_s,      u"LED_setGammaM()"_s,
        u"LED_setGammaP()"_s,       u"NewGamma(complex_dbl)"_s};

    const QMetaObject &meta = MainWindow::staticMetaObject;
    QCOMPARE(meta.methodCount() - meta.methodOffset(), int(expected.size()));
    for (int index = 0; index < expected.size(); ++index) {
        const QMetaMethod method = meta.method(meta.methodOffset() + index);
        QCOMPARE(QString::fromLatin1(method.methodSignature()), expected.at(index));
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Private);
    }
    QCOMPARE(meta.propertyCount(), meta.propertyOffset());
}

void TestWindowLifecycle::metacastAnswersBothBases()
{
    MainWindow *window = mainWindow.get();
    QCOMPARE(window->qt_metacast("MainWindow"), static_cast<void *>(window));
    QCOMPARE(window->qt_metacast("SmithBasics"),
             static_cast<void *>(static_cast<SmithBasics *>(window)));
    QCOMPARE(window->qt_metacast("QMainWindow"), static_cast<void *>(window));
    QCOMPARE(window->qt_metacast("QObject"), static_cast<void *>(window));
    QCOMPARE(window->qt_metacast("GraphicsScene"), nullptr);
}

QTEST_MAIN(TestWindowLifecycle)
#include "tst_windowlifecycle.moc"
