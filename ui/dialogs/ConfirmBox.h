// The confirmation box (TForm17): the caller's caption and question, "确定" (Button3) and "取消"
// (Button4). Only "确定" is consent; "取消", the close button and Escape all leave the answer empty.
#pragma once

#include "core/Confirm.h"
#include "ui/dialogs/MessageFrame.h"

namespace lumiset::ui {

class ConfirmBox : public MessageFrame {
    Q_OBJECT
public:
    explicit ConfirmBox(QWidget* parent = nullptr);

    // Clears the answer, shows the question modally and returns whether the user chose "确定".
    bool ask(const QString& caption, const QString& question);
    // "yes" after "确定", empty otherwise.
    const QString& answer() const { return answer_; }

private:
    QString answer_;
};

// Asks `question` under `caption` in a confirmation box over `parent`.
bool AskToConfirm(QWidget* parent, const QString& caption, const QString& question);
// The question function for operations that take a Confirm (core/Confirm.h): every question is put in
// a confirmation box over `parent`.
Confirm ConfirmWithBox(QWidget* parent);

} // namespace lumiset::ui
