#include "electrics/valueparser.h"

#include <QLocale>
#include <QRegularExpression>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <cmath>

namespace Electrics {

namespace {

double prefixMultiplier(QChar prefix)
{
    switch (prefix.unicode()) {
    case u'T':
        return 1e12;
    case u'G':
        return 1e9;
    case u'M':
        return 1e6;
    case u'k':
        return 1e3;
    case u'm':
        return 1e-3;
    case u'u':
    case u'µ':
        return 1e-6;
    case u'n':
        return 1e-9;
    case u'p':
        return 1e-12;
    case u'f':
        return 1e-15;
    case u'%':
        return 0.01;
    default:
        return 1.0;
    }
}

void refuse(ValueEntry &entry, EntryRefusal cause)
{
    entry.error = true;
    entry.cause = cause;
}

bool isAsciiDigit(QChar character)
{
    return character >= u'0' && character <= u'9';
}

// Where the first match of the value pattern begins, or -1 if the text cannot
// match. The number always holds an ASCII digit, and before its first digit
// it can only hold an optional sign, full stops, at most one comma, an
// optional "e" and one more optional sign. So the first match begins at the
// first digit of the text, moved back over as much of that prefix as
// precedes it. Searching from there finds the same match as searching from
// the start, but spares the backtracking matcher the quadratic work that long
// runs of dots, commas or signs without a digit would cost it at every start
// position (seconds for a full line edit when the regular-expression JIT is
// unavailable).
qsizetype firstMatchStart(const QString &text)
{
    const auto digit = std::find_if(text.cbegin(), text.cend(), isAsciiDigit);
    if (digit == text.cend())
        return -1;
    qsizetype start = digit - text.cbegin();
    const auto stepBackOver = [&text, &start](QStringView characters) {
        if (start > 0 && characters.contains(text.at(start - 1)))
            --start;
    };
    stepBackOver(u"+-"); // sign of the exponent
    stepBackOver(u"e");
    stepBackOver(u",");
    while (start > 0 && text.at(start - 1) == u'.')
        --start;
    stepBackOver(u"+-"); // sign of the number
    // The matcher rejects text that is not valid UTF-16 (a lone surrogate)
    // but checks only from where it starts; the skipped part must pass the
    // same check for the result to stay that of a search from the start.
    return QStringView(text).first(start).isValidUtf16() ? start : -1;
}

} // namespace

double toDefaultLocaleDouble(const QString &text, bool *converted)
{
    const QLocale defaultLocale;
    return QLocale(defaultLocale.name()).toDouble(text, converted);
}

const QRegularExpression &valuePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("([-+]?[\\d.]*,?\\d*e?[+-]?\\d+)\\s*[ij]?([TGMkmuµnp%]?\\D*)"));
    return pattern;
}

void parseValue(ValueEntry &entry, bool useLocale)
{
    entry.error = false;
    entry.cause = EntryRefusal::None;
    entry.empty = true;
    entry.value = 0.0;
    if (entry.text.isEmpty())
        return;

    const qsizetype start = firstMatchStart(entry.text);
    const QRegularExpressionMatch match =
        start < 0 ? QRegularExpressionMatch() : valuePattern().match(entry.text, start);
    if (!match.hasMatch()) {
        refuse(entry, EntryRefusal::NotANumber);
        return;
    }

    const QString number = match.captured(1);
    const QString unit = match.captured(2);
    entry.empty = false;
    entry.text = unit.isEmpty() ? number : number + QLatin1Char(' ') + unit;
    const double multiplier = unit.isEmpty() ? 1.0 : prefixMultiplier(unit.front());

    // An overflowing number comes back as an infinity with a false success
    // flag; like any failed conversion it counts as 0.
    bool converted = false;
    const double parsed =
        useLocale ? toDefaultLocaleDouble(number, &converted) : number.toDouble(&converted);
    entry.value = converted ? multiplier * parsed : 0.0;
    // A huge number times a large prefix overflows as well; an infinite value
    // would travel on into the load, so it is rejected.
    if (!converted)
        refuse(entry, std::isinf(parsed) ? EntryRefusal::TooLarge : EntryRefusal::NotANumber);
    else if (!std::isfinite(entry.value))
        refuse(entry, EntryRefusal::TooLarge);
    else if (entry.nonNegative && entry.value < 0.0)
        refuse(entry, EntryRefusal::Negative);
}

void parsePlainNumber(ValueEntry &entry)
{
    entry.error = false;
    entry.cause = EntryRefusal::None;
    entry.empty = entry.text.isEmpty();
    entry.value = 0.0;
    bool converted = false;
    const double number = toDefaultLocaleDouble(entry.text, &converted);
    if (converted && std::isfinite(number)) {
        entry.value = number;
        if (entry.nonNegative && number < 0.0)
            refuse(entry, EntryRefusal::Negative);
        return;
    }
    // An overflowing number converts to an infinity with a false success flag,
    // "inf" to one with a true flag.
    if (!converted && std::isinf(number)) {
        refuse(entry, EntryRefusal::TooLarge);
        return;
    }
    // What the value parser takes is a number with a unit or other text.
    ValueEntry withUnit;
    withUnit.text = entry.text;
    parseValue(withUnit, true);
    if (withUnit.cause == EntryRefusal::TooLarge)
        refuse(entry, EntryRefusal::TooLarge);
    else
        refuse(entry,
               withUnit.empty || withUnit.error ? EntryRefusal::NotANumber
                                                : EntryRefusal::UnitNotAllowed);
}

namespace {

// A refused text is quoted up to this many characters; a pasted line would
// make a tooltip wider than the screen.
constexpr qsizetype longestQuote = 40;

QString quoted(const QString &text)
{
    const QString shown =
        text.size() > longestQuote ? text.left(longestQuote - 1) + u'\u2026' : text;
    return u'\u201E' + shown + u'\u201C';
}

} // namespace

QString refusalReason(EntryRefusal cause, const QString &text, const QString &rangeReason)
{
    switch (cause) {
    case EntryRefusal::UnitNotAllowed:
        return quoted(text) + QStringLiteral(": hier nur eine Zahl ohne Einheit");
    case EntryRefusal::Negative:
        return quoted(text) + QStringLiteral(": negative Werte sind hier nicht möglich");
    case EntryRefusal::OutOfRange:
        return quoted(text) + QStringLiteral(": ") + rangeReason;
    case EntryRefusal::TooLarge:
        return quoted(text) + QStringLiteral(": die Zahl ist zu groß");
    case EntryRefusal::NoFiniteGamma:
        return quoted(text) + QStringLiteral(": ergibt keinen endlichen Reflexionsfaktor Γ");
    case EntryRefusal::None:
    case EntryRefusal::NotANumber:
        break;
    }
    return quoted(text) + QStringLiteral(" ist keine Zahl");
}

} // namespace Electrics
