// The main window (TForm2): the album workspace. A borderless window with its own title bar, the 800 x 450
// main view showing the selected photo (and, later, the playing album), nine photo cells with page
// commands, read-only side lists of the album's used templates, songs and lyric files, the play and stop
// buttons with the two clocks, and the column of function buttons that open the other windows.
//
// Every command is one QAction named by its caption; buttons, labels and menu items of that caption all
// trigger it. The album changes only through the workspace's document and core operations.
#pragma once

#include "ui/CloseButton.h"
#include "ui/WindowDrag.h"

#include <QHash>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>

class QAction;
class QAbstractButton;
class QFrame;
class QLabel;
class QListView;
class QMenu;

namespace lumiset {
class TableSet;
}

namespace lumiset::ui {

class PhotoTileList;
class PictureRenderer;
class Workspace;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(Workspace& workspace, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Every command by its caption ("添加照片", "第一页", "放大", "新建文件", "退出文件", "全屏窗口", …): one
    // QAction each, which every button, label and menu item of that caption triggers. nullptr for an
    // unknown caption.
    QAction* command(const QString& caption) const;
    // Makes a function button work: enables its command and runs `open` (which shows a window modally)
    // after the playback guard, then the refresh this window does after that window. Commands without an
    // opener stay disabled with the tooltip "此功能将在后续版本中提供".
    void setWindowOpener(const QString& caption, std::function<void()> open);
    // What a double click on a photo (a cell or the photo list) opens before the photo is selected: the
    // preview of the templates that use photo `row`. Without it a double click only selects.
    void setTemplatePreviewOpener(std::function<void(int row)> open);

    QWidget* mainView() const;   // ScrollBox_zhujiemian, for the start-up animation to cover
    QRect photoListArea() const; // where the photo list ListView1 shows in the enlarged and full-screen modes

    // Chooses the album file to open (`forSaving` false) or to save to; empty when the user cancels.
    // By default a file dialog; tests replace it.
    using FileChooser = std::function<QString(QWidget* parent, bool forSaving)>;
    void setFileChooser(FileChooser chooser);

    // "moren_chuangkou", "fangda_chuangkou" or "quanping_chuangkou": sizes and lays out the window.
    void applyWindowMode(const QString& mode);
    // Another window asks for a command to run once it has closed: after it set
    // session.state.Edit_zidongkongzhi to "dakai_mobanguanli_anniu", template management opens as soon as
    // the event loop is free, if the word is still there then.
    void scheduleDeferredCommand();
    // The photo page shown, 0-based.
    int page() const;
    // Whether the cells of the page are still being drawn.
    bool isDrawingPage() const;

signals:
    void quitConfirmed(); // after the exit confirmation's clean-up: the program ends

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Construction.
    void buildChrome();
    void buildMainView();
    void buildCells();
    void buildSideLists();
    void buildButtons();
    void buildCommands();
    QAction* addCommand(const QString& caption, std::function<void()> run);
    QAction* addOpenerCommand(const QString& caption);
    QAbstractButton* addButton(const QString& caption, const char* objectName);
    void bindButton(QAbstractButton* button, QAction* action);
    QMenu* makeMenu(const QStringList& captions);

    // Layout and chrome.
    bool isLargeMode() const;
    void layOut();
    void updateTitle();
    bool titleBarEvent(QObject* watched, QEvent* event);
    void popUpBelow(QMenu* menu, QWidget* label);

    // Photos: pages, cells, the main view.
    int photoCount() const;
    int lastPage() const;
    bool refuseDuringPlayback();
    bool refuseWithoutPhotos();
    void goToPage(int page, QAction* command);
    void drawPage();
    void cellRendered(int cell, const QImage& picture);
    int rowOfCell(int cell) const;
    bool cellEvent(int cell, QEvent* event);
    void selectPhoto(int row);
    void openPreviewAndSelect(int row);
    void resetDisplaySize();
    void showSelectedPhoto();
    void showIdlePicture();
    void viewPictureRendered(const QImage& picture);
    void zoom(int steps);
    bool viewPictureEvent(QEvent* event);
    void albumTablesChanged(TableSet tables);

    // Commands.
    void runOpener(const QString& caption);
    void refreshAfterWindow(const QString& caption);
    void updateTotalClock();
    void openAbout();
    void deleteFromPhotoList(bool all);
    void previewSelectedPhoto();
    void showPhotoListMenu(const QPoint& at);

    // Album files and quitting.
    bool saveChangesFirst();
    bool saveAlbum();
    bool saveAlbumAs();
    void newAlbum();
    void openAlbum();
    void clearAlbum();
    void requestQuit();

    Workspace& workspace_;
    PictureRenderer* cellRenderer_;
    PictureRenderer* viewRenderer_;
    FileChooser chooseFile_;
    std::function<void(int)> previewTemplates_;
    QHash<QString, QAction*> commands_;
    QHash<QString, std::function<void()>> openers_;
    QPointer<QAction> drawingCommand_; // disabled while its page is drawn
    bool quitConfirmed_ = false;

    // Chrome.
    QLabel* titleLeft_;
    QLabel* titleMiddle_;
    QLabel* titleRight_;
    QLabel* bottomEdge_;
    QLabel* icon_;
    QLabel* title_;
    QLabel* version_;
    QLabel* windowMenuLabel_;
    QLabel* functionMenuLabel_;
    QLabel* close_;
    CloseButton closeButton_;
    WindowDrag drag_;
    QMenu* windowMenu_;
    QMenu* functionMenu_;
    QMenu* cellMenu_;
    QMenu* photoListMenu_;

    // Main view.
    QRect playBackground_;
    QWidget* view_;
    QLabel* viewPicture_;
    QLabel* lyric_;
    QLabel* lyric2_;
    QPixmap idlePicture_;
    bool showingPhoto_ = false;
    QPoint grabOffset_;

    // Cells and the rest.
    QList<QFrame*> cells_;
    QList<QLabel*> cellPictures_;
    QList<QLabel*> cellCaptions_;
    QList<QAbstractButton*> pageButtons_;
    QList<QAbstractButton*> functionButtons_;
    QAbstractButton* previousArrow_;
    QAbstractButton* nextArrow_;
    QAbstractButton* play_;
    QAbstractButton* stop_;
    QAbstractButton* photoFilesButton_;
    QLabel* elapsedClock_;
    QLabel* totalClock_;
    QList<QLabel*> sideCaptions_;
    QList<QListView*> sideLists_;
    PhotoTileList* photoList_ = nullptr;
};

} // namespace lumiset::ui
