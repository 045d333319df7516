#include "modaldriver.h"
#include "windowtest.h"

#include "app/controlbackdrop.h"
#include "app/mainwindow.h"
#include "chart/graphicsscene.h"
#include "electrics/conversions.h"
#include "electrics/network.h"

#include <QApplication>
#include <QGraphicsView>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The style option a slider paints with.
struct SliderOption : QSlider
{
    using QSlider::initStyleOption;
};

} // namespace

// One load shown everywhere: the positions and texts at start, the fourteen
// fields for the characteristic loads, and which sliders follow a moved one.
class TestLoadPropagation : public WindowTest
{
    Q_OBJECT

private slots:
    void startUpPositions_data();
    void startUpPositions();
    void fieldTextsForLoad_data();
    void fieldTextsForLoad();
    void movedSliderStaysOthersFollow_data();
    void movedSliderStaysOthersFollow();
    void tableSliderStepsOneScaleValue_data();
    void tableSliderStepsOneScaleValue();
    void resistanceSliderAtTop();
    void reactanceSliderChangesSignWithoutZero();
    void susceptanceSliderCentreIsInductive();
    void parallelResistanceOnResistiveLoad();
    void frequencySliderDoesNotReturnToTypedValue();
    void frequencySliderLeavesLoad();
    void markerDragUpdatesEverything();
    void heldKeysKeepTheirQuantity_data();
    void heldKeysKeepTheirQuantity();
    void heldDragsLandOnTheMatch();
    void lineImpedanceDialogTakesZ0sRange_data();
    void lineImpedanceDialogTakesZ0sRange();
    void quarterWaveLineMatches();
    void heldLineAddsUpPastHalfAWave();
    void singleStubTuningSurvivesARestart();
    void bandOfTheMatch_data();
    void bandOfTheMatch();
    void controlsRepaintAsPaintedWhole_data();
    void controlsRepaintAsPaintedWhole();
};

void TestLoadPropagation::startUpPositions_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("position");
    // Z = 50 ohms: T[100] = 50.39 is the first entry not below 50, rank 101.
    QTest::newRow("R rank 101") << u"QS_R"_s << 505;
    QTest::newRow("RS like R") << u"QS_RS"_s << 505;
    QTest::newRow("RP like R") << u"QS_RP"_s << 505;
    QTest::newRow("G the other way") << u"QS_G"_s << 495;
    QTest::newRow("X just below 5") << u"QS_X"_s << 4;
    QTest::newRow("B zero susceptance") << u"QS_B"_s << -5;
    QTest::newRow("XS zero reactance") << u"QS_XS"_s << -1;
    QTest::newRow("XP no parallel element") << u"QS_XP"_s << -1;
    QTest::newRow("F 1 MHz") << u"QS_F"_s << 42;
}

void TestLoadPropagation::startUpPositions()
{
    QFETCH(QString, slider);
    QFETCH(int, position);
    QCOMPARE(panel->position(slider), position);
}

void TestLoadPropagation::fieldTextsForLoad_data()
{
    QTest::addColumn<double>("real");
    QTest::addColumn<double>("imaginary");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("texts");

    // Every field, in the order of the kit's list.
    QTest::newRow("matched 0") << 0.0 << 0.0 << WindowDriver::fieldNames()
                               << QStringList {u"50,00 Ω"_s, u"0,00 jmΩ"_s, u"20,0 mS"_s,
                                               u"0,0 jmS"_s, u"50,00 Ω"_s,  QString(),
                                               u"50,00 Ω"_s, QString(),     u"0,000"_s,
                                               u"0,000"_s,   u"0,000"_s,    u"0,0"_s,
                                               u"50,0"_s,    u"1,000 MHz"_s};
    QTest::newRow("inductive 0,5j")
        << 0.0 << 0.5
        << QStringList {u"LED_R"_s,  u"LED_X"_s,  u"LED_G"_s,  u"LED_B"_s,      u"LED_RS"_s,
                        u"LED_XS"_s, u"LED_RP"_s, u"LED_XP"_s, u"LED_GAMMAM"_s, u"LED_GAMMAP"_s}
        << QStringList {u"30,00 Ω"_s, u"40,00 jΩ"_s, u"12,0 mS"_s, u"-16,0 jmS"_s, u"30,00 Ω"_s,
                        u"6,37 µH"_s, u"83,33 Ω"_s,  u"9,95 µH"_s, u"0,500"_s,     u"90,0"_s};
    QTest::newRow("capacitive -0,5j")
        << 0.0 << -0.5 << QStringList {u"LED_XS"_s, u"LED_XP"_s, u"LED_GAMMAP"_s}
        << QStringList {u"3,98 nF"_s, u"2,55 nF"_s, u"-90,0"_s};
    QTest::newRow("open 1") << 1.0 << 0.0 << QStringList {u"LED_R"_s, u"LED_RS"_s, u"LED_RP"_s,
                                                          u"LED_X"_s, u"LED_XS"_s, u"LED_XP"_s}
                            << QStringList {u"inf GΩ"_s, u"inf GΩ"_s, u"inf GΩ"_s,
                                            QString(),   QString(),   QString()};
    // The marker's tooltip sums the load up, in words where a figure has no
    // finite value.
    const QString marker = u"marker"_s;
    QTest::newRow("marker, matched")
        << 0.0 << 0.0 << QStringList {marker}
        << QStringList {
               u"Z = 50,00 + j0,00 Ω · |Γ| = 0,000 · SWR 1,00 · angepasst, keine Reflexion"_s};
    QTest::newRow("marker, inductive")
        << 0.0 << 0.5 << QStringList {marker}
        << QStringList {u"Z = 30,00 + j40,00 Ω · |Γ| = 0,500 ∠ 90,0° · "
                        u"SWR 3,00 · Rückflussdämpfung 6,0 dB"_s};
    QTest::newRow("marker, capacitive")
        << 0.2 << -0.4 << QStringList {marker}
        << QStringList {u"Z = 50,00 - j50,00 Ω · |Γ| = 0,447 ∠ -63,4° "
                        u"· SWR 2,62 · Rückflussdämpfung 7,0 dB"_s};
    QTest::newRow("marker, open") << 1.0 << 0.0 << QStringList {marker}
                                  << QStringList {
                                         u"Leerlauf · |Γ| = 1,000 ∠ 0,0° · Totalreflexion: "
                                         u"SWR unendlich, Rückflussdämpfung 0 dB"_s};
    QTest::newRow("marker, short") << -1.0 << 0.0 << QStringList {marker}
                                   << QStringList {u"Kurzschluss · |Γ| = 1,000 ∠ 180,0° · "
                                                   u"Totalreflexion: SWR unendlich, "
                                                   u"Rückflussdämpfung 0 dB"_s};
    QTest::newRow("marker, outside the circle")
        << 1.0 << 1.0 << QStringList {marker}
        << QStringList {u"Z = -50,00 + j100,00 Ω · |Γ| = 1,414 ∠ 45,0° · außerhalb des "
                        u"Einheitskreises (R < 0): kein SWR, keine Rückflussdämpfung"_s};
}

void TestLoadPropagation::fieldTextsForLoad()
{
    QFETCH(double, real);
    QFETCH(double, imaginary);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, texts);

    panel->enterGamma(real, imaginary);

    for (qsizetype i = 0; i < fields.size(); ++i)
        QCOMPARE(panel->text(fields.at(i)), texts.at(i));
}

void TestLoadPropagation::movedSliderStaysOthersFollow_data()
{
    QTest::addColumn<QString>("moved");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("userPosition");
    QTest::addColumn<QString>("onTableEntry");
    // At these ends the new load alone would put the slider one rank away.
    // The slider of the same quantity in the other circuit then stands on a
    // table entry, where the last bit of the load decides between two ranks.
    QTest::newRow("R to 0, load says 5") << u"QS_R"_s << int(Qt::Key_Home) << 0 << u"QS_RS"_s;
    QTest::newRow("RS to 0, load says 5") << u"QS_RS"_s << int(Qt::Key_Home) << 0 << u"QS_R"_s;
    QTest::newRow("RP to 0, load says 5") << u"QS_RP"_s << int(Qt::Key_Home) << 0 << u"QS_G"_s;
    QTest::newRow("G to 1000, load says 995")
        << u"QS_G"_s << int(Qt::Key_End) << 1000 << u"QS_RP"_s;
    QTest::newRow("X to -1000, load says -995")
        << u"QS_X"_s << int(Qt::Key_Home) << -1000 << QString();
    QTest::newRow("B to -1000, load says -995")
        << u"QS_B"_s << int(Qt::Key_Home) << -1000 << QString();
    QTest::newRow("XS to -1000") << u"QS_XS"_s << int(Qt::Key_Home) << -1000 << QString();
    QTest::newRow("XP to -1000") << u"QS_XP"_s << int(Qt::Key_Home) << -1000 << QString();
}

// The moved slider keeps the position the user gave it; every other slider
// is positioned from the new load, read back exactly from the marker.
void TestLoadPropagation::movedSliderStaysOthersFollow()
{
    QFETCH(QString, moved);
    QFETCH(int, key);
    QFETCH(int, userPosition);
    QFETCH(QString, onTableEntry);
    panel->enterGamma(0.2, 0.3); // a load with all four components
    const std::optional<complex_dbl> before = panel->markerGamma();
    QSignalSpy movedSpy(panel->slider(moved), &QSlider::valueChanged);

    panel->pressKey(moved, key);

    QCOMPARE(movedSpy.count(), 1);
    QCOMPARE(panel->position(moved), userPosition);
    const std::optional<complex_dbl> load = panel->markerGamma();
    if (!load)
        QSKIP("the chart has no marker to read the load from");
    QVERIFY(load != before);
    const QHash<QString, int> expected = Expected::sliderPositions(*load, 50.0);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (it.key() == moved)
            continue;
        const int tolerance = it.key() == onTableEntry ? 5 : 0;
        if (std::abs(panel->position(it.key()) - it.value()) > tolerance)
            QFAIL(qPrintable(u"%1 at %2 instead of %3"_s.arg(it.key())
                                 .arg(panel->position(it.key()))
                                 .arg(it.value())));
    }
}

void TestLoadPropagation::tableSliderStepsOneScaleValue_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<QString>("load");
    QTest::addColumn<QString>("step"); // a key, "wheel", "repeat" (auto-repeated) or "groove"
    QTest::addColumn<int>("scaleValues"); // how many, with the sign of the direction
    const QList<std::pair<const char *, int>> keySteps {
        {"Up", 1}, {"Down", -1}, {"PageUp", 2}, {"PageDown", -2}};
    for (const QString &slider : WindowDriver::tableSliderNames()) {
        for (const QString &load : {u"inductive"_s, u"capacitive"_s, u"on a scale value"_s}) {
            for (const auto &[key, scaleValues] : keySteps)
                QTest::addRow("%s, %s, %s", qPrintable(slider), qPrintable(load), key)
                    << slider << load << QString::fromLatin1(key) << scaleValues;
        }
        const QByteArray bytes = slider.toLatin1();
        const char *name = bytes.constData();
        QTest::addRow("%s, inductive, wheel up", name)
            << slider << u"inductive"_s << u"wheel"_s << 1;
        QTest::addRow("%s, capacitive, wheel down", name)
            << slider << u"capacitive"_s << u"wheel"_s << -1;
        QTest::addRow("%s, inductive, repeated Up", name)
            << slider << u"inductive"_s << u"repeat"_s << 1;
        QTest::addRow("%s, capacitive, repeated Down", name)
            << slider << u"capacitive"_s << u"repeat"_s << -1;
        QTest::addRow("%s, inductive, groove above", name)
            << slider << u"inductive"_s << u"groove"_s << 2;
        QTest::addRow("%s, capacitive, groove below", name)
            << slider << u"capacitive"_s << u"groove"_s << -2;
    }
}

// A single step (arrow key, wheel notch, auto-repeated key) moves a table
// slider's quantity to the next scale value the key's way, counted from the
// load; a page step (page key, click into the groove) two scale values.
void TestLoadPropagation::tableSliderStepsOneScaleValue()
{
    QFETCH(QString, slider);
    QFETCH(QString, load);
    QFETCH(QString, step);
    QFETCH(int, scaleValues);
    const auto quantity = [&slider](complex_dbl gamma) {
        const complex_dbl z = Electrics::impedanceFromGamma(gamma, {50.0, 0.0});
        const complex_dbl y = 1.0 / z;
        if (slider == u"QS_X")
            return z.imag();
        if (slider == u"QS_G")
            return y.real();
        if (slider == u"QS_B")
            return y.imag();
        if (slider == u"QS_RP")
            return 1.0 / y.real();
        return z.real();
    };
    // The slider's scale values from the closed form of the table.
    std::vector<double> scale;
    for (int k = 0; k < 200; ++k) {
        const double entry = Expected::tableEntry(k, 50.0);
        if (slider == u"QS_X") {
            scale.push_back(entry);
            if (k > 0)
                scale.push_back(-entry);
        } else if (slider == u"QS_G") {
            scale.push_back(1.0 / entry);
        } else if (slider == u"QS_B") {
            scale.push_back(-1.0 / entry);
            if (k > 0)
                scale.push_back(1.0 / entry);
        } else {
            scale.push_back(entry);
        }
    }
    const auto onScale = [&scale](double value) {
        return std::any_of(scale.cbegin(), scale.cend(), [value](double entry) {
            return std::abs(value - entry) <= 1e-7 * std::abs(entry);
        });
    };
    // The scale values passed from one quantity to another, the first one
    // excluded.
    const auto passed = [&scale](double from, double to) {
        return std::count_if(scale.cbegin(), scale.cend(), [from, to](double entry) {
            const double margin = 1e-7 * std::abs(entry);
            return (entry > from + margin && entry <= to + margin)
                || (entry < from - margin && entry >= to - margin);
        });
    };

    if (load == u"inductive")
        panel->enterGamma(0.2, 0.3);
    else if (load == u"capacitive")
        panel->enterGamma(-0.4, -0.3);
    else
        panel->pressKey(slider, Qt::Key_PageUp);
    const std::optional<complex_dbl> startLoad = panel->markerGamma();
    if (!startLoad)
        QSKIP("the chart has no marker to read the load from");
    QCOMPARE(onScale(quantity(*startLoad)), load == u"on a scale value");

    QSlider *target = panel->slider(slider);
    const int direction = scaleValues > 0 ? 1 : -1;
    if (step == u"wheel") {
        WindowDriver::turnWheel(target, direction);
    } else if (step == u"repeat") {
        QKeyEvent press(QEvent::KeyPress, direction > 0 ? Qt::Key_Up : Qt::Key_Down, Qt::NoModifier,
                        QString(), true);
        QApplication::sendEvent(target, &press);
    } else if (step == u"groove") {
        QStyleOptionSlider option;
        (target->*&SliderOption::initStyleOption)(&option);
        const QRect handle = target->style()->subControlRect(QStyle::CC_Slider, &option,
                                                             QStyle::SC_SliderHandle, target);
        // Halfway between the handle and the end; a vertical slider has its
        // maximum at the top.
        const QPoint spot(handle.center().x(),
                          direction > 0 ? handle.top() / 2
                                        : (handle.bottom() + target->height()) / 2);
        QTest::mousePress(target, Qt::LeftButton, {}, spot);
        QTest::mouseRelease(target, Qt::LeftButton, {}, spot);
    } else {
        apply(slider, step);
    }

    const double before = quantity(*startLoad);
    const double after = quantity(panel->markerGamma().value());
    QVERIFY2(onScale(after), qPrintable(u"%1 then %2"_s.arg(before).arg(after)));
    QVERIFY2(direction * (after - before) > 0, qPrintable(u"%1 then %2"_s.arg(before).arg(after)));
    QCOMPARE(passed(before, after), std::abs(scaleValues));
}

void TestLoadPropagation::resistanceSliderAtTop()
{
    panel->pressKey(u"QS_R"_s, Qt::Key_End);

    QCOMPARE(panel->position(u"QS_R"_s), 1000);
    QCOMPARE(panel->text(u"LED_R"_s), u"12,73 kΩ"_s); // T[199] = 12732.33 ohms
    QCOMPARE(panel->text(u"LED_X"_s), u"0,00 jmΩ"_s);
    QCOMPARE(panel->position(u"QS_RS"_s), 1000);
    QCOMPARE(panel->position(u"QS_RP"_s), 1000);
    QCOMPARE(panel->position(u"QS_G"_s), 0);
    QCOMPARE(panel->position(u"QS_X"_s), 4);
    QCOMPARE(panel->position(u"QS_XS"_s), -1);
}

// The reactance scale has no 0 and no -T[0]: from X = 0 one step down is
// -T[1], and from there one step up +T[0].
void TestLoadPropagation::reactanceSliderChangesSignWithoutZero()
{
    panel->pressKey(u"QS_X"_s, Qt::Key_Down);
    QCOMPARE(panel->text(u"LED_X"_s), u"-589,08 jmΩ"_s); // -T[1]
    QCOMPARE(panel->position(u"QS_X"_s), -10);

    panel->pressKey(u"QS_X"_s, Qt::Key_Up);

    QCOMPARE(panel->position(u"QS_X"_s), 4);
    QCOMPARE(panel->text(u"LED_X"_s), u"196,35 jmΩ"_s); // +T[0]
}

// One step down from B = 0 reaches the scale value of the centre, the
// slider's position already stands for.
void TestLoadPropagation::susceptanceSliderCentreIsInductive()
{
    QCOMPARE(panel->position(u"QS_B"_s), -5);
    panel->pressKey(u"QS_B"_s, Qt::Key_Down);
    QCOMPARE(panel->position(u"QS_B"_s), -5);
    QCOMPARE(panel->text(u"LED_B"_s), u"-0,1 jmS"_s); // -1/T[199] = -78.5 µS
    QCOMPARE(panel->text(u"LED_X"_s), u"196,35 jmΩ"_s); // 1/(0.02 - j/T[199]) at 50 ohms
    QVERIFY(panel->text(u"LED_XS"_s).endsWith(u"H"_s));
}

// One step up from 50 ohms is T[100], which position 505 stands for: the
// missing parallel element adds nothing.
void TestLoadPropagation::parallelResistanceOnResistiveLoad()
{
    panel->pressKey(u"QS_RP"_s, Qt::Key_Up);

    QCOMPARE(panel->position(u"QS_RP"_s), 505);
    QCOMPARE(panel->text(u"LED_R"_s), u"50,39 Ω"_s);
    QCOMPARE(panel->text(u"LED_X"_s), u"0,00 jmΩ"_s);
    QCOMPARE(panel->text(u"LED_XP"_s), QString());
}

void TestLoadPropagation::frequencySliderDoesNotReturnToTypedValue()
{
    panel->pressKey(u"QS_F"_s, Qt::Key_Right);
    QCOMPARE(panel->text(u"LED_FREQUENZ"_s), u"1,097 MHz"_s);
    QCOMPARE(panel->position(u"QS_F"_s), 43);

    panel->pressKey(u"QS_F"_s, Qt::Key_Left);

    QCOMPARE(panel->text(u"LED_FREQUENZ"_s), u"932,603 kHz"_s);
    QCOMPARE(panel->position(u"QS_F"_s), 42);
}

void TestLoadPropagation::frequencySliderLeavesLoad()
{
    panel->enterGamma(0.0, 0.5);
    const QHash<QString, int> before = {{u"QS_R"_s, panel->position(u"QS_R"_s)},
                                        {u"QS_XS"_s, panel->position(u"QS_XS"_s)}};

    panel->pressKey(u"QS_F"_s, Qt::Key_End); // 10 GHz

    QCOMPARE(panel->text(u"LED_FREQUENZ"_s), u"10,000 GHz"_s);
    QCOMPARE(panel->text(u"LED_XS"_s), u"636,62 pH"_s); // 40 ohms at 10 GHz
    QCOMPARE(panel->text(u"LED_GAMMAI"_s), u"0,500"_s);
    QCOMPARE(panel->position(u"QS_R"_s), before.value(u"QS_R"_s));
    QCOMPARE(panel->position(u"QS_XS"_s), before.value(u"QS_XS"_s));
}

// Every field and all eight value sliders follow the dragged marker.
void TestLoadPropagation::markerDragUpdatesEverything()
{
    panel->pressKey(u"QS_XS"_s, Qt::Key_End); // the XS slider away from the load first
    if (!panel->markerGamma())
        QSKIP("the chart has no marker to drag");

    panel->dragMarkerTo({0.3, 0.4}, Qt::NoModifier, 2);

    const complex_dbl dragged = panel->markerGamma().value();
    QVERIFY(std::abs(dragged - complex_dbl(0.3, 0.4)) < 0.05);
    const QHash<QString, QString> texts = Expected::fieldTexts(dragged, 50.0, 1e6);
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        QCOMPARE(panel->text(it.key()), it.value());
    const QHash<QString, int> positions = Expected::sliderPositions(dragged, 50.0);
    for (auto it = positions.cbegin(); it != positions.cend(); ++it)
        QCOMPARE(panel->position(it.key()), it.value());
}

void TestLoadPropagation::heldKeysKeepTheirQuantity_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("elementsLeft");
    // What the element left is named; empty: as before, with a new value.
    QTest::addColumn<QString>("renamed");

    const QString stubLength = u" 0,\\d{3} λ \\(\\d+,\\d°\\)$"_s;
    QTest::newRow("series, a typed R ends the path")
        << u"Serienelement (R konstant)"_s << u"Up, Up, Ctrl+Up"_s << u"LED_R"_s << u"LED_R"_s
        << u"75"_s << 0 << QString();
    QTest::newRow("shunt, a new frequency keeps it")
        << u"Parallelelement (G konstant)"_s << u"Down, Shift+Down, Left"_s << u"LED_G"_s
        << u"LED_FREQUENZ"_s << u"100 MHz"_s << 1 << QString();
    QTest::newRow("shunt, a short stub renames it")
        << u"Parallelelement (G konstant)"_s << u"Down, Shift+Down, Left"_s << u"LED_G"_s
        << u"menu"_s << u"Parallelelemente als/Stichleitung, kurzgeschlossen"_s << 1
        << u"^1\\. Parallel-Stichleitung, kurzgeschlossen"_s + stubLength;
    QTest::newRow("series, an open stub renames it")
        << u"Serienelement (R konstant)"_s << u"Up, Up, Ctrl+Up"_s << u"LED_R"_s << u"menu"_s
        << u"Serienelemente als/Stichleitung, leerlaufend"_s << 1
        << u"^1\\. Serien-Stichleitung, leerlaufend"_s + stubLength;
    QTest::newRow("line, a slider ends it")
        << u"Leitung (|Γ| konstant)"_s << u"Right, Ctrl+Right"_s << u"LED_GAMMAM"_s << u"QS_R"_s
        << u"PageUp"_s << 0 << QString();
    QTest::newRow("line, Home ends it")
        << u"Leitung (|Γ| konstant)"_s << u"Right"_s << u"LED_GAMMAM"_s << u"QGV_Chart"_s
        << u"Home"_s << 0 << QString();
    QTest::newRow("series, a new Z0 ends it")
        << u"Serienelement (R konstant)"_s << u"Down"_s << u"LED_R"_s << u"LED_Z0"_s << u"75"_s << 0
        << QString();
}

// The mode chosen in the chart's menu makes the arrow keys turn the load about
// its circle: the kept field stays as it was and the tooltip names the element.
// What the window sets afterwards ends the path, but for a new frequency,
// which renews the element's value, and a realisation, which renames it;
// neither moves the load.
void TestLoadPropagation::heldKeysKeepTheirQuantity()
{
    QFETCH(QString, mode);
    QFETCH(QString, keys);
    QFETCH(QString, kept);
    QFETCH(QString, control);
    QFETCH(QString, input);
    QFETCH(int, elementsLeft);
    QFETCH(QString, renamed);
    panel->enter(u"LED_R"_s, u"100"_s);
    panel->enter(u"LED_X"_s, u"50"_s);
    const QString keptText = panel->text(kept);
    ModalDriver menu;
    menu.chooseFromMenu(mode);
    menu.start();
    panel->pressOnChart(u"Shift+F10"_s);
    QCOMPARE(menu.stepsDone(), 1);

    panel->pressOnChart(keys);
    QCOMPARE(panel->text(kept), keptText);
    QVERIFY(panel->text(u"LED_X"_s) != u"50,00 jΩ"_s);
    static const QRegularExpression numbered(u"^\\d+\\. "_s);
    const QStringList held = panel->text(u"marker"_s).split(u'\n').filter(numbered);
    QCOMPARE(held.size(), 1);
    const QString heldX = panel->text(u"LED_X"_s);

    apply(control, input);
    const QStringList left = panel->text(u"marker"_s).split(u'\n').filter(numbered);
    QCOMPARE(left.size(), elementsLeft);
    if (elementsLeft == 0)
        return;
    QCOMPARE(panel->text(u"LED_X"_s), heldX);
    if (renamed.isEmpty()) // the same element, with its value at the new frequency
        QVERIFY2(left.first() != held.first()
                     && left.first().section(u' ', 1, 1) == held.first().section(u' ', 1, 1),
                 qPrintable(left.first()));
    else
        QVERIFY2(QRegularExpression(renamed).match(left.first()).hasMatch(),
                 qPrintable(left.first()));
}

// 100 + j50 ohms at 100 MHz: a shunt drag that ends near 50 - j61,24 ohms,
// at Γ = (3 - j√24) / 11, lands on R = 50 ohms, and a series drag that ends
// near the centre lands on the match itself.
void TestLoadPropagation::heldDragsLandOnTheMatch()
{
    if (!panel->markerGamma())
        QSKIP("the chart has no marker to drag");
    panel->enter(u"LED_FREQUENZ"_s, u"100 MHz"_s);
    panel->enter(u"LED_R"_s, u"100"_s);
    panel->enter(u"LED_X"_s, u"50"_s);
    panel->dragMarkerTo({0.275, -0.44}, Qt::ControlModifier);
    QCOMPARE(panel->text(u"LED_R"_s), u"50,00 Ω"_s);
    panel->dragMarkerTo({0.01, -0.01}, Qt::ShiftModifier);
    QCOMPARE(panel->markerGamma(), complex_dbl());
    QCOMPARE(panel->text(u"LED_R"_s), u"50,00 Ω"_s);
    QCOMPARE(panel->text(u"LED_X"_s), u"0,00 jmΩ"_s);
    QCOMPARE(panel->text(u"marker"_s).split(u'\n').mid(1),
             QStringList({u"1. Parallel-C 21,96 pF"_s, u"2. Serien-L 97,46 nH"_s,
                          u"höchste Knotengüte Q = 1,22"_s}));
}

void TestLoadPropagation::lineImpedanceDialogTakesZ0sRange_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal"); // empty: taken

    QTest::newRow("taken") << u"22,36"_s << QString();
    QTest::newRow("lowest taken") << u"0,1"_s << QString();
    QTest::newRow("text") << u"abc"_s << u"ist keine Zahl"_s;
    QTest::newRow("with a unit") << u"4,7k"_s << u"ohne Einheit"_s;
    QTest::newRow("negative") << u"-22"_s << u"negative Werte"_s;
    QTest::newRow("below 0,1 Ω") << u"0,05"_s << u"zwischen 0,1 Ω und 10 kΩ"_s;
    QTest::newRow("above 10 kΩ") << u"10000,5"_s << u"zwischen 0,1 Ω und 10 kΩ"_s;
}

// The dialog starts at the chart's Z0 and takes a line impedance as the Z0
// field takes Z0; a text it refuses turns the field red with the reason, and
// Return leaves the dialog open.
void TestLoadPropagation::lineImpedanceDialogTakesZ0sRange()
{
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    panel->enter(u"LED_Z0"_s, u"75"_s);
    QString startText;
    bool openAfterReturn = false;
    QString style;
    QString reason;
    ModalDriver menu;
    menu.chooseFromMenu(u"Leitungsimpedanz …"_s);
    menu.addStep("LineImpedanceDialog", [&](QWidget *dialog) {
        auto *field = dialog->findChild<QLineEdit *>(u"LED_ZLEITUNG"_s);
        QVERIFY(field && !field->accessibleName().isEmpty());
        startText = field->text();
        field->selectAll();
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
        openAfterReturn = dialog->isVisible();
        style = field->styleSheet();
        reason = field->toolTip();
        if (openAfterReturn)
            QTest::keyClick(field, Qt::Key_Escape);
    });
    menu.start();
    panel->pressOnChart(u"Shift+F10"_s);
    QCOMPARE(menu.stepsDone(), 2);
    QCOMPARE(startText, u"75,0"_s);
    QCOMPARE(openAfterReturn, !refusal.isEmpty());
    QCOMPARE(style.contains(u"Red"_s), !refusal.isEmpty());
    QVERIFY2(refusal.isEmpty() || reason.contains(refusal), qPrintable(reason));
}

// The quarter-wave transformer: 10 Ω on 50 Ω at 3 GHz, turned half round on
// a line of 22,36 Ω, ends at 22,36² / 10 = 49,997 Ω.
void TestLoadPropagation::quarterWaveLineMatches()
{
    panel->enter(u"LED_FREQUENZ"_s, u"3 GHz"_s);
    panel->enter(u"LED_R"_s, u"10"_s);
    panel->enter(u"LED_X"_s, u"0"_s);
    QCOMPARE(panel->chooseLineImpedance(u"22,36"_s), 2);
    ModalDriver mode;
    mode.chooseFromMenu(u"Leitung (|Γ| konstant)"_s);
    mode.start();
    panel->pressOnChart(u"Shift+F10"_s);
    QCOMPARE(mode.stepsDone(), 1);

    QStringList halfTurn;
    for (int key = 0; key < 18; ++key)
        halfTurn << u"Ctrl+Right"_s;
    panel->pressOnChart(halfTurn.join(u", "_s));
    QCOMPARE(panel->text(u"LED_R"_s), u"50,00 Ω"_s);
    QVERIFY2(
        panel->text(u"marker"_s).split(u'\n').contains(u"1. Leitung 22,36 Ω 0,250 λ (90,0°)"_s),
        qPrintable(panel->text(u"marker"_s)));
}

// 150 Ω on 50 Ω, |Γ| = 0,5, dragged round clockwise a quarter turn of Γ at
// a time: half a wave after four, and the line stays and goes on adding up.
void TestLoadPropagation::heldLineAddsUpPastHalfAWave()
{
    if (!panel->markerGamma())
        QSKIP("the chart has no marker to drag");
    panel->enter(u"LED_R"_s, u"150"_s);
    panel->enter(u"LED_X"_s, u"0"_s);
    const Qt::KeyboardModifiers line = Qt::ControlModifier | Qt::ShiftModifier;
    const complex_dbl quarterTurns[] = {{0.0, -0.5}, {-0.5, 0.0}, {0.0, 0.5}, {0.5, 0.0}};
    for (const complex_dbl aim : quarterTurns)
        panel->heldDragTo(aim, line);
    QCOMPARE(panel->text(u"marker"_s).split(u'\n').mid(1, 1),
             QStringList {u"1. Leitung 0,500 λ (180,0°)"_s});
    panel->heldDragTo(quarterTurns[0], line);
    QCOMPARE(panel->text(u"marker"_s).split(u'\n').mid(1, 1),
             QStringList {u"1. Leitung 0,625 λ (225,0°)"_s});
}

// 60 - j80 ohms on 50 ohms at 2 GHz, Γ = (3 - j3,2) / 7,4: along |Γ| to the
// circle G = 1/Z0 at Γ = -0,3514 - j0,4774, a turn of 79,5° (0,1104 λ), where
// Y = (1 + j1,472) / Z0; a short stub with cot βl = 1,472, βl = 34,19°,
// cancels B. The chart keeps the network, but not the held mode, across a
// restart.
void TestLoadPropagation::singleStubTuningSurvivesARestart()
{
    if (!panel->markerGamma())
        QSKIP("the chart has no marker to drag");
    panel->enter(u"LED_FREQUENZ"_s, u"2 GHz"_s);
    panel->enter(u"LED_R"_s, u"60"_s);
    panel->enter(u"LED_X"_s, u"-80"_s);
    apply(u"menu"_s, u"Parallelelemente als/Stichleitung, kurzgeschlossen"_s);
    apply(u"menu"_s, u"Parallelelement (G konstant)"_s);
    panel->dragMarkerTo({-0.35, -0.475}, Qt::ShiftModifier | Qt::ControlModifier);
    panel->dragMarkerTo({0.01, 0.01}, Qt::ControlModifier);
    QCOMPARE(panel->markerGamma(), complex_dbl());
    const QStringList network {u"1. Leitung 0,110 λ (39,8°)"_s,
                               u"2. Parallel-Stichleitung, kurzgeschlossen 0,095 λ (34,2°)"_s};
    QCOMPARE(panel->text(u"marker"_s).split(u'\n').mid(1, 2), network);

    const QString shown = panel->text(u"marker"_s);
    panel->restart();
    QCOMPARE(panel->text(u"marker"_s), shown);
    QCOMPARE(panel->markerGamma(), complex_dbl());
    // Every start is in the free mode: a plain arrow key moves the load
    // freely and so ends the path.
    panel->pressOnChart(u"Right"_s);
    QVERIFY(panel->markerGamma() != complex_dbl());
    QCOMPARE(panel->text(u"marker"_s).split(u'\n').filter(u"Leitung"_s), QStringList());
}

// Both L-sections of 100 + j50 Ω at 50 Ω and 100 MHz, the load a series
// R-L, over ±20 %: the band's edges in the marker's tooltip, and what resting
// on the input's curve shows. A line ending in "(" goes on with the width.
// With the band on from the start, the tooltip is read while the last drag
// still holds the marker.
void TestLoadPropagation::bandOfTheMatch_data()
{
    QTest::addColumn<bool>("whileHeld");
    QTest::addColumn<double>("shuntAim");
    QTest::addColumn<QString>("swr");
    QTest::addColumn<QString>("bandLine");
    QTest::addColumn<double>("hoverHertz");
    QTest::addColumn<QString>("hoverText");

    QTest::newRow("C then L, SWR 1,5")
        << false << -0.44 << u"1,5"_s << u"SWR ≤ 1,5: 71,07 MHz … 118,65 MHz ("_s << 95.0e6
        << u"f = 95,000 MHz · Z = 53,75 - j2,64 Ω · SWR 1,09"_s;
    // Its SWR tends to 2 from below toward 0 Hz.
    QTest::newRow("C then L, SWR 2")
        << false << -0.44 << u"1"_s << u"SWR ≤ 2: unter 1,00 MHz … 129,42 MHz"_s << 0.0
        << QString();
    QTest::newRow("L then C, SWR 1,5")
        << false << 0.44 << u"1,5"_s << u"SWR ≤ 1,5: 80,65 MHz … 128,40 MHz ("_s << 0.0
        << QString();
    QTest::newRow("L then C, SWR 2")
        << false << 0.44 << u"1"_s << u"SWR ≤ 2: 70,75 MHz … 155,33 MHz (84,57 MHz, 84,6 %)"_s
        << 0.0 << QString();
    QTest::newRow("L then C, SWR 2, read while held")
        << true << 0.44 << u"1"_s << u"SWR ≤ 2: 70,75 MHz … 155,33 MHz (84,57 MHz, 84,6 %)"_s << 0.0
        << QString();
}

void TestLoadPropagation::bandOfTheMatch()
{
    QFETCH(bool, whileHeld);
    QFETCH(double, shuntAim);
    QFETCH(QString, swr);
    QFETCH(QString, bandLine);
    QFETCH(double, hoverHertz);
    QFETCH(QString, hoverText);
    if (!panel->markerGamma())
        QSKIP("the chart has no marker to drag");
    panel->enter(u"LED_FREQUENZ"_s, u"100 MHz"_s);
    panel->enter(u"LED_R"_s, u"100"_s);
    panel->enter(u"LED_X"_s, u"50"_s);
    if (whileHeld) {
        panel->enter(u"SPB_SWR1"_s, swr);
        apply(u"menu"_s, u"Frequenzband/±20 %"_s);
    }
    panel->dragMarkerTo({0.275, shuntAim}, Qt::ControlModifier);
    QGraphicsView &view = panel->chartView();
    std::optional<MarkerDrag> held;
    if (whileHeld) {
        held.emplace(view, view.mapFromScene(GraphicsScene::scenePoint(*panel->markerGamma())),
                     Qt::ShiftModifier);
        held->moveTo(view.mapFromScene(GraphicsScene::scenePoint({0.01, -0.01})));
        // The readout follows a drag at its own pace.
        QTest::qWait(3 * GraphicsScene::readoutIntervalMilliseconds);
    } else {
        panel->dragMarkerTo({0.01, -0.01}, Qt::ShiftModifier);
        panel->enter(u"SPB_SWR1"_s, swr);
        apply(u"menu"_s, u"Frequenzband/±20 %"_s);
    }
    QCOMPARE(panel->markerGamma(), complex_dbl());

    const QStringList lines = panel->text(u"marker"_s).split(u'\n');
    const bool found = std::any_of(lines.cbegin(), lines.cend(), [&bandLine](const QString &line) {
        return bandLine.endsWith(u'(') ? line.startsWith(bandLine) : line == bandLine;
    });
    QVERIFY2(found, qPrintable(lines.join(u'|')));
    if (hoverText.isEmpty())
        return;
    const Electrics::Network &network = panel->window().chartScene()->matchingPath().network();
    const complex_dbl atHover =
        Electrics::reflectionOf(Electrics::inputImpedanceAt(network, hoverHertz), network.z0);
    QCOMPARE(panel->hoverChartAt(atHover), hoverText);
}

void TestLoadPropagation::controlsRepaintAsPaintedWhole_data()
{
    QTest::addColumn<QSize>("windowSize");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("value");

    QTest::newRow("typed R") << QSize() << u"LED_R"_s << u"75"_s;
    // For a slider, the number of Page Up presses.
    QTest::newRow("moved X slider") << QSize() << u"QS_X"_s << u"2"_s;
    QTest::newRow("typed Z0") << QSize() << u"LED_Z0"_s << u"75"_s;
    QTest::newRow("rejected G, shown red") << QSize() << u"LED_G"_s << u"abc"_s;
    QTest::newRow("typed B, window grown") << QSize(1400, 900) << u"LED_B"_s << u"5 mS"_s;
    QTest::newRow("moved RP slider, window shrunk") << QSize(700, 600) << u"QS_RP"_s << u"3"_s;
}

// The fields and sliders repaint over a picture of their group box: the
// column of controls, as the window painted it bit by bit, must look as it
// does painted whole, with each group box painted under its controls.
void TestLoadPropagation::controlsRepaintAsPaintedWhole()
{
    QFETCH(QSize, windowSize);
    QFETCH(QString, control);
    QFETCH(QString, value);

    // A blinking cursor would differ between the two paintings.
    QApplication::setCursorFlashTime(0);
    MainWindow &window = panel->window();
    if (windowSize.isValid()) {
        window.resize(windowSize);
        QCoreApplication::processEvents();
    }
    if (control.startsWith(u"QS_"_s)) {
        for (int press = 0; press < value.toInt(); ++press)
            panel->pressKey(control, Qt::Key_PageUp);
    } else
        panel->enter(control, value);
    QCoreApplication::processEvents();

    QWidget *central = window.centralWidget();
    QRect column;
    for (const QGroupBox *box : central->findChildren<QGroupBox *>())
        column |= box->geometry();
    const QPoint inWindow = central->mapTo(&window, column.topLeft());
    const QImage painted = window.screen()
                               ->grabWindow(window.winId(), inWindow.x(), inWindow.y(),
                                            column.width(), column.height())
                               .toImage()
                               .convertToFormat(QImage::Format_RGB32);
    auto *backdrop = window.findChild<ControlBackdrop *>();
    QVERIFY(backdrop);
    for (QWidget *widget : central->findChildren<QWidget *>()) {
        if (qobject_cast<QLineEdit *>(widget) || qobject_cast<QSlider *>(widget)) {
            widget->removeEventFilter(backdrop);
            widget->setAttribute(Qt::WA_OpaquePaintEvent, false);
        }
    }
    const QImage whole = central->grab(column).toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(painted.size(), whole.size());
    QVERIFY(painted == whole);
}

QTEST_MAIN(TestLoadPropagation)
#include "tst_loadpropagation.moc"
