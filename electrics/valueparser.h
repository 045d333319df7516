#pragma once

#include <QString>

class QRegularExpression;

// A typed value on its way from a line edit to the load: the slot fills text
// and nonNegative, parseValue fills the rest and normalises text.
struct ValueEntry
{
    QString text; // in: the field's text; out: the normalised text after a match
    bool nonNegative = false; // in: reject a negative result
    double value = 0.0; // out: number times prefix multiplier, in base units
    bool empty = true; // out: no number was found
    bool error = false; // out: no match, no conversion, not finite, or negative while nonNegative
};

namespace Electrics {

// Parses "50,00 Ω", "-25,00 jΩ", "1,50 jkΩ", "6,37 µH", "4,7k" and the like.
// With useLocale the number is converted by the application's default locale,
// otherwise locale-independently. A result that overflows to an infinity is
// rejected like a number that cannot be converted.
void parseValue(ValueEntry &entry, bool useLocale);

// Converts a number text with the application's default locale, as
// QLocale().toDouble does, but through a locale built from its name: the
// system locale answers every separator query anew, which makes a long text
// (a pasted line of 32767 digits) several times slower to convert.
double toDefaultLocaleDouble(const QString &text, bool *converted);

// The value pattern, compiled once: capture 1 is the number, capture 2 the
// prefix and unit text.
const QRegularExpression &valuePattern();

} // namespace Electrics
