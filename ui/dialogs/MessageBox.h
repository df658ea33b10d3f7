// The message box (TForm14, caption "提示"): one message and "确定" (Button2). Every message the program
// shows goes through here; the system's message boxes are never used.
#pragma once

#include "ui/dialogs/MessageFrame.h"

namespace lumiset {
class Error;
}

namespace lumiset::ui {

class MessageBox : public MessageFrame {
    Q_OBJECT
public:
    explicit MessageBox(QWidget* parent = nullptr);
};

// Shows `text` modally and returns when the user has read it ("确定", the close button or Escape).
// An empty `caption` is "提示".
void ShowMessage(QWidget* parent, const QString& text, const QString& caption = {});
// The error's message under its caption.
void ShowError(QWidget* parent, const Error& error);

} // namespace lumiset::ui
