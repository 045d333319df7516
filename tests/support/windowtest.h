#pragma once

#include "windowdriver.h"

#include <QObject>
#include <QString>

#include <memory>

// The set-up that the tests of the main window share: settings of their own
// for the whole run, and for every test function (and every data row) a fresh
// window with the defaults, driven through `panel`. A test class derives from
// it instead of QObject; QtTest finds the slots below through the meta-object.
// A slot of the same name in the test class would replace the one here, so a
// test whose set-up differs keeps its own and derives from QObject.
class WindowTest : public QObject
{
    Q_OBJECT

protected:
    // Works a control as a data row names it: a slider takes a key (Up,
    // Down, PageUp, PageDown, Home or End), the chart ("QGV_Chart") the keys to
    // press on it, "menu" the entry of the chart's menu to choose
    // ("Submenu/Entry" for one of a submenu), a field or spin box the text to
    // enter.
    void apply(const QString &control, const QString &input);

    std::unique_ptr<WindowDriver> panel;

private slots:
    void initTestCase();
    void init();
    void cleanup();
};
