#pragma once

#include "chart/chartoverlay.h"
#include "chart/labelplacer.h"
#include "electrics/network.h"
#include "electrics/networkband.h"

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

// The match over a band: Γ of the load (dashed, in the marker's green) and of
// the input (solid) from f0·(1 − s) to f0·(1 + s), with a dot and the
// frequency at the band's ends and a tick with the frequency where the input
// crosses an SWR limit. The scene owns it and refreshes it after every change
// of the chart; everything paint needs is worked out then.
class BandOverlay : public ChartOverlay
{
public:
    void setFont(const QFont &font) { labelFont = font; }
    // A span of 0 shows nothing. The labels keep off what `obstacles` holds.
    void refresh(const Electrics::Network &network, double span,
                 const std::vector<double> &swrLimits, const LabelPlacer &obstacles);

    // The frequency of the input's curve nearest to the scene point, refined
    // on the network; none unless the curve passes within `reach` scene units.
    std::optional<double> inputFrequencyNear(const QPointF &scenePos, double reach) const;
    // "f = 95,000 MHz · Z = 53,75 - j2,64 Ω · SWR 1,09"
    QString inputText(double hertz) const;

    std::vector<Piece> pieces() const override;
    void paint(QPainter &painter, const Exposure &exposed) const override;

private:
    struct Shape
    {
        QPainterPath outline; // filled, so that dashes do not depend on the repainted area
        QColor colour;
    };
    struct Label
    {
        QRectF box;
        QString text;
        QColor colour;
    };

    std::vector<Electrics::Locus> addCurve(std::size_t count, const QColor &colour, bool dashed);
    void addEnds(const std::vector<Electrics::Locus> &loci, const QColor &colour);
    void addCrossings(double swrLimit);
    void addLabel(double hertz, const QPointF &anchor, const QPointF &normal, const QColor &colour);

    Electrics::Network model;
    double shownSpan = 0.0;
    QFont labelFont;
    LabelPlacer placer;
    // The input's curve as drawn, run by run, with the frequency of each point.
    std::vector<std::vector<QPointF>> inputPoints;
    std::vector<std::vector<double>> inputFrequencies;
    std::vector<Shape> shapes;
    std::vector<Label> labels;
    std::vector<Piece> cachedPieces;
    // The load's curve stays while a held move changes only the network:
    // kept with what it was worked out from.
    struct LoadCurve
    {
        Electrics::Network load; // without elements
        double span = 0.0;
        std::vector<Electrics::Locus> loci;
        QPainterPath outline;
    };
    std::optional<LoadCurve> loadCurve;
};
