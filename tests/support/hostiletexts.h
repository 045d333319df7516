#pragma once

#include <QList>
#include <QRandomGenerator>
#include <QString>

#include <initializer_list>
#include <iterator>

// Texts a person might type or paste into a value field, meant to break it:
// full-length pastes of runs that make a value search backtrack, numbers
// buried at the end of a line, digits and letters from other scripts, the
// locale conversion's "nan" and "inf", and short texts with every prefix and
// unit, both decimal separators, stray "j" and "%", huge and tiny exponents.
namespace Hostile {

// A line edit holds at most this many UTF-16 units.
constexpr qsizetype lineEditCapacity = 32767;

struct Paste
{
    QString kind;
    QString text; // exactly lineEditCapacity UTF-16 units
};

// One paste of each adversarial kind.
QList<Paste> fullLengthPastes();

// A random short text: a well-formed value with a random prefix and unit, or
// one of the hostile corner texts, or a random mixture of the characters
// that mean something to the value search.
QString shortText(QRandomGenerator &random);

// A random double from low up to high.
double between(QRandomGenerator &random, double low, double high);

// One of the choices (a list, an array or a braced list), each as likely.
template<typename Choices> auto oneOf(QRandomGenerator &random, const Choices &choices)
{
    return *(std::begin(choices) + random.bounded(int(std::size(choices))));
}
template<typename T> T oneOf(QRandomGenerator &random, std::initializer_list<T> choices)
{
    return *(choices.begin() + random.bounded(int(choices.size())));
}

} // namespace Hostile
