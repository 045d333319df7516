#include "app/mainwindow.h"

#include "app/updatemask.h"
#include "electrics/conversions.h"
#include "electrics/formatting.h"
#include "electrics/valueparser.h"

#include "ui_mainwindow.h"

#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

using namespace Qt::StringLiterals;

constexpr bool nonNegative = true;
constexpr bool anySign = false;

// Why a field's text was not taken, in the words of the window; only Z0 has
// a range.
QString refusalReason(EntryRefusal cause, const QString &text)
{
    return Electrics::refusalReason(cause, text, u"Z0 muss zwischen 0,1 Ω und 10 kΩ liegen"_s);
}

// The usual tooltip of a field, rich text as the form writes it, with the
// reason as a first paragraph.
QString toolTipWithReason(const QString &reason, const QString &usual)
{
    const QString paragraph = u"<p>"_s + reason.toHtmlEscaped() + u"</p>"_s;
    const QString body = u"<body>"_s;
    const qsizetype bodyStart = usual.indexOf(body);
    if (bodyStart < 0)
        return u"<html><body>"_s + paragraph + u"<p>"_s + usual.toHtmlEscaped()
            + u"</p></body></html>"_s;
    return QString(usual).insert(bodyStart + body.size(), paragraph);
}

double clamped(double value, double lowest, double highest)
{
    return std::max(std::min(value, highest), lowest);
}

} // namespace

void MainWindow::parseValue(ValueEntry &entry) const
{
    Electrics::parseValue(entry, useLocale);
}

// A field's editingFinished also arrives when it loses the focus after the
// program rewrote its text. Only Return or Enter, or leaving the field after
// editing it, asks for an entry to be read; every field notes that here.
void MainWindow::trackUserEntries()
{
    const std::pair<QLineEdit *, unsigned> fields[] = {
        {ui->LED_R, UpdateMask::LineEditR},
        {ui->LED_X, UpdateMask::LineEditX},
        {ui->LED_G, UpdateMask::LineEditG},
        {ui->LED_B, UpdateMask::LineEditB},
        {ui->LED_RP, UpdateMask::LineEditRP},
        {ui->LED_XP, UpdateMask::LineEditXP},
        {ui->LED_RS, UpdateMask::LineEditRS},
        {ui->LED_XS, UpdateMask::LineEditXS},
        {ui->LED_GAMMAR, UpdateMask::LineEditGammaR},
        {ui->LED_GAMMAI, UpdateMask::LineEditGammaI},
        {ui->LED_GAMMAM, UpdateMask::LineEditGammaM},
        {ui->LED_GAMMAP, UpdateMask::LineEditGammaP},
        {ui->LED_Z0, UpdateMask::LineEditZ0},
        {ui->LED_FREQUENZ, UpdateMask::LineEditFrequency},
    };
    for (const auto &[field, bit] : fields) {
        const auto noteEntry = [this, fieldBit = bit] {
            userEntries |= fieldBit;
        };
        connect(field, &QLineEdit::textEdited, this, noteEntry);
        connect(field, &QLineEdit::returnPressed, this, noteEntry);
    }
}

// Whether the user asked for one of these fields to be read; the request is
// used up either way.
bool MainWindow::takeUserEntry(unsigned fields)
{
    const bool requested = (userEntries & fields) != 0;
    userEntries &= ~fields;
    return requested;
}

// A refused field turns red, and its tooltip and accessible description say
// first what was refused and why, until the field is accepted again.
void MainWindow::markRefused(QLineEdit *field, EntryRefusal cause)
{
    if (!usualTexts.contains(field))
        usualTexts.insert(field, {field->toolTip(), field->accessibleDescription()});
    const FieldTexts &usual = usualTexts[field];
    const QString reason = u"Nicht übernommen: "_s + refusalReason(cause, field->text());
    field->setToolTip(toolTipWithReason(reason, usual.toolTip));
    field->setAccessibleDescription(reason + u". "_s + usual.description);
    field->setStyleSheet(errorStyle);
}

void MainWindow::markAccepted(QLineEdit *field)
{
    field->setStyleSheet(normalStyle);
    const auto usual = usualTexts.constFind(field);
    if (usual == usualTexts.cend())
        return;
    field->setToolTip(usual->toolTip);
    field->setAccessibleDescription(usual->description);
    usualTexts.erase(usual);
}

// The parsed entry of a field, or nothing after marking the field red.
std::optional<ValueEntry> MainWindow::acceptedEntry(QLineEdit *field, bool onlyNonNegative)
{
    ValueEntry entry;
    entry.text = field->text();
    entry.nonNegative = onlyNonNegative;
    parseValue(entry);
    if (entry.empty || entry.error) {
        markRefused(field, entry.error ? entry.cause : EntryRefusal::NotANumber);
        return std::nullopt;
    }
    return entry;
}

// The whole text as one number without a unit, judged: a refused entry turns
// the field red, an accepted one clears the red.
bool MainWindow::judgedNumber(QLineEdit *field, const ValueEntry &entry)
{
    if (entry.error) {
        markRefused(field, entry.cause);
        return false;
    }
    markAccepted(field);
    return true;
}

ValueEntry MainWindow::plainNumberEntry(const QLineEdit *field, bool onlyNonNegative)
{
    ValueEntry entry;
    entry.text = field->text();
    entry.nonNegative = onlyNonNegative;
    Electrics::parsePlainNumber(entry);
    return entry;
}

// The whole text as a finite number of the default locale, or nothing after
// marking the field red; an accepted number clears the red.
std::optional<double> MainWindow::acceptedNumber(QLineEdit *field, bool onlyNonNegative)
{
    const ValueEntry entry = plainNumberEntry(field, onlyNonNegative);
    if (!judgedNumber(field, entry))
        return std::nullopt;
    return entry.value;
}

// An element value turned into its reactance at the current frequency: a
// capacitance when the unit has an upper-case F ("10 pf" is 10 pH).
std::optional<double> MainWindow::acceptedReactance(QLineEdit *field)
{
    const std::optional<ValueEntry> entry = acceptedEntry(field, anySign);
    if (!entry)
        return std::nullopt;
    const Electrics::ElementKind kind = entry->text.contains(u'F')
        ? Electrics::ElementKind::Capacitor
        : Electrics::ElementKind::Inductor;
    const double reactance = Electrics::reactanceFromElement(entry->value, kind, frequency);
    if (std::isnan(reactance)) {
        markRefused(field, EntryRefusal::NoFiniteGamma);
        return std::nullopt;
    }
    return reactance;
}

// A load that has no finite Gamma even as a limit is no usable entry: its
// fields turn red and nothing else changes.
void MainWindow::setTypedLoad(complex_dbl newGamma, std::initializer_list<QLineEdit *> fields)
{
    const bool usable = setLoad(newGamma, UpdateMask::All);
    for (QLineEdit *field : fields) {
        if (usable)
            markAccepted(field);
        else
            markRefused(field, EntryRefusal::NoFiniteGamma);
    }
}

void MainWindow::LED_setZ0()
{
    if (!takeUserEntry(UpdateMask::LineEditZ0))
        return;
    // Z0 is taken from 0.1 ohm to 10 kilo-ohms: a Z0 of 0 leaves no chart and
    // no finite admittance, and one far beyond every line no usable scale.
    ValueEntry entry = plainNumberEntry(ui->LED_Z0, nonNegative);
    if (!entry.error && !Electrics::isUsableReferenceImpedance(entry.value)) {
        entry.error = true;
        entry.cause = EntryRefusal::OutOfRange;
    }
    if (!judgedNumber(ui->LED_Z0, entry))
        return;
    setReferenceImpedance(entry.value);
}

void MainWindow::LED_setRX()
{
    if (!takeUserEntry(UpdateMask::LineEditR | UpdateMask::LineEditX))
        return;
    // Both fields are judged before either counts.
    const std::optional<ValueEntry> r = acceptedEntry(ui->LED_R, nonNegative);
    const std::optional<ValueEntry> x = acceptedEntry(ui->LED_X, anySign);
    if (!r || !x)
        return;
    setTypedLoad(gammaOfImpedance({r->value, x->value}), {ui->LED_R, ui->LED_X});
}

void MainWindow::LED_setGB()
{
    if (!takeUserEntry(UpdateMask::LineEditG | UpdateMask::LineEditB))
        return;
    const std::optional<ValueEntry> g = acceptedEntry(ui->LED_G, nonNegative);
    const std::optional<ValueEntry> b = acceptedEntry(ui->LED_B, anySign);
    if (!g || !b)
        return;
    setTypedLoad(gammaOfAdmittance({g->value, b->value}), {ui->LED_G, ui->LED_B});
}

void MainWindow::LED_setF()
{
    if (!takeUserEntry(UpdateMask::LineEditFrequency))
        return;
    const std::optional<ValueEntry> entry = acceptedEntry(ui->LED_FREQUENZ, nonNegative);
    if (!entry)
        return; // also for a frequency that overflows: parseValue rejects infinities
    markAccepted(ui->LED_FREQUENZ);
    setFrequency(entry->value, true);
}

void MainWindow::LED_setRP()
{
    if (!takeUserEntry(UpdateMask::LineEditRP))
        return;
    const std::optional<ValueEntry> entry = acceptedEntry(ui->LED_RP, nonNegative);
    if (!entry)
        return;
    setTypedLoad(gammaWithParallelResistance(entry->value), {ui->LED_RP});
}

void MainWindow::LED_setRS()
{
    if (!takeUserEntry(UpdateMask::LineEditRS))
        return;
    const std::optional<ValueEntry> entry = acceptedEntry(ui->LED_RS, nonNegative);
    if (!entry)
        return;
    setTypedLoad(gammaWithSeriesResistance(entry->value), {ui->LED_RS});
}

void MainWindow::LED_setXP()
{
    if (!takeUserEntry(UpdateMask::LineEditXP))
        return;
    const std::optional<double> reactance = acceptedReactance(ui->LED_XP);
    if (!reactance)
        return;
    setTypedLoad(gammaWithParallelReactance(*reactance), {ui->LED_XP});
}

void MainWindow::LED_setXS()
{
    if (!takeUserEntry(UpdateMask::LineEditXS))
        return;
    const std::optional<double> reactance = acceptedReactance(ui->LED_XS);
    if (!reactance)
        return;
    setTypedLoad(gammaWithSeriesReactance(*reactance), {ui->LED_XS});
}

// The two parts are clamped separately, so |Gamma| can reach the square root of 2.
void MainWindow::LED_setGammaR()
{
    if (!takeUserEntry(UpdateMask::LineEditGammaR))
        return;
    const std::optional<double> number = acceptedNumber(ui->LED_GAMMAR, anySign);
    if (!number)
        return;
    const double real = clamped(*number, -1.0, 1.0);
    ui->LED_GAMMAR->setText(Electrics::formatNumber(real, 3));
    setLoad({real, gamma.imag()}, UpdateMask::All);
}

void MainWindow::LED_setGammaI()
{
    if (!takeUserEntry(UpdateMask::LineEditGammaI))
        return;
    const std::optional<double> number = acceptedNumber(ui->LED_GAMMAI, anySign);
    if (!number)
        return;
    const double imaginary = clamped(*number, -1.0, 1.0);
    ui->LED_GAMMAI->setText(Electrics::formatNumber(imaginary, 3));
    setLoad({gamma.real(), imaginary}, UpdateMask::All);
}

void MainWindow::LED_setGammaM()
{
    if (!takeUserEntry(UpdateMask::LineEditGammaM))
        return;
    // Gamma = 0 has phase 0, so a magnitude typed there gives a real Gamma.
    const double phase = Electrics::gammaPhaseDegrees(gamma);
    const std::optional<double> number = acceptedNumber(ui->LED_GAMMAM, anySign);
    if (!number)
        return;
    setLoad(Electrics::gammaFromPolar(clamped(*number, 0.0, 1.0), phase), UpdateMask::All);
}

void MainWindow::LED_setGammaP()
{
    if (!takeUserEntry(UpdateMask::LineEditGammaP))
        return;
    const std::optional<double> number = acceptedNumber(ui->LED_GAMMAP, anySign);
    if (!number)
        return;
    // Whole turns are taken off first (exactly): a phase as large as 1e308
    // degrees would overflow on its way to radians and give no direction.
    const double phase = std::fmod(*number, 360.0);
    setLoad(Electrics::gammaFromPolar(Electrics::gammaMagnitude(gamma), phase), UpdateMask::All);
}
