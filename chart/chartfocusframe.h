#pragma once

#include <QWidget>

// A 2-pixel ring in the palette's highlight colour over the outer edge of a
// view's frame, shown while the view has the keyboard focus. It lies on top of
// the frame as a child of the view, so the view keeps its geometry and what it
// shows; mouse events pass through it.
class ChartFocusFrame : public QWidget
{
    Q_OBJECT

public:
    explicit ChartFocusFrame(QWidget *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void fitToView();

    QWidget *view;
};
