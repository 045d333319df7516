#include "app/mainwindow.h"

#include "app/updatemask.h"
#include "electrics/conversions.h"
#include "electrics/formatting.h"
#include "electrics/loadsummary.h"

#include "ui_mainwindow.h"

#include <QLineEdit>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cmath>

namespace {

// An equal text is not written again: setText would repaint the field for
// nothing. The field's entry bit is cleared all the same, by the caller.
void writeField(QLineEdit *field, unsigned mask, unsigned bit, const QString &text)
{
    if ((mask & bit) && field->text() != text)
        field->setText(text);
}

QString elementText(const Electrics::Element &element)
{
    return element.kind == Electrics::ElementKind::Capacitor
        ? Electrics::formatCapacitance(element.value)
        : Electrics::formatInductance(element.value);
}

QString conductanceText(double siemens)
{
    return Electrics::formatNumber(1000.0 * siemens, 1) + u" mS";
}

QString susceptanceText(double siemens)
{
    return Electrics::formatNumber(1000.0 * siemens, 1) + u" jmS";
}

// The texts a field must show whole. Numbers are written with the widest
// mantissa in every decade, so every prefix a formatter picks is among them.
template<typename Format> QStringList decadeTexts(int lowest, int highest, Format format)
{
    QStringList texts;
    for (int exponent = lowest; exponent <= highest; ++exponent) {
        const double widest = 9.9989 * std::pow(10.0, exponent);
        texts << format(widest) << format(-widest);
    }
    return texts;
}

// Exponents of the widest texts: resistances from mΩ to 99 MΩ, conductances
// up to 99 999 mS (a load one thousandth of Gamma away from the short
// circuit at Z0 = 50 Ω), element values from fF to 999 F or H, and the
// frequencies from 1 kHz to 10 GHz.
constexpr int smallestOhms = -4;
constexpr int largestOhms = 7;
constexpr int largestMillisiemens = 4;
constexpr int smallestFarads = -16;
constexpr int smallestHenries = -13;
constexpr int largestElement = 2;
constexpr int smallestHertz = 3;
constexpr int largestHertz = 9;

// A vertical slider keeps at least this much track for its handle to travel.
constexpr int shortestSliderTrack = 60;

// The width at which a line edit shows a text of this many pixels whole: the
// text, QLineEdit's own margin of 2 pixels on each side, the text and content
// margins, and what the style adds around them.
int widthShowing(const QLineEdit *field, int textWidth)
{
    constexpr int lineEditMargin = 2;
    const QMargins text = field->textMargins();
    const QMargins contents = field->contentsMargins();
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->hasFrame()
        ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field)
        : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.features = QStyleOptionFrame::None;
    const QSize inner(textWidth + 2 * lineEditMargin + text.left() + text.right() + contents.left()
                          + contents.right(),
                      field->sizeHint().height());
    return field->style()->sizeFromContents(QStyle::CT_LineEdit, &option, inner, field).width();
}

void fitToTexts(QLineEdit *field, const QStringList &texts)
{
    int textWidth = 0;
    for (const QString &text : texts)
        textWidth = std::max(textWidth, field->fontMetrics().horizontalAdvance(text));
    // The form's maximum width stays; the fields that have one need less.
    field->setMinimumWidth(std::min(widthShowing(field, textWidth), field->maximumWidth()));
}

} // namespace

// Writes the fields of the mask from the load and its cached equivalents.
// Style sheets are left alone, so a field marked red after a rejected entry
// stays red.
void MainWindow::refreshDisplays(unsigned mask)
{
    using namespace UpdateMask;
    using Electrics::formatNumber;
    using Electrics::formatOhms;

    const complex_dbl z = Electrics::impedanceFromGamma(gamma, z0);
    const complex_dbl y = Electrics::admittanceFromImpedance(z);
    writeField(ui->LED_R, mask, LineEditR, formatOhms(z.real(), 2, false));
    writeField(ui->LED_X, mask, LineEditX, formatOhms(z.imag(), 2, true));
    writeField(ui->LED_G, mask, LineEditG, conductanceText(y.real()));
    writeField(ui->LED_B, mask, LineEditB, susceptanceText(y.imag()));

    writeField(ui->LED_GAMMAR, mask, LineEditGammaR, formatNumber(gamma.real(), 3));
    writeField(ui->LED_GAMMAI, mask, LineEditGammaI, formatNumber(gamma.imag(), 3));
    writeField(ui->LED_GAMMAM, mask, LineEditGammaM,
               formatNumber(Electrics::gammaMagnitude(gamma), 3));
    writeField(ui->LED_GAMMAP, mask, LineEditGammaP,
               formatNumber(Electrics::gammaPhaseDegrees(gamma), 1));
    writeField(ui->LED_Z0, mask, LineEditZ0, formatNumber(z0.real(), 1));
    writeField(ui->LED_FREQUENZ, mask, LineEditFrequency, Electrics::formatFrequency(frequency));

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

// Gives every line edit the width its longest texts need, in the window's
// font and locale, and every vertical slider a usable track. The column of
// controls takes that room from the chart.
void MainWindow::fitControlsToContents()
{
    using namespace Electrics;
    const auto resistances = decadeTexts(smallestOhms, largestOhms,
                                         [](double ohms) { return formatOhms(ohms, 2, false); });
    const auto reactances = decadeTexts(smallestOhms, largestOhms,
                                        [](double ohms) { return formatOhms(ohms, 2, true); });
    const auto elements = decadeTexts(smallestFarads, largestElement, formatCapacitance)
        + decadeTexts(smallestHenries, largestElement, formatInductance);
    for (QLineEdit *field : {ui->LED_R, ui->LED_RS, ui->LED_RP})
        fitToTexts(field, resistances);
    fitToTexts(ui->LED_X, reactances);
    fitToTexts(ui->LED_XS, elements);
    fitToTexts(ui->LED_XP, elements);
    fitToTexts(ui->LED_G, decadeTexts(-1, largestMillisiemens, [](double millisiemens) {
                   return conductanceText(millisiemens / 1000.0);
               }));
    fitToTexts(ui->LED_B, decadeTexts(-1, largestMillisiemens, [](double millisiemens) {
                   return susceptanceText(millisiemens / 1000.0);
               }));
    const QStringList gammaParts {formatNumber(-1.0, 3), formatNumber(-0.999, 3)};
    for (QLineEdit *field : {ui->LED_GAMMAR, ui->LED_GAMMAI, ui->LED_GAMMAM})
        fitToTexts(field, gammaParts);
    fitToTexts(ui->LED_GAMMAP, {formatNumber(-180.0, 1), formatNumber(-179.9, 1)});
    fitToTexts(ui->LED_Z0, {formatNumber(highestReferenceImpedance, 1)});
    fitToTexts(ui->LED_FREQUENZ,
               decadeTexts(smallestHertz, largestHertz, formatFrequency) << formatFrequency(1e10));

    for (QSlider *slider :
         {ui->QS_R, ui->QS_X, ui->QS_G, ui->QS_B, ui->QS_RP, ui->QS_XP, ui->QS_RS, ui->QS_XS}) {
        const int handle = slider->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, slider);
        slider->setMinimumHeight(shortestSliderTrack + handle);
    }
}
