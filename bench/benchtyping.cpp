// Typed entries: an accepted and a rejected entry in every line edit, and a new
// Z0 that rebuilds the chart, at the form's size. Each entry is typed key by
// key; the headline figure is the time from the Return key until the queued
// updates are delivered, which paints only what changed, as the event loop
// does. The same entries are also timed up to a repaint of the whole window,
// and the keystrokes are measured on their own.

#include "bench/benchsupport.h"
#include "windowdriver.h"

#include "app/mainwindow.h"

#include <QLineEdit>
#include <QSize>

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

// The samples of one measure.
struct EntrySamples
{
    QList<double> keys;
    QList<double> accepted;
    QList<double> rejected;
    QList<double> z0Changes;
};

// Clears the field, types the text key by key, each key timed, then times the
// Return key.
double entryTime(WindowDriver &driver, Bench::Until until, const QString &field,
                 const QString &text, QList<double> &keyTimes)
{
    driver.type(field, {});
    QWidget *edit = driver.field(field);
    for (const QChar key : text) {
        keyTimes.append(Bench::timeStep(driver.window(), until,
                                        [&] { WindowDriver::typeKeys(edit, QString(key)); }));
    }
    return Bench::timeStep(driver.window(), until, [&] { driver.pressReturn(field); });
}

} // namespace

int main(int argc, char **argv)
{
    Bench::WindowBenchmark bench(argc, argv, QStringLiteral("bench_typing"));
    WindowDriver &driver = bench.driver();
    MainWindow &window = bench.window();
    Bench::Report &report = bench.report();
    window.resize(Bench::windowSizes(argc, argv, {QSize(940, 715)}).constFirst());
    Bench::showExposed(window);
    const QString ms = Bench::timeUnit();
    EntrySamples settled;
    EntrySamples repainted;
    for (const FieldEntries &entries : fieldsWithEntries()) {
        const bool rebuilds = entries.field == QStringLiteral("LED_Z0");
        QList<double> accepted;
        QList<double> rejections;
        for (int round = 0; round < roundsPerField; ++round) {
            for (const Bench::Until until :
                 {Bench::Until::Painted, Bench::Until::WindowRepainted}) {
                EntrySamples &samples = until == Bench::Until::Painted ? settled : repainted;
                for (const QString &text : entries.accepted) {
                    const double time = entryTime(driver, until, entries.field, text, samples.keys);
                    (rebuilds ? samples.z0Changes : samples.accepted).append(time);
                    if (until == Bench::Until::Painted && !rebuilds)
                        accepted.append(time);
                }
                const double time = entryTime(driver, until, entries.field, rejected, samples.keys);
                samples.rejected.append(time);
                if (until == Bench::Until::Painted)
                    rejections.append(time);
            }
        }
        if (!rebuilds)
            report.add(QStringLiteral("entry accepted ") + entries.field, accepted, ms);
        report.add(QStringLiteral("entry rejected ") + entries.field, rejections, ms);
    }
    report.add(QStringLiteral("entry accepted, all fields"), settled.accepted, ms);
    report.add(QStringLiteral("entry rejected, all fields"), settled.rejected, ms);
    report.add(QStringLiteral("keystroke, all fields"), settled.keys, ms);
    report.add(QStringLiteral("Z0 change + rebuild"), settled.z0Changes, ms);
    report.add(QStringLiteral("entry accepted + window repaint, all fields"), repainted.accepted,
               ms);
    report.add(QStringLiteral("entry rejected + window repaint, all fields"), repainted.rejected,
               ms);
    report.add(QStringLiteral("keystroke + window repaint, all fields"), repainted.keys, ms);
    report.add(QStringLiteral("Z0 change + rebuild + window repaint"), repainted.z0Changes, ms);
    return bench.finish();
}
