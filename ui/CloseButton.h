// The drawn close button of a title bar: a transparent label over the bar's right end, whose picture
// behaves like a push button's (hovered, pressed while held over it) and which acts on a release over it.
// The main window and the frame of every secondary window close this way.
#pragma once

#include <functional>

class QEvent;
class QLabel;

namespace lumiset::ui {

class CloseButton {
public:
    // Feed it the events of `button`, the label that receives the mouse; `picture` shows the title bar's
    // right end in its three states. Returns whether the event was the button's. `action` runs on a
    // release over the button, after the picture is back to hovered.
    bool handle(QEvent* event, QLabel* button, QLabel* picture, const std::function<void()>& action);

private:
    bool pressed_ = false;
};

} // namespace lumiset::ui
