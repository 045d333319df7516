// bench_parse: how long parseValue takes on adversarial texts as long as a
// line edit allows, with the regular-expression JIT and without it (as on
// platforms that forbid JIT code). Run without QT_ENABLE_REGEXP_JIT set, it
// measures with the JIT and then runs itself again with the JIT disabled;
// the JIT setting is read once, before the first pattern is compiled, so one
// process cannot measure both. --compare also times the plain value pattern
// searched from the first character, as parsing did before it skipped ahead
// (that takes seconds per text without the JIT). Every text but the typical
// entry is 32767 characters long, or one less where a surrogate pair would be
// cut.
//
//   bench_parse [--compare] [--json FILE]

#include "bench/benchsupport.h"
#include "electrics/valueparser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cstring>

namespace {

constexpr int lineEditCapacity = 32767;

struct AdversarialText
{
    QString name;
    QString text;
};

QString repeated(QStringView unit, qsizetype length = lineEditCapacity)
{
    QString text;
    text.reserve(length + unit.size());
    while (text.size() < length)
        text += unit;
    text.truncate(length);
    return text;
}

QList<AdversarialText> adversarialTexts()
{
    const qsizetype half = lineEditCapacity / 2;
    return {
        {QStringLiteral("typical entry"), QStringLiteral("1,50 jkΩ")},
        {QStringLiteral("full stops"), repeated(u".")},
        {QStringLiteral("commas"), repeated(u",")},
        {QStringLiteral("plus signs"), repeated(u"+")},
        {QStringLiteral("minus signs"), repeated(u"-")},
        {QStringLiteral("letters e"), repeated(u"e")},
        {QStringLiteral("full stops and commas"), repeated(u".,")},
        {QStringLiteral("signs, e, commas, stops"), repeated(u"+-e,.")},
        {QStringLiteral("full stops then a digit"), repeated(u".", lineEditCapacity - 1) + u'5'},
        {QStringLiteral("a digit then full stops"), u'5' + repeated(u".", lineEditCapacity - 1)},
        {QStringLiteral("stops, comma, stops, digit"),
         repeated(u".", half) + u',' + repeated(u".", half - 1) + u'5'},
        {QStringLiteral("digit and full stop pairs"), repeated(u"1.")},
        {QStringLiteral("digit and comma pairs"), repeated(u"1,")},
        {QStringLiteral("digit and e pairs"), repeated(u"1e")},
        {QStringLiteral("digits"), repeated(u"1")},
        {QStringLiteral("a digit then blanks"), u'5' + repeated(u" ", lineEditCapacity - 1)},
        {QStringLiteral("number after words"),
         repeated(u"abc ", lineEditCapacity - 5) + QStringLiteral("47 kΩ")},
        {QStringLiteral("number after signs and stops"),
         repeated(u"+.", lineEditCapacity - 5) + QStringLiteral("47 kΩ")},
        {QStringLiteral("Arabic-Indic digits"), repeated(u"٣")},
        {QStringLiteral("mathematical digits"), repeated(u"𝟓", lineEditCapacity - 1)},
        {QStringLiteral("Greek and micro letters"), repeated(u"Ωµ")},
    };
}

// Milliseconds of each run of `action`: at most `maximumRuns` runs, but no
// new run once `budgetMs` are spent, so that a text that takes seconds is
// measured once.
template<typename Action> QList<double> timeRuns(Action &&action, int maximumRuns, double budgetMs)
{
    QList<double> samples;
    double spent = 0.0;
    while (samples.size() < maximumRuns && spent < budgetMs) {
        QElapsedTimer timer;
        timer.start();
        action();
        samples.append(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        spent += samples.last();
    }
    return samples;
}

QList<double> timeParseValue(const QString &text)
{
    return timeRuns(
        [&text] {
            ValueEntry entry;
            entry.text = text;
            Electrics::parseValue(entry, true);
        },
        25, 2000.0);
}

QList<double> timePlainSearch(const QRegularExpression &plain, const QString &text)
{
    return timeRuns([&plain, &text] { plain.match(text).hasMatch(); }, 5, 1000.0);
}

bool hasFlag(int argc, char **argv, const char *flag)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], flag) == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    Bench::prepareEnvironment();
    QCoreApplication application(argc, argv);

    const bool jit = Bench::regularExpressionJitEnabled();
    const QString engine = jit ? QStringLiteral("JIT") : QStringLiteral("no JIT");
    const bool compare = hasFlag(argc, argv, "--compare");
    const QRegularExpression plain = Electrics::valuePattern();

    // Compiles (and with the JIT translates) the pattern before timing.
    timeParseValue(QStringLiteral("1"));
    plain.match(QStringLiteral("1")).hasMatch();

    Bench::Report report(QStringLiteral("bench_parse"));
    for (const AdversarialText &input : adversarialTexts()) {
        const QString figure = input.name + QStringLiteral(" (") + engine + u')';
        report.add(QStringLiteral("parse ") + figure, timeParseValue(input.text),
                   QStringLiteral("ms"));
        if (compare)
            report.add(QStringLiteral("plain search ") + figure, timePlainSearch(plain, input.text),
                       QStringLiteral("ms"));
    }
    bool succeeded = report.writeJsonIfRequested(argc, argv);
    if (jit && qEnvironmentVariableIsEmpty("QT_ENABLE_REGEXP_JIT"))
        succeeded = Bench::rerunWithoutJit(QCoreApplication::arguments().mid(1)) && succeeded;
    return succeeded ? 0 : 1;
}
