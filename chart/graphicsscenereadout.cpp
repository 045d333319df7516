#include "chart/graphicsscene.h"

#include "chart/markeritem.h"
#include "electrics/networkband.h"

#include <QGraphicsView>

#include <algorithm>

// What the chart tells in words: the marker's tooltip and the view's
// description, composed here line by line.

namespace {

// The band's criterion while no SWR circle is shown.
constexpr double defaultSwrLimit = 2.0;

} // namespace

std::vector<double> GraphicsScene::bandCriteria() const
{
    std::vector<double> criteria = swrLimits;
    std::sort(criteria.begin(), criteria.end());
    criteria.erase(std::unique(criteria.begin(), criteria.end()), criteria.end());
    if (criteria.empty())
        criteria.push_back(defaultSwrLimit);
    return criteria;
}

void GraphicsScene::setLoadSummary(const QString &summary)
{
    loadSummary = summary;
    refreshReadout();
}

void GraphicsScene::setViewDescription(const QString &description)
{
    viewDescription = description;
}

QStringList GraphicsScene::readoutLines() const
{
    QStringList lines {loadSummary};
    lines += matching.readout();
    lines += bandLines();
    if (const std::optional<double> q = Electrics::highestNodeQ(matching.network()))
        lines << Electrics::nodeQText(*q);
    return lines;
}

const QStringList &GraphicsScene::bandLines() const
{
    return bandReadout.lines(matching.network(), shownSpan, bandCriteria());
}

// Hovering shows the summary and the network; a screen reader, which cannot
// hover, finds both in the view's description. During a drag they follow at
// most every readoutIntervalMilliseconds, which nobody could read faster:
// composing them, the band's edges among them, would cost every step.
void GraphicsScene::refreshReadout()
{
    if (dragging && sinceReadout.isValid()
        && sinceReadout.elapsed() < readoutIntervalMilliseconds) {
        // A drag that stops without letting go still gets its words.
        readoutTimer.start();
        return;
    }
    readoutTimer.stop();
    sinceReadout.start();
    const QString readout = readoutLines().join(u'\n');
    if (marker)
        marker->setToolTip(readout);
    QStringList described = exerciseBox.lines();
    if (!viewDescription.isEmpty())
        described.prepend(viewDescription);
    const QString description = (described << readout).join(u'\n');
    for (QGraphicsView *view : views())
        view->setAccessibleDescription(description);
}
