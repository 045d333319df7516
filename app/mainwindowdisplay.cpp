#include "app/mainwindow.h"

#include "app/updatemask.h"
#include "electrics/conversions.h"
#include "electrics/formatting.h"
#include "electrics/loadsummary.h"

#include "ui_mainwindow.h"

#include <QLineEdit>

namespace {

void writeField(QLineEdit *field, unsigned mask, unsigned bit, const QString &text)
{
    if (mask & bit)
        field->setText(text);
}

QString elementText(const Electrics::Element &element)
{
    return element.kind == Electrics::ElementKind::Capacitor
        ? Electrics::formatCapacitance(element.value)
        : Electrics::formatInductance(element.value);
}

} // namespace

// Writes the fields of the mask from the load and renews the cached series and
// parallel equivalents whatever the mask. Style sheets are left alone, so a
// field marked red after a rejected entry stays red.
void MainWindow::refreshDisplays(unsigned mask)
{
    using namespace UpdateMask;
    using Electrics::formatNumber;
    using Electrics::formatOhms;

    const complex_dbl z = Electrics::impedanceFromGamma(gamma, z0);
    const complex_dbl y = Electrics::admittanceFromImpedance(z);
    writeField(ui->LED_R, mask, LineEditR, formatOhms(z.real(), 2, false));
    writeField(ui->LED_X, mask, LineEditX, formatOhms(z.imag(), 2, true));
    writeField(ui->LED_G, mask, LineEditG, formatNumber(1000.0 * y.real(), 1) + u" mS");
    writeField(ui->LED_B, mask, LineEditB, formatNumber(1000.0 * y.imag(), 1) + u" jmS");

    writeField(ui->LED_GAMMAR, mask, LineEditGammaR, formatNumber(gamma.real(), 3));
    writeField(ui->LED_GAMMAI, mask, LineEditGammaI, formatNumber(gamma.imag(), 3));
    writeField(ui->LED_GAMMAM, mask, LineEditGammaM,
               formatNumber(Electrics::gammaMagnitude(gamma), 3));
    writeField(ui->LED_GAMMAP, mask, LineEditGammaP,
               formatNumber(Electrics::gammaPhaseDegrees(gamma), 1));
    writeField(ui->LED_Z0, mask, LineEditZ0, formatNumber(z0.real(), 1));
    writeField(ui->LED_FREQUENZ, mask, LineEditFrequency, Electrics::formatFrequency(frequency));

    const Electrics::ParallelEquivalent parallel = Electrics::parallelFromAdmittance(y);
    rp = parallel.rp;
    xp = parallel.xp;
    rs = z.real();
    xs = z.imag();

    writeField(ui->LED_RS, mask, LineEditRS, formatOhms(rs, 2, false));
    if (xs == 0.0) {
        // A pure resistance: both circuits are the resistor alone.
        writeField(ui->LED_RP, mask, LineEditRP, formatOhms(rs, 2, false));
        writeField(ui->LED_XP, mask, LineEditXP, QString());
        writeField(ui->LED_XS, mask, LineEditXS, QString());
    } else {
        writeField(ui->LED_XS, mask, LineEditXS,
                   elementText(Electrics::seriesElement(xs, frequency)));
        writeField(ui->LED_RP, mask, LineEditRP, formatOhms(rp, 2, false));
        writeField(ui->LED_XP, mask, LineEditXP,
                   elementText(Electrics::parallelElement(xp, frequency)));
    }

    setMarkerToolTip(Electrics::loadSummary(gamma, z0));

    // A field the program has just written holds no entry of the user's.
    userEntries &= ~(mask & AllLineEdits);
}
