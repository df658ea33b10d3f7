// The question before an album with unsaved changes is replaced or left: "保存" (Button3),
// "不保存" (Button4) and "取消" (Button5). The close button and Escape are "取消".
#pragma once

#include "ui/dialogs/MessageFrame.h"

namespace lumiset::ui {

enum class SaveAnswer { Save, Discard, Cancel };

class SaveChangesBox : public MessageFrame {
    Q_OBJECT
public:
    explicit SaveChangesBox(QWidget* parent = nullptr);

    // Asks about the album called `albumName` modally and returns the answer.
    SaveAnswer ask(const QString& albumName);

private:
    SaveAnswer answer_ = SaveAnswer::Cancel;
};

SaveAnswer AskToSaveChanges(QWidget* parent, const QString& albumName);

} // namespace lumiset::ui
