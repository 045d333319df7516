#include "windowtest.h"

#include "app/mainwindow.h"
#include "chart/graphicsscene.h"
#include "chart/markeritem.h"

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QGraphicsLineItem>
#include <QGuiApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include <cmath>
#include <complex>

using namespace Qt::StringLiterals;

namespace {

// Counts the hide events of the watched window.
class HideCounter : public QObject
{
public:
    int hides = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            ++hides;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

// The open and the short circuit, loads outside the unit circle and other
// corners where the arithmetic has no number: no input may leave Gamma
// without a finite value, and a new Z0 keeps the window open.
class TestEdgePoints : public WindowTest
{
    Q_OBJECT

private slots:
    void everyInputKeepsGammaFinite_data();
    void everyInputKeepsGammaFinite();
    void limitsAtTheEdges_data();
    void limitsAtTheEdges();
    void losslessLoadStaysLossless_data();
    void losslessLoadStaysLossless();
    void unusableLoadIsRejected();
    void newZ0KeepsWindowOpen();

private:
    void startAt(const QString &start);
};

void TestEdgePoints::startAt(const QString &start)
{
    if (start == u"open")
        panel->enterGamma(1.0, 0.0);
    else if (start == u"short")
        panel->enterGamma(-1.0, 0.0);
    else if (start == u"outside 1+1j")
        panel->enterGamma(1.0, 1.0);
    else if (start == u"outside -1-1j")
        panel->enterGamma(-1.0, -1.0);
}

void TestEdgePoints::everyInputKeepsGammaFinite_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("input");
    // Every slider of the kit's list a page up and then to its minimum (G to
    // its maximum, the logarithmic XS and XP only a page down); the frequency
    // slider only to its minimum.
    QList<std::pair<QString, QString>> inputs;
    const QHash<QString, QString> secondKey = {
        {u"QS_G"_s, u"End"_s}, {u"QS_XS"_s, u"PageDown"_s}, {u"QS_XP"_s, u"PageDown"_s}};
    for (const QString &slider : WindowDriver::sliderNames()) {
        if (slider != u"QS_F")
            inputs.append({slider, u"PageUp"_s});
        inputs.append({slider, secondKey.value(slider, u"Home"_s)});
    }
    // Every field a usable entry; the element fields also 0 and the other kind.
    inputs += {
        {u"LED_R"_s, u"25"_s},       {u"LED_X"_s, u"-30"_s},      {u"LED_G"_s, u"10 mS"_s},
        {u"LED_B"_s, u"5 mS"_s},     {u"LED_RS"_s, u"25"_s},      {u"LED_XS"_s, u"10 nF"_s},
        {u"LED_XS"_s, u"0 F"_s},     {u"LED_XS"_s, u"1 µH"_s},    {u"LED_RP"_s, u"25"_s},
        {u"LED_XP"_s, u"10 nF"_s},   {u"LED_XP"_s, u"0 H"_s},     {u"LED_XP"_s, u"1 µH"_s},
        {u"LED_FREQUENZ"_s, u"0"_s}, {u"LED_GAMMAR"_s, u"0,5"_s}, {u"LED_GAMMAI"_s, u"-0,5"_s},
        {u"LED_GAMMAM"_s, u"0,5"_s}, {u"LED_GAMMAP"_s, u"45"_s},  {u"LED_Z0"_s, u"75"_s},
        {u"LED_Z0"_s, u"0"_s},
    };
    for (const QString &start : {u"open"_s, u"short"_s, u"outside 1+1j"_s, u"outside -1-1j"_s}) {
        for (const auto &[control, input] : inputs) {
            QTest::addRow("%s, %s %s", qPrintable(start), qPrintable(control), qPrintable(input))
                << start << control << input;
        }
    }
}

// After the input, and after element entries at 0 Hz that follow it, Gamma is
// finite and a further entry still works.
void TestEdgePoints::everyInputKeepsGammaFinite()
{
    QFETCH(QString, start);
    QFETCH(QString, control);
    QFETCH(QString, input);
    startAt(start);

    apply(control, input);
    QVERIFY2(panel->gammaShownFinite(), qPrintable(panel->text(u"LED_GAMMAR"_s)));
    panel->enter(u"LED_XS"_s, u"1 nF"_s);
    QVERIFY(panel->gammaShownFinite());
    panel->enter(u"LED_XP"_s, u"1 µH"_s);
    QVERIFY(panel->gammaShownFinite());
    panel->pressKey(u"QS_R"_s, Qt::Key_PageUp);
    QVERIFY(panel->gammaShownFinite());

    panel->enter(u"LED_Z0"_s, u"50"_s);
    panel->enterGamma(0.2, 0.4);
    QCOMPARE(panel->text(u"LED_R"_s), u"50,00 Ω"_s);
    QCOMPARE(panel->text(u"LED_X"_s), u"50,00 jΩ"_s);
}

void TestEdgePoints::limitsAtTheEdges_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("controls");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("gammaR");
    QTest::addColumn<QString>("gammaI");
    // The undefined reactance of the open circuit counts as 0: R = T[0].
    QTest::newRow("open, R to bottom") << u"open"_s << QStringList {u"QS_R"_s}
                                       << QStringList {u"Home"_s} << u"-0,992"_s << u"0,000"_s;
    // A finite reactance in series with the open circuit leaves it open.
    QTest::newRow("open, X moved") << u"open"_s << QStringList {u"QS_X"_s}
                                   << QStringList {u"PageUp"_s} << u"1,000"_s << u"0,000"_s;
    QTest::newRow("open, RS 25") << u"open"_s << QStringList {u"LED_RS"_s} << QStringList {u"25"_s}
                                 << u"-0,333"_s << u"0,000"_s;
    QTest::newRow("open, XS 10 nF") << u"open"_s << QStringList {u"LED_XS"_s}
                                    << QStringList {u"10 nF"_s} << u"1,000"_s << u"0,000"_s;
    QTest::newRow("open, RP 25") << u"open"_s << QStringList {u"LED_RP"_s} << QStringList {u"25"_s}
                                 << u"-0,333"_s << u"0,000"_s;
    // The undefined susceptance of the short counts as 0: G = 1/T[199].
    QTest::newRow("short, G to bottom") << u"short"_s << QStringList {u"QS_G"_s}
                                        << QStringList {u"Home"_s} << u"0,992"_s << u"0,000"_s;
    // A finite susceptance beside the short leaves it short.
    QTest::newRow("short, B moved") << u"short"_s << QStringList {u"QS_B"_s}
                                    << QStringList {u"PageUp"_s} << u"-1,000"_s << u"0,000"_s;
    QTest::newRow("short, XP 1 µH") << u"short"_s << QStringList {u"LED_XP"_s}
                                    << QStringList {u"1 µH"_s} << u"-1,000"_s << u"0,000"_s;
    // A capacitor of 0 F, or any capacitor at 0 Hz, in series is an open circuit.
    QTest::newRow("matched, XS 0 F") << u"matched"_s << QStringList {u"LED_XS"_s}
                                     << QStringList {u"0 F"_s} << u"1,000"_s << u"0,000"_s;
    QTest::newRow("0 Hz, XS 1 nF") << u"matched"_s << QStringList {u"LED_FREQUENZ"_s, u"LED_XS"_s}
                                   << QStringList {u"0"_s, u"1 nF"_s} << u"1,000"_s << u"0,000"_s;
    // An inductor at 0 Hz in parallel is a short circuit.
    QTest::newRow("0 Hz, XP 1 µH") << u"matched"_s << QStringList {u"LED_FREQUENZ"_s, u"LED_XP"_s}
                                   << QStringList {u"0"_s, u"1 µH"_s} << u"-1,000"_s << u"0,000"_s;
    // No admittance at all is the open circuit.
    QTest::newRow("G 0 and B 0") << u"matched"_s << QStringList {u"LED_B"_s, u"LED_G"_s}
                                 << QStringList {u"0"_s, u"0"_s} << u"1,000"_s << u"0,000"_s;
    // The keys on the chart move the load as a drag does, within the square
    // around the unit circle.
    const QStringList chart {u"QGV_Chart"_s};
    QTest::newRow("chart, Right") << u"matched"_s << chart << QStringList {u"Right"_s} << u"0,010"_s
                                  << u"0,000"_s;
    QTest::newRow("chart, Shift+Up")
        << u"matched"_s << chart << QStringList {u"Shift+Up"_s} << u"0,000"_s << u"0,001"_s;
    QTest::newRow("chart, Ctrl+Left, Ctrl+Down")
        << u"matched"_s << chart << QStringList {u"Ctrl+Left, Ctrl+Down"_s} << u"-0,100"_s
        << u"-0,100"_s;
    QTest::newRow("chart, open, Right beyond the edge")
        << u"open"_s << chart << QStringList {u"Right"_s} << u"1,000"_s << u"0,000"_s;
    QTest::newRow("chart, open, Up outside the circle")
        << u"open"_s << chart << QStringList {u"Up"_s} << u"1,000"_s << u"0,010"_s;
    QTest::newRow("chart, short, Ctrl+Left beyond the edge")
        << u"short"_s << chart << QStringList {u"Ctrl+Left"_s} << u"-1,000"_s << u"0,000"_s;
    QTest::newRow("chart, short, Shift+Right")
        << u"short"_s << chart << QStringList {u"Shift+Right"_s} << u"-0,999"_s << u"0,000"_s;
    QTest::newRow("chart, open, Home")
        << u"open"_s << chart << QStringList {u"Home"_s} << u"0,000"_s << u"0,000"_s;
}

void TestEdgePoints::limitsAtTheEdges()
{
    QFETCH(QString, start);
    QFETCH(QStringList, controls);
    QFETCH(QStringList, inputs);
    QFETCH(QString, gammaR);
    QFETCH(QString, gammaI);
    startAt(start);

    for (qsizetype i = 0; i < controls.size(); ++i)
        apply(controls.at(i), inputs.at(i));

    QCOMPARE(panel->text(u"LED_GAMMAR"_s), gammaR);
    QCOMPARE(panel->text(u"LED_GAMMAI"_s), gammaI);
    if (controls.constLast().startsWith(u"LED_"))
        QVERIFY(!panel->isRed(controls.constLast()));
    if (controls.constLast() == u"QGV_Chart") {
        const complex_dbl shown = panel->shownGamma();
        QVERIFY(std::abs(*panel->markerGamma() - shown) < 5e-4);
        const bool outside = std::abs(shown) > 1.0;
        QCOMPARE(panel->window().chartScene()->gammaLineItem()->pen().color(),
                 QColor(outside ? Qt::red : Qt::darkBlue));
    }
}

void TestEdgePoints::losslessLoadStaysLossless_data()
{
    QTest::addColumn<QStringList>("controls");
    QTest::addColumn<QStringList>("inputs");
    const QStringList rx {u"LED_R"_s, u"LED_X"_s};
    QTest::newRow("typed R 0, X 30") << rx << QStringList {u"0"_s, u"30"_s};
    QTest::newRow("typed R 0, X -75") << rx << QStringList {u"0"_s, u"-75"_s};
    QTest::newRow("typed R 0, X 5 kΩ, near the open circuit")
        << rx << QStringList {u"0"_s, u"5 kΩ"_s};
    QTest::newRow("typed R 0, X 1, near the short circuit") << rx << QStringList {u"0"_s, u"1"_s};
    const QStringList polar {u"LED_GAMMAR"_s, u"LED_GAMMAI"_s, u"LED_GAMMAM"_s};
    QTest::newRow("magnitude 1 at 53,1°") << polar << QStringList {u"0,3"_s, u"0,4"_s, u"1"_s};
    QTest::newRow("magnitude 1 at -153,4°") << polar << QStringList {u"-0,2"_s, u"-0,1"_s, u"1"_s};
    QTest::newRow("dragged to the rim at 120°")
        << QStringList {u"drag"_s} << QStringList {u"120"_s};
    QTest::newRow("dragged to the rim at -10°")
        << QStringList {u"drag"_s} << QStringList {u"-10"_s};
    QTest::newRow("keys to 0,6 + j0,8")
        << QStringList {u"QGV_Chart"_s}
        << QStringList {u"Ctrl+Right, Ctrl+Right, Ctrl+Right, Ctrl+Right, Ctrl+Right, "
                        u"Ctrl+Right, Ctrl+Up, Ctrl+Up, Ctrl+Up, Ctrl+Up, Ctrl+Up, Ctrl+Up, "
                        u"Ctrl+Up, Ctrl+Up"_s};
}

// On the outer circle the load has no resistance and no conductance, however
// it got there: not a trace of either sign that the rounding left.
void TestEdgePoints::losslessLoadStaysLossless()
{
    QFETCH(QStringList, controls);
    QFETCH(QStringList, inputs);
    for (qsizetype i = 0; i < controls.size(); ++i) {
        if (controls.at(i) != u"drag") {
            apply(controls.at(i), inputs.at(i));
            continue;
        }
        // Where a drag step leaves the marker, the scene takes the load from.
        GraphicsScene *scene = panel->window().chartScene();
        scene->markerGraphic()->setPos(GraphicsScene::scenePoint(
            std::polar(1.0, inputs.at(i).toDouble() * 3.141592653589793 / 180.0)));
        QVERIFY(scene->markerMoved());
    }

    QCOMPARE(panel->text(u"LED_R"_s), u"0,00 mΩ"_s);
    QCOMPARE(panel->text(u"LED_RS"_s), u"0,00 mΩ"_s);
    QCOMPARE(panel->text(u"LED_G"_s), u"0,0 mS"_s);
    QCOMPARE(panel->text(u"LED_RP"_s), u"inf GΩ"_s);
    QCOMPARE(panel->position(u"QS_R"_s), 5);
    QCOMPARE(panel->position(u"QS_RS"_s), 5);
    QCOMPARE(panel->position(u"QS_G"_s), 0);
    QCOMPARE(panel->position(u"QS_RP"_s), 1000);
}

// At a frequency of 1e308 Hz an inductance of 0 H has the reactance
// infinity times 0, which gives no load at all: that entry is refused.
void TestEdgePoints::unusableLoadIsRejected()
{
    panel->enterGamma(0.5, 0.0);
    panel->enter(u"LED_FREQUENZ"_s, u"1e308"_s);
    panel->enter(u"LED_XS"_s, u"0 H"_s);
    QVERIFY(panel->isRed(u"LED_XS"_s));
    QCOMPARE(panel->text(u"LED_GAMMAR"_s), u"0,500"_s);
    QVERIFY(panel->gammaShownFinite());
    QVERIFY(
        panel->field(u"LED_XS"_s)
            ->toolTip()
            .contains(u"Nicht übernommen: „0 H“: ergibt keinen endlichen Reflexionsfaktor Γ"_s));
}

void TestEdgePoints::newZ0KeepsWindowOpen()
{
    MainWindow &window = panel->window();
    panel->enterGamma(0.0, 0.5);
    const QRect geometry = window.geometry();
    HideCounter hideCounter;
    window.installEventFilter(&hideCounter);
    QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);

    panel->enter(u"LED_Z0"_s, u"75"_s);

    QVERIFY(window.isVisible());
    QCOMPARE(hideCounter.hides, 0);
    QCOMPARE(lastWindowClosed.count(), 0);
    QCOMPARE(window.geometry(), geometry);
    QVERIFY(panel->field(u"LED_Z0"_s)->hasFocus());
    QVERIFY(window.isReady());
    // Gamma is kept: 0.5j against 75 ohms is 45 + j60 ohms, and the slider
    // scale now belongs to 75 ohms.
    QCOMPARE(panel->text(u"LED_X"_s), u"60,00 jΩ"_s);
    QCOMPARE(panel->position(u"QS_R"_s),
             Expected::sliderPositions({0.0, 0.5}, 75.0).value(u"QS_R"_s));
    QCOMPARE(panel->position(u"QS_R"_s), 350);
    window.removeEventFilter(&hideCounter);
}

QTEST_MAIN(TestEdgePoints)
#include "tst_edgepoints.moc"
