#pragma once

#include "electrics/network.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <vector>

// The readout's lines of the band, one per SWR limit: "SWR ≤ 2: 70,75 MHz …
// 155,33 MHz (84,57 MHz, 84,6 %)". Finding an edge scans outward from f0 until
// the SWR crosses the limit, through thousands of frequencies where it never
// does, so the lines are kept with what they were worked out for, and while
// the load is dragged they are worked out at most every few hundredths of a
// second: the readout follows the drag, and a step costs no scan.
class BandReadout
{
public:
    // The lines for the network over a band of this span (0: none). While
    // `dragging`, lines of an earlier step may come back; `behind` then says
    // so until they are asked for again in time.
    const QStringList &lines(const Electrics::Network &network, double span,
                             const std::vector<double> &swrLimits, bool dragging);
    bool behind() const { return stale; }

    // How often a drag has its lines worked out again at most.
    static constexpr int dragIntervalMilliseconds = 50;

private:
    QStringList shown;
    QString shownFor;
    QElapsedTimer sinceWorkedOut;
    bool stale = false;
};
