#include "windowtest.h"

#include "modaldriver.h"
#include "throwawaysettings.h"

#include <QHash>
#include <QTest>

using namespace Qt::StringLiterals;

void WindowTest::initTestCase()
{
    useThrowAwaySettings();
}

void WindowTest::init()
{
    panel = std::make_unique<WindowDriver>();
}

void WindowTest::cleanup()
{
    panel.reset();
}

void WindowTest::apply(const QString &control, const QString &input)
{
    static const QHash<QString, int> sliderKeys = {
        {u"Up"_s, Qt::Key_Up},         {u"Down"_s, Qt::Key_Down},
        {u"PageUp"_s, Qt::Key_PageUp}, {u"PageDown"_s, Qt::Key_PageDown},
        {u"Home"_s, Qt::Key_Home},     {u"End"_s, Qt::Key_End}};
    if (control == u"QGV_Chart") {
        panel->pressOnChart(input);
    } else if (control == u"menu") {
        ModalDriver menu;
        menu.chooseFromMenu(input);
        menu.start();
        panel->pressOnChart(u"Shift+F10"_s);
        QCOMPARE(menu.stepsDone(), 1);
    } else if (control.startsWith(u"QS_")) {
        if (!sliderKeys.contains(input))
            qFatal("no slider key %s", qPrintable(input));
        panel->pressKey(control, sliderKeys.value(input));
    } else {
        panel->enter(control, input);
    }
}
