// The system settings window (TForm18, "系统设置"): the visible setting groups as radio buttons named
// after their controls, "恢复默认设置" (Button2) and "返  回" (Button3). The settings belong to the album:
// each click is one undoable document step, so they are saved with the album file; the window shows the
// document's settings whenever they change.
#pragma once
#include "ui/FramedWindow.h"

#include <QMap>

class QRadioButton;

namespace lumiset::ui {

class Workspace;

class SettingsWindow : public FramedWindow {
    Q_OBJECT
public:
    SettingsWindow(Workspace& workspace, QWidget* parent = nullptr);
    // Shows the window modally (the main window applies the playback guard first).
    static void open(QWidget* parent, Workspace& workspace);

private:
    void showSettings();
    void choose(const QString& control);
    void resetToDefaults();
    Workspace& workspace_;
    QMap<QString, QRadioButton*> buttons_;
};

} // namespace lumiset::ui
