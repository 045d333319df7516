#pragma once

#include <QObject>

class QAbstractSlider;

// Makes every notch of the mouse wheel move a slider by exactly one single
// step, as an arrow key does, or with Shift or Ctrl by one page step, as the
// page keys do; each is a slider action that the window can steer. The toolkit
// would scroll by several lines per notch, which on the table sliders skips
// scale values. Touchpads that send
// fractions of a notch step once a whole notch has added up. Installed on the
// sliders it serves, which it does not own.
class WheelStepFilter : public QObject
{
    Q_OBJECT

public:
    explicit WheelStepFilter(QObject *parent = nullptr);

    void install(QAbstractSlider *slider);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The part of a notch that has not moved the slider yet, and its slider.
    const QObject *pendingSlider = nullptr;
    int pendingDelta = 0;
};
