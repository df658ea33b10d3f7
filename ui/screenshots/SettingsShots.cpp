// The system settings window.
#include "ui/screenshots/Shots.h"
#include "ui/windows/SettingsWindow.h"

namespace lumiset::shots {

void settingsShots() {
    const std::unique_ptr<ui::Workspace> workspace = makeWorkspace(false);
    ui::SettingsWindow window(*workspace);
    save(&window, QStringLiteral("settings.png"));
}

} // namespace lumiset::shots
