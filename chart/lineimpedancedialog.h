#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;

// Asks for the impedance of the lines that held moves make from now on: one
// field, taken as the window takes Z0 (a plain number of ohms from 0,1 Ω to
// 10 kΩ). A text it cannot take turns the field red with the reason, and the
// dialog stays open.
class LineImpedanceDialog : public QDialog
{
    Q_OBJECT

public:
    LineImpedanceDialog(double startOhms, QWidget *parent);

    // The impedance taken, once the dialog was accepted.
    double impedance() const { return taken; }
    void accept() override;

    // Shows the dialog, starting at `startOhms`; none when it was cancelled.
    static std::optional<double> ask(double startOhms, QWidget *parent);

private:
    QLineEdit *field = nullptr;
    QString usualToolTip;
    QString usualStyle;
    double taken = 0.0;
};
