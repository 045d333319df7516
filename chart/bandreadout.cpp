#include "chart/bandreadout.h"

#include "electrics/networkband.h"

namespace {

// Everything the lines depend on, to the last bit.
QString keyOf(const Electrics::Network &network, const std::vector<double> &swrLimits)
{
    QString key = Electrics::encodeNetworkPath(network);
    for (const double value : {network.z0, network.frequency, double(network.loadCircuit),
                               double(network.seriesRealisation), double(network.shuntRealisation)})
        key += u' ' + QString::number(value, 'g', 17);
    for (const double limit : swrLimits)
        key += u' ' + QString::number(limit, 'g', 17);
    return key;
}

} // namespace

const QStringList &BandReadout::lines(const Electrics::Network &network, double span,
                                      const std::vector<double> &swrLimits)
{
    if (!(span > 0.0) || !Electrics::hasFrequency(network)) {
        shown.clear();
        shownFor.clear();
        return shown;
    }
    const QString key = keyOf(network, swrLimits);
    if (key == shownFor)
        return shown;
    shown.clear();
    for (const double limit : swrLimits)
        shown << Electrics::bandText(Electrics::bandEdges(network, limit), network.frequency);
    shownFor = key;
    return shown;
}
