#include "ui/PhotoCommands.h"

#include "photos/PhotoDeletion.h"
#include "ui/Workspace.h"
#include "ui/dialogs/ConfirmBox.h"
#include "ui/dialogs/MessageBox.h"

namespace lumiset::ui {

namespace {

const QString kDeleteStep = QStringLiteral("删除照片");

template <typename Delete> bool deletePhotos(QWidget* parent, Workspace& workspace, Delete&& remove) {
    const PhotoDeletion deletion(workspace.catalogue, workspace.random, ConfirmWithBox(parent));
    Album next = workspace.document.album();
    const EditResult result = remove(deletion, next);
    if (result.changed)
        workspace.document.apply(kDeleteStep, std::move(next));
    for (const QString& message : result.messages)
        ShowMessage(parent, message);
    return result.changed;
}

} // namespace

bool DeleteOnePhoto(QWidget* parent, Workspace& workspace, int row) {
    return deletePhotos(parent, workspace, [row](const PhotoDeletion& deletion, Album& album) {
        return deletion.deleteOne(album, row);
    });
}

bool DeleteAllPhotos(QWidget* parent, Workspace& workspace) {
    return deletePhotos(parent, workspace, [](const PhotoDeletion& deletion, Album& album) {
        return deletion.deleteAll(album);
    });
}

} // namespace lumiset::ui
