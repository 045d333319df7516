#pragma once

#include "chart/chartoverlay.h"
#include "electrics/matching.h"

#include <array>
#include <optional>

// The two faint arcs inside the chart on which |X|/R is one chosen Q, the
// inductive above the real axis and the capacitive below: a node on them has
// that Q, which sets how wide an L-section's band is.
class QCirclesOverlay : public ChartOverlay
{
public:
    // 0 shows none.
    void setQ(double q);
    double q() const { return shownQ; }

    std::vector<Piece> pieces() const override;
    void paint(QPainter &painter, const Exposure &exposed) const override;

private:
    double shownQ = 0.0;
    std::array<std::optional<Electrics::GammaArc>, 2> arcs;
};
