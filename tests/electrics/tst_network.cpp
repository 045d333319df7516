#include "electrics/network.h"
#include "electrics/networkband.h"

#include <QObject>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Electrics;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Electrics::Network)
Q_DECLARE_METATYPE(Electrics::MatchingMove)
Q_DECLARE_METATYPE(Electrics::Realisation)

// The expected values were computed by hand, with python3 from the textbook
// formulas (Zin = Zl (Z + jZl tan βl) / (Zl + jZ tan βl), stub B = Y0 tan βl
// or -Y0 cot βl, band edges by a finer scan), not from this program's output.
namespace {

const double inf = std::numeric_limits<double>::infinity();
const double x = 50.0 * std::sqrt(1.5); // 100 + j50 Ω reaches 50 ± j61,24 Ω on g = 1

complex_dbl gammaOf(complex_dbl z)
{
    if (std::isinf(z.real()) || std::isinf(z.imag()))
        return 1.0;
    return (z - 50.0) / (z + 50.0);
}

Network network(complex_dbl load, double f0, std::vector<NetworkElement> elements,
                LoadCircuit circuit = LoadCircuit::Series)
{
    return {50.0, f0, load, circuit, Realisation::LumpedLC, Realisation::LumpedLC, elements};
}

// 100 + j50 Ω as a series R-L at 100 MHz, matched as the chart's moves make it: a shunt
// element to 50 ∓ j61,24 Ω, then a series one to 50 Ω.
Network lSection(bool shuntC, double f0 = 1e8)
{
    const complex_dbl via = gammaOf({50.0, shuntC ? -x : x});
    return network({100.0, 50.0}, f0,
                   {elementFromMove(MatchingMove::Shunt, gammaOf({100.0, 50.0}), via, 50.0, 0.0),
                    elementFromMove(MatchingMove::Series, via, 0.0, 50.0, 0.0)});
}

// 60 - j80 Ω at 2 GHz: a line to g = 1, then a short stub across it.
Network singleStub(bool shorter)
{
    const double length = shorter ? 0.11042321863830029 : 0.2594445306228258;
    const double b = shorter ? -0.029439202887759485 : 0.02943920288775949;
    Network stub =
        network({60.0, -80.0}, 2e9, {{MatchingMove::Line, length}, {MatchingMove::Shunt, b}});
    stub.shuntRealisation = Realisation::ShortStub;
    return stub;
}

// 10 Ω to 49,997 Ω through a quarter wave of 22,36 Ω.
Network quarterWave()
{
    return network(
        10.0, 3e9,
        {elementFromMove(MatchingMove::Line, gammaOf(10.0), gammaOf(49.99696), 50.0, 22.36)});
}

// 50 Ω with one stub.
Network stub(MatchingMove move, Realisation realisation, double change)
{
    Network built = network(50.0, 1e9, {{move, change}}, LoadCircuit::FrequencyIndependent);
    (move == MatchingMove::Series ? built.seriesRealisation : built.shuntRealisation) = realisation;
    return built;
}

} // namespace

class TestNetwork : public QObject
{
    Q_OBJECT

private slots:
    void inputFollowsFrequency_data();
    void inputFollowsFrequency();
    void stubLengthSpansItsRange_data();
    void stubLengthSpansItsRange();
    void elementNamesItsComponent_data();
    void elementNamesItsComponent();
    void bandAboutTheCentre_data();
    void bandAboutTheCentre();
    void storedPathRefusesGarbage_data();
    void storedPathRefusesGarbage();
    void lociAndNodesFollowTheModel();
};

void TestNetwork::inputFollowsFrequency_data()
{
    QTest::addColumn<Network>("net");
    QTest::addColumn<double>("hertz");
    QTest::addColumn<complex_dbl>("expected");

    const auto load = [](complex_dbl z, LoadCircuit circuit) {
        return network(z, 1e8, {}, circuit);
    };
    QTest::newRow("L-section/f0 matched") << lSection(true) << 1e8 << complex_dbl(50.0, 0.0);
    QTest::newRow("L-section/120 MHz")
        << lSection(true) << 1.2e8 << complex_dbl(36.47548031875508, 13.23351255341202);
    QTest::newRow("L-section/0 Hz, L and C pass")
        << lSection(true) << 0.0 << complex_dbl(100.0, 0.0);
    QTest::newRow("L-section/0 Hz, series C blocks")
        << lSection(false) << 0.0 << complex_dbl(inf, 0.0);
    QTest::newRow("quarter wave/3 GHz") << quarterWave() << 3e9 << complex_dbl(49.99696, 0.0);
    QTest::newRow("single stub/2 GHz") << singleStub(true) << 2e9 << complex_dbl(50.0, 0.0);
    QTest::newRow("single stub/2,2 GHz")
        << singleStub(true) << 2.2e9 << complex_dbl(35.764720891694694, -5.870265750217744);
    QTest::newRow("series R-L/2 f0")
        << load({100.0, 50.0}, LoadCircuit::Series) << 2e8 << complex_dbl(100.0, 100.0);
    QTest::newRow("series R-C/2 f0")
        << load({30.0, -40.0}, LoadCircuit::Series) << 2e8 << complex_dbl(30.0, -20.0);
    QTest::newRow("parallel R-L/2 f0") << load({100.0, 50.0}, LoadCircuit::Parallel) << 2e8
                                       << complex_dbl(117.6470588235294, 29.41176470588235);
    QTest::newRow("parallel R-C/2 f0") << load({30.0, -40.0}, LoadCircuit::Parallel) << 2e8
                                       << complex_dbl(10.273972602739725, -27.3972602739726);
    QTest::newRow("parallel R-L/0 Hz shorts")
        << load({100.0, 50.0}, LoadCircuit::Parallel) << 0.0 << complex_dbl(0.0, 0.0);
    QTest::newRow("constant/2 f0") << load({100.0, 50.0}, LoadCircuit::FrequencyIndependent) << 2e8
                                   << complex_dbl(100.0, 50.0);
    QTest::newRow("no frequency/any f") << lSection(true, 0.0) << 3e8 << complex_dbl(50.0, 0.0);
    const double b = 0.02;
    QTest::newRow("series open stub/f0/2")
        << stub(MatchingMove::Series, Realisation::OpenStub, -50.0) << 5e8
        << complex_dbl(50.0, -120.71067811865476);
    QTest::newRow("series short stub/f0/2")
        << stub(MatchingMove::Series, Realisation::ShortStub, 50.0) << 5e8
        << complex_dbl(50.0, 20.71067811865475);
    QTest::newRow("shunt open stub/f0/2")
        << stub(MatchingMove::Shunt, Realisation::OpenStub, b) << 5e8
        << complex_dbl(42.67766952966369, -17.677669529663685);
    QTest::newRow("shunt short stub/f0/2")
        << stub(MatchingMove::Shunt, Realisation::ShortStub, -b) << 5e8
        << complex_dbl(7.322330470336311, 17.67766952966369);
    QTest::newRow("shunt short stub/0 Hz shorts")
        << stub(MatchingMove::Shunt, Realisation::ShortStub, -b) << 0.0 << complex_dbl(0.0, 0.0);
}

// Compared as Γ, which is finite at the open circuit too.
void TestNetwork::inputFollowsFrequency()
{
    QFETCH(Network, net);
    QFETCH(double, hertz);
    QFETCH(complex_dbl, expected);
    const complex_dbl input = inputImpedanceAt(net, hertz);
    QVERIFY2(std::abs(gammaOf(input) - gammaOf(expected)) < 1e-9,
             qPrintable(u"%1 %2"_s.arg(input.real()).arg(input.imag())));
}

void TestNetwork::stubLengthSpansItsRange_data()
{
    QTest::addColumn<MatchingMove>("move");
    QTest::addColumn<Realisation>("realisation");
    QTest::addColumn<double>("change");
    QTest::addColumn<double>("length");

    const auto shunt = MatchingMove::Shunt;
    const auto series = MatchingMove::Series;
    QTest::newRow("shunt open/B = Y0") << shunt << Realisation::OpenStub << 0.02 << 0.125;
    QTest::newRow("shunt open/B just below 0") << shunt << Realisation::OpenStub << -1e-15 << 0.5;
    QTest::newRow("shunt open/B = -inf") << shunt << Realisation::OpenStub << -inf << 0.25;
    QTest::newRow("shunt short/B = -inf") << shunt << Realisation::ShortStub << -inf << 0.0;
    QTest::newRow("shunt short/B = +inf") << shunt << Realisation::ShortStub << inf << 0.5;
    QTest::newRow("series open/X = -Z0") << series << Realisation::OpenStub << -50.0 << 0.125;
    QTest::newRow("series short/X = -Z0") << series << Realisation::ShortStub << -50.0 << 0.375;
    QTest::newRow("series short/X = +inf") << series << Realisation::ShortStub << inf << 0.25;
}

void TestNetwork::stubLengthSpansItsRange()
{
    QFETCH(MatchingMove, move);
    QFETCH(Realisation, realisation);
    QFETCH(double, change);
    QFETCH(double, length);
    QVERIFY(std::abs(stubLength(move, realisation, change, 50.0) - length) < 1e-12);
}

void TestNetwork::elementNamesItsComponent_data()
{
    QTest::addColumn<Network>("net");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");

    QTest::newRow("L-section/shunt C") << lSection(true) << 0 << u"Parallel-C 21,96 pF"_s;
    QTest::newRow("L-section/series L") << lSection(true) << 1 << u"Serien-L 97,46 nH"_s;
    QTest::newRow("L-section/shunt L") << lSection(false) << 0 << u"Parallel-L 274,50 nH"_s;
    QTest::newRow("L-section/series C") << lSection(false) << 1 << u"Serien-C 25,99 pF"_s;
    QTest::newRow("no frequency/series") << lSection(true, 0.0) << 1 << u"Serien-X 61,24 jΩ"_s;
    QTest::newRow("quarter wave") << quarterWave() << 0 << u"Leitung 22,36 Ω 0,250 λ (90,0°)"_s;
    QTest::newRow("line of Z0") << network(10.0, 0.0, {{MatchingMove::Line, 0.125, 50.0}}) << 0
                                << u"Leitung 0,125 λ (45,0°)"_s;
    QTest::newRow("single stub/line") << singleStub(true) << 0 << u"Leitung 0,110 λ (39,8°)"_s;
    QTest::newRow("single stub/stub")
        << singleStub(true) << 1 << u"Parallel-Stichleitung, kurzgeschlossen 0,095 λ (34,2°)"_s;
    QTest::newRow("single stub/other stub")
        << singleStub(false) << 1 << u"Parallel-Stichleitung, kurzgeschlossen 0,405 λ (145,8°)"_s;
    Network open = stub(MatchingMove::Series, Realisation::OpenStub, 67.03130159343108);
    open.frequency = 0.0;
    QTest::newRow("series open stub at 0 Hz")
        << open << 0 << u"Serien-Stichleitung, leerlaufend 0,398 λ (143,3°)"_s;
    QTest::newRow("changes nothing")
        << network(10.0, 1e9, {{MatchingMove::Series, 0.0}}) << 0 << QString();
}

void TestNetwork::elementNamesItsComponent()
{
    QFETCH(Network, net);
    QFETCH(int, index);
    QFETCH(QString, text);
    QCOMPARE(elementText(net, index), text);
}

void TestNetwork::bandAboutTheCentre_data()
{
    QTest::addColumn<Network>("net");
    QTest::addColumn<double>("limit");
    QTest::addColumn<QString>("text");

    QTest::newRow("shunt C, series L/1,5")
        << lSection(true) << 1.5 << u"SWR ≤ 1,5: 71,07 MHz … 118,65 MHz (47,58 MHz, 47,6 %)"_s;
    QTest::newRow("shunt L, series C/1,5")
        << lSection(false) << 1.5 << u"SWR ≤ 1,5: 80,65 MHz … 128,40 MHz (47,75 MHz, 47,7 %)"_s;
    QTest::newRow("shunt C, series L/2: no lower edge")
        << lSection(true) << 2.0 << u"SWR ≤ 2: unter 1,00 MHz … 129,42 MHz"_s;
    QTest::newRow("shunt L, series C/2")
        << lSection(false) << 2.0 << u"SWR ≤ 2: 70,75 MHz … 155,33 MHz (84,57 MHz, 84,6 %)"_s;
    QTest::newRow("quarter wave/1,5")
        << quarterWave() << 1.5 << u"SWR ≤ 1,5: 2,56 GHz … 3,44 GHz (879,48 MHz, 29,3 %)"_s;
    QTest::newRow("no edge") << network(60.0, 1e8, {}) << 1.5
                             << u"SWR ≤ 1,5: unter 1,00 MHz … über 10,00 GHz"_s;
    QTest::newRow("missed") << network({100.0, 50.0}, 1e8, {}) << 2.0
                            << u"SWR ≤ 2: bei f₀ nicht erreicht (SWR 2,62)"_s;
    QTest::newRow("active") << network({-20.0, 10.0}, 1e8, {}) << 2.0
                            << u"SWR ≤ 2: kein SWR (R < 0)"_s;
    QTest::newRow("no frequency") << lSection(true, 0.0) << 2.0 << QString();
}

void TestNetwork::bandAboutTheCentre()
{
    QFETCH(Network, net);
    QFETCH(double, limit);
    QFETCH(QString, text);
    QCOMPARE(bandText(bandEdges(net, limit), net.frequency), text);
}

void TestNetwork::storedPathRefusesGarbage_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("L-section") << u"100 50;P 0.0138;S 61.24"_s << true;
    QTest::newRow("full precision")
        << u"100 50;P 0.013797958971132713;S 61.23724356957945"_s << true;
    QTest::newRow("line of its own") << u"10 -0.5;L 0.25 22.36;L 1 0"_s << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("load without X") << u"100"_s << false;
    QTest::newRow("locale comma") << u"100,5 50"_s << false;
    QTest::newRow("not a number") << u"100 nan"_s << false;
    QTest::newRow("infinite") << u"100 50;S inf"_s << false;
    QTest::newRow("kind without value") << u"100 50;S"_s << false;
    QTest::newRow("unknown kind") << u"100 50;X 1"_s << false;
    QTest::newRow("line truncated") << u"100 50;L 0.25"_s << false;
    QTest::newRow("line of no length") << u"100 50;L 0 0"_s << false;
    QTest::newRow("line too long") << u"100 50;L 1.5 0"_s << false;
    QTest::newRow("negative line impedance") << u"100 50;L 0.2 -5"_s << false;
    QTest::newRow("100 elements") << u"1 0"_s + u";S 1"_s.repeated(100) << true;
    QTest::newRow("101 elements") << u"1 0"_s + u";S 1"_s.repeated(101) << false;
}

// What is taken is what was stored, and reads back the same.
void TestNetwork::storedPathRefusesGarbage()
{
    QFETCH(QString, stored);
    QFETCH(bool, accepted);
    const std::optional<Network> decoded = decodeNetworkPath(stored, lSection(false));
    QCOMPARE(decoded.has_value(), accepted);
    if (decoded)
        QCOMPARE(encodeNetworkPath(*decoded), stored);
}

void TestNetwork::lociAndNodesFollowTheModel()
{
    const Network matched = lSection(true);
    const auto loci = gammaLocus(matched, 2, 0.5);
    QCOMPARE(loci.size(), std::size_t(1));
    QCOMPARE(loci.front().front().frequency, 5e7);
    QCOMPARE(loci.front().back().frequency, 1.5e8);
    for (std::size_t index = 1; index < loci.front().size(); ++index)
        QVERIFY(std::abs(loci.front()[index].gamma - loci.front()[index - 1].gamma) <= 0.05);
    // At 0 Hz the series C of the other solution blocks: the input is open.
    QCOMPARE(gammaLocus(lSection(false), 2, 1.0).front().front().gamma, complex_dbl(1.0));
    QVERIFY(!gammaLocus(network({-20.0, 10.0}, 1e8, {}), 0, 0.5).empty());
    const complex_dbl at110(-0.07172381533654232, 0.07089261008897328);
    QVERIFY(std::abs(nearestFrequency(matched, 2, 9e7, 1.3e8, at110) - 1.1e8) < 1e3);

    QCOMPARE(nodeQText(*highestNodeQ(matched)), u"höchste Knotengüte Q = 1,22"_s);
    QVERIFY(!highestNodeQ(network(10.0, 1e8, {})));
    // Q = 1 passes through 50 ± j50 Ω, at Γ = 0,2 ± j0,4.
    for (const bool inductive : {true, false}) {
        const GammaCircle circle = constantQCircle(1.0, inductive);
        const complex_dbl onIt(0.2, inductive ? 0.4 : -0.4);
        QVERIFY(std::abs(std::abs(onIt - circle.centre) - circle.radius) < 1e-12);
    }
}

QTEST_GUILESS_MAIN(TestNetwork)
#include "tst_network.moc"
