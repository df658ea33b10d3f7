// The photo files window (TForm42, "照片文件"): every photo of the album as a large thumbnail list
// (ListView1), with the commands to show a photo in the main view (a click), preview the templates that
// use it (a double click, "预览效果" Button_yulanxiaoguo), delete it or all photos ("删除照片"
// Button_shanchu_dange, "全部删除" Button_shanchu_quanbu), the tile size ("放大照片" Button6, "缩小照片"
// Button5) and the window size ("放大窗口1" Button3, "放大窗口2" Button2, "默认窗口" Button1), and "返回"
// (Button4). The list's popup menu holds the preview and the two deletions (N1, N2, N3).
#pragma once
#include "ui/FramedWindow.h"

#include <functional>

class QMenu;

namespace lumiset::ui {

class PhotoTileList;
class Workspace;

class PhotoFilesWindow : public FramedWindow {
    Q_OBJECT
public:
    // Opens the preview of the templates that use photo `row`; without it "预览效果" is not offered yet.
    using TemplatePreview = std::function<void(QWidget* parent, int row)>;

    PhotoFilesWindow(Workspace& workspace, TemplatePreview previewTemplates, QWidget* parent = nullptr);

    // With no photos in the album says so; otherwise shows the window modally.
    static void open(QWidget* parent, Workspace& workspace, TemplatePreview previewTemplates = {});

    static constexpr QSize kDefaultSize{1033, 652};

    // The commands, as the buttons run them.
    void showPhoto(int row);
    void previewSelectedPhoto();
    void deleteSelectedPhoto();
    void deleteAllPhotos();
    void resizeAndCentre(QSize size);

private:
    bool refuseWithoutSelection();
    // The screen's size less 1/`divisor` of it in each direction.
    QSize screenLess(int divisor) const;
    Workspace& workspace_;
    TemplatePreview previewTemplates_;
    PhotoTileList* list_;
    QMenu* menu_;
};

} // namespace lumiset::ui
