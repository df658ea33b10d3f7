// The photo window (TForm3, "添加照片"): the album's photo table (ListView_daoru_zhaopian), the details of
// the selected photo, and the photo commands: "添加照片" (Button5), "删除照片" (Button6), "全部删除"
// (Button7), "自动套版" (Button9), "缩略图方式显示照片" (Button11) and "返   回" (Button8). Imports and
// matching run in the progress window; every change is one undoable step of the document. The selected
// row is the session's, so the main window and this window agree on which photo is meant.
#pragma once
#include "ui/FramedWindow.h"

#include <QStringList>
#include <functional>

class QTableView;

namespace lumiset {
class AlbumTableModel;
}

namespace lumiset::ui {

class PhotoDetailsPanel;
class Workspace;

class PhotoWindow : public FramedWindow {
    Q_OBJECT
public:
    // Asks the user for photo files; an empty list when the user cancels.
    using FileChooser = std::function<QStringList(QWidget* parent)>;

    explicit PhotoWindow(Workspace& workspace, QWidget* parent = nullptr);

    // Shows the window modally. `openPhotoFiles` answers "缩略图方式显示照片" (with the photo window as the
    // parent of what it opens); without it the button has nothing to open.
    static void open(QWidget* parent, Workspace& workspace,
                     std::function<void(QWidget* photoWindow)> openPhotoFiles = {});

    // The system's file chooser for JPEG photos, several at a time, starting where the last choice was.
    static QStringList ChoosePhotoFiles(QWidget* parent);
    void setFileChooser(FileChooser chooser) { chooseFiles_ = std::move(chooser); }

    // The commands, as the buttons run them.
    void addPhotos();
    void deleteSelectedPhoto();
    void deleteAllPhotos();
    void matchPendingPhotos();
    void showPhotoFiles();

signals:
    // "缩略图方式显示照片" with photos in the album: the photo files window should open.
    void photoFilesRequested();

private:
    bool hasPhotos() const;
    // Selects the session's row in the table and shows its details.
    void showSelection();
    QTableView* buildTable();

    Workspace& workspace_;
    AlbumTableModel* model_;
    QTableView* table_;
    PhotoDetailsPanel* details_;
    FileChooser chooseFiles_ = ChoosePhotoFiles;
};

} // namespace lumiset::ui
