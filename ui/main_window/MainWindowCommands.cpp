// The commands: every caption's action, the function buttons' windows and what follows them, the menus,
// the album files and quitting.
#include "core/Error.h"
#include "core/TextHelpers.h"
#include "core/Words.h"
#include "core/WorkCleanup.h"
#include "effects/AlbumTimeline.h"
#include "ui/NotYetAvailable.h"
#include "ui/PhotoCommands.h"
#include "ui/PhotoTileList.h"
#include "ui/Workspace.h"
#include "ui/dialogs/ConfirmBox.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/ProgressConfirmBox.h"
#include "ui/dialogs/SaveChangesBox.h"
#include "ui/main_window/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QUrl>

namespace lumiset::ui {

namespace {

const QString kAlbumFilter = QStringLiteral("Lumiset 相册 (*.lumiset)");
const QString kAlbumSuffix = QStringLiteral(".lumiset");

// The function buttons and menu items that open another window, in menu order, then the hidden ones.
const QStringList& WindowCaptions() {
    static const QStringList captions{
        QStringLiteral("添加照片"), QStringLiteral("添加音乐"), QStringLiteral("添加歌词"),
        QStringLiteral("照片剪裁"), QStringLiteral("画面质量"), QStringLiteral("同步效果"),
        QStringLiteral("模板管理"), QStringLiteral("插入视频"), QStringLiteral("文字特效"),
        QStringLiteral("背景图片"), QStringLiteral("系统设置"), QStringLiteral("VCD"),
        QStringLiteral("SVCD"),     QStringLiteral("DVD"),      QStringLiteral("AVI"),
        QStringLiteral("MP4"),      QStringLiteral("WMV"),      QStringLiteral("MOV"),
        QStringLiteral("画面特效"), QStringLiteral("照片文件"),
    };
    return captions;
}

QString ChooseAlbumFile(QWidget* parent, bool forSaving) {
    return forSaving ? QFileDialog::getSaveFileName(parent, QStringLiteral("另存相册"), QDir::homePath(),
                                                    kAlbumFilter)
                     : QFileDialog::getOpenFileName(parent, QStringLiteral("打开相册"), QDir::homePath(),
                                                    kAlbumFilter);
}

// The introduction page: written next to the work files from the program's own text, so that it needs no
// network and always describes the running version.
QString AboutPage() {
    return QStringLiteral(
               "<!DOCTYPE html><html lang=\"zh\"><head><meta charset=\"utf-8\"><title>Lumiset "
               "软件简介</title>"
               "<style>body{font-family:sans-serif;max-width:46em;margin:2em "
               "auto;color:#1a1a1a;background:#f7f2f4}"
               "h1{color:#2a3155}li{margin:.3em 0}</style></head><body>"
               "<h1>Lumiset %1</h1>"
               "<p>Lumiset 把您的照片做成音乐相册：照片放进动画模板，配上音乐和歌词，加上文字与画面特效，"
               "最后制作成 VCD、SVCD、DVD、AVI 等格式的视频。</p>"
               "<ol><li>点“添加照片”导入照片，程序自动为照片选配模板；</li>"
               "<li>点“添加音乐”和“添加歌词”为相册配乐；</li>"
               "<li>用“模板管理”“照片剪裁”“文字特效”“背景图片”等功能调整效果；</li>"
               "<li>在主界面预览，满意后点“VCD”“DVD”“AVI”等按钮制作相册。</li></ol>"
               "<p>相册可以用“保存文件”存为 .lumiset 文件，以后用“打开文件”继续编辑。</p>"
               "<p>Lumiset 是自由软件，按 GNU 通用公共许可证发布。</p></body></html>")
        .arg(QStringLiteral(LUMISET_VERSION));
}

} // namespace

QAction* MainWindow::addCommand(const QString& caption, std::function<void()> run) {
    auto* action = new QAction(caption, this);
    action->setObjectName(caption);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    commands_.insert(caption, action);
    return action;
}

QAction* MainWindow::addOpenerCommand(const QString& caption) {
    QAction* action = addCommand(caption, [this, caption] { runOpener(caption); });
    action->setEnabled(false);
    action->setToolTip(kNotYetAvailable);
    return action;
}

void MainWindow::buildCommands() {
    chooseFile_ = ChooseAlbumFile;
    // Album files and quitting.
    addCommand(QStringLiteral("新建文件"), [this] { newAlbum(); });
    addCommand(QStringLiteral("打开文件"), [this] { openAlbum(); });
    addCommand(QStringLiteral("保存文件"), [this] {
        if (!refuseDuringPlayback())
            saveAlbum();
    });
    addCommand(QStringLiteral("另存文件"), [this] {
        if (!refuseDuringPlayback())
            saveAlbumAs();
    });
    addCommand(QStringLiteral("清空数据"), [this] { clearAlbum(); });
    QAction* quit = addCommand(QStringLiteral("退出文件"), [this] { requestQuit(); });
    commands_.insert(QStringLiteral("退出软件"), quit);

    for (const QString& caption : WindowCaptions())
        addOpenerCommand(caption);

    // Pages.
    addCommand(QStringLiteral("第一页"),
               [this] { goToPage(page() == 0 ? -1 : 0, command(QStringLiteral("第一页"))); });
    addCommand(QStringLiteral("上一页"), [this] { goToPage(page() - 1, command(QStringLiteral("上一页"))); });
    addCommand(QStringLiteral("下一页"), [this] { goToPage(page() + 1, command(QStringLiteral("下一页"))); });
    addCommand(QStringLiteral("末一页"), [this] {
        goToPage(page() == lastPage() ? lastPage() + 1 : lastPage(), command(QStringLiteral("末一页")));
    });

    // The photo view.
    addCommand(QStringLiteral("查看照片"), [this] {
        if (refuseDuringPlayback() || refuseWithoutPhotos())
            return;
        const QString cell = workspace_.session.state.Edit_Image_kongjian;
        const int row = cell.startsWith(QLatin1String("Image")) ? rowOfCell(cell.mid(5).toInt() - 1) : -1;
        if (row < 0)
            ShowMessage(this, QStringLiteral("没有选中照片文件！"));
        else
            selectPhoto(row);
    });
    addCommand(QStringLiteral("预览效果"), [this] {
        if (!refuseDuringPlayback())
            ShowMessage(this, QStringLiteral("双击照片预览效果！"));
    });
    addCommand(QStringLiteral("放大"), [this] { zoom(1); });
    addCommand(QStringLiteral("缩小"), [this] { zoom(-1); });
    addCommand(QStringLiteral("默认"), [this] { zoom(0); });
    addCommand(QStringLiteral("删除照片"), [this] { deleteFromPhotoList(false); });
    addCommand(QStringLiteral("全部删除"), [this] { deleteFromPhotoList(true); });

    // Window modes.
    addCommand(QStringLiteral("全屏窗口"), [this] { applyWindowMode(QStringLiteral("quanping_chuangkou")); });
    addCommand(QStringLiteral("放大窗口"), [this] { applyWindowMode(QStringLiteral("fangda_chuangkou")); });
    addCommand(QStringLiteral("默认窗口"), [this] { applyWindowMode(QStringLiteral("moren_chuangkou")); });

    addCommand(QStringLiteral("软件简介"), [this] { openAbout(); });

    // Playback arrives with the player; until then the buttons say so.
    for (const QString& caption : {QStringLiteral("播放"), QStringLiteral("停止")}) {
        QAction* action = addCommand(caption, [] {});
        action->setEnabled(false);
        action->setToolTip(kNotYetAvailable);
    }

    windowMenu_ =
        makeMenu({QStringLiteral("全屏窗口"), QStringLiteral("放大窗口"), QStringLiteral("默认窗口")});
    windowMenu_->setObjectName(QStringLiteral("PopupMenu_chuangkou"));
    functionMenu_ = makeMenu({QStringLiteral("新建文件"),
                              QStringLiteral("打开文件"),
                              QStringLiteral("保存文件"),
                              QStringLiteral("另存文件"),
                              QStringLiteral("清空数据"),
                              {},
                              QStringLiteral("添加照片"),
                              QStringLiteral("添加音乐"),
                              QStringLiteral("添加歌词"),
                              QStringLiteral("照片剪裁"),
                              QStringLiteral("画面质量"),
                              QStringLiteral("同步效果"),
                              QStringLiteral("模板管理"),
                              QStringLiteral("插入视频"),
                              QStringLiteral("文字特效"),
                              QStringLiteral("背景图片"),
                              {},
                              QStringLiteral("VCD"),
                              QStringLiteral("SVCD"),
                              QStringLiteral("DVD"),
                              QStringLiteral("AVI"),
                              {},
                              QStringLiteral("退出文件")});
    functionMenu_->setObjectName(QStringLiteral("PopupMenu_gongneng"));
    cellMenu_ = makeMenu({QStringLiteral("查看照片"),
                          QStringLiteral("预览效果"),
                          {},
                          QStringLiteral("第一页"),
                          QStringLiteral("上一页"),
                          QStringLiteral("下一页"),
                          QStringLiteral("末一页")});
    cellMenu_->setObjectName(QStringLiteral("PopupMenu_zhaopian"));
    // On the photo list "预览效果" previews the selected photo's templates, as a double click on the list
    // does.
    photoListMenu_ = makeMenu({});
    QAction* previewSelected = photoListMenu_->addAction(QStringLiteral("预览效果"));
    connect(previewSelected, &QAction::triggered, this, [this] { previewSelectedPhoto(); });
    photoListMenu_->addAction(command(QStringLiteral("删除照片")));
    photoListMenu_->addAction(command(QStringLiteral("全部删除")));
    photoListMenu_->setObjectName(QStringLiteral("PopupMenu_zhaopian_liebiao"));
}

void MainWindow::setWindowOpener(const QString& caption, std::function<void()> open) {
    QAction* action = command(caption);
    if (!action || !WindowCaptions().contains(caption))
        return;
    openers_.insert(caption, std::move(open));
    const bool has = static_cast<bool>(openers_.value(caption));
    action->setEnabled(has);
    action->setToolTip(has ? QString() : kNotYetAvailable);
}

void MainWindow::runOpener(const QString& caption) {
    const std::function<void()> open = openers_.value(caption);
    if (!open)
        return;
    // The picture effect window may open while the album plays; every other window may not.
    if (caption != QStringLiteral("画面特效") && refuseDuringPlayback())
        return;
    if (caption == QStringLiteral("模板管理") && photoCount() == 0) {
        ShowMessage(this, QStringLiteral("没有添加照片文件！使用模板管理功能,至少添加一张照片文件！"));
        return;
    }
    if (caption == QStringLiteral("照片文件") && refuseWithoutPhotos())
        return;
    open();
    refreshAfterWindow(caption);
}

// The side lists follow the document by themselves; what is left is the clocks, the page and the list.
void MainWindow::refreshAfterWindow(const QString& caption) {
    if (caption == QStringLiteral("添加照片")) {
        elapsedClock_->setText(QStringLiteral("00:00:00"));
        updateTotalClock();
        if (photoCount() > 0) {
            workspace_.session.state.Edit_fangye_hao = QStringLiteral("0");
            drawPage();
            workspace_.session.selectPhotoRow(-1);
        }
    } else if (caption == QStringLiteral("添加音乐") || caption == QStringLiteral("模板管理")) {
        updateTotalClock();
    } else if (caption == QStringLiteral("同步效果")) {
        updateTotalClock();
        elapsedClock_->setText(QStringLiteral("00:00:00"));
    }
}

// The frames of the templates whose photos are all matched, and the album's closing 150 frames. A template
// missing from the catalogue (an album made with other templates) plays nothing, so it counts nothing.
void MainWindow::updateTotalClock() {
    const Album& album = workspace_.document.album();
    qint64 frames = 0;
    for (int row = 0; row < album.usedTemplates.rowCount(); ++row) {
        if (!IsCompleteTemplate(album, row))
            continue;
        try {
            frames += UsedTemplateFrames(album, workspace_.catalogue, row);
        } catch (const Error&) {
        }
    }
    totalClock_->setText(frames == 0 ? QStringLiteral("00:00:00") : FramesToClock(frames + 150));
}

void MainWindow::openAbout() {
    const QString path = QDir(workspace_.paths.workRoot()).filePath(QStringLiteral("lumiset_about.html"));
    QFile file(path);
    const bool written = QDir().mkpath(workspace_.paths.workRoot()) && file.open(QIODevice::WriteOnly) &&
                         file.write(AboutPage().toUtf8()) >= 0;
    file.close();
    if (!written || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        ShowMessage(this, QStringLiteral("无法打开软件简介页面：%1").arg(QDir::toNativeSeparators(path)));
}

void MainWindow::showPhotoListMenu(const QPoint& at) {
    photoListMenu_->popup(photoList_->viewport()->mapToGlobal(at));
}

void MainWindow::previewSelectedPhoto() {
    if (refuseDuringPlayback() || refuseWithoutPhotos())
        return;
    const int row = workspace_.session.selectedPhotoRow();
    if (row < 0)
        ShowMessage(this, QStringLiteral("没有选中照片文件！"));
    else
        openPreviewAndSelect(row);
}

void MainWindow::scheduleDeferredCommand() {
    QTimer::singleShot(1, this, [this] {
        if (workspace_.session.state.Edit_zidongkongzhi == QLatin1String("dakai_mobanguanli_anniu"))
            command(QStringLiteral("模板管理"))->trigger();
    });
}

void MainWindow::deleteFromPhotoList(bool all) {
    if (refuseDuringPlayback() || refuseWithoutPhotos())
        return;
    if (all)
        DeleteAllPhotos(this, workspace_);
    else
        DeleteOnePhoto(this, workspace_, workspace_.session.selectedPhotoRow());
}

void MainWindow::setFileChooser(FileChooser chooser) {
    chooseFile_ = chooser ? std::move(chooser) : FileChooser(ChooseAlbumFile);
}

// Before the album is replaced or left: true when that may go ahead (saved, or the changes given up).
bool MainWindow::saveChangesFirst() {
    if (!workspace_.document.isModified())
        return true;
    switch (AskToSaveChanges(this, workspace_.document.displayName())) {
    case SaveAnswer::Save:
        return saveAlbum();
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

bool MainWindow::saveAlbum() {
    if (workspace_.document.filePath().isEmpty())
        return saveAlbumAs();
    try {
        workspace_.document.save();
        return true;
    } catch (const Error& error) {
        ShowError(this, error);
        return false;
    }
}

bool MainWindow::saveAlbumAs() {
    QString path = chooseFile_(this, true);
    if (path.isEmpty())
        return false;
    if (!path.endsWith(kAlbumSuffix, Qt::CaseInsensitive))
        path += kAlbumSuffix;
    try {
        workspace_.document.saveAs(path);
        return true;
    } catch (const Error& error) {
        ShowError(this, error);
        return false;
    }
}

void MainWindow::newAlbum() {
    if (refuseDuringPlayback() || !saveChangesFirst())
        return;
    workspace_.document.newAlbum();
    workspace_.session.state.Edit_fangye_hao = QStringLiteral("0");
    drawPage();
}

void MainWindow::openAlbum() {
    if (refuseDuringPlayback() || !saveChangesFirst())
        return;
    const QString path = chooseFile_(this, false);
    if (path.isEmpty())
        return;
    try {
        workspace_.document.open(path);
    } catch (const Error& error) {
        ShowError(this, error);
        return;
    }
    workspace_.session.state.Edit_fangye_hao = QStringLiteral("0");
    drawPage();
}

// Everything the album holds goes as one step that "撤销" brings back; the settings stay.
void MainWindow::clearAlbum() {
    if (refuseDuringPlayback())
        return;
    Album cleared = workspace_.document.album();
    cleared.clearData();
    if (cleared == workspace_.document.album()) {
        ShowMessage(this, QStringLiteral("相册中没有可清空的数据！"));
        return;
    }
    if (!AskToConfirm(this, QStringLiteral("清空数据"),
                      QStringLiteral("是否清空相册的全部照片、模板、音乐、歌词和特效?")))
        return;
    workspace_.document.apply(QStringLiteral("清空数据"), std::move(cleared));
}

void MainWindow::requestQuit() {
    if (!saveChangesFirst())
        return;
    const DataPaths paths = workspace_.paths;
    if (!ConfirmAndRun(this, QStringLiteral("退出软件"), QStringLiteral("是否退出软件?"),
                       [paths](const Job& control) { ClearWorkFiles(paths, control); }))
        return;
    quitConfirmed_ = true;
    emit quitConfirmed();
}

// Alt+F4 and the window system's close ask like the close label; the program ends through quitConfirmed.
// Once the exit is confirmed, closing the window is part of ending the program and asks nothing more.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (quitConfirmed_) {
        event->accept();
        return;
    }
    event->ignore();
    requestQuit();
}

} // namespace lumiset::ui
