// bench_hostile: a full line edit (32767 characters) of each adversarial kind
// pasted into each of the fourteen value fields of the real window, timed from
// the Return key until the window shows its answer. Prints one line per kind
// with the slowest field, and JSON with --json FILE. Run without
// QT_ENABLE_REGEXP_JIT set, it measures with the regular-expression JIT and
// then runs itself once more without it (JSON next to ours as NAME-nojit.json).

#include "benchsupport.h"
#include "hostiletexts.h"

#include "app/mainwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

#include <algorithm>

namespace {

constexpr int runsPerField = 3;

const QStringList fieldNames = {
    QStringLiteral("LED_R"),      QStringLiteral("LED_X"),        QStringLiteral("LED_G"),
    QStringLiteral("LED_B"),      QStringLiteral("LED_RP"),       QStringLiteral("LED_XP"),
    QStringLiteral("LED_RS"),     QStringLiteral("LED_XS"),       QStringLiteral("LED_GAMMAR"),
    QStringLiteral("LED_GAMMAI"), QStringLiteral("LED_GAMMAM"),   QStringLiteral("LED_GAMMAP"),
    QStringLiteral("LED_Z0"),     QStringLiteral("LED_FREQUENZ"),
};

// Replaces the field's text as a user's paste does.
void paste(QLineEdit &edit, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    edit.setFocus(Qt::OtherFocusReason);
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
}

// Milliseconds from Return after the paste until the window shows the answer;
// between runs the field gets its former text back.
QList<double> timeAnswers(MainWindow &window, QLineEdit &edit, const QString &text)
{
    const QString former = edit.text();
    QList<double> samples;
    for (int run = 0; run < runsPerField; ++run) {
        paste(edit, text);
        Bench::paintNow(window);
        samples.append(Bench::millisecondsToPaint(window, [&edit] { Bench::pressReturn(edit); }));
        paste(edit, former);
        Bench::pressReturn(edit);
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

    MainWindow window;
    Bench::showExposed(window);
    Bench::Report report(QStringLiteral("bench_hostile"));
    for (const Hostile::Paste &input : Hostile::fullLengthPastes()) {
        QList<double> worst;
        QString worstField;
        for (const QString &name : fieldNames) {
            const QList<double> samples =
                timeAnswers(window, Bench::lineEdit(window, name), input.text);
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
