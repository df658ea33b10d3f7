#include "ui/dialogs/SaveChangesBox.h"

#include <QPushButton>

namespace lumiset::ui {

SaveChangesBox::SaveChangesBox(QWidget* parent) : MessageFrame(parent, QSize(806, 233)) {
    setObjectName(QStringLiteral("SaveChangesBox"));
    QPushButton* save = addButton("Button3", QStringLiteral("保存"));
    QPushButton* discard = addButton("Button4", QStringLiteral("不保存"));
    QPushButton* cancel = addButton("Button5", QStringLiteral("取消"));
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, [this] {
        answer_ = SaveAnswer::Save;
        accept();
    });
    connect(discard, &QPushButton::clicked, this, [this] {
        answer_ = SaveAnswer::Discard;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setCloseAction([this] { reject(); });
}

SaveAnswer SaveChangesBox::ask(const QString& albumName) {
    answer_ = SaveAnswer::Cancel;
    setWindowTitle(QStringLiteral("保存相册"));
    setMessage(QStringLiteral("相册“%1”已经修改,是否保存修改?").arg(albumName));
    exec();
    return answer_;
}

SaveAnswer AskToSaveChanges(QWidget* parent, const QString& albumName) {
    SaveChangesBox box(parent);
    return box.ask(albumName);
}

} // namespace lumiset::ui
