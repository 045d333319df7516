#include "hostiletexts.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QStringList>

#include <cmath>

using namespace Qt::StringLiterals;

namespace Hostile {

namespace {

// The unit repeated to the capacity, or to `length`, cut off in the middle of
// a repetition if need be.
QString repeated(QStringView unit, qsizetype length = lineEditCapacity)
{
    QString text;
    text.reserve(length);
    while (text.size() < length)
        text.append(unit);
    text.truncate(length);
    return text;
}

// The text padded with blanks on both sides to the capacity.
QString padded(const QString &text)
{
    const qsizetype left = (lineEditCapacity - text.size()) / 2;
    return repeated(u" ", left) + text + repeated(u" ", lineEditCapacity - left - text.size());
}

QString endingIn(QStringView filler, const QString &tail)
{
    return repeated(filler, lineEditCapacity - tail.size()) + tail;
}

const QStringList &cornerTexts()
{
    static const QStringList texts = {
        QString(),  u" "_s,        u"nan"_s,      u"NaN"_s,     u"inf"_s,       u"-inf"_s,
        u"+inf"_s,  u"infinity"_s, u"-0"_s,       u"-0,0"_s,    u"0"_s,         u"1e308"_s,
        u"1e309"_s, u"-1e309"_s,   u"1e-320"_s,   u"1e-400"_s,  u"9e999 k"_s,   u"1,5"_s,
        u"1.5"_s,   u"1.234"_s,    u"1.234,5"_s,  u"1,5e3"_s,   u"1e3k"_s,      u"47 kΩ"_s,
        u"47kΩ"_s,  u"4,7 k"_s,    u"j"_s,        u"%"_s,       u"50 j%"_s,     u"jΩ"_s,
        u"-j5"_s,   u"5j"_s,       u"j5"_s,       u"µ"_s,       u"٣"_s,         u"½"_s,
        u"Ω"_s,     u"+"_s,        u"-"_s,        u"."_s,       u","_s,         u"e"_s,
        u"E5"_s,    u"1e"_s,       u"--5"_s,      u"+-5"_s,     u"0x10"_s,      u"  12  "_s,
        u"1 THz"_s, u"0 Hz"_s,     u"0 F"_s,      u"0 H"_s,     u"0 S"_s,       u"0 jS"_s,
        u"1 pf"_s,  u"100 %"_s,    u"1e-300 F"_s, u"1e300 H"_s, u"1e-300 Hz"_s, u"-5 mS"_s,
        u"5 m S"_s, u"1,5,5"_s,    u"1..5"_s,     u"١٢٣"_s,     u"𝟓"_s,         u"Ⅻ"_s,
        u"５０"_s,  u"\u00a050"_s,
    };
    return texts;
}

QString wellFormedValue(QRandomGenerator &random)
{
    static const QStringList prefixes = {
        QString(), u"a"_s, u"f"_s, u"p"_s, u"n"_s, u"µ"_s, u"u"_s, u"m"_s,
        u"k"_s,    u"M"_s, u"G"_s, u"T"_s, u"P"_s, u"E"_s, u"j"_s, u"jk"_s,
    };
    static const QStringList units = {
        QString(), u"Ω"_s,  u"jΩ"_s, u"S"_s, u"jS"_s, u"F"_s,   u"f"_s,
        u"H"_s,    u"Hz"_s, u"%"_s,  u"j"_s, u"s"_s,  u"ohm"_s,
    };
    const double magnitude = std::pow(10.0, between(random, -14.0, 14.0));
    const double value = (random.bounded(4) == 0 ? -1.0 : 1.0) * magnitude;
    const int decimals = random.bounded(6);
    QString number = random.bounded(2) == 0 ? QLocale().toString(value, 'f', decimals)
                                            : QLocale::c().toString(value, 'g', 1 + decimals);
    if (random.bounded(10) == 0)
        number = QLocale().toString(value, 'e', decimals);
    const QString gap = random.bounded(3) == 0 ? QString() : u" "_s;
    return number + gap + oneOf(random, prefixes) + oneOf(random, units);
}

QString characterSoup(QRandomGenerator &random)
{
    static const QString characters = u"0123456789.,+-eEjJ% kMGmµunpfΩSFHz٣𝟓"_s;
    QString text;
    const int length = random.bounded(1, 24);
    while (text.size() < length) {
        const qsizetype at = random.bounded(int(characters.size()));
        // Keep the two halves of a character outside the basic plane together.
        if (characters.at(at).isLowSurrogate())
            text.append(characters.mid(at - 1, 2));
        else if (characters.at(at).isHighSurrogate())
            text.append(characters.mid(at, 2));
        else
            text.append(characters.at(at));
    }
    return text;
}

} // namespace

QList<Paste> fullLengthPastes()
{
    const qsizetype half = lineEditCapacity / 2;
    return {
        {u"full stops"_s, repeated(u".")},
        {u"commas"_s, repeated(u",")},
        {u"plus signs"_s, repeated(u"+")},
        {u"minus signs"_s, repeated(u"-")},
        {u"letters e"_s, repeated(u"e")},
        {u"letters j"_s, repeated(u"j")},
        {u"per cent signs"_s, repeated(u"%")},
        {u"stops and commas"_s, repeated(u".,")},
        {u"signs, e, commas, stops"_s, repeated(u"+-e,.")},
        {u"digits"_s, repeated(u"7")},
        {u"zeros after a minus"_s, u'-' + repeated(u"0", lineEditCapacity - 1)},
        {u"digit and stop pairs"_s, repeated(u"1.")},
        {u"digit and comma pairs"_s, repeated(u"1,")},
        {u"digit and e pairs"_s, repeated(u"1e")},
        {u"stops, a comma, a digit"_s,
         repeated(u".", half) + u',' + repeated(u".", half - 1) + u'5'},
        {u"huge exponent"_s, u"1e"_s + repeated(u"9", lineEditCapacity - 2)},
        {u"tiny exponent"_s, u"1e-"_s + repeated(u"9", lineEditCapacity - 3)},
        {u"long mantissa then unit"_s, endingIn(u"3", u",5 kΩ"_s)},
        {u"number buried after blanks"_s, endingIn(u" ", u"47 kΩ"_s)},
        {u"number buried after letters"_s, endingIn(u"abc ", u"47 kΩ"_s)},
        {u"number buried after signs"_s, endingIn(u"+.", u"47 kΩ"_s)},
        {u"Arabic-Indic digits"_s, repeated(u"٣")},
        {u"mathematical digits"_s, repeated(u"𝟓", lineEditCapacity - 1) + u'5'},
        {u"Greek and micro letters"_s, repeated(u"Ωµ")},
        {u"nan padded"_s, padded(u"nan"_s)},
        {u"inf padded"_s, padded(u"inf"_s)},
        {u"number padded"_s, padded(u"0,25"_s)},
    };
}

double between(QRandomGenerator &random, double low, double high)
{
    return low + random.generateDouble() * (high - low);
}

QString shortText(QRandomGenerator &random)
{
    switch (random.bounded(4)) {
    case 0:
        return oneOf(random, cornerTexts());
    case 1:
        return characterSoup(random);
    default:
        return wellFormedValue(random);
    }
}

} // namespace Hostile
