#include "windowtest.h"

#include "app/mainwindow.h"
#include "chart/graphicsscene.h"

#include <QGraphicsItem>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QLineEdit>
#include <QMetaMethod>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionSlider>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The style options a line edit and a slider paint with.
struct LineEditOption : QLineEdit
{
    using QLineEdit::initStyleOption;
};
struct SliderOption : QSlider
{
    using QSlider::initStyleOption;
};

// The part of a field's text that does not fit, in pixels: QLineEdit keeps
// 2 pixels on each side of its text inside the style's contents rectangle.
int cutOffPixels(const QLineEdit *field)
{
    QStyleOptionFrame option;
    (field->*&LineEditOption::initStyleOption)(&option);
    const QRect contents = field->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, field)
                               .marginsRemoved(field->textMargins());
    return field->fontMetrics().horizontalAdvance(field->text()) - (contents.width() - 4);
}

// Loads whose texts are among the longest a passive load gives at 50 Ω, typed
// as field and text pairs. (Right on the rim, |Gamma| above 0.99999, the
// resistances of a nearly lossless load grow without bound.)
const QList<QStringList> longTexts {
    {u"LED_GAMMAR"_s, u"-0,999"_s, u"LED_GAMMAI"_s, u"0,001"_s}, // near the short circuit
    {u"LED_R"_s, u"12732"_s, u"LED_X"_s, u"-999990"_s},
    {u"LED_FREQUENZ"_s, u"1 kHz"_s, u"LED_X"_s, u"-0,001"_s, u"LED_R"_s, u"0,5"_s},
    {u"LED_FREQUENZ"_s, u"9,99 GHz"_s, u"LED_X"_s, u"-999"_s, u"LED_R"_s, u"999"_s},
    {u"LED_GAMMAM"_s, u"0,99999"_s, u"LED_GAMMAP"_s, u"-179,9"_s},
    {u"LED_Z0"_s, u"10000"_s}, // the largest Z0
};

} // namespace

// The window's life: building the chart once, tearing it down on close,
// building it again, keeping it whole in the view, and the window's slots.
class TestWindowLifecycle : public WindowTest
{
    Q_OBJECT

private slots:
    void initChartOnReadyChartChangesNothing();
    void closeThenInitChartRebuilds();
    void resizeKeepsChartWhole_data();
    void resizeKeepsChartWhole();
    void smallestWindowStaysUsable();
    void slotsInDeclaredOrder();
    void metacastAnswersBothBases();
};

void TestWindowLifecycle::initChartOnReadyChartChangesNothing()
{
    MainWindow &window = panel->window();
    QVERIFY(window.isReady());
    QVERIFY(window.isVisible());
    const QList<QGraphicsItem *> before = window.chartScene()->items();

    window.hide();
    window.initChart();

    QVERIFY(!window.isVisible()); // not shown again
    QCOMPARE(window.chartScene()->items(), before);
}

void TestWindowLifecycle::closeThenInitChartRebuilds()
{
    MainWindow &window = panel->window();
    GraphicsScene *scene = window.chartScene();
    const qsizetype builtItems = scene->items().size();

    QVERIFY(window.close());
    QVERIFY(!window.isReady());
    QVERIFY(scene->items().isEmpty());
    QVERIFY(!scene->smithGridGroup());
    QVERIFY(!scene->markerGraphic());

    window.initChart();
    QVERIFY(window.isReady());
    QVERIFY(window.isVisible());
    QCOMPARE(window.chartScene(), scene); // the same scene, filled anew
    QCOMPARE(scene->items().size(), builtItems);
    QCOMPARE(scene->sceneRect(), QRectF(-135, -135, 270, 270));
}

void TestWindowLifecycle::resizeKeepsChartWhole_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("form size") << QSize(940, 715);
    QTest::newRow("tall and narrow") << QSize(760, 1000);
    QTest::newRow("wide") << QSize(1900, 730);
    QTest::newRow("full hd") << QSize(1920, 1080);
}

void TestWindowLifecycle::resizeKeepsChartWhole()
{
    QFETCH(QSize, size);
    MainWindow &window = panel->window();
    window.resize(size);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(window.size(), size);

    const QGraphicsView *view = &panel->chartView();
    const QTransform transform = view->transform();
    QCOMPARE(transform.m11(), transform.m22()); // circles stay circles
    QVERIFY(transform.m11() > 0);
    const QRect chartOnScreen = view->mapFromScene(QRectF(-135, -135, 270, 270)).boundingRect();
    QVERIFY2(view->viewport()->rect().adjusted(-1, -1, 1, 1).contains(chartOnScreen),
             qPrintable(u"chart %1,%2 %3x%4 outside the viewport"_s.arg(chartOnScreen.x())
                            .arg(chartOnScreen.y())
                            .arg(chartOnScreen.width())
                            .arg(chartOnScreen.height())));
    // Every label of the chart is whole, and the labelled chart fills the
    // tighter side but for a small margin.
    QRect labelledOnScreen = chartOnScreen;
    for (const QGraphicsItem *item : view->scene()->items()) {
        const auto *label = dynamic_cast<const QGraphicsSimpleTextItem *>(item);
        if (!label)
            continue;
        const QRect onScreen = view->mapFromScene(label->sceneBoundingRect()).boundingRect();
        QVERIFY2(view->viewport()->rect().contains(onScreen), qPrintable(label->text()));
        labelledOnScreen |= onScreen;
    }
    const QSize viewport = view->viewport()->size();
    const int tighter = qMin(viewport.width(), viewport.height());
    QVERIFY(qMax(labelledOnScreen.width(), labelledOnScreen.height()) >= tighter - 12);

    // Every field shows its whole text, also for the longest texts.
    const auto fields = window.findChildren<QLineEdit *>(QRegularExpression(u"^LED_"_s));
    QCOMPARE(fields.size(), 14);
    for (const QStringList &entries : longTexts) {
        for (qsizetype i = 0; i + 1 < entries.size(); i += 2)
            panel->enter(entries.at(i), entries.at(i + 1));
        for (const QLineEdit *field : fields)
            QVERIFY2(cutOffPixels(field) <= 0,
                     qPrintable(u"%1 cuts \"%2\" by %3 px"_s.arg(field->objectName(), field->text())
                                    .arg(cutOffPixels(field))));
    }
}

// The window shrinks to fit a 1280 x 720 screen under a title bar, and at its
// smallest every vertical slider keeps a track to move along, the chart a
// usable size and every field its whole text.
void TestWindowLifecycle::smallestWindowStaysUsable()
{
    MainWindow &window = panel->window();
    const QSize smallest = window.minimumSizeHint();
    QVERIFY2(smallest.height() <= 680 && smallest.width() <= 1280,
             qPrintable(u"%1 x %2"_s.arg(smallest.width()).arg(smallest.height())));
    window.resize(smallest);
    QTRY_COMPARE(window.size(), smallest);
    const auto sliders = window.findChildren<QSlider *>(QRegularExpression(u"^QS_"_s));
    for (const QSlider *slider : sliders) {
        if (slider->orientation() != Qt::Vertical)
            continue;
        QStyleOptionSlider option;
        (slider->*&SliderOption::initStyleOption)(&option);
        const QRect handle = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                             QStyle::SC_SliderHandle, slider);
        QVERIFY2(slider->height() - handle.height() >= 60, qPrintable(slider->objectName()));
    }
    // The chart keeps a usable size, and the column of controls stays whole.
    QVERIFY(panel->chartView().width() >= 320 && panel->chartView().height() >= 320);
    const auto fields = window.findChildren<QLineEdit *>(QRegularExpression(u"^LED_"_s));
    for (const QLineEdit *field : fields)
        QVERIFY2(cutOffPixels(field) <= 0, qPrintable(field->objectName()));
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
    MainWindow *window = &panel->window();
    QCOMPARE(window->qt_metacast("MainWindow"), static_cast<void *>(window));
    QCOMPARE(window->qt_metacast("SmithBasics"),
             static_cast<void *>(static_cast<SmithBasics *>(window)));
    QCOMPARE(window->qt_metacast("QMainWindow"), static_cast<void *>(window));
    QCOMPARE(window->qt_metacast("QObject"), static_cast<void *>(window));
    QCOMPARE(window->qt_metacast("GraphicsScene"), nullptr);
}

QTEST_MAIN(TestWindowLifecycle)
#include "tst_windowlifecycle.moc"
