// What the screenshot helper's pieces share: saving a window's picture, letting events settle, and a
// workspace over the built data folder. Each window family adds its pictures in a file of its own
// (a function declared here and called from main.cpp).
#pragma once
#include "ui/Workspace.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace lumiset::shots {

extern QString outDir; // where the pictures go
extern int failures;   // pictures that could not be written

// Lets the window system and queued signals catch up, until `done` holds (at most `ms` milliseconds).
bool settle(const std::function<bool()>& done = {}, int ms = 200);
// Shows `window` and saves a picture of it alone as `name` in the output folder.
void save(QWidget* window, const QString& name);
void hoverCloseButton(QWidget* window);
// A workspace over the data folder beside the program ($LUMISET_PROGRAM_DIR when set); with `withPhotos`,
// the generated sample photos are imported as a user would.
std::unique_ptr<ui::Workspace> makeWorkspace(bool withPhotos);

// The pictures, by window family.
void dialogShots();
void startupShots();
void mainWindowShots();
void settingsShots();
void photoShots();

} // namespace lumiset::shots
