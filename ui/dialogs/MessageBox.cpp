#include "ui/dialogs/MessageBox.h"

#include "core/Error.h"

#include <QPushButton>

namespace lumiset::ui {

namespace {
const QString kCaption = QStringLiteral("提示");
}

MessageBox::MessageBox(QWidget* parent) : MessageFrame(parent, QSize(584, 171)) {
    setObjectName(QStringLiteral("TForm14"));
    setWindowTitle(kCaption);
    QPushButton* ok = addButton("Button2", QStringLiteral("确定"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    setCloseAction([this] { accept(); });
}

void ShowMessage(QWidget* parent, const QString& text, const QString& caption) {
    MessageBox box(parent);
    if (!caption.isEmpty())
        box.setWindowTitle(caption);
    box.setMessage(text);
    box.exec();
}

void ShowError(QWidget* parent, const Error& error) {
    ShowMessage(parent, error.message(), error.caption());
}

} // namespace lumiset::ui
