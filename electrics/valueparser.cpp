#include "electrics/valueparser.h"

#include <QLocale>
#include <QRegularExpression>

namespace Electrics {

namespace {

const QRegularExpression &valuePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("([-+]?[\\d.]*,?\\d*e?[+-]?\\d+)\\s*[ij]?([TGMkmuµnp%]?\\D*)"));
    return pattern;
}

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
        return 1e-6;
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

} // namespace

void parseValue(ValueEntry &entry, bool useLocale)
{
    entry.error = false;
    entry.empty = true;
    entry.value = 0.0;
    if (entry.text.isEmpty())
        return;

    const QRegularExpressionMatch match = valuePattern().match(entry.text);
    if (!match.hasMatch()) {
        entry.error = true;
        return;
    }

    const QString number = match.captured(1);
    const QString unit = match.captured(2);
    entry.empty = false;
    entry.text = unit.isEmpty() ? number : number + QLatin1Char(' ') + unit;
    const double multiplier = unit.isEmpty() ? 1.0 : prefixMultiplier(unit.front());

    bool converted = false;
    const double parsed =
        useLocale ? QLocale().toDouble(number, &converted) : number.toDouble(&converted);
    entry.value = multiplier * parsed;
    entry.error = !converted || (entry.nonNegative && entry.value < 0.0);
}

} // namespace Electrics
