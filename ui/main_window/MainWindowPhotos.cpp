// The photo pages, the cells and the photo shown in the main view, with zoom and dragging.
#include "core/SystemSettings.h"
#include "ui/PictureRenderer.h"
#include "ui/Workspace.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/main_window/MainViewFit.h"
#include "ui/main_window/MainWindow.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

namespace lumiset::ui {

namespace {

constexpr int kPhotosPerPage = 9;
constexpr int kCellMargin = 3;

const QString kNoPhotos = QStringLiteral("没有添加照片文件！");
const QString kNoSelection = QStringLiteral("没有选中照片文件！");

} // namespace

int MainWindow::photoCount() const {
    return workspace_.document.album().photos.rowCount();
}

int MainWindow::lastPage() const {
    return qMax(0, (photoCount() - 1) / kPhotosPerPage);
}

int MainWindow::page() const {
    return workspace_.session.state.Edit_fangye_hao.toInt();
}

bool MainWindow::isDrawingPage() const {
    return cellRenderer_->pending() > 0;
}

bool MainWindow::refuseDuringPlayback() {
    if (!workspace_.session.isPlaying())
        return false;
    ShowMessage(this, QStringLiteral("正在播放相册,点停止按钮后,再操作！"));
    return true;
}

bool MainWindow::refuseWithoutPhotos() {
    if (photoCount() > 0)
        return false;
    ShowMessage(this, kNoPhotos);
    return true;
}

// A page command: `page` is where it goes; at the limit it says so and stays.
void MainWindow::goToPage(int target, QAction* command) {
    if (refuseDuringPlayback() || refuseWithoutPhotos())
        return;
    if (target < 0) {
        ShowMessage(this, QStringLiteral("已经是第一页了！"));
        return;
    }
    if (target > lastPage()) {
        ShowMessage(this, QStringLiteral("已经是最后一页了！"));
        return;
    }
    workspace_.session.state.Edit_fangye_hao = QString::number(target);
    if (command) {
        command->setEnabled(false);
        drawingCommand_ = command;
    }
    drawPage();
}

int MainWindow::rowOfCell(int cell) const {
    const int row = page() * kPhotosPerPage + cell;
    return row < photoCount() ? row : -1;
}

// Clears the nine cells, names their photos at once and has the pictures drawn on worker threads.
void MainWindow::drawPage() {
    const Album& album = workspace_.document.album();
    if (page() > lastPage())
        workspace_.session.state.Edit_fangye_hao = QString::number(lastPage());
    QList<PictureRequest> requests;
    const QRect area = QRect(QPoint(0, 0), cellPictures_[0]->size())
                           .adjusted(kCellMargin, kCellMargin, -kCellMargin, -kCellMargin);
    for (int k = 0; k < cellPictures_.size(); ++k) {
        cellPictures_[k]->clear();
        const int row = rowOfCell(k);
        if (row < 0) {
            cellPictures_[k]->setToolTip({});
            cellCaptions_[k]->clear();
            cellCaptions_[k]->setToolTip({});
            continue;
        }
        const QString name = album.photos.cell(row, PhotoCol::Name);
        cellPictures_[k]->setToolTip(
            QStringLiteral("鼠标双击预览模板效果。    第%1张, 照片名称: %2").arg(row + 1).arg(name));
        cellCaptions_[k]->setText(
            cellCaptions_[k]->fontMetrics().elidedText(name, Qt::ElideMiddle, cellCaptions_[k]->width()));
        cellCaptions_[k]->setToolTip(name);
        cellPictures_[k]->setProperty("row", row);
        requests.append({album.photos.cell(row, PhotoCol::Path), cellPictures_[k]->size(), area});
    }
    // Requests are in cell order, so a request's index is its cell.
    cellRenderer_->render(requests);
    workspace_.session.state.firstPageFlag = QStringLiteral("jieshu");
}

void MainWindow::cellRendered(int cell, const QImage& picture) {
    cellPictures_[cell]->setPixmap(QPixmap::fromImage(picture));
}

void MainWindow::albumTablesChanged(TableSet tables) {
    if (tables.contains(TableId::Photos))
        drawPage();
    if (tables.contains(TableId::UsedTemplates))
        updateTotalClock();
}

bool MainWindow::cellEvent(int cell, QEvent* event) {
    const int row = rowOfCell(cell);
    switch (event->type()) {
    case QEvent::Enter:
        workspace_.session.state.Edit_Image_kongjian = QStringLiteral("Image%1").arg(cell + 1);
        return false;
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        workspace_.session.state.Edit_Image_kongjian = QStringLiteral("Image%1").arg(cell + 1);
        if (mouse->button() == Qt::RightButton) {
            cellMenu_->popup(mouse->globalPosition().toPoint());
            return true;
        }
        if (mouse->button() == Qt::LeftButton && row >= 0 && !refuseDuringPlayback())
            selectPhoto(row);
        return true;
    }
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && row >= 0 &&
            !refuseDuringPlayback())
            openPreviewAndSelect(row);
        return true;
    default:
        return false;
    }
}

void MainWindow::openPreviewAndSelect(int row) {
    if (previewTemplates_)
        previewTemplates_(row);
    selectPhoto(row);
}

void MainWindow::setTemplatePreviewOpener(std::function<void(int row)> open) {
    previewTemplates_ = std::move(open);
}

void MainWindow::selectPhoto(int row) {
    resetDisplaySize();
    if (workspace_.session.selectedPhotoRow() == row)
        showSelectedPhoto(); // no selection change to follow
    else
        workspace_.session.selectPhotoRow(row); // selectionChanged shows it
}

void MainWindow::resetDisplaySize() {
    workspace_.session.state.Edit_Width_01 = QString::number(view_->width() - 6);
    workspace_.session.state.Edit_Height_01 = QString::number(view_->height() - 6);
}

void MainWindow::showIdlePicture() {
    viewRenderer_->cancel();
    showingPhoto_ = false;
    viewPicture_->setPixmap(idlePicture_);
    viewPicture_->resize(idlePicture_.deviceIndependentSize().toSize());
    viewPicture_->move((view_->width() - viewPicture_->width()) / 2,
                       (view_->height() - viewPicture_->height()) / 2);
}

// The selected photo at the display size, by the display settings; drawn on a worker thread.
void MainWindow::showSelectedPhoto() {
    const int row = workspace_.session.selectedPhotoRow();
    const Album& album = workspace_.document.album();
    if (row < 0 || row >= album.photos.rowCount()) {
        showIdlePicture();
        return;
    }
    const QSize photo(album.photos.cell(row, PhotoCol::Width).toInt(),
                      album.photos.cell(row, PhotoCol::Height).toInt());
    const QSize display(workspace_.session.state.Edit_Width_01.toInt(),
                        workspace_.session.state.Edit_Height_01.toInt());
    const bool moderate = IsSettingChecked(album.settings, SettingControl::MainViewLandscapeModerate);
    QSize size = MainViewPictureSize(photo, display, moderate);
    if (size.isEmpty())
        size = display; // a photo whose size is unknown: the loader fits it into the display
    viewRenderer_->render({{album.photos.cell(row, PhotoCol::Path), size, QRect(QPoint(0, 0), size)}});
}

void MainWindow::viewPictureRendered(const QImage& picture) {
    showingPhoto_ = true;
    viewPicture_->setPixmap(QPixmap::fromImage(picture));
    viewPicture_->resize(picture.size());
    viewPicture_->move((view_->width() - picture.width()) / 2, (view_->height() - picture.height()) / 2);
}

// `steps` tenths of the view's width added to the display width (0: back to the default size).
void MainWindow::zoom(int steps) {
    if (refuseDuringPlayback() || refuseWithoutPhotos())
        return;
    if (workspace_.session.selectedPhotoRow() < 0) {
        ShowMessage(this, kNoSelection);
        return;
    }
    SessionState& state = workspace_.session.state;
    if (steps == 0) {
        resetDisplaySize();
    } else {
        const int width = state.Edit_Width_01.toInt() + steps * (view_->width() / 10);
        const int height = width * view_->height() / view_->width();
        if (width < 0 || height < 0) {
            ShowMessage(this, QStringLiteral("不能再缩小了,点[确定]按钮，照片大小恢复到默认大小！"));
            resetDisplaySize();
        } else {
            state.Edit_Width_01 = QString::number(width);
            state.Edit_Height_01 = QString::number(height);
        }
    }
    showSelectedPhoto();
}

// The shown photo follows the mouse while the left button is held, keeping where it was grabbed.
bool MainWindow::viewPictureEvent(QEvent* event) {
    SessionState& state = workspace_.session.state;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        grabOffset_ = mouse->position().toPoint();
        state.Edit_tuodong_kaiguan = QStringLiteral("kai");
        state.Edit_tuodong_down_x = QString::number(grabOffset_.x());
        state.Edit_tuodong_down_y = QString::number(grabOffset_.y());
        return true;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (state.Edit_tuodong_kaiguan != QLatin1String("kai") || !(mouse->buttons() & Qt::LeftButton) ||
            !showingPhoto_ || workspace_.session.selectedPhotoRow() < 0)
            return false;
        viewPicture_->move(viewPicture_->mapToParent(mouse->position().toPoint()) - grabOffset_);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        state.Edit_tuodong_kaiguan = QStringLiteral("guan");
        return true;
    default:
        return false;
    }
}

} // namespace lumiset::ui
