// Deleting photos with their questions and messages: the photo window, the photo files window and the
// main window's photo list all delete through here, so each deletion is written once.
#pragma once

class QWidget;

namespace lumiset::ui {

class Workspace;

// "删除照片": asks, deletes photo row `row` (-1: none selected) as one undoable step and shows the
// messages. Returns whether the album changed.
bool DeleteOnePhoto(QWidget* parent, Workspace& workspace, int row);
// "全部删除": asks, deletes every photo with its templates and automatic text effects, shows the messages.
bool DeleteAllPhotos(QWidget* parent, Workspace& workspace);

} // namespace lumiset::ui
