#pragma once

#include <QHash>
#include <QObject>
#include <QPixmap>

class QWidget;

// Repaints line edits and sliders without the group box behind them. The
// toolkit paints the parent under every child that is not opaque, and a group
// box draws its frame and title for it again, even where a rewritten field
// alone changed. A control installed here is opaque instead and first draws a
// picture of what its parent shows behind it (Fusion's line edits have
// antialiased corners, and sliders draw no background of their own). The
// picture is taken on the first paint after the control or its parent changed
// size, place or look. Installed on controls it does not own; the window owns it.
class ControlBackdrop : public QObject
{
    Q_OBJECT

public:
    explicit ControlBackdrop(QObject *parent = nullptr);

    void install(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paintBackdrop(QWidget *control);

    QHash<const QWidget *, QPixmap> pictures;
};
