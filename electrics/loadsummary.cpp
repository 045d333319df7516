#include "electrics/loadsummary.h"

#include "electrics/conversions.h"
#include "electrics/formatting.h"

#include <QCoreApplication>

#include <cmath>

namespace Electrics {

namespace {

// A Gamma this close to the unit circle, or to the open or the short circuit,
// counts as lying on it: a typed 1 or -1 and a pure reactance come out of the
// arithmetic only to within a few units in the last place.
constexpr double onCircleTolerance = 1e-9;

constexpr double matchedTolerance = 1e-12;

// The texts belong to the main window and are translated with its own.
QString text(const char *source)
{
    return QCoreApplication::translate("Velmora", source);
}

} // namespace

QString loadSummary(complex_dbl gamma, complex_dbl z0)
{
    double magnitude = gammaMagnitude(gamma);
    if (std::isnan(magnitude))
        return QString();
    // A load matched on the chart lands a few units in the last place off the
    // centre, which is no reflection worth a phase or a return loss.
    if (magnitude <= matchedTolerance)
        magnitude = 0.0;
    const QString separator = QStringLiteral(" · ");
    // The matched load has no phase worth showing.
    QString reflection = QStringLiteral("|Γ| = ") + formatNumber(magnitude, 3);
    if (magnitude > 0.0)
        reflection += QStringLiteral(" ∠ %1°").arg(formatNumber(gammaPhaseDegrees(gamma), 1));

    QString load;
    if (std::abs(gamma - 1.0) <= onCircleTolerance) {
        load = text("Leerlauf");
    } else if (std::abs(gamma + 1.0) <= onCircleTolerance) {
        load = text("Kurzschluss");
    } else {
        const complex_dbl z = impedanceFromGamma(gamma, z0);
        load = QStringLiteral("Z = ") + formatImpedance(z.real(), z.imag(), 2);
    }

    QString match;
    if (std::abs(magnitude - 1.0) <= onCircleTolerance) {
        match = text("Totalreflexion: SWR unendlich, Rückflussdämpfung 0 dB");
    } else if (magnitude > 1.0) {
        match = text("außerhalb des Einheitskreises (R < 0): kein SWR, keine Rückflussdämpfung");
    } else {
        const double swr = (1.0 + magnitude) / (1.0 - magnitude);
        match = QStringLiteral("SWR ") + formatNumber(swr, 2) + separator;
        if (magnitude > 0.0) {
            const double returnLoss = -20.0 * std::log10(magnitude);
            match += text("Rückflussdämpfung %1 dB").arg(formatNumber(returnLoss, 1));
        } else {
            match += text("angepasst, keine Reflexion");
        }
    }
    return load + separator + reflection + separator + match;
}

} // namespace Electrics
