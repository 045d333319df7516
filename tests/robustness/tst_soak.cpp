#include "monkey.h"
#include "throwawaysettings.h"
#include "warningtrap.h"
#include "windowdriver.h"

#include <QFile>
#include <QPixmapCache>
#include <QTest>

#include <malloc.h>

#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr int defaultInputs = 3000;
constexpr quint32 soakSeed = 100000u;
constexpr long allowedGrowthKib = 256;
// The toolkit's caches (glyphs of scripts met for the first time, the heap
// around 64 KiB pastes) settle within some ten thousand inputs; the memory
// figure is judged only for a soak long enough to leave them behind.
constexpr int shortestMeasuredSoak = 50000;

// The resident set of this process in KiB, from /proc/self/status.
long residentKib()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The memory the program holds on the heap, in KiB: what a leak or a cache
// without bound would make grow. The resident set is no measure of that: it
// also holds freed memory that the allocator keeps for reuse (the 64 KiB
// pastes fragment the heap) and the toolkit's pixmap cache, which has a
// fixed limit and is emptied here first.
long heapInUseKib()
{
    QPixmapCache::clear();
    return long(mallinfo2().uordblks / 1024);
}

bool underAddressSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#else
    return false;
#endif
}

} // namespace

// Many random inputs in one window: afterwards a load typed again shows the
// same texts as before, the window never lost its sound load, and in a long
// soak (outside the sanitizer build, whose allocator keeps freed memory) the
// heap in use grew by no more than 256 KiB after the warm-up of a fifth.
// VELMORA_SOAK_INPUTS sets the number of inputs (100000 for a full soak).
class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void longUseNeitherGrowsNorDrifts();

private:
    QHash<QString, QString> typeReferenceLoad(WindowDriver &panel, Monkey &monkey) const;
};

void TestSoak::initTestCase()
{
    useThrowAwaySettings();
}

QHash<QString, QString> TestSoak::typeReferenceLoad(WindowDriver &panel, Monkey &monkey) const
{
    for (const auto &[name, text] :
         {std::pair(u"LED_Z0"_s, u"50"_s), std::pair(u"LED_FREQUENZ"_s, u"2,45 GHz"_s),
          std::pair(u"LED_R"_s, u"33,3 Ω"_s), std::pair(u"LED_X"_s, u"-12,5 jΩ"_s)}) {
        const QString problem = monkey.enter(name, text);
        if (!problem.isEmpty())
            qWarning("%s", qPrintable(problem));
    }
    QHash<QString, QString> texts;
    for (const QString &name : WindowDriver::fieldNames())
        texts.insert(name, panel.text(name));
    return texts;
}

void TestSoak::longUseNeitherGrowsNorDrifts()
{
    bool given = false;
    const int requested = qEnvironmentVariableIntValue("VELMORA_SOAK_INPUTS", &given);
    const int inputs = given && requested > 0 ? requested : defaultInputs;
    const int warmUp = inputs / 5;
    qInfo("seed %u, %d inputs", soakSeed, inputs);

    WarningTrap warnings;
    WindowDriver panel;
    Monkey monkey(panel, soakSeed);
    const QHash<QString, QString> before = typeReferenceLoad(panel, monkey);
    long afterWarmUp = 0;
    for (int input = 1; input <= inputs; ++input) {
        const QString problem = monkey.step();
        const QString printed = warnings.take();
        if (!problem.isEmpty() || !printed.isEmpty())
            QFAIL(qPrintable(u"input %1, %2: %3%4"_s.arg(input).arg(
                monkey.lastAction().description.left(200), problem, printed)));
        if (input == warmUp)
            afterWarmUp = heapInUseKib();
        if (input % (inputs / 10) == 0)
            qInfo("after %d inputs: heap in use %ld KiB, resident memory %ld KiB", input,
                  heapInUseKib(), residentKib());
    }
    const long atEnd = heapInUseKib();
    qInfo("heap in use after warm-up %ld KiB, at the end %ld KiB, growth %ld KiB", afterWarmUp,
          atEnd, atEnd - afterWarmUp);

    const QHash<QString, QString> after = typeReferenceLoad(panel, monkey);
    for (const QString &name : WindowDriver::fieldNames())
        QVERIFY2(after.value(name) == before.value(name),
                 qPrintable(u"%1 showed \"%2\" before, \"%3\" after"_s.arg(name, before.value(name),
                                                                           after.value(name))));
    QCOMPARE(warnings.take(), QString());
    if (!underAddressSanitizer() && inputs >= shortestMeasuredSoak)
        QVERIFY2(atEnd - afterWarmUp <= allowedGrowthKib,
                 qPrintable(u"grew by %1 KiB"_s.arg(atEnd - afterWarmUp)));
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
