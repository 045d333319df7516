// bench_hostile: a full line edit (32767 characters) of each adversarial kind
// pasted into each of the fourteen value fields of the real window, timed from
// the Return key until the window shows its answer. Prints one line per kind
// with the slowest field, and JSON with --json FILE. Run without
// QT_ENABLE_REGEXP_JIT set, it measures with the regular-expression JIT and
// then runs itself once more without it (JSON next to ours as NAME-nojit.json).

#include "benchsupport.h"
#include "hostiletexts.h"
#include "windowdriver.h"

#include "app/mainwindow.h"

#include <QApplication>

#include <algorithm>

namespace {

constexpr int runsPerField = 3;

// Milliseconds from Return after the paste until the window shows the answer;
// between runs the field gets its former text back.
QList<double> timeAnswers(WindowDriver &driver, const QString &field, const QString &text)
{
    const QString former = driver.text(field);
    QList<double> samples;
    for (int run = 0; run < runsPerField; ++run) {
        driver.paste(field, text);
        Bench::paintNow(driver.window());
        samples.append(Bench::timeStep(driver.window(), Bench::Until::WindowRepainted,
                                       [&] { driver.pressReturn(field); }));
        driver.paste(field, former);
        driver.pressReturn(field);
    }
    return samples;
}

} // namespace

int main(int argc, char **argv)
{
    Bench::prepareEnvironment();
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool jit = Bench::regularExpressionJitEnabled();
    const QString engine = jit ? QStringLiteral("JIT") : QStringLiteral("no JIT");

    WindowDriver driver;
    Bench::showExposed(driver.window());
    Bench::Report report(QStringLiteral("bench_hostile"));
    for (const Hostile::Paste &input : Hostile::fullLengthPastes()) {
        QList<double> worst;
        QString worstField;
        for (const QString &name : WindowDriver::fieldNames()) {
            const QList<double> samples = timeAnswers(driver, name, input.text);
            if (worst.isEmpty()
                || *std::max_element(samples.cbegin(), samples.cend())
                    > *std::max_element(worst.cbegin(), worst.cend())) {
                worst = samples;
                worstField = name;
            }
        }
        report.add(QStringLiteral("paste %1, slowest %2 (%3)").arg(input.kind, worstField, engine),
                   worst, QStringLiteral("ms"));
    }
    bool succeeded = report.writeJsonIfRequested(argc, argv);
    if (jit && qEnvironmentVariableIsEmpty("QT_ENABLE_REGEXP_JIT"))
        succeeded = Bench::rerunWithoutJit(arguments) && succeeded;
    return succeeded ? 0 : 1;
}
