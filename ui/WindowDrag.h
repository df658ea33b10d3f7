// Moving a borderless window by a part of it (a title bar): every window with drawn chrome drags this way.
#pragma once

#include <QPoint>

class QEvent;
class QWidget;

namespace lumiset::ui {

class WindowDrag {
public:
    // Feed it the mouse events of the drag area; returns whether the event was the drag's. The window asks
    // the window system to move it (startSystemMove) first: the only way on Wayland, and it lets a window
    // manager snap and constrain the window. Without a window manager (Xvfb, offscreen) that fails and the
    // window follows the mouse by hand.
    bool handle(QWidget* window, QEvent* event);

private:
    bool dragging_ = false;
    QPoint startMouse_;  // screen coordinates of the press
    QPoint startWindow_; // where the window was then
};

} // namespace lumiset::ui
