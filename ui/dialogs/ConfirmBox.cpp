#include "ui/dialogs/ConfirmBox.h"

#include <QPointer>
#include <QPushButton>

namespace lumiset::ui {

ConfirmBox::ConfirmBox(QWidget* parent) : MessageFrame(parent, QSize(806, 233)) {
    setObjectName(QStringLiteral("TForm17"));
    QPushButton* ok = addButton("Button3", QStringLiteral("确定"));
    QPushButton* cancel = addButton("Button4", QStringLiteral("取消"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        answer_ = QStringLiteral("yes");
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setCloseAction([this] { reject(); });
}

bool ConfirmBox::ask(const QString& caption, const QString& question) {
    answer_.clear();
    setWindowTitle(caption);
    setMessage(question);
    exec();
    return answer_ == QLatin1String("yes");
}

bool AskToConfirm(QWidget* parent, const QString& caption, const QString& question) {
    ConfirmBox box(parent);
    return box.ask(caption, question);
}

Confirm ConfirmWithBox(QWidget* parent) {
    return [window = QPointer<QWidget>(parent)](const QString& caption, const QString& question) {
        return AskToConfirm(window, caption, question);
    };
}

} // namespace lumiset::ui
