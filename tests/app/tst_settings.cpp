#include "app/mainwindow.h"
#include "chart/graphicsscene.h"
#include "chart/markeritem.h"
#include "throwawaysettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsItemGroup>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QRegularExpression>
#include <QSettings>
#include <QSlider>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void emptyStoreGivesDefaults();
    void valuesSurviveARestart();
    void storeHoldsExactlyItsKeys();
    void snappingIsOnUnlessStoredOff_data();
    void snappingIsOnUnlessStoredOff();
    void corruptedStore_data();
    void corruptedStore();
    void pathDrawnOnARefusedZ0IsDropped();
    void fullPathTakesNoFurtherElement();
    void storedExercise_data();
    void storedExercise();
    void garbageGeometryLeavesFormSize();
    void unwritableStoreDoesNotStopTheExit();
};

namespace {

// The size the main window's form gives it.
const QSize formSize(940, 715);

// The keys of the chart's values in the store.
const QString z0Key = QStringLiteral("SmithChart/Z0");
const QString gammaRKey = QStringLiteral("SmithChart/GAMMAR");
const QString gammaIKey = QStringLiteral("SmithChart/GAMMAI");
const QString frequencyKey = QStringLiteral("SmithChart/Frequency");
const QString swrKeys[3] = {QStringLiteral("SmithChart/SWR1"), QStringLiteral("SmithChart/SWR2"),
                            QStringLiteral("SmithChart/SWR3")};
const QString snappingKey = QStringLiteral("Anpassung/Einrasten");
const QString lineImpedanceKey = QStringLiteral("Anpassung/Leitungsimpedanz");
const QString pathKey = QStringLiteral("Anpassung/Pfad");
const QString shuntKey = QStringLiteral("Anpassung/Parallelelemente");
const QString seriesKey = QStringLiteral("Anpassung/Serienelemente");
// 100 ohms, a shunt -10 mS to 50 + j50 ohms, a series -50 ohms to the
// match: a whole path to the default load, Γ = 0 on 50 ohms.
const QString wholePath = QStringLiteral("100 0;P -0.01;S -50");
const QString bandKey = QStringLiteral("Anpassung/Frequenzband");
const QString loadCircuitKey = QStringLiteral("Anpassung/Last");
const QString qCirclesKey = QStringLiteral("Anpassung/QKreise");
const QString exerciseKey = QStringLiteral("Anpassung/Aufgabe");

using StoredValues = QList<QPair<QString, QVariant>>;

QString configFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Quenlit Freeware");
}

QString storePath()
{
    return configFolder() + QStringLiteral("/Velmora.conf");
}

// What the exit stored: a number, or for the path the number of its elements.
double storedValue(const QString &key)
{
    const QVariant value = QSettings(storePath(), QSettings::IniFormat)
                               .value(key, std::numeric_limits<double>::quiet_NaN());
    if (key != pathKey)
        return value.toDouble();
    const QString path = value.toString();
    return path.isEmpty() ? 0.0 : static_cast<double>(path.count(u';'));
}

// n elements that give the load back: a series +1 ohm and -1 ohm in turn.
QString pathOfLength(int elements)
{
    QString path = QStringLiteral("50 0");
    for (int i = 0; i < elements; ++i)
        path += i % 2 == 0 ? QStringLiteral(";S 1") : QStringLiteral(";S -1");
    return path;
}

void writeStore(const StoredValues &entries)
{
    QSettings store(storePath(), QSettings::IniFormat);
    for (const auto &[key, value] : entries)
        store.setValue(key, value);
}

// One run of the program: construct the window, let the start-up settle, exit.
void runOnce()
{
    MainWindow window;
    QCoreApplication::processEvents();
}

template<typename Widget> Widget *control(const MainWindow &window, const char *name)
{
    return window.findChild<Widget *>(QLatin1String(name));
}

GraphicsScene *chart(const MainWindow &window)
{
    return qobject_cast<GraphicsScene *>(control<QGraphicsView>(window, "QGV_Chart")->scene());
}

QStringList smithLabels(const MainWindow &window)
{
    QStringList labels;
    for (QGraphicsItem *item : chart(window)->smithGridGroup()->childItems()) {
        if (const auto *label = dynamic_cast<QGraphicsSimpleTextItem *>(item))
            labels.append(label->text());
    }
    return labels;
}

QPointF markerCentre(const MainWindow &window)
{
    return chart(window)->markerGraphic()->sceneBoundingRect().center();
}

} // namespace

void TestSettings::initTestCase()
{
    useThrowAwaySettings(); // init() empties the store folder
    QCoreApplication::setOrganizationName(QStringLiteral("Quenlit Freeware"));
    QCoreApplication::setApplicationName(QStringLiteral("Velmora"));
}

void TestSettings::init()
{
    QFile::remove(configFolder());
    QDir(configFolder()).removeRecursively();
}

void TestSettings::emptyStoreGivesDefaults()
{
    {
        const MainWindow window;
        QCOMPARE(window.size(), formSize);
        QCOMPARE(control<QDoubleSpinBox>(window, "SPB_SWR1")->value(), 1.0);
        QCOMPARE(control<QDoubleSpinBox>(window, "SPB_SWR2")->value(), 1.0);
        QCOMPARE(control<QDoubleSpinBox>(window, "SPB_SWR3")->value(), 1.0);
        QVERIFY((markerCentre(window) - QPointF(0.0, 0.0)).manhattanLength() < 1.0);
    }
    const StoredValues defaults {{z0Key, 50.0},
                                 {gammaRKey, 0.0},
                                 {gammaIKey, 0.0},
                                 {frequencyKey, 1.0e6},
                                 {swrKeys[0], 1.0}};
    for (const auto &[key, value] : defaults)
        QCOMPARE(storedValue(key), value.toDouble());
}

void TestSettings::valuesSurviveARestart()
{
    runOnce();
    const StoredValues stored {{z0Key, 75.0},          {gammaRKey, 0.2},  {gammaIKey, -0.1},
                               {frequencyKey, 10.0e6}, {swrKeys[0], 2.0}, {swrKeys[1], 1.0},
                               {swrKeys[2], 3.0}};
    writeStore(stored);
    {
        MainWindow window;
        QCOMPARE(control<QDoubleSpinBox>(window, "SPB_SWR1")->value(), 2.0);
        QCOMPARE(control<QDoubleSpinBox>(window, "SPB_SWR2")->value(), 1.0);
        QCOMPARE(control<QDoubleSpinBox>(window, "SPB_SWR3")->value(), 3.0);
        QCOMPARE(control<QSlider>(window, "QS_OPACITY")->value(), 0);
        // Gamma 0.2 - j0.1 stands 125 scene units per unit right of and below the centre.
        const QPointF offset = markerCentre(window) - QPointF(25.0, 12.5);
        QVERIFY2(offset.manhattanLength() < 1.0, qPrintable(QString::number(offset.x())));
        const QStringList labels = smithLabels(window);
        QVERIFY2(labels.filter(QRegularExpression(QStringLiteral("^75\\b"))).size() > 0,
                 qPrintable(labels.join(u'|')));
        QVERIFY(labels.filter(QRegularExpression(QStringLiteral("^50\\b"))).isEmpty());
    }
    // The exit writes back what the start read.
    for (const auto &[key, value] : stored)
        QCOMPARE(storedValue(key), value.toDouble());
}

void TestSettings::storeHoldsExactlyItsKeys()
{
    runOnce();
    QStringList keys = QSettings(storePath(), QSettings::IniFormat).allKeys();
    keys.sort();
    QCOMPARE(
        keys,
        QStringList({exerciseKey, snappingKey, bandKey, loadCircuitKey, lineImpedanceKey, shuntKey,
                     pathKey, qCirclesKey, seriesKey, QStringLiteral("Program/geometry"),
                     QStringLiteral("Program/windowState"), frequencyKey, gammaIKey, gammaRKey,
                     swrKeys[0], swrKeys[1], swrKeys[2], z0Key}));
}

void TestSettings::snappingIsOnUnlessStoredOff_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("on");
    QTest::newRow("absent") << QString() << true;
    QTest::newRow("false") << QStringLiteral("false") << false;
    QTest::newRow("true") << QStringLiteral("true") << true;
    QTest::newRow("text") << QStringLiteral("nein") << true;
}

// The chart snaps held moves as stored, and the exit stores what it does.
void TestSettings::snappingIsOnUnlessStoredOff()
{
    QFETCH(QString, stored);
    QFETCH(bool, on);
    if (!stored.isNull())
        writeStore({{snappingKey, stored}});
    {
        MainWindow window;
        QCOMPARE(chart(window)->snapping(), on);
        chart(window)->setSnapping(!on);
    }
    QCOMPARE(QSettings(storePath(), QSettings::IniFormat).value(snappingKey).toBool(), !on);
}

void TestSettings::corruptedStore_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<double>("loaded");
    // Text that does not convert reads as 0; values that are not finite count
    // as absent, and so does a Z0 outside 0.1 ... 10 000 ohms.
    QTest::newRow("Z0 text") << z0Key << QStringLiteral("fifty") << 50.0;
    QTest::newRow("Z0 empty") << z0Key << QString() << 50.0;
    QTest::newRow("Z0 nan") << z0Key << QStringLiteral("nan") << 50.0;
    QTest::newRow("Z0 inf") << z0Key << QStringLiteral("inf") << 50.0;
    QTest::newRow("Z0 -5") << z0Key << QStringLiteral("-5") << 50.0;
    QTest::newRow("Z0 1e999") << z0Key << QStringLiteral("1e999") << 50.0;
    QTest::newRow("Z0 0") << z0Key << QStringLiteral("0") << 50.0;
    QTest::newRow("Z0 0.099") << z0Key << QStringLiteral("0.099") << 50.0;
    QTest::newRow("Z0 0.1 kept") << z0Key << QStringLiteral("0.1") << 0.1;
    QTest::newRow("Z0 10000 kept") << z0Key << QStringLiteral("10000") << 10000.0;
    QTest::newRow("Z0 10000.5") << z0Key << QStringLiteral("10000.5") << 50.0;
    QTest::newRow("GAMMAR nan") << gammaRKey << QStringLiteral("nan") << 0.0;
    QTest::newRow("GAMMAR 1.5 kept") << gammaRKey << QStringLiteral("1.5") << 1.5;
    QTest::newRow("GAMMAI -inf") << gammaIKey << QStringLiteral("-inf") << 0.0;
    QTest::newRow("GAMMAI text") << gammaIKey << QStringLiteral("j0.5") << 0.0;
    QTest::newRow("Frequency nan") << frequencyKey << QStringLiteral("nan") << 1.0e6;
    QTest::newRow("Frequency 1e999") << frequencyKey << QStringLiteral("1e999") << 1.0e6;
    QTest::newRow("Frequency -5 kept") << frequencyKey << QStringLiteral("-5") << -5.0;
    QTest::newRow("Frequency empty") << frequencyKey << QString() << 0.0;
    QTest::newRow("SWR1 text") << swrKeys[0] << QStringLiteral("two") << 0.0;
    QTest::newRow("SWR1 inf") << swrKeys[0] << QStringLiteral("inf") << 1.0;
    QTest::newRow("SWR1 -5 kept") << swrKeys[0] << QStringLiteral("-5") << -5.0;
    // A line impedance the dialog would refuse follows Z0, stored as 0.
    QTest::newRow("Leitungsimpedanz text") << lineImpedanceKey << QStringLiteral("zwanzig") << 0.0;
    QTest::newRow("Leitungsimpedanz nan") << lineImpedanceKey << QStringLiteral("nan") << 0.0;
    QTest::newRow("Leitungsimpedanz -22") << lineImpedanceKey << QStringLiteral("-22") << 0.0;
    QTest::newRow("Leitungsimpedanz 0.05") << lineImpedanceKey << QStringLiteral("0.05") << 0.0;
    QTest::newRow("Leitungsimpedanz 1e999") << lineImpedanceKey << QStringLiteral("1e999") << 0.0;
    QTest::newRow("Leitungsimpedanz 22.36 kept")
        << lineImpedanceKey << QStringLiteral("22.36") << 22.36;
    // A realisation is 0, 1 or 2; anything else is L and C, 0. A path is kept
    // whole, its elements counted here, or dropped.
    QTest::newRow("Parallelelemente 2 kept") << shuntKey << QStringLiteral("2") << 2.0;
    QTest::newRow("Parallelelemente 3") << shuntKey << QStringLiteral("3") << 0.0;
    QTest::newRow("Serienelemente 1 kept") << seriesKey << QStringLiteral("1") << 1.0;
    QTest::newRow("Serienelemente text") << seriesKey << QStringLiteral("kurz") << 0.0;
    QTest::newRow("Serienelemente 1.5") << seriesKey << QStringLiteral("1.5") << 0.0;
    QTest::newRow("path whole kept") << pathKey << wholePath << 2.0;
    QTest::newRow("path truncated") << pathKey << QStringLiteral("100 0;P -0.01;S") << 0.0;
    QTest::newRow("path nan") << pathKey << QStringLiteral("100 0;P nan;S -50") << 0.0;
    QTest::newRow("path unknown kind") << pathKey << QStringLiteral("100 0;P -0.01;Q -50") << 0.0;
    QTest::newRow("path not leading to the load")
        << pathKey << QStringLiteral("100 0;P -0.01;S -49") << 0.0;
    QTest::newRow("path of 100 kept") << pathKey << pathOfLength(100) << 100.0;
    QTest::newRow("path of 102") << pathKey << pathOfLength(102) << 0.0;
    QTest::newRow("path of 10 000") << pathKey << pathOfLength(10000) << 0.0;
    QTest::newRow("path garbage") << pathKey << QStringLiteral(";;\x01 ;L") << 0.0;
    // The chart menu's choices: any other stored value means the first.
    QTest::newRow("band 7 %") << bandKey << QStringLiteral("7") << 0.0;
    QTest::newRow("band text") << bandKey << QStringLiteral("±20 %") << 0.0;
    QTest::newRow("band nan") << bandKey << QStringLiteral("nan") << 0.0;
    QTest::newRow("band 20 kept") << bandKey << QStringLiteral("20") << 20.0;
    QTest::newRow("load circuit 3") << loadCircuitKey << QStringLiteral("3") << 0.0;
    QTest::newRow("load circuit -1") << loadCircuitKey << QStringLiteral("-1") << 0.0;
    QTest::newRow("load circuit 1.5") << loadCircuitKey << QStringLiteral("1.5") << 0.0;
    QTest::newRow("load circuit 2 kept") << loadCircuitKey << QStringLiteral("2") << 2.0;
    QTest::newRow("Q circles 3") << qCirclesKey << QStringLiteral("3") << 0.0;
    QTest::newRow("Q circles inf") << qCirclesKey << QStringLiteral("inf") << 0.0;
    QTest::newRow("Q circles 0.5 kept") << qCirclesKey << QStringLiteral("0.5") << 0.5;
}

void TestSettings::corruptedStore()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(double, loaded);
    writeStore({{key, stored}});
    runOnce();
    QCOMPARE(storedValue(key), loaded);
}

void TestSettings::pathDrawnOnARefusedZ0IsDropped()
{
    writeStore({{z0Key, QStringLiteral("fifty")}, {pathKey, wholePath}});
    runOnce();
    QCOMPARE(storedValue(pathKey), 0.0);
}

// A 101st element cannot be started: the move leaves the load where it is.
void TestSettings::fullPathTakesNoFurtherElement()
{
    writeStore({{pathKey, pathOfLength(100)}});
    MainWindow window;
    GraphicsScene *scene = chart(window);
    QCOMPARE(scene->matchingPath().network().elements.size(), std::size_t(100));
    scene->setMatchingMode(GraphicsScene::Move::Shunt);
    QVERIFY(scene->turnMarker(10.0));
    QCOMPARE(scene->matchingPath().network().elements.size(), std::size_t(100));
    QCOMPARE(scene->matchingPath().end(), complex_dbl());
}

void TestSettings::storedExercise_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<StoredValues>("besides");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<StoredValues>("exit");
    QTest::addColumn<bool>("solved");
    // Task 4 is set at 75 ohms, as every number divisible by 4; a running
    // task is set again, an abandoned one only shown.
    const StoredValues none;
    QTest::newRow("running task 4")
        << u"4;laufend;1"_s << none << u"4;laufend;1"_s << StoredValues {{z0Key, 75.0}} << false;
    QTest::newRow("abandoned task 4")
        << u"4;Z0;0"_s << none << u"4;Z0;0"_s << StoredValues {{z0Key, 50.0}} << false;
    QTest::newRow("number 5000") << u"5000;laufend;0"_s << none << QString()
                                 << StoredValues {{z0Key, 50.0}} << false;
    QTest::newRow("number 0") << u"0;laufend;0"_s << none << QString()
                              << StoredValues {{z0Key, 50.0}} << false;
    QTest::newRow("decimal number")
        << u"4,5;laufend;0"_s << none << QString() << StoredValues {{z0Key, 50.0}} << false;
    QTest::newRow("unknown state")
        << u"4;fertig;0"_s << none << QString() << StoredValues {{z0Key, 50.0}} << false;
    QTest::newRow("negative hints")
        << u"4;laufend;-1"_s << none << QString() << StoredValues {{z0Key, 50.0}} << false;
    QTest::newRow("text") << u"Aufgabe 4"_s << none << QString() << StoredValues {{z0Key, 50.0}}
                          << false;
    // Task 1, 95,1 + j157,5 ohms at 50 ohms: Y = (95,1 - j157,5) / 33850,26 S,
    // and a shunt B' = -sqrt(G/50 - G²) gives 50 + j123,68 ohms, which a
    // series -123,68 ohms takes to the match, Γ = 0, where the path ends. A
    // path from elsewhere is dropped, and the load stays the task's,
    // Γ = (Z - 50) / (Z + 50) = 0,6836 + j0,3434.
    const QString taskOnePath = u"95.1 157.5;P -0.002296668336868744;S -123.68181931481311"_s;
    QTest::newRow("running task 1 with its path")
        << u"1;laufend;0"_s << StoredValues {{pathKey, taskOnePath}} << u"1;laufend;0"_s
        << StoredValues {{pathKey, 2.0}} << true;
    QTest::newRow("running task 1, path from another load")
        << u"1;laufend;0"_s << StoredValues {{pathKey, wholePath}} << u"1;laufend;0"_s
        << StoredValues {{pathKey, 0.0}, {gammaRKey, 0.6836040615556912}} << false;
    // Task 2000 builds series L and C, short shunt stubs and lines of Z0 and
    // holds the load as a series circuit; the user's own choices are stored.
    const StoredValues ownChoices {
        {seriesKey, 1.0}, {shuntKey, 0.0}, {lineImpedanceKey, 22.36}, {loadCircuitKey, 1.0}};
    QTest::newRow("running task 2000 with the user's choices")
        << u"2000;laufend;0"_s << ownChoices << u"2000;laufend;0"_s << ownChoices << false;
}

void TestSettings::storedExercise()
{
    QFETCH(QString, stored);
    QFETCH(StoredValues, besides);
    QFETCH(QString, kept);
    QFETCH(StoredValues, exit);
    QFETCH(bool, solved);
    writeStore(StoredValues {{exerciseKey, stored}} + besides);
    {
        MainWindow window;
        QCoreApplication::processEvents();
        QCOMPARE(chart(window)->exercise().isSolved(), solved);
    }
    QCOMPARE(QSettings(storePath(), QSettings::IniFormat).value(exerciseKey).toString(), kept);
    for (const auto &[key, value] : exit)
        QCOMPARE(storedValue(key), value.toDouble());
}

void TestSettings::garbageGeometryLeavesFormSize()
{
    writeStore(
        {{QStringLiteral("Program/geometry"), QByteArray("\x01\xd9\xd0\xcb\x00\xffjunk", 10)},
         {QStringLiteral("Program/windowState"), QByteArray("\xff\xfe\x00garbage", 10)}});
    {
        const MainWindow window;
        QCOMPARE(window.size(), formSize);
    }
    QCOMPARE(storedValue(z0Key), 50.0);
}

void TestSettings::unwritableStoreDoesNotStopTheExit()
{
    // A plain file where the store's folder belongs cannot be written through, whoever runs
    // the test.
    QFile blocker(configFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    runOnce();
    QVERIFY(QFileInfo(configFolder()).isFile());
    QVERIFY(!QFileInfo::exists(storePath()));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
