#pragma once

#include <QString>

class QRegularExpression;

// Why a typed value is not taken.
enum class EntryRefusal {
    None,
    NotANumber, // no number in the text, or one the locale cannot convert
    UnitNotAllowed, // a number with a unit or other text where only a plain number is taken
    Negative, // a negative number where only non-negative ones are taken
    OutOfRange, // a number outside the range the field takes (only Z0 has one)
    TooLarge, // a number too large to hold, alone or with its prefix
    NoFiniteGamma, // a value that gives no finite Gamma
};

// A typed value on its way from a line edit to the load: the slot fills text
// and nonNegative, parseValue fills the rest and normalises text.
struct ValueEntry
{
    QString text; // in: the field's text; out: the normalised text after a match
    bool nonNegative = false; // in: reject a negative result
    double value = 0.0; // out: number times prefix multiplier, in base units
    bool empty = true; // out: no number was found
    bool error = false; // out: no match, no conversion, not finite, or negative while nonNegative
    EntryRefusal cause = EntryRefusal::None; // out: why error is set
};

namespace Electrics {

// Parses "50,00 Ω", "-25,00 jΩ", "1,50 jkΩ", "6,37 µH", "4,7k" and the like.
// With useLocale the number is converted by the application's default locale,
// otherwise locale-independently. A result that overflows to an infinity is
// rejected like a number that cannot be converted.
void parseValue(ValueEntry &entry, bool useLocale);

// Reads the whole text as one plain number of the default locale, without a
// prefix or unit, and fills the same fields as parseValue; the text stays as
// it is. A text that is a number only with a unit is refused as
// UnitNotAllowed, "inf" and "nan" as NotANumber.
void parsePlainNumber(ValueEntry &entry);

// Converts a number text with the application's default locale, as
// QLocale().toDouble does, but through a locale built from its name: the
// system locale answers every separator query anew, which makes a long text
// (a pasted line of 32767 digits) several times slower to convert.
double toDefaultLocaleDouble(const QString &text, bool *converted);

// Why a text was not taken, in the window's words, the text quoted (a long
// one shortened): "„abc“ ist keine Zahl". `rangeReason` says what the range
// of a field with one is: "Z0 muss zwischen 0,1 Ω und 10 kΩ liegen".
QString refusalReason(EntryRefusal cause, const QString &text, const QString &rangeReason);

// The value pattern, compiled once: capture 1 is the number, capture 2 the
// prefix and unit text.
const QRegularExpression &valuePattern();

} // namespace Electrics
