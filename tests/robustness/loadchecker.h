#pragma once

#include "electrics/complexdbl.h"

#include <QHash>
#include <QObject>
#include <QPointF>
#include <QSet>
#include <QString>

#include <optional>

class WindowDriver;

// What a Gamma or Z0 field takes: a finite number of the default locale, and
// for Z0 one from 0.1 ohm to 10 kilo-ohms.
std::optional<double> plainEntry(const QString &field, const QString &text);

// What one user action did, as far as the checker needs to know it.
struct UserAction
{
    QString description;
    // The field whose own slot read an entry in this action, and the text it read.
    QString enteredField;
    QString enteredText;
    // A value slider or QS_F that the user moved; it stays where the user left it.
    QString movedSlider;
    bool sliderValueChanged = false;
    bool drag = false;
    // The number of the task the action started, whose Z0, frequency and load
    // the window takes; 0 for none, -1 for one that should have started.
    int startedTask = 0;
};

// Checks after every user action that the main window still shows one sound
// load: Gamma finite, the marker where Gamma puts it (or where the rules leave
// it), every field showing the load except an entry left as typed because it
// was rejected or could not be converted, and the red colour only on rejected
// entries. It learns Z0 and the frequency from the entries and slider moves it
// is told about, and Gamma from the marker, the drag reports and the Gamma
// entries, exactly where it can and within the display's rounding otherwise.
class LoadChecker : public QObject
{
public:
    explicit LoadChecker(WindowDriver &panel);

    // Remembers what the window shows before an action.
    void beforeAction();
    // An empty text if everything agrees after the action, else what does not.
    QString afterAction(const UserAction &action);

    double z0() const { return modelZ0; }
    double frequency() const { return modelFrequency; }
    // Gamma when the checker knows it up to a few units in the last place.
    std::optional<complex_dbl> gamma() const { return knownGamma; }

private:
    QString matchCandidates(const UserAction &action, const QSet<QString> &excluded);
    bool entryLeftAsTyped(const UserAction &action) const;
    bool nothingElseChanged(const UserAction &action) const;
    QString checkLeftAsTyped(const UserAction &action);
    QString checkMarker(const UserAction &action, bool rebuilt);
    QString checkSliders() const;
    QString checkStyles(const UserAction &action, bool leftAsTyped) const;
    QString checkShownLoadRoughly(const QSet<QString> &excluded) const;
    QString firstRoughMismatch(complex_dbl marker, const QSet<QString> &excluded) const;
    void followEntry(const UserAction &action);
    QString followTask(int number);
    std::optional<complex_dbl> gammaOfGammaEntry(const UserAction &action) const;
    std::optional<complex_dbl> gammaOfValueEntry(const UserAction &action) const;
    bool textsMatch(complex_dbl gamma, const QSet<QString> &excluded) const;
    QString firstMismatch(complex_dbl gamma, const QSet<QString> &excluded) const;
    std::optional<complex_dbl> shownGamma(const QSet<QString> &excluded) const;
    bool entryTaken(const UserAction &action) const;

    WindowDriver &panel;
    double modelZ0 = 50.0;
    double modelFrequency = 1e6;
    std::optional<complex_dbl> knownGamma = complex_dbl(0.0, 0.0);
    std::optional<complex_dbl> reportedGamma;
    // Fields whose rejected entry still stands as typed, with that text.
    QHash<QString, QString> leftAsTyped;
    QHash<QString, QString> textsBefore;
    std::optional<QPointF> markerBefore;
    const void *markerItemBefore = nullptr;
    // The last drag left the marker outside the square that the chart reports.
    bool markerDisplaced = false;
};
