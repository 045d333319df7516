#include "chart/markeritem.h"

#include "chart/graphicsscene.h"
#include "chart/smithbasics.h"
#include "chartfixture.h"
#include "modaldriver.h"
#include "windowdriver.h"

#include <QApplication>
#include <QClipboard>
#include <QGraphicsLineItem>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPen>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QtMath>

#include <cmath>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(GraphicsScene::Move)

namespace {

bool sameGamma(const complex_dbl &a, const complex_dbl &b)
{
    return std::abs(a - b) < 1e-12;
}

using Move = GraphicsScene::Move;

// The quantity a held move keeps, and the centre of the circle it turns the
// load about, from the textbook forms at Z0 = 50 ohms.
double keptQuantity(Move move, complex_dbl gamma)
{
    const complex_dbl z = 50.0 * (1.0 + gamma) / (1.0 - gamma);
    if (move == Move::Series)
        return z.real();
    if (move == Move::Shunt)
        return (1.0 / z).real();
    return std::abs(gamma);
}

complex_dbl turnCentre(Move move, complex_dbl gamma)
{
    const complex_dbl z = (1.0 + gamma) / (1.0 - gamma);
    if (move == Move::Series)
        return z.real() / (1.0 + z.real());
    if (move == Move::Shunt)
        return -(1.0 / z).real() / (1.0 + (1.0 / z).real());
    return 0.0;
}

} // namespace

// Drags the marker in a view drawn at scale 1, so that one pixel is one scene
// unit and a drag lands exactly on the aimed scene point.
class TestMarkerItem : public ChartFixture
{
    Q_OBJECT

public:
    TestMarkerItem()
        : ChartFixture(Start::OnScreen)
    { }

private slots:
    void looksLikeCrossWithCircle();
    void setGammaPlacesMarkerWithoutReporting_data();
    void setGammaPlacesMarkerWithoutReporting();
    void dragReportsGammaAfterEachMove_data();
    void dragReportsGammaAfterEachMove();
    void dragBackInsideTurnsLineDarkBlue();
    void dragBeyondSquareLeavesLineUntilBack();
    void hoverWithoutButtonReportsNothing();
    void rightButtonDragReportsNothing();
    void heldDragKeepsItsQuantity_data();
    void heldDragKeepsItsQuantity();
    void heldDragsChainAndGoBack();
    void heldKeysTurnByTheirStep_data();
    void heldKeysTurnByTheirStep();
    void snappedLoadFillsTheMarker();

private:
    // The view's pixel nearest to a scene point; at scale 1 a whole scene
    // point is a whole pixel.
    QPoint pixelAt(const QPointF &scenePos) const { return view->mapFromScene(scenePos); }
    // A drag from the marker to a scene point, released there; false if the
    // marker did not follow.
    [[nodiscard]] bool dragTo(const QPointF &scenePos);
    // From the marker to the target in a few moves, the modifiers held throughout.
    [[nodiscard]] bool heldDrag(const QPointF &target, Qt::KeyboardModifiers modifiers);
    void sendPlainMove(const QPointF &scenePos);
    QStringList networkShown() const;
    // Chooses "Diagramm kopieren" in the chart's menu; the picture copied.
    QImage copyChart();
};

QImage TestMarkerItem::copyChart()
{
    QGuiApplication::clipboard()->clear();
    ModalDriver copy;
    copy.chooseFromMenu(u"Diagramm kopieren"_s);
    copy.start();
    QTest::keyClick(view.get(), Qt::Key_F10, Qt::ShiftModifier);
    return QGuiApplication::clipboard()->image();
}

bool TestMarkerItem::dragTo(const QPointF &scenePos)
{
    MarkerDrag drag(*view);
    drag.moveTo(pixelAt(scenePos));
    return drag.markerFollows();
}

bool TestMarkerItem::heldDrag(const QPointF &target, Qt::KeyboardModifiers modifiers)
{
    const QPointF from = marker()->pos();
    MarkerDrag drag(*view, modifiers);
    for (double step = 0.25; step <= 1.0; step += 0.25)
        drag.moveTo(pixelAt(from + step * (target - from)));
    return drag.markerFollows();
}

void TestMarkerItem::sendPlainMove(const QPointF &scenePos)
{
    // QTest turns a move without a button into a cursor move, which the
    // headless platform never delivers; send the event itself instead.
    const QPoint pixel = pixelAt(scenePos);
    QMouseEvent move(QEvent::MouseMove, pixel, view->viewport()->mapToGlobal(pixel), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
}

// The lines of the network that follow the load's summary in the tooltip.
QStringList TestMarkerItem::networkShown() const
{
    static const QRegularExpression numbered(u"^\\d+\\. "_s);
    return marker()->toolTip().split(u'\n').filter(numbered);
}

void TestMarkerItem::looksLikeCrossWithCircle()
{
    QCOMPARE(topLevelItems(*scene()).last(), marker());
    QCOMPARE(marker()->pos(), QPointF(0, 0));
    QCOMPARE(marker()->pen().color(), QColor(0, 100, 0));
    QCOMPARE(marker()->pen().widthF(), 0.4);
    QCOMPARE(marker()->brush().style(), Qt::NoBrush);
    QVERIFY(marker()->flags() & QGraphicsItem::ItemIsMovable);

    const QPainterPath path = marker()->path();
    QCOMPARE(QPointF(path.elementAt(0)), QPointF(-5, -5));
    QCOMPARE(QPointF(path.elementAt(1)), QPointF(5, 5));
    QCOMPARE(QPointF(path.elementAt(2)), QPointF(-5, 5));
    QCOMPARE(QPointF(path.elementAt(3)), QPointF(5, -5));
    QVERIFY(path.elementAt(2).isMoveTo());
    QCOMPARE(path.boundingRect(), QRectF(-5, -5, 10, 10));
    QVERIFY(path.contains(QPointF(1.5, 0)));
    QVERIFY(!path.contains(QPointF(2.5, 0)));
}

void TestMarkerItem::setGammaPlacesMarkerWithoutReporting_data()
{
    QTest::addColumn<complex_dbl>("gamma");
    QTest::addColumn<QPointF>("position");
    QTest::addColumn<QColor>("lineColour");

    // Everywhere a drag could report, the marker follows, and the line is red
    // outside the unit circle; beyond that square the marker stays.
    const QPointF unmoved(-25, 25);
    const QColor inside(Qt::darkBlue);
    const QColor outside(Qt::red);
    QTest::newRow("0.5+j0.5") << complex_dbl(0.5, 0.5) << QPointF(62.5, -62.5) << inside;
    QTest::newRow("-1") << complex_dbl(-1, 0) << QPointF(-125, 0) << inside;
    QTest::newRow("0.6+j0.8, magnitude 1") << complex_dbl(0.6, 0.8) << QPointF(75, -100) << inside;
    QTest::newRow("0.8+j0.8 outside") << complex_dbl(0.8, 0.8) << QPointF(100, -100) << outside;
    QTest::newRow("1+j1, corner of the square")
        << complex_dbl(1, 1) << QPointF(125, -125) << outside;
    QTest::newRow("1.01 beyond the square") << complex_dbl(1.01, 0) << unmoved << inside;
    QTest::newRow("not a number") << complex_dbl(std::nan(""), 0) << unmoved << inside;
    QTest::newRow("infinite") << complex_dbl(INFINITY, 0) << unmoved << inside;
}

void TestMarkerItem::setGammaPlacesMarkerWithoutReporting()
{
    QFETCH(complex_dbl, gamma);
    QFETCH(QPointF, position);
    QFETCH(QColor, lineColour);

    chart->setGamma({-0.2, -0.2});
    QSignalSpy reports(scene(), &GraphicsScene::NewGamma);
    chart->setGamma(gamma);
    QCOMPARE(marker()->pos(), position);
    QCOMPARE(scene()->gammaLineItem()->line(), QLineF(QPointF(), position));
    QCOMPARE(scene()->gammaLineItem()->pen().widthF(), 1.5);
    QCOMPARE(scene()->gammaLineItem()->pen().color(), lineColour);
    QCOMPARE(reports.count(), 0);

    // After a drag outside the circle, a load from the window inside it
    // turns the line blue again and keeps the width the drag gave it.
    QVERIFY(dragTo(QPointF(110, -110)));
    chart->setGamma({0.2, 0.2});
    QCOMPARE(scene()->gammaLineItem()->pen().color(), QColor(Qt::darkBlue));
    QCOMPARE(scene()->gammaLineItem()->pen().widthF(), 1.0);
    QCOMPARE(marker()->pos(), QPointF(25, -25));
}

void TestMarkerItem::dragReportsGammaAfterEachMove_data()
{
    QTest::addColumn<QPointF>("target");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<complex_dbl>("gamma");
    QTest::addColumn<QColor>("lineColour");
    QTest::addColumn<QPointF>("released"); // where the marker stands after the release

    const QColor darkBlue(Qt::darkBlue);
    QTest::newRow("inside the circle")
        << QPointF(50, -25) << true << complex_dbl(0.4, 0.2) << darkBlue << QPointF(50, -25);
    QTest::newRow("corner of the square") << QPointF(110, -110) << true << complex_dbl(0.88, 0.88)
                                          << QColor(Qt::red) << QPointF(110, -110);
    QTest::newRow("edge of the square") << QPointF(-125, 125) << true << complex_dbl(-1, -1)
                                        << QColor(Qt::red) << QPointF(-125, 125);
    QTest::newRow("beyond the square, back to the load")
        << QPointF(130, 0) << false << complex_dbl() << darkBlue << QPointF(0, 0);
}

void TestMarkerItem::dragReportsGammaAfterEachMove()
{
    QFETCH(QPointF, target);
    QFETCH(bool, reported);
    QFETCH(complex_dbl, gamma);
    QFETCH(QColor, lineColour);
    QFETCH(QPointF, released);

    QSignalSpy reports(scene(), &GraphicsScene::NewGamma);
    MarkerDrag drag(*view);
    drag.moveTo(pixelAt(target));
    QCOMPARE(marker()->pos(), target);
    QCOMPARE(reports.count(), reported ? 1 : 0);
    const QGraphicsLineItem *line = scene()->gammaLineItem();
    QCOMPARE(line->pen().color(), lineColour);
    if (reported) {
        QVERIFY(sameGamma(reports.at(0).at(0).value<complex_dbl>(), gamma));
        QCOMPARE(line->line(), QLineF(QPointF(), target));
        QCOMPARE(line->pen().widthF(), 1.0);
        QCOMPARE(line->pen().style(), Qt::SolidLine);
    } else {
        QCOMPARE(line->line(), QLineF(-0.1, 0, 0.1, 0));
    }
    drag.release();
    QCOMPARE(reports.count(), reported ? 1 : 0);
    QCOMPARE(marker()->pos(), released);
}

void TestMarkerItem::dragBackInsideTurnsLineDarkBlue()
{
    QSignalSpy reports(scene(), &GraphicsScene::NewGamma);
    MarkerDrag drag(*view);
    drag.moveTo(pixelAt(QPointF(110, -110)));
    QCOMPARE(scene()->gammaLineItem()->pen().color(), QColor(Qt::red));
    drag.moveTo(pixelAt(QPointF(50, 50)));
    drag.release();

    QCOMPARE(reports.count(), 2);
    QVERIFY(sameGamma(reports.at(1).at(0).value<complex_dbl>(), {0.4, -0.4}));
    const QGraphicsLineItem *line = scene()->gammaLineItem();
    QCOMPARE(line->pen().color(), QColor(Qt::darkBlue));
    QCOMPARE(line->pen().widthF(), 1.0);
    QCOMPARE(line->line(), QLineF(0, 0, 50, 50));
}

void TestMarkerItem::dragBeyondSquareLeavesLineUntilBack()
{
    QSignalSpy reports(scene(), &GraphicsScene::NewGamma);
    MarkerDrag drag(*view);
    drag.moveTo(pixelAt(QPointF(100, 0)));
    drag.moveTo(pixelAt(QPointF(130, -10)));
    QCOMPARE(marker()->pos(), QPointF(130, -10));
    QCOMPARE(reports.count(), 1);
    QCOMPARE(scene()->gammaLineItem()->line(), QLineF(0, 0, 100, 0));
    drag.release();
    QCOMPARE(marker()->pos(), QPointF(100, 0)); // back where the load stopped
    QVERIFY(dragTo(QPointF(-25, 0)));
    QCOMPARE(reports.count(), 2);
    QVERIFY(sameGamma(reports.at(1).at(0).value<complex_dbl>(), {-0.2, 0}));
    QCOMPARE(scene()->gammaLineItem()->line(), QLineF(0, 0, -25, 0));
}

void TestMarkerItem::hoverWithoutButtonReportsNothing()
{
    QSignalSpy reports(scene(), &GraphicsScene::NewGamma);
    sendPlainMove(QPointF(0, 0));
    sendPlainMove(QPointF(1, 1));
    sendPlainMove(QPointF(40, -40));
    QTest::mouseMove(view->viewport(), pixelAt(QPointF(2, 2)));
    QCOMPARE(reports.count(), 0);
    QCOMPARE(marker()->pos(), QPointF(0, 0));
}

void TestMarkerItem::rightButtonDragReportsNothing()
{
    // MarkerDrag drags with the left button only; QTest sends the move with
    // the right button held.
    QSignalSpy reports(scene(), &GraphicsScene::NewGamma);
    QTest::mousePress(view->viewport(), Qt::RightButton, {}, pixelAt(QPointF(0, 0)));
    QTest::mouseMove(view->viewport(), pixelAt(QPointF(50, -50)));
    QTest::mouseRelease(view->viewport(), Qt::RightButton, {}, pixelAt(QPointF(50, -50)));
    QCOMPARE(reports.count(), 0);
    QCOMPARE(marker()->pos(), QPointF(0, 0));
}

void TestMarkerItem::heldDragKeepsItsQuantity_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("pressed");
    QTest::addColumn<Qt::KeyboardModifiers>("held");
    QTest::addColumn<QPointF>("target");
    QTest::addColumn<QString>("element");
    QTest::addColumn<Move>("keeps");
    QTest::addColumn<QString>("menu"); // the mode chosen in the chart's menu first

    // From 100 + j50 ohms (Gamma 0.4 + j0.2) at 100 MHz.
    const Qt::KeyboardModifiers shift(Qt::ShiftModifier);
    const Qt::KeyboardModifiers ctrl(Qt::ControlModifier);
    const Qt::KeyboardModifiers both = shift | ctrl;
    const Qt::KeyboardModifiers none;
    QTest::newRow("Shift, down: series C")
        << shift << shift << QPointF(40, 30) << u"1. Serien-C 16,43 pF"_s << Move::Series
        << QString();
    QTest::newRow("Shift, up: series L")
        << shift << shift << QPointF(70, -60) << u"1. Serien-L"_s << Move::Series << QString();
    QTest::newRow("Ctrl, down: shunt C")
        << ctrl << ctrl << QPointF(20, 40) << u"1. Parallel-C"_s << Move::Shunt << QString();
    QTest::newRow("Ctrl, up: shunt L")
        << ctrl << ctrl << QPointF(10, -60) << u"1. Parallel-L"_s << Move::Shunt << QString();
    QTest::newRow("Ctrl+Shift: line")
        << both << both << QPointF(-40, -30) << u"1. Leitung 0,338 λ"_s << Move::Line << QString();
    QTest::newRow("Shift let go: still series")
        << shift << none << QPointF(40, 30) << u"1. Serien-C 16,43 pF"_s << Move::Series
        << QString();
    QTest::newRow("plain, series mode")
        << none << none << QPointF(40, 30) << u"1. Serien-C 16,43 pF"_s << Move::Series
        << u"Serienelement (R konstant)"_s;
    QTest::newRow("plain, shunt mode") << none << none << QPointF(10, -60) << u"1. Parallel-L"_s
                                       << Move::Shunt << u"Parallelelement (G konstant)"_s;
    QTest::newRow("plain, line mode")
        << none << none << QPointF(-40, -30) << u"1. Leitung 0,338 λ"_s << Move::Line
        << u"Leitung (|Γ| konstant)"_s;
}

// While a modifier holds the drag to a circle, the load keeps its R, G or |Γ|
// and the tooltip names the element with its value.
void TestMarkerItem::heldDragKeepsItsQuantity()
{
    QFETCH(Qt::KeyboardModifiers, pressed);
    QFETCH(Qt::KeyboardModifiers, held);
    QFETCH(QPointF, target);
    QFETCH(QString, element);
    QFETCH(Move, keeps);
    QFETCH(QString, menu);
    const complex_dbl load(0.4, 0.2);
    chart->setGamma(load);
    chart->setMatchingFrequency(1e8);
    if (!menu.isEmpty()) {
        ModalDriver choose;
        choose.chooseFromMenu(menu);
        choose.start();
        QTest::keyClick(view.get(), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(choose.stepsDone(), 1);
    }
    QSignalSpy reports(scene(), &GraphicsScene::NewGamma);

    MarkerDrag drag(*view, pressed);
    drag.moveTo(pixelAt((marker()->pos() + target) / 2), held);
    drag.moveTo(pixelAt(target), held);
    drag.release();

    QVERIFY(reports.count() >= 1);
    const complex_dbl moved = reports.last().at(0).value<complex_dbl>();
    QVERIFY(std::abs(moved - load) > 0.05);
    const double kept = keptQuantity(keeps, load);
    QVERIFY2(std::abs(keptQuantity(keeps, moved) - kept) <= 1e-9 * kept,
             qPrintable(QString::number(keptQuantity(keeps, moved), 'g', 17)));
    QCOMPARE(marker()->pos(), GraphicsScene::scenePoint(moved));
    const QStringList network = networkShown();
    QCOMPARE(network.size(), 1);
    QVERIFY2(network.first().startsWith(element), qPrintable(network.first()));
}

// Two held drags chain into a network of two elements; Ctrl+Z takes the last
// back, the chart's menu clears the rest, and a free drag ends a path.
void TestMarkerItem::heldDragsChainAndGoBack()
{
    const complex_dbl load(0.4, 0.2);
    chart->setGamma(load);
    chart->setMatchingFrequency(1e8);
    QSignalSpy reports(scene(), &GraphicsScene::NewGamma);

    QVERIFY(heldDrag(QPointF(35, 55), Qt::ControlModifier));
    const complex_dbl afterShunt = reports.last().at(0).value<complex_dbl>();
    QVERIFY(heldDrag(QPointF(0, 0), Qt::ShiftModifier));
    QCOMPARE(networkShown().size(), 2);
    QVERIFY(networkShown().at(0).startsWith(u"1. Parallel-C"_s));
    QVERIFY(networkShown().at(1).startsWith(u"2. Serien-L"_s));
    const complex_dbl matched = reports.last().at(0).value<complex_dbl>();
    QVERIFY(std::abs(keptQuantity(Move::Series, matched) - keptQuantity(Move::Series, afterShunt))
            <= 1e-9 * keptQuantity(Move::Series, afterShunt));
    QVERIFY(view->accessibleDescription().endsWith(marker()->toolTip()));

    // A copy for a worksheet: the chart 1600 pixels square with the words
    // below it, and the same words as text; the circle of the held mode is
    // left out, so the copy is the same without the mode.
    const QRectF shown = scene()->viewedRect();
    const double scale = 1600 / std::max(shown.width(), shown.height());
    scene()->setMatchingMode(GraphicsScene::Move::Series);
    const QImage withMode = copyChart();
    QCOMPARE(withMode.width(), 1600);
    QVERIFY(withMode.height() > 1600);
    QCOMPARE(QGuiApplication::clipboard()->text().split(u'\n'),
             QStringList {u"Z0 = 50,0 Ω · f = 100,000 MHz"_s} + marker()->toolTip().split(u'\n'));
    scene()->setMatchingMode(std::nullopt);
    const QImage withoutMode = copyChart();
    // The load is matched: the series circle is r = 1, through the centre.
    for (int degrees = 0; degrees < 360; degrees += 10) {
        const double angle = qDegreesToRadians(double(degrees));
        const QPointF onCircle(62.5 + 62.5 * std::cos(angle), 62.5 * std::sin(angle));
        const QPoint pixel = (QPointF(800, 800) + scale * onCircle).toPoint();
        QCOMPARE(withMode.pixel(pixel), withoutMode.pixel(pixel));
    }

    QTest::keyClick(view.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(reports.last().at(0).value<complex_dbl>(), afterShunt);
    QCOMPARE(networkShown().size(), 1);

    ModalDriver menu;
    menu.chooseFromMenu(u"Anpassung löschen"_s);
    menu.start();
    QTest::keyClick(view.get(), Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(menu.stepsDone(), 1);
    QCOMPARE(reports.last().at(0).value<complex_dbl>(), load);
    QCOMPARE(marker()->pos(), GraphicsScene::scenePoint(load));
    QVERIFY(networkShown().isEmpty());

    QVERIFY(heldDrag(QPointF(50, -60), Qt::ShiftModifier));
    QCOMPARE(networkShown().size(), 1);
    QVERIFY(dragTo(QPointF(10, 10)));
    QVERIFY(networkShown().isEmpty());
    // The press lands on the pixel nearest to the marker.
    QVERIFY(std::abs(reports.last().at(0).value<complex_dbl>() - complex_dbl(0.08, -0.08)) < 0.01);
}

void TestMarkerItem::heldKeysTurnByTheirStep_data()
{
    QTest::addColumn<Move>("mode");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<double>("clockwise"); // degrees about the circle's centre

    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers fine(Qt::ShiftModifier);
    const Qt::KeyboardModifiers coarse(Qt::ControlModifier);
    QTest::newRow("series/Right") << Move::Series << int(Qt::Key_Right) << none << 1.0;
    QTest::newRow("series/Left") << Move::Series << int(Qt::Key_Left) << none << -1.0;
    QTest::newRow("series/Shift+Up") << Move::Series << int(Qt::Key_Up) << fine << 0.1;
    QTest::newRow("series/Ctrl+Down") << Move::Series << int(Qt::Key_Down) << coarse << -10.0;
    QTest::newRow("shunt/Up") << Move::Shunt << int(Qt::Key_Up) << none << 1.0;
    QTest::newRow("shunt/Shift+Left") << Move::Shunt << int(Qt::Key_Left) << fine << -0.1;
    QTest::newRow("shunt/Ctrl+Right") << Move::Shunt << int(Qt::Key_Right) << coarse << 10.0;
    QTest::newRow("line/Down") << Move::Line << int(Qt::Key_Down) << none << -1.0;
    QTest::newRow("line/Shift+Right") << Move::Line << int(Qt::Key_Right) << fine << 0.1;
    QTest::newRow("line/Ctrl+Up") << Move::Line << int(Qt::Key_Up) << coarse << 10.0;
}

// In a held mode an arrow key turns the load about its circle's centre, Up
// and Right clockwise, by 1 degree, with Shift 0.1 and with Ctrl 10; from
// 100 + j50 ohms no point to land on lies that near.
void TestMarkerItem::heldKeysTurnByTheirStep()
{
    QFETCH(Move, mode);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(double, clockwise);
    const complex_dbl load(0.4, 0.2);
    chart->setGamma(load);
    scene()->setMatchingMode(mode);
    QSignalSpy reports(scene(), &GraphicsScene::NewGamma);
    QTest::keyClick(view.get(), Qt::Key(key), modifiers);
    QCOMPARE(reports.count(), 1);
    const complex_dbl centre = turnCentre(mode, load);
    const complex_dbl turned = reports.last().at(0).value<complex_dbl>();
    const double degrees = qRadiansToDegrees(-std::arg((turned - centre) / (load - centre)));
    QVERIFY2(std::abs(degrees - clockwise) < 1e-9, qPrintable(QString::number(degrees)));
}

// A held drag that ends near the match of 100 + j50 ohms on R = 50 ohms, at
// scene (34.09, 55.67), lands on it and fills the marker's circle on the
// screen; a free drag takes the fill away; a held key stops on the real axis;
// and with "Einrasten" off in the chart's menu the same drag lands where it
// is aimed.
void TestMarkerItem::snappedLoadFillsTheMarker()
{
    const complex_dbl load(0.4, 0.2);
    chart->setGamma(load);
    QVERIFY(heldDrag(QPointF(35, 55), Qt::ControlModifier));
    QVERIFY(marker()->showsSnapped());
    QCOMPARE(marker()->brush(), QBrush(marker()->pen().color()));
    const QImage filled = view->viewport()->grab().toImage();
    marker()->showSnapped(false);
    QVERIFY(view->viewport()->grab().toImage() != filled);

    chart->setGamma(load);
    QVERIFY(heldDrag(QPointF(35, 55), Qt::ControlModifier));
    QVERIFY(marker()->showsSnapped());
    QVERIFY(dragTo(QPointF(10, 10)));
    QVERIFY(!marker()->showsSnapped());

    // From 26,6 degrees, the third turn of 10 degrees clockwise stops on the real axis.
    chart->setGamma(load);
    scene()->setMatchingMode(Move::Line);
    for (int press = 0; press < 3; ++press)
        QTest::keyClick(view.get(), Qt::Key_Up, Qt::ControlModifier);
    QVERIFY(marker()->showsSnapped());
    QCOMPARE(marker()->pos().y(), 0.0);

    chart->setGamma(load);
    ModalDriver menu;
    menu.chooseFromMenu(u"Einrasten"_s);
    menu.start();
    QTest::keyClick(view.get(), Qt::Key_F10, Qt::ShiftModifier);
    QVERIFY(!scene()->snapping());
    QVERIFY(heldDrag(QPointF(35, 55), Qt::ControlModifier));
    QVERIFY(!marker()->showsSnapped());
    QVERIFY(std::abs(keptQuantity(Move::Series, GraphicsScene::gammaAt(marker()->pos())) - 50.0)
            > 0.1);
}

QTEST_MAIN(TestMarkerItem)
#include "tst_markeritem.moc"
