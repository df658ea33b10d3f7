// Puts the program's windows together over a loaded workspace: the main window with the start-up
// animation over its view, and each secondary window on the command that opens it.
#pragma once

class QWidget;

namespace lumiset::ui {

class Workspace;

// The main window, ready to show; quitting it ends the application.
QWidget* MakeDesktopWindows(Workspace& workspace);

} // namespace lumiset::ui
