#include "app/mainwindow.h"
#include "throwawaysettings.h"
#include "windowdriver.h"

#include <QAccessible>
#include <QApplication>
#include <QBoxLayout>
#include <QDoubleSpinBox>
#include <QGraphicsView>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString boldTip(const QString &heading, const QStringList &paragraphs = {})
{
    QString tip =
        u"<html><head/><body><p><span style=\" font-weight:700;\">"_s + heading + u"</span></p>"_s;
    for (const QString &paragraph : paragraphs)
        tip += u"<p>"_s + paragraph + u"</p>"_s;
    return tip + u"</body></html>"_s;
}

QString plainTip(const QString &paragraph)
{
    return u"<html><head/><body><p>"_s + paragraph + u"</p></body></html>"_s;
}

const QString s1 =
    u"Genau so, wie ein vorgegebener Widerstand aus zwei Einzelwiderständen entweder durch Parallelschaltung oder Serienschaltung aufgebaut werden kann, kann auch eine vorgegebene Impedanz mit zwei Bauteilen entweder durch Parallelschaltung oder Serienschaltung erzeugt werden."_s;
const QString s2 =
    u"Hier wird ein Netzwerk aus seriellgeschaltetem Wirkwiderstand R und Blindwiderstand (L oder C) berechnet, das bei der oben eingestellten Frequenz die aktuell gewählte Impedanz hat."_s;
const QString s3 = u"Die Impedanz ist die gleiche, wie bei der oben gezeigten Parallelschaltung."_s;
const QString p2 =
    u"Hier wird ein Netzwerk aus parallelgeschaltetem Wirkwiderstand R und Blindwiderstand (L oder C) berechnet, das bei der oben eingestellten Frequenz die aktuell gewählte Impedanz hat."_s;
const QString p3 = u"Die Impedanz ist die gleiche, wie bei der unten gezeigten Seriellschaltung."_s;

QString configurationTip()
{
    return boldTip(
        u"Errechnete Konfigurationen für die aktuelle Impedanz"_s,
        {u"Genau so, wie ein vorgegebener Wirkwiderstand R aus zwei Einzelwiderständen R1 und R2 entweder durch Parallelschaltung oder Seriellschaltung aufgebaut werden kann, kann auch eine vorgegebene Impedanz mit zwei Bauteilen entweder durch Parallelschaltung oder Serienschaltung erzeugt werden. Bei idealen Bauteilen benötigt man dazu einen Wirkwiderstand R und eine Spule oder einen Kondensator mit dem Blindwiderstand jX. Der Blindwiderstand X einer Spule ist frequenzabhängig und errechent sich aus jωL, während sich der Blindwiderstand eines Kondensators aus 1/(jωC) errechnet."_s,
         u"Hier wird ein Netzwerk aus einem idealen Wirkwiderstand R und einer idealen Spule oder Kondensator berechnet, das bei der oben eingestellten Frequenz die aktuell gewählte Impedanz hat."_s,
         u"Beide Lösungen, einmal für die Parallelschaltung und einmal für die Seriellschaltung, werden angezeigt."_s});
}

// A control that takes the focus: what a screen reader announces for it, and
// the paragraphs of its tooltip, which begins with the description in bold.
struct FocusControl
{
    const char *objectName;
    QString name;
    QString description;
    QStringList tipParagraphs = {};
};

// In the order Tab visits them.
const QList<FocusControl> &focusControls()
{
    static const QString serial = u" für serielle Konfiguration"_s;
    static const QString parallel = u" für parallele Konfiguration"_s;
    static const QList<FocusControl> controls {
        {"QGV_Chart", u"Smith-Diagramm"_s,
         u"Smith-Diagramm oder Gamma-Diagramm (je nach Stellung des Schiebereglers)"_s},
        {"QS_OPACITY", u"Überblendung Smith - Gamma"_s,
         u"Überblenden zwischen Smith-Diagramm und Reflexionsfaktor Gamma"_s},
        {"SPB_SWR1", u"SWR 1"_s, u"erster SWR-Kreis (1.0 für nicht angezeigt)"_s},
        {"SPB_SWR2", u"SWR 2"_s, u"zweiter SWR-Kreis (1.0 für nicht angezeigt)"_s},
        {"SPB_SWR3", u"SWR 3"_s, u"dritter SWR-Kreis (1.0 für nicht angezeigt)"_s},
        {"LED_Z0", u"Z0"_s, u"Referenzimpedanz"_s, {u"Normalerweise 50Ω oder 75Ω"_s}},
        {"LED_FREQUENZ", u"Frequenz"_s, u"Frequenz zur Berechnung der Bauteile"_s},
        {"QS_F", u"Frequenz-Schieberegler"_s, u"Frequenzeinstellung"_s},
        {"LED_XS", u"XS"_s, u"Blindwiderstand"_s + serial, {s1, s2, s3}},
        {"LED_RS", u"RS"_s, u"Wirkwiderstand"_s + serial, {s1, s2, s3}},
        {"QS_XS", u"XS-Schieberegler"_s, u"Einstellen des Blindwiderstands"_s + serial},
        {"QS_RS", u"RS-Schieberegler"_s, u"Einstellen des Wirkwiderstands"_s + serial},
        {"PUB_Info", u"Info"_s, u"Information zu diesem Programm"_s},
        {"PUB_CLOSE", u"Beenden"_s, u"Programm beenden"_s},
        {"QS_B", u"B-Schieberegler"_s, u"Einstellen des Blindleitwerts"_s},
        {"LED_G", u"G"_s, u"Wirkleitwert der Last (conductance)"_s},
        {"QS_G", u"G-Schieberegler"_s, u"Einstellen des Wirkleitwerts"_s},
        {"LED_B", u"B"_s, u"Blindleitwert der Last (susceptance)"_s},
        {"LED_GAMMAR", u"Gamma Real"_s, u"Realteil von Gamma in karthesischen Koordinaten"_s},
        {"LED_GAMMAI", u"Gamma Imag"_s, u"Imaginärteil von Gamma in karthesischen Koordinaten"_s},
        {"LED_GAMMAM", u"Gamma Magnitude"_s, u"Magnitude (Betrag) von Gamma"_s},
        {"LED_GAMMAP", u"Gamma Phase"_s, u"Phasenwinkel von Gamma"_s},
        {"QS_XP", u"XP-Schieberegler"_s, u"Einstellen des Blindwiderstands"_s + parallel},
        {"QS_RP", u"RP-Schieberegler"_s, u"Einstellen des Wirkwiderstands"_s + parallel},
        {"LED_RP", u"RP"_s, u"Wirkwiderstand"_s + parallel, {s1, p2, p3}},
        {"LED_XP", u"XP"_s, u"Blindwiderstand"_s + parallel, {s1, p2, p3}},
        {"QS_X", u"X-Schieberegler"_s, u"Einstellen des Blindwiderstands"_s},
        {"LED_X", u"X"_s, u"Blindwiderstand der Last (reactance)"_s},
        {"LED_R", u"R"_s, u"Wirkwiderstand der Last (resistance)"_s},
        {"QS_R", u"R-Schieberegler"_s, u"Einstellen des Wirkwiderstands"_s},
    };
    return controls;
}

// Where a widget stands in a layout: row, column, row span and column span in
// a grid, the index in a box.
using Cell = QList<int>;

Cell cellIn(QLayout *layout, QWidget *widget)
{
    const int index = layout->indexOf(widget);
    auto *grid = qobject_cast<QGridLayout *>(layout);
    if (index < 0 || !grid)
        return {index};
    Cell cell(4);
    grid->getItemPosition(index, &cell[0], &cell[1], &cell[2], &cell[3]);
    return cell;
}

// The layout that holds the widget: its parent's own layout or one nested in it.
QLayout *holdingLayout(QWidget *widget)
{
    QWidget *parent = widget->parentWidget();
    QList<QLayout *> candidates {parent->layout()};
    while (!candidates.isEmpty()) {
        QLayout *layout = candidates.takeFirst();
        if (!layout)
            continue;
        if (layout->indexOf(widget) >= 0)
            return layout;
        for (int i = 0; i < layout->count(); ++i)
            candidates.append(layout->itemAt(i)->layout());
    }
    return nullptr;
}

} // namespace

// The main window's form: every control where it belongs, with its range,
// texts and tooltips, and the keyboard order that follows from its creation.
class TestMainWindowForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void window();
    void widgetPlacement_data();
    void widgetPlacement();
    void toolTips_data();
    void toolTips();
    void entryFieldsAlignRight();
    void spinBoxes();
    void sliderDefaults();
    void layoutSettings();
    void focusChain();
    void chartShowsFocusFrame();
    void accessibleTexts_data();
    void accessibleTexts();

private:
    template<typename T> T *child(const char *name) const
    {
        return mainWindow->findChild<T *>(QLatin1String(name));
    }

    // The window from the form's defaults, without any stored settings.
    std::unique_ptr<WindowDriver> driver;
    MainWindow *mainWindow = nullptr;
};

void TestMainWindowForm::initTestCase()
{
    useThrowAwaySettings();
    driver = std::make_unique<WindowDriver>();
    mainWindow = &driver->window();
}

void TestMainWindowForm::cleanupTestCase()
{
    driver.reset();
}

void TestMainWindowForm::window()
{
    QCOMPARE(mainWindow->objectName(), u"Velmora"_s);
    QCOMPARE(mainWindow->windowTitle(), u"Velmora"_s);
    QCOMPARE(mainWindow->size(), QSize(940, 715));
    QVERIFY(mainWindow->isVisible());
    QVERIFY(mainWindow->menuBar());
    QCOMPARE(mainWindow->menuBar()->objectName(), u"menubar"_s);
    QVERIFY(mainWindow->menuBar()->actions().isEmpty());
    QCOMPARE(mainWindow->centralWidget()->objectName(), u"centralwidget"_s);
}

void TestMainWindowForm::widgetPlacement_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    // The row, column and spans in a grid layout, or the index in a box layout.
    QTest::addColumn<Cell>("cell");
    QTest::addColumn<int>("maximumWidth");
    QTest::addColumn<QString>("text"); // of a group box, label or button

    const QString group = u"QGroupBox"_s;
    const QString label = u"QLabel"_s;
    const QString edit = u"QLineEdit"_s;
    const QString slider = u"QSlider"_s;
    const QString spinBox = u"QDoubleSpinBox"_s;
    const QString button = u"QPushButton"_s;
    const int wide = QWIDGETSIZE_MAX;
    const QString central = u"centralwidget"_s;

    QTest::newRow("QGV_Chart") << u"QGraphicsView"_s << central << Cell {0} << wide << u""_s;
    QTest::newRow("groupBox_3") << group << central << Cell {0, 0, 1, 1} << wide << u"Impedanz"_s;
    QTest::newRow("groupBox") << group << central << Cell {0, 1, 1, 1} << wide << u"Admittanz"_s;
    QTest::newRow("groupBox_8") << group << central << Cell {1, 0, 1, 2} << wide << u"Frequenz"_s;
    QTest::newRow("groupBox_9") << group << central << Cell {2, 0, 1, 1} << wide
                                << u"RLC parallel"_s;
    QTest::newRow("groupBox_7") << group << central << Cell {2, 1, 1, 1} << wide
                                << u"RLC seriell"_s;
    QTest::newRow("groupBox_5") << group << central << Cell {3, 0, 1, 2} << wide << u"Gamma"_s;
    QTest::newRow("groupBox_4") << group << central << Cell {4, 0, 1, 2} << wide << u"SWR und Z0"_s;
    QTest::newRow("groupBox_2") << group << central << Cell {5, 0, 1, 2} << wide
                                << u"Smith - Gamma"_s;
    QTest::newRow("label") << label << u"groupBox_3"_s << Cell {0, 4, 1, 1} << wide << u"X"_s;
    QTest::newRow("QS_X") << slider << u"groupBox_3"_s << Cell {3, 5, 1, 1} << wide << u""_s;
    QTest::newRow("LED_X") << edit << u"groupBox_3"_s << Cell {1, 4, 1, 3} << wide << u""_s;
    QTest::newRow("hrthLabel") << label << u"groupBox_3"_s << Cell {0, 0, 1, 1} << wide << u"R"_s;
    QTest::newRow("LED_R") << edit << u"groupBox_3"_s << Cell {1, 0, 1, 3} << wide << u""_s;
    QTest::newRow("QS_R") << slider << u"groupBox_3"_s << Cell {3, 1, 1, 1} << wide << u""_s;
    QTest::newRow("QS_B") << slider << u"groupBox"_s << Cell {2, 4, 1, 1} << wide << u""_s;
    QTest::newRow("label_5") << label << u"groupBox"_s << Cell {0, 4, 1, 1} << wide << u"B"_s;
    QTest::newRow("label_6") << label << u"groupBox"_s << Cell {0, 1, 1, 1} << wide << u"G"_s;
    QTest::newRow("LED_G") << edit << u"groupBox"_s << Cell {1, 0, 1, 3} << wide << u""_s;
    QTest::newRow("QS_G") << slider << u"groupBox"_s << Cell {2, 1, 1, 1} << wide << u""_s;
    QTest::newRow("LED_B") << edit << u"groupBox"_s << Cell {1, 3, 1, 3} << wide << u""_s;
    QTest::newRow("LED_FREQUENZ") << edit << u"groupBox_8"_s << Cell {1, 0, 1, 3} << 100 << u""_s;
    QTest::newRow("QS_F") << slider << u"groupBox_8"_s << Cell {1, 3, 1, 1} << wide << u""_s;
    QTest::newRow("QS_XP") << slider << u"groupBox_9"_s << Cell {1, 7, 1, 1} << wide << u""_s;
    QTest::newRow("QS_RP") << slider << u"groupBox_9"_s << Cell {1, 2, 1, 1} << wide << u""_s;
    QTest::newRow("LED_RP") << edit << u"groupBox_9"_s << Cell {0, 0, 1, 5} << wide << u""_s;
    QTest::newRow("LED_XP") << edit << u"groupBox_9"_s << Cell {0, 5, 1, 5} << wide << u""_s;
    QTest::newRow("LED_XS") << edit << u"groupBox_7"_s << Cell {1, 5, 1, 4} << wide << u""_s;
    QTest::newRow("LED_RS") << edit << u"groupBox_7"_s << Cell {1, 0, 1, 5} << wide << u""_s;
    QTest::newRow("QS_XS") << slider << u"groupBox_7"_s << Cell {2, 7, 1, 1} << wide << u""_s;
    QTest::newRow("QS_RS") << slider << u"groupBox_7"_s << Cell {2, 2, 1, 1} << wide << u""_s;
    QTest::newRow("LED_GAMMAR") << edit << u"groupBox_5"_s << Cell {1, 0, 1, 1} << 75 << u""_s;
    QTest::newRow("label_4") << label << u"groupBox_5"_s << Cell {0, 2, 1, 1} << wide
                             << u"Magnitude"_s;
    QTest::newRow("label_3") << label << u"groupBox_5"_s << Cell {0, 1, 1, 1} << wide << u"Imag"_s;
    QTest::newRow("label_2") << label << u"groupBox_5"_s << Cell {0, 0, 1, 1} << wide << u"Real"_s;
    QTest::newRow("LED_GAMMAI") << edit << u"groupBox_5"_s << Cell {1, 1, 1, 1} << 75 << u""_s;
    QTest::newRow("LED_GAMMAM") << edit << u"groupBox_5"_s << Cell {1, 2, 1, 1} << 75 << u""_s;
    QTest::newRow("LED_GAMMAP") << edit << u"groupBox_5"_s << Cell {1, 3, 1, 1} << 75 << u""_s;
    QTest::newRow("label_7") << label << u"groupBox_5"_s << Cell {0, 3, 1, 1} << wide << u"Phase"_s;
    QTest::newRow("SPB_SWR1") << spinBox << u"groupBox_4"_s << Cell {0} << 50 << u""_s;
    QTest::newRow("SPB_SWR2") << spinBox << u"groupBox_4"_s << Cell {1} << 50 << u""_s;
    QTest::newRow("SPB_SWR3") << spinBox << u"groupBox_4"_s << Cell {2} << 50 << u""_s;
    QTest::newRow("LED_Z0") << edit << u"groupBox_4"_s << Cell {3} << 70 << u""_s;
    QTest::newRow("label_8") << label << u"groupBox_4"_s << Cell {4} << 15 << u"Ω"_s;
    QTest::newRow("QS_OPACITY") << slider << u"groupBox_2"_s << Cell {0} << wide << u""_s;
    QTest::newRow("PUB_Info") << button << central << Cell {0} << wide << u"Info"_s;
    QTest::newRow("PUB_CLOSE") << button << central << Cell {1} << wide << u"Beenden"_s;
}

void TestMainWindowForm::widgetPlacement()
{
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QFETCH(Cell, cell);
    QFETCH(int, maximumWidth);
    QFETCH(QString, text);

    auto *widget = mainWindow->findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(widget);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(widget->parentWidget()->objectName(), parentName);

    QLayout *layout = holdingLayout(widget);
    QVERIFY(layout);
    QCOMPARE(cellIn(layout, widget), cell);

    QCOMPARE(widget->maximumWidth(), maximumWidth);
    // The window sizes its fields to their texts and keeps a track on its
    // vertical sliders, and the chart keeps a usable size; nothing else has a
    // minimum size.
    const auto *slider = qobject_cast<QSlider *>(widget);
    if (qobject_cast<QGraphicsView *>(widget))
        QCOMPARE(widget->minimumSize(), QSize(320, 320));
    else if (qobject_cast<QLineEdit *>(widget))
        QCOMPARE(widget->minimumHeight(), 0);
    else if (slider && slider->orientation() == Qt::Vertical)
        QCOMPARE(widget->minimumWidth(), 0);
    else
        QCOMPARE(widget->minimumSize(), QSize(0, 0));

    if (auto *box = qobject_cast<QGroupBox *>(widget))
        QCOMPARE(box->title(), text);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), text);
    else if (auto *button = qobject_cast<QPushButton *>(widget))
        QCOMPARE(button->text(), text);
}

void TestMainWindowForm::toolTips_data()
{
    QTest::addColumn<QString>("toolTip");

    // The sliders of the two configurations have no tooltip of their own.
    const QStringList untipped {u"QS_XS"_s, u"QS_RS"_s, u"QS_XP"_s, u"QS_RP"_s};
    for (const FocusControl &control : focusControls()) {
        QTest::newRow(control.objectName)
            << (untipped.contains(QLatin1String(control.objectName))
                    ? QString()
                    : boldTip(control.description, control.tipParagraphs));
    }
    QTest::newRow("groupBox_2") << plainTip(
        u"Überblenden zwischen Smith-Diagramm und Gamma-Diagramm"_s);
    QTest::newRow("groupBox_4") << QString();
    QTest::newRow("label_8") << QString();
    QTest::newRow("groupBox_8") << QString();
    QTest::newRow("groupBox_7") << configurationTip();
    QTest::newRow("groupBox") << plainTip(u"Einstellen der Admittanz"_s);
    QTest::newRow("groupBox_5") << plainTip(
        u"Reflexionsfaktor Gamma in karthesischen und in Polarkoordinaten."_s);
    QTest::newRow("groupBox_9") << configurationTip();
    QTest::newRow("groupBox_3") << plainTip(u"Einstellen der Impedanz"_s);
}

void TestMainWindowForm::toolTips()
{
    QFETCH(QString, toolTip);
    auto *widget = mainWindow->findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(widget);
    QCOMPARE(widget->toolTip(), toolTip);
}

void TestMainWindowForm::entryFieldsAlignRight()
{
    const auto fields = mainWindow->findChildren<QLineEdit *>(QRegularExpression(u"^LED_"_s));
    QCOMPARE(fields.size(), 14);
    for (const QLineEdit *field : fields) {
        QCOMPARE(field->alignment(), Qt::AlignRight | Qt::AlignVCenter);
        QVERIFY(!field->isReadOnly());
        QCOMPARE(field->maxLength(), 32767);
        QVERIFY(!field->validator());
        QVERIFY(field->inputMask().isEmpty());
    }
    QVERIFY(!child<QLineEdit>("LED_R")->isClearButtonEnabled());
}

void TestMainWindowForm::spinBoxes()
{
    for (const char *name : {"SPB_SWR1", "SPB_SWR2", "SPB_SWR3"}) {
        const auto *spinBox = child<QDoubleSpinBox>(name);
        QVERIFY(spinBox);
        QCOMPARE(spinBox->decimals(), 1);
        QCOMPARE(spinBox->minimum(), 1.0);
        QCOMPARE(spinBox->maximum(), 100.0);
        QCOMPARE(spinBox->singleStep(), 0.1);
        QCOMPARE(spinBox->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    }
    const auto *box = child<QGroupBox>("groupBox_4");
    const auto *row = qobject_cast<QHBoxLayout *>(box->layout());
    QVERIFY(row);
    QCOMPARE(row->objectName(), u"horizontalLayout_4"_s);
    const QList<int> stretches {1, 1, 1, 0, 0};
    for (int i = 0; i < stretches.size(); ++i)
        QCOMPARE(row->stretch(i), stretches.at(i));
}

void TestMainWindowForm::sliderDefaults()
{
    const auto sliders = mainWindow->findChildren<QSlider *>(QRegularExpression(u"^QS_"_s));
    QCOMPARE(sliders.size(), 10);
    // The sliders of reactances and susceptances run both ways from the middle.
    const QHash<QString, QPair<int, int>> ranges {
        {u"QS_X"_s, {-1000, 1000}}, {u"QS_R"_s, {0, 1000}},      {u"QS_B"_s, {-1000, 1000}},
        {u"QS_G"_s, {0, 1000}},     {u"QS_F"_s, {0, 99}},        {u"QS_XP"_s, {-1000, 1000}},
        {u"QS_RP"_s, {0, 1000}},    {u"QS_XS"_s, {-1000, 1000}}, {u"QS_RS"_s, {0, 1000}},
        {u"QS_OPACITY"_s, {0, 100}}};
    // The table sliders step by one scale value, five positions.
    const QStringList tableSliders {u"QS_R"_s, u"QS_X"_s,  u"QS_G"_s,
                                    u"QS_B"_s, u"QS_RS"_s, u"QS_RP"_s};
    for (const QSlider *slider : sliders) {
        QVERIFY2(ranges.contains(slider->objectName()), qPrintable(slider->objectName()));
        QCOMPARE(qMakePair(slider->minimum(), slider->maximum()),
                 ranges.value(slider->objectName()));
        QCOMPARE(slider->pageStep(), 10);
        QCOMPARE(slider->singleStep(), tableSliders.contains(slider->objectName()) ? 5 : 1);
        QVERIFY(slider->hasTracking());
        QCOMPARE(slider->tickPosition(), QSlider::NoTicks);
        const bool horizontal =
            slider->objectName() == u"QS_F"_s || slider->objectName() == u"QS_OPACITY"_s;
        QCOMPARE(slider->orientation(), horizontal ? Qt::Horizontal : Qt::Vertical);
    }
    QCOMPARE(child<QSlider>("QS_OPACITY")->value(), 0);
    const QSizePolicy policy = child<QSlider>("QS_R")->sizePolicy();
    QCOMPARE(policy.horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(policy.verticalPolicy(), QSizePolicy::Expanding);
}

void TestMainWindowForm::layoutSettings()
{
    auto *central = mainWindow->centralWidget();
    auto *columns = qobject_cast<QHBoxLayout *>(central->layout());
    QVERIFY(columns);
    QCOMPARE(columns->stretch(0), 3);
    QCOMPARE(columns->stretch(1), 1);
    auto *controls = qobject_cast<QGridLayout *>(columns->itemAt(1)->layout());
    QVERIFY(controls);
    QCOMPARE(controls->objectName(), u"gridLayout"_s);
    QCOMPARE(controls->sizeConstraint(), QLayout::SetMaximumSize);

    const QSizePolicy gammaPolicy = child<QGroupBox>("groupBox_5")->sizePolicy();
    QCOMPARE(gammaPolicy.horizontalPolicy(), QSizePolicy::Preferred);
    QCOMPARE(gammaPolicy.verticalPolicy(), QSizePolicy::Fixed);

    const auto *view = child<QGraphicsView>("QGV_Chart");
    QCOMPARE(view->frameShape(), QFrame::Box);
    QCOMPARE(view->frameShadow(), QFrame::Raised);
    QCOMPARE(view->lineWidth(), 3);
    QCOMPARE(view->contextMenuPolicy(), Qt::DefaultContextMenu);

    // The button row sits in the last row, right column, Info before Beenden.
    auto *buttons = qobject_cast<QHBoxLayout *>(holdingLayout(child<QPushButton>("PUB_Info")));
    QVERIFY(buttons);
    QCOMPARE(buttons->objectName(), u"horizontalLayout_3"_s);
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    controls->getItemPosition(controls->indexOf(buttons), &row, &column, &rowSpan, &columnSpan);
    QCOMPARE(QList<int>({row, column, rowSpan, columnSpan}), QList<int>({6, 1, 1, 1}));
}

void TestMainWindowForm::focusChain()
{
    QStringList expected;
    for (const FocusControl &control : focusControls())
        expected.append(QLatin1String(control.objectName));

    // Walk the chain the way Tab does and keep the named controls.
    QStringList visited;
    QWidget *start = child<QGraphicsView>("QGV_Chart");
    QWidget *widget = start;
    do {
        if (expected.contains(widget->objectName()) && !visited.contains(widget->objectName()))
            visited.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != start);
    QCOMPARE(visited, expected);

    // And with real key presses: each Tab moves on to the next control.
    mainWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(mainWindow));
    for (int i = 1; i < expected.size(); ++i) {
        QWidget *from = mainWindow->findChild<QWidget *>(expected.at(i - 1));
        from->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focused = QApplication::focusWidget();
        while (focused && !expected.contains(focused->objectName()))
            focused = focused->parentWidget(); // the line edit inside a spin box
        QVERIFY2(focused, qPrintable(expected.at(i - 1)));
        QCOMPARE(focused->objectName(), expected.at(i));
    }
}

// A ring in the highlight colour over the outer edge of the view's frame,
// while the chart has the focus; the chart inside stays where it was.
void TestMainWindowForm::chartShowsFocusFrame()
{
    auto *view = child<QGraphicsView>("QGV_Chart");
    mainWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(mainWindow));
    child<QSlider>("QS_OPACITY")->setFocus(Qt::TabFocusReason);
    const QRect viewport = view->viewport()->geometry();
    const QTransform fit = view->transform();
    const QColor highlight = view->palette().color(QPalette::Highlight);
    const QPoint edge(1, view->height() / 2);
    QVERIFY(view->grab().toImage().pixelColor(edge) != highlight);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QVERIFY(view->hasFocus());
    const QImage focused = view->grab().toImage();
    QCOMPARE(focused.pixelColor(edge), highlight);
    QCOMPARE(focused.pixelColor(view->width() - 2, 0), highlight);
    QVERIFY(focused.pixelColor(edge + QPoint(2, 0)) != highlight);
    QCOMPARE(view->viewport()->geometry(), viewport);
    QCOMPARE(view->transform(), fit);

    QTest::keyClick(view, Qt::Key_Tab);
    QVERIFY(view->grab().toImage().pixelColor(edge) != highlight);
}

void TestMainWindowForm::accessibleTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    for (const FocusControl &control : focusControls())
        QTest::newRow(control.objectName) << control.name << control.description;
}

// What a screen reader announces: each control's own name, which no other
// control that takes the focus shares, and a description without markup.
void TestMainWindowForm::accessibleTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, description);
    auto *widget = mainWindow->findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(widget);
    QAccessibleInterface *announced = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(announced);
    QCOMPARE(announced->text(QAccessible::Name), name);
    // The chart's description goes on with the load it shows, line by line.
    QCOMPARE(announced->text(QAccessible::Description).section(u'\n', 0, 0), description);

    for (QWidget *other : mainWindow->findChildren<QWidget *>()) {
        if (other == widget || widget->isAncestorOf(other) || other->focusPolicy() == Qt::NoFocus)
            continue;
        const QAccessibleInterface *otherAnnounced = QAccessible::queryAccessibleInterface(other);
        QVERIFY2(otherAnnounced->text(QAccessible::Name) != name, qPrintable(other->objectName()));
    }
}

QTEST_MAIN(TestMainWindowForm)
#include "tst_mainwindowform.moc"
