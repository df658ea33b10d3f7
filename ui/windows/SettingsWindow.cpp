#include "ui/windows/SettingsWindow.h"

#include "core/SystemSettings.h"
#include "ui/Workspace.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumiset::ui {

SettingsWindow::SettingsWindow(Workspace& workspace, QWidget* parent)
    : FramedWindow(parent), workspace_(workspace) {
    setObjectName(QStringLiteral("TForm18"));
    setWindowTitle(QStringLiteral("系统设置"));
    resize(602, 585);

    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(22, 14, 22, 16);
    layout->setSpacing(10);
    for (const SettingGroup& group : SystemSettingGroups()) {
        if (group.hidden)
            continue; // still read, and kept by the reset, but not offered
        auto* box = new QGroupBox(group.caption, body());
        auto* row = new QHBoxLayout(box);
        auto* exclusive = new QButtonGroup(box);
        for (const SettingChoice& choice : group.choices) {
            auto* button = new QRadioButton(choice.caption, box);
            button->setObjectName(choice.control);
            exclusive->addButton(button);
            row->addWidget(button);
            buttons_.insert(choice.control, button);
            connect(button, &QRadioButton::clicked, this,
                    [this, control = choice.control] { choose(control); });
        }
        row->addStretch();
        layout->addWidget(box);
    }
    layout->addStretch();

    auto* reset = new QPushButton(QStringLiteral("恢复默认设置"), body());
    reset->setObjectName(QStringLiteral("Button2"));
    auto* back = new QPushButton(QStringLiteral("返  回"), body());
    back->setObjectName(QStringLiteral("Button3"));
    back->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(reset);
    buttons->addWidget(back);
    layout->addLayout(buttons);

    connect(reset, &QPushButton::clicked, this, &SettingsWindow::resetToDefaults);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    setCloseAction([this] { accept(); });
    connect(&workspace_.document, &AlbumDocument::settingsChanged, this, &SettingsWindow::showSettings);
    showSettings();
}

void SettingsWindow::showSettings() {
    const QMap<QString, QString>& settings = workspace_.document.album().settings;
    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it)
        it.value()->setChecked(IsSettingChecked(settings, it.key()));
}

void SettingsWindow::choose(const QString& control) {
    workspace_.document.modify(QStringLiteral("系统设置"),
                               [&](Album& album) { SystemSettings(album.settings).check(control); });
    showSettings();
}

void SettingsWindow::resetToDefaults() {
    workspace_.document.modify(QStringLiteral("恢复默认设置"),
                               [](Album& album) { SystemSettings(album.settings).resetToDefaults(); });
    showSettings();
}

void SettingsWindow::open(QWidget* parent, Workspace& workspace) {
    SettingsWindow window(workspace, parent);
    window.exec();
}

} // namespace lumiset::ui
