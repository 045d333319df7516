#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;

// Asks for the number of an exercise: a whole number from 1 to 4999 in the
// default locale. Anything else turns the field red with its reason, and the
// dialog stays open.
class ExerciseDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ExerciseDialog(QWidget *parent = nullptr);

    // The accepted number.
    int number() const { return accepted; }
    // Why the text is not an exercise number; none when it is one.
    static std::optional<QString> refusal(const QString &text);

    void accept() override;

private:
    QLineEdit *field = nullptr;
    QLabel *reason = nullptr;
    int accepted = 0;
};
