#include "electrics/conversions.h"

#include <QObject>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Electrics;
using namespace Qt::StringLiterals;

namespace {

const double inf = std::numeric_limits<double>::infinity();
const double notANumber = std::numeric_limits<double>::quiet_NaN();
const complex_dbl z50(50.0, 0.0);

// Checks a computed quantity against its entry in a table of expected values:
// "nan" for not a number, "+0" for a zero with a positive sign, "+inf"/"-inf"
// for a signed infinity, "inf" for an
// infinity of either sign, "~16.667" for a number rounded to the digits shown
// (compared within half a unit of its last digit), and any other number for
// an exact result.
void verifyQuantity(double actual, const QString &expected)
{
    const QByteArray message = QByteArrayLiteral("got ") + QByteArray::number(actual, 'g', 17)
        + QByteArrayLiteral(", expected ") + expected.toUtf8();
    if (expected == u"nan") {
        QVERIFY2(std::isnan(actual), message.constData());
    } else if (expected == u"+0") {
        QVERIFY2(actual == 0.0 && !std::signbit(actual), message.constData());
    } else if (expected == u"inf") {
        QVERIFY2(std::isinf(actual), message.constData());
    } else if (expected == u"+inf" || expected == u"-inf") {
        QVERIFY2(actual == (expected == u"+inf" ? inf : -inf), message.constData());
    } else if (expected.startsWith(u'~')) {
        const QString rounded = expected.mid(1);
        const QString mantissa = rounded.section(u'e', 0, 0);
        const int exponent = rounded.section(u'e', 1, 1).toInt();
        const qsizetype point = mantissa.indexOf(u'.');
        const int decimals = point < 0 ? 0 : int(mantissa.size() - point - 1);
        const double halfUnit = 0.5 * std::pow(10.0, exponent - decimals);
        QVERIFY2(std::fabs(actual - rounded.toDouble()) <= halfUnit, message.constData());
    } else {
        bool ok = false;
        const double exact = expected.toDouble(&ok);
        QVERIFY2(ok, "malformed expectation");
        QVERIFY2(actual == exact, message.constData());
    }
}

} // namespace

// The conversions C1 to C13 at the special loads and in the worked examples,
// and the IEC 60559 complex arithmetic they rely on.
class TestConversions : public QObject
{
    Q_OBJECT

private slots:
    void workedValues_data();
    void workedValues();
    void elementOfReactance_data();
    void elementOfReactance();
    void reactanceFromElement_data();
    void reactanceFromElement();
    void parallelEntryAfterDisplay_data();
    void parallelEntryAfterDisplay();
    void infiniteParallelPartAddsNoAdmittance();
    void activeLoadIsCarriedThrough();
    void newZ0KeepsGamma_data();
    void newZ0KeepsGamma();
    void polarForm_data();
    void polarForm();
    void gammaFromPolar_data();
    void gammaFromPolar();
    void enteredQuantitiesGiveGamma_data();
    void enteredQuantitiesGiveGamma();
    void complexArithmeticFollowsIec60559_data();
    void complexArithmeticFollowsIec60559();
};

void TestConversions::workedValues_data()
{
    QTest::addColumn<complex_dbl>("gamma");
    QTest::addColumn<QString>("r");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("g");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("rp");
    QTest::addColumn<QString>("xp");

    const auto row = [](const char *name, complex_dbl gamma, const char *r, const char *x,
                        const char *g, const char *b, const char *rp, const char *xp) {
        QTest::newRow(name) << gamma << QString::fromLatin1(r) << QString::fromLatin1(x)
                            << QString::fromLatin1(g) << QString::fromLatin1(b)
                            << QString::fromLatin1(rp) << QString::fromLatin1(xp);
    };
    row("matched 0", {0.0, 0.0}, "50", "0", "0.02", "0", "50", "nan");
    row("0.5", {0.5, 0.0}, "150", "0", "~0.0066667", "0", "150", "nan");
    row("-0.5", {-0.5, 0.0}, "~16.667", "0", "0.06", "0", "~16.667", "nan");
    row("0.5j", {0.0, 0.5}, "30", "40", "0.012", "-0.016", "~83.333", "62.5");
    row("-0.5j", {0.0, -0.5}, "30", "-40", "0.012", "0.016", "~83.333", "-62.5");
    row("0.5+0.5j", {0.5, 0.5}, "50", "100", "0.004", "-0.008", "250", "125");
    row("j", {0.0, 1.0}, "0", "50", "0", "-0.02", "inf", "50");
    row("-j", {0.0, -1.0}, "0", "-50", "0", "0.02", "inf", "-50");
    // On the outer circle the quotient leaves R a few units in the last place
    // away from 0, of either sign; the load is lossless all the same.
    row("typed 30j", gammaFromImpedance({0.0, 30.0}, z50), "+0", "~30.000", "+0", "~-0.033333",
        "+inf", "~30.000");
    row("typed -30j", gammaFromImpedance({0.0, -30.0}, z50), "+0", "~-30.000", "+0", "~0.033333",
        "+inf", "~-30.000");
    row("1 at 30", Electrics::gammaFromPolar(1.0, 30.0), "+0", "~186.60", "+0", "~-0.0053590",
        "+inf", "~186.60");
    row("1 at -150", Electrics::gammaFromPolar(1.0, -150.0), "+0", "~-13.397", "+0", "~0.074641",
        "+inf", "~-13.397");
    row("1 at 179", Electrics::gammaFromPolar(1.0, 179.0), "+0", "~0.43634", "+0", "~-2.2918",
        "+inf", "~0.43634");
    row("1 at 1, near the open circuit", Electrics::gammaFromPolar(1.0, 1.0), "+0", "~5729.43",
        "+0", "~-0.00017454", "+inf", "~5729.43");
    row("0.6+0.8j, the rim from the keys", {0.6, 0.8}, "+0", "100", "+0", "-0.01", "+inf", "100");
    row("open 1", {1.0, 0.0}, "+inf", "nan", "0", "0", "+inf", "nan");
    row("short -1", {-1.0, 0.0}, "0", "0", "+inf", "nan", "0", "nan");
}

void TestConversions::workedValues()
{
    QFETCH(complex_dbl, gamma);
    const complex_dbl z = impedanceFromGamma(gamma, z50);
    const complex_dbl y = admittanceFromImpedance(z);
    const ParallelEquivalent parallel = parallelFromAdmittance(y);

    QFETCH(QString, r);
    QFETCH(QString, x);
    QFETCH(QString, g);
    QFETCH(QString, b);
    QFETCH(QString, rp);
    QFETCH(QString, xp);
    verifyQuantity(z.real(), r);
    verifyQuantity(z.imag(), x);
    verifyQuantity(y.real(), g);
    verifyQuantity(y.imag(), b);
    verifyQuantity(parallel.rp, rp);
    verifyQuantity(parallel.xp, xp);
}

void TestConversions::elementOfReactance_data()
{
    QTest::addColumn<bool>("parallel"); // the parallel circuit's element, else the series one's
    QTest::addColumn<double>("reactance");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<ElementKind>("kind");
    QTest::addColumn<QString>("value");

    const ElementKind inductor = ElementKind::Inductor;
    const ElementKind capacitor = ElementKind::Capacitor;
    QTest::newRow("series, X = 40 gives LS") << false << 40.0 << 1e6 << inductor << u"~6.3662e-6"_s;
    QTest::newRow("series, X = -40 gives CS")
        << false << -40.0 << 1e6 << capacitor << u"~3.9789e-9"_s;
    QTest::newRow("series, X = 0 gives none") << false << 0.0 << 1e6 << ElementKind::None << u"0"_s;
    // A zero's sign bit must not make a capacitor of infinite value.
    QTest::newRow("series, X = -0 gives none")
        << false << -0.0 << 1e6 << ElementKind::None << u"0"_s;
    QTest::newRow("series, X nan gives inductor nan")
        << false << notANumber << 1e6 << inductor << u"nan"_s;
    QTest::newRow("parallel, XP = 62.5 gives LP")
        << true << 62.5 << 1e6 << inductor << u"~9.9472e-6"_s;
    // The parallel capacitor's value keeps the sign of its reactance.
    QTest::newRow("parallel, XP = -62.5 gives CP")
        << true << -62.5 << 1e6 << capacitor << u"~-2.5465e-9"_s;
    // A zero reactance across the load is a short: an inductor of 0 H.
    QTest::newRow("parallel, XP = 0 gives LP 0") << true << 0.0 << 1e6 << inductor << u"+0"_s;
    QTest::newRow("parallel, XP nan gives inductor nan")
        << true << notANumber << 1e6 << inductor << u"nan"_s;
    QTest::newRow("series inductor at 0 Hz") << false << 40.0 << 0.0 << inductor << u"+inf"_s;
    QTest::newRow("series capacitor at 0 Hz") << false << -40.0 << 0.0 << capacitor << u"+inf"_s;
    QTest::newRow("series nan at 0 Hz") << false << notANumber << 0.0 << inductor << u"nan"_s;
    QTest::newRow("parallel inductor at 0 Hz") << true << 62.5 << 0.0 << inductor << u"+inf"_s;
    QTest::newRow("parallel capacitor at 0 Hz") << true << -62.5 << 0.0 << capacitor << u"-inf"_s;
    QTest::newRow("parallel nan at 0 Hz") << true << notANumber << 0.0 << inductor << u"nan"_s;
}

void TestConversions::elementOfReactance()
{
    QFETCH(bool, parallel);
    QFETCH(double, reactance);
    QFETCH(double, frequency);
    QFETCH(ElementKind, kind);
    QFETCH(QString, value);
    const Element element =
        parallel ? parallelElement(reactance, frequency) : seriesElement(reactance, frequency);
    QCOMPARE(element.kind, kind);
    verifyQuantity(element.value, value);
}

void TestConversions::reactanceFromElement_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<ElementKind>("kind");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<QString>("reactance");

    QTest::newRow("6.3662 uH at 1 MHz")
        << 6.3662e-6 << ElementKind::Inductor << 1e6 << QStringLiteral("~40.000");
    QTest::newRow("3.9789 nF at 1 MHz")
        << 3.9789e-9 << ElementKind::Capacitor << 1e6 << QStringLiteral("~-40.000");
    QTest::newRow("inductor at 0 Hz")
        << 1e-6 << ElementKind::Inductor << 0.0 << QStringLiteral("0");
    QTest::newRow("capacitor at 0 Hz")
        << 1e-9 << ElementKind::Capacitor << 0.0 << QStringLiteral("inf");
}

void TestConversions::reactanceFromElement()
{
    QFETCH(double, value);
    QFETCH(ElementKind, kind);
    QFETCH(double, frequency);
    QFETCH(QString, reactance);
    verifyQuantity(Electrics::reactanceFromElement(value, kind, frequency), reactance);
}

// An entry of RP keeps the parallel reactance of the load as last displayed.
void TestConversions::parallelEntryAfterDisplay_data()
{
    QTest::addColumn<complex_dbl>("displayedGamma");
    QTest::addColumn<double>("rp");
    QTest::addColumn<double>("r");
    QTest::addColumn<double>("gamma");

    QTest::newRow("resistive load, RP = 100")
        << complex_dbl(0.5, 0.0) << 100.0 << 100.0 << 1.0 / 3.0;
    QTest::newRow("short circuit, RP = 25") << complex_dbl(-1.0, 0.0) << 25.0 << 25.0 << -1.0 / 3.0;
}

void TestConversions::parallelEntryAfterDisplay()
{
    QFETCH(complex_dbl, displayedGamma);
    QFETCH(double, rp);
    QFETCH(double, r);
    QFETCH(double, gamma);
    const double storedXp =
        parallelFromAdmittance(admittanceFromImpedance(impedanceFromGamma(displayedGamma, z50))).xp;
    QVERIFY(std::isnan(storedXp));

    const complex_dbl z = impedanceFromParallel(rp, storedXp);
    QCOMPARE(z.real(), r);
    QCOMPARE(z.imag(), 0.0);
    const complex_dbl newGamma = gammaFromParallel(rp, storedXp, z50);
    QCOMPARE(newGamma.real(), gamma);
    QCOMPARE(newGamma.imag(), 0.0);
}

void TestConversions::infiniteParallelPartAddsNoAdmittance()
{
    QCOMPARE(impedanceFromParallel(100.0, inf), complex_dbl(100.0, 0.0));
    const complex_dbl reactiveOnly = impedanceFromParallel(inf, 50.0);
    QCOMPARE(reactiveOnly.real(), 0.0);
    QCOMPARE(reactiveOnly.imag(), 50.0);
}

void TestConversions::activeLoadIsCarriedThrough()
{
    const complex_dbl gamma(2.0, 0.0);
    const complex_dbl z = impedanceFromGamma(gamma, z50);
    QCOMPARE(z, complex_dbl(-150.0, 0.0));
    const ParallelEquivalent parallel = parallelFromAdmittance(admittanceFromImpedance(z));
    QCOMPARE(parallel.rp, -150.0);
    QCOMPARE(gammaFromImpedance(z, z50), gamma);
    QCOMPARE(gammaMagnitude(gamma), 2.0);
}

void TestConversions::newZ0KeepsGamma_data()
{
    QTest::addColumn<double>("z0");
    QTest::addColumn<double>("r");

    QTest::newRow("Z0 = 50") << 50.0 << 50.0;
    QTest::newRow("Z0 = 75") << 75.0 << 75.0;
}

void TestConversions::newZ0KeepsGamma()
{
    QFETCH(double, z0);
    QFETCH(double, r);
    const complex_dbl z = impedanceFromGamma(complex_dbl(0.0, 0.0), complex_dbl(z0, 0.0));
    QCOMPARE(z.real(), r);
    QCOMPARE(z.imag(), 0.0);
    QCOMPARE(gammaFromImpedance(z, complex_dbl(z0, 0.0)), complex_dbl(0.0, 0.0));
}

void TestConversions::polarForm_data()
{
    QTest::addColumn<complex_dbl>("gamma");
    QTest::addColumn<double>("magnitude");
    QTest::addColumn<double>("phase");

    QTest::newRow("0") << complex_dbl(0.0, 0.0) << 0.0 << 0.0;
    QTest::newRow("0.6+0.8j") << complex_dbl(0.6, 0.8) << 1.0 << 53.13010235415598;
    QTest::newRow("0.5j") << complex_dbl(0.0, 0.5) << 0.5 << 90.0;
    QTest::newRow("-1") << complex_dbl(-1.0, 0.0) << 1.0 << 180.0;
    QTest::newRow("-0.5j") << complex_dbl(0.0, -0.5) << 0.5 << -90.0;
}

void TestConversions::polarForm()
{
    QFETCH(complex_dbl, gamma);
    QFETCH(double, magnitude);
    QFETCH(double, phase);
    QCOMPARE(gammaMagnitude(gamma), magnitude);
    QCOMPARE(gammaPhaseDegrees(gamma), phase);
}

void TestConversions::gammaFromPolar_data()
{
    QTest::addColumn<double>("magnitude");
    QTest::addColumn<double>("phase");
    QTest::addColumn<complex_dbl>("gamma");

    QTest::newRow("1 at 0") << 1.0 << 0.0 << complex_dbl(1.0, 0.0);
    QTest::newRow("0.5 at 90") << 0.5 << 90.0 << complex_dbl(0.0, 0.5);
    QTest::newRow("1 at 180") << 1.0 << 180.0 << complex_dbl(-1.0, 0.0);
    QTest::newRow("1 at -45") << 1.0 << -45.0 << complex_dbl(std::sqrt(0.5), -std::sqrt(0.5));
}

void TestConversions::gammaFromPolar()
{
    QFETCH(double, magnitude);
    QFETCH(double, phase);
    QFETCH(complex_dbl, gamma);
    const complex_dbl result = Electrics::gammaFromPolar(magnitude, phase);
    // cos(pi/2) is not exactly 0 in doubles; a few ulps of 1 are allowed
    QVERIFY2(std::abs(result - gamma) < 1e-15,
             qPrintable(QStringLiteral("%1 %2").arg(result.real()).arg(result.imag())));
}

void TestConversions::enteredQuantitiesGiveGamma_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<complex_dbl>("gamma");

    QTest::newRow("impedance 30+40j") << QStringLiteral("impedance") << complex_dbl(0.0, 0.5);
    QTest::newRow("admittance 0.012-0.016j")
        << QStringLiteral("admittance") << complex_dbl(0.0, 0.5);
    QTest::newRow("series 30, 40") << QStringLiteral("series") << complex_dbl(0.0, 0.5);
    QTest::newRow("parallel 83.333, 62.5") << QStringLiteral("parallel") << complex_dbl(0.0, 0.5);
}

void TestConversions::enteredQuantitiesGiveGamma()
{
    QFETCH(QString, entry);
    QFETCH(complex_dbl, gamma);
    complex_dbl result;
    if (entry == u"impedance")
        result = gammaFromImpedance(complex_dbl(30.0, 40.0), z50);
    else if (entry == u"admittance")
        result = gammaFromAdmittance(complex_dbl(0.012, -0.016), z50);
    else if (entry == u"series")
        result = gammaFromSeries(30.0, 40.0, z50);
    else
        result = gammaFromParallel(250.0 / 3.0, 62.5, z50);
    QVERIFY2(std::abs(result - gamma) < 1e-14,
             qPrintable(QStringLiteral("%1 %2").arg(result.real()).arg(result.imag())));
}

// Guards the build: a compiler switch such as -ffast-math or
// -fcx-limited-range replaces these operations by the textbook formulas,
// which give not-a-number pairs where the conversions need infinities and
// zeros. The operands come from the table so that nothing is folded at
// compile time.
void TestConversions::complexArithmeticFollowsIec60559_data()
{
    QTest::addColumn<bool>("divide");
    QTest::addColumn<complex_dbl>("lhs");
    QTest::addColumn<complex_dbl>("rhs");
    QTest::addColumn<QString>("real");
    QTest::addColumn<QString>("imag");

    QTest::newRow("1 / (0+j0)") << true << complex_dbl(1.0, 0.0) << complex_dbl(0.0, 0.0)
                                << QStringLiteral("+inf") << QStringLiteral("nan");
    QTest::newRow("(2+j3) / (0+j0)") << true << complex_dbl(2.0, 3.0) << complex_dbl(0.0, 0.0)
                                     << QStringLiteral("+inf") << QStringLiteral("+inf");
    QTest::newRow("1 / (inf+j0)") << true << complex_dbl(1.0, 0.0) << complex_dbl(inf, 0.0)
                                  << QStringLiteral("0") << QStringLiteral("0");
    QTest::newRow("1 / (inf+jnan)") << true << complex_dbl(1.0, 0.0) << complex_dbl(inf, notANumber)
                                    << QStringLiteral("0") << QStringLiteral("0");
    QTest::newRow("(inf+jinf) / (1+j0)") << true << complex_dbl(inf, inf) << complex_dbl(1.0, 0.0)
                                         << QStringLiteral("+inf") << QStringLiteral("+inf");
    QTest::newRow("(inf+jinf) * (50+j0)")
        << false << complex_dbl(inf, inf) << complex_dbl(50.0, 0.0) << QStringLiteral("+inf")
        << QStringLiteral("+inf");
}

void TestConversions::complexArithmeticFollowsIec60559()
{
    QFETCH(bool, divide);
    QFETCH(complex_dbl, lhs);
    QFETCH(complex_dbl, rhs);
    QFETCH(QString, real);
    QFETCH(QString, imag);
    const complex_dbl result = divide ? lhs / rhs : lhs * rhs;
    verifyQuantity(result.real(), real);
    verifyQuantity(result.imag(), imag);
}

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
