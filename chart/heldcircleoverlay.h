#pragma once

#include "chart/chartoverlay.h"
#include "electrics/complexdbl.h"
#include "electrics/matching.h"

#include <optional>

// The faint circle along which the held move shown takes the load. The scene
// owns it and tells it the move, the load and the impedance of the line that
// a line move makes (not positive: z0).
class HeldCircleOverlay : public ChartOverlay
{
public:
    void show(std::optional<Electrics::MatchingMove> move, complex_dbl load, complex_dbl z0,
              double lineImpedance);

    std::vector<Piece> pieces() const override;
    void paint(QPainter &painter, const Exposure &exposed) const override;
    bool inCopy() const override { return false; }

private:
    std::optional<Electrics::MatchingMove> move;
    std::optional<Electrics::GammaCircle> circle;
};
