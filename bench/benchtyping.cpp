// Typed entries: an accepted and a rejected entry in every line edit, and a new
// Z0 that rebuilds the chart. Each entry is typed key by key; the time from the
// Return key to the repainted window is the figure, the keystrokes are measured
// on their own.

#include "bench/benchsupport.h"

#include "app/mainwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {

constexpr int roundsPerField = 8;

// Two accepted entries per field, used in turn so that every entry changes the
// load, and then "abc", which every field rejects (LED_Z0 takes 50 instead,
// which it holds again after its second entry, so nothing is rebuilt).
struct FieldEntries
{
    QString field;
    QString accepted[2];
};

const QString rejected = QStringLiteral("abc");

QList<FieldEntries> fieldsWithEntries()
{
    return {
        {QStringLiteral("LED_R"), {QStringLiteral("75"), QStringLiteral("25")}},
        {QStringLiteral("LED_X"), {QStringLiteral("30"), QStringLiteral("-30")}},
        {QStringLiteral("LED_G"), {QStringLiteral("20 mS"), QStringLiteral("10 mS")}},
        {QStringLiteral("LED_B"), {QStringLiteral("5 mS"), QStringLiteral("-5 mS")}},
        {QStringLiteral("LED_RP"), {QStringLiteral("100"), QStringLiteral("200")}},
        {QStringLiteral("LED_XP"), {QStringLiteral("10 µH"), QStringLiteral("10 nF")}},
        {QStringLiteral("LED_RS"), {QStringLiteral("40"), QStringLiteral("60")}},
        {QStringLiteral("LED_XS"), {QStringLiteral("10 µH"), QStringLiteral("10 nF")}},
        {QStringLiteral("LED_GAMMAR"), {QStringLiteral("0,3"), QStringLiteral("-0,2")}},
        {QStringLiteral("LED_GAMMAI"), {QStringLiteral("0,4"), QStringLiteral("-0,1")}},
        {QStringLiteral("LED_GAMMAM"), {QStringLiteral("0,5"), QStringLiteral("0,7")}},
        {QStringLiteral("LED_GAMMAP"), {QStringLiteral("45"), QStringLiteral("135")}},
        {QStringLiteral("LED_FREQUENZ"), {QStringLiteral("2,45 GHz"), QStringLiteral("10 MHz")}},
        {QStringLiteral("LED_Z0"), {QStringLiteral("75"), QStringLiteral("50")}},
    };
}

// Types the text key by key, each key repainted, and adds each key's time.
void typeKeys(MainWindow &window, QLineEdit &edit, const QString &text, QList<double> &keyTimes)
{
    edit.selectAll();
    for (const QChar key : text) {
        keyTimes.append(
            Bench::millisecondsToPaint(window, [&] { QTest::keyClicks(&edit, QString(key)); }));
    }
}

double entryTime(MainWindow &window, QLineEdit &edit, const QString &text, QList<double> &keyTimes)
{
    typeKeys(window, edit, text, keyTimes);
    return Bench::millisecondsToPaint(window, [&] { Bench::pressReturn(edit); });
}

} // namespace

int main(int argc, char **argv)
{
    Bench::prepareEnvironment();
    Bench::chooseClock(argc, argv);
    QApplication application(argc, argv);
    MainWindow window;
    Bench::showExposed(window);
    Bench::Report report(QStringLiteral("bench_typing"));
    const QString ms = Bench::timeUnit();
    QList<double> keyTimes;
    QList<double> allAccepted;
    QList<double> allRejected;
    QList<double> z0Changes;
    for (const FieldEntries &entries : fieldsWithEntries()) {
        QLineEdit &edit = Bench::lineEdit(window, entries.field);
        const bool rebuilds = entries.field == QStringLiteral("LED_Z0");
        QList<double> accepted;
        QList<double> rejections;
        for (int round = 0; round < roundsPerField; ++round) {
            for (const QString &text : entries.accepted)
                (rebuilds ? z0Changes : accepted).append(entryTime(window, edit, text, keyTimes));
            rejections.append(entryTime(window, edit, rejected, keyTimes));
        }
        if (!rebuilds)
            report.add(QStringLiteral("entry accepted + repaint ") + entries.field, accepted, ms);
        report.add(QStringLiteral("entry rejected + repaint ") + entries.field, rejections, ms);
        allAccepted += accepted;
        allRejected += rejections;
    }
    report.add(QStringLiteral("entry accepted + repaint, all fields"), allAccepted, ms);
    report.add(QStringLiteral("entry rejected + repaint, all fields"), allRejected, ms);
    report.add(QStringLiteral("keystroke + repaint, all fields"), keyTimes, ms);
    report.add(QStringLiteral("Z0 change + rebuild + repaint"), z0Changes, ms);
    return report.writeJsonIfRequested(argc, argv) ? 0 : 1;
}
