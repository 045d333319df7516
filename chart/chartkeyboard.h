#pragma once

#include <QObject>

class QGraphicsView;
class QKeyEvent;

// Lets the keyboard move the load on a chart view that has the focus: the
// arrow keys step the marker by 0.01 in Gamma (Shift 0.001, Ctrl 0.1), Home
// puts it on the matched load. Each press is one step of a marker drag: the
// scene takes the new position exactly as it takes a dragged one, and a step
// that it would not report, out of the square around the unit circle, is not
// made. In a held mode of the chart's menu the arrows turn the load about its
// circle instead, by 1 degree (Shift 0.1, Ctrl 10). Ctrl+Z takes back the last
// element of the matching path, and Shift+F10 opens the chart's menu (the
// Menu key reaches the view as a context-menu event by itself). Lives as a
// child of the view it watches.
class ChartKeyboard : public QObject
{
    Q_OBJECT

public:
    explicit ChartKeyboard(QGraphicsView *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handleKey(const QKeyEvent &event);

    QGraphicsView *view;
};
