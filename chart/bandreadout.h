#pragma once

#include "electrics/network.h"

#include <QString>
#include <QStringList>

#include <vector>

// The readout's lines of the band, one per SWR limit: "SWR ≤ 2: 70,75 MHz …
// 155,33 MHz (84,57 MHz, 84,6 %)". Finding an edge scans outward from f0 until
// the SWR crosses the limit, through thousands of frequencies where it never
// does, so the lines are kept with what they were worked out for.
class BandReadout
{
public:
    // The lines for the network over a band of this span (0: none).
    const QStringList &lines(const Electrics::Network &network, double span,
                             const std::vector<double> &swrLimits);

private:
    QStringList shown;
    QString shownFor;
};
