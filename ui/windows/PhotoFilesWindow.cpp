#include "ui/windows/PhotoFilesWindow.h"

#include "photos/PhotoDeletion.h"
#include "ui/NotYetAvailable.h"
#include "ui/PhotoCommands.h"
#include "ui/PhotoTileList.h"
#include "ui/Workspace.h"
#include "ui/dialogs/MessageBox.h"

#include <QBoxLayout>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>

namespace lumiset::ui {

namespace {

QPushButton* addButton(QBoxLayout* row, const char* name, const QString& text) {
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false); // Enter means nothing here: no button stands out as the default
    row->addWidget(button);
    return button;
}

} // namespace

PhotoFilesWindow::PhotoFilesWindow(Workspace& workspace, TemplatePreview previewTemplates, QWidget* parent)
    : FramedWindow(parent), workspace_(workspace), previewTemplates_(std::move(previewTemplates)),
      list_(new PhotoTileList(workspace)), menu_(new QMenu(this)) {
    setObjectName(QStringLiteral("TForm42"));
    setWindowTitle(QStringLiteral("照片文件"));
    resize(kDefaultSize);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(3);
    connect(addButton(buttons, "Button3", QStringLiteral("放大窗口1")), &QPushButton::clicked, this,
            [this] { resizeAndCentre(screenLess(10)); });
    connect(addButton(buttons, "Button2", QStringLiteral("放大窗口2")), &QPushButton::clicked, this,
            [this] { resizeAndCentre(screenLess(20)); });
    connect(addButton(buttons, "Button1", QStringLiteral("默认窗口")), &QPushButton::clicked, this,
            [this] { resizeAndCentre(kDefaultSize); });
    buttons->addStretch(1);
    QPushButton* preview = addButton(buttons, "Button_yulanxiaoguo", QStringLiteral("预览效果"));
    connect(preview, &QPushButton::clicked, this, &PhotoFilesWindow::previewSelectedPhoto);
    connect(addButton(buttons, "Button_shanchu_dange", QStringLiteral("删除照片")), &QPushButton::clicked,
            this, &PhotoFilesWindow::deleteSelectedPhoto);
    connect(addButton(buttons, "Button_shanchu_quanbu", QStringLiteral("全部删除")), &QPushButton::clicked,
            this, &PhotoFilesWindow::deleteAllPhotos);
    connect(addButton(buttons, "Button6", QStringLiteral("放大照片")), &QPushButton::clicked, this,
            [this] { list_->setTileSize(PhotoTileList::kLargeTile); });
    connect(addButton(buttons, "Button5", QStringLiteral("缩小照片")), &QPushButton::clicked, this,
            [this] { list_->setTileSize(PhotoTileList::kSmallTile); });
    connect(addButton(buttons, "Button4", QStringLiteral("返回")), &QPushButton::clicked, this,
            &PhotoFilesWindow::accept);
    if (!previewTemplates_) {
        preview->setEnabled(false);
        preview->setToolTip(kNotYetAvailable);
    }

    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(24, 14, 25, 20);
    layout->setSpacing(20);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    list_->setFocus();

    QAction* previewItem =
        menu_->addAction(QStringLiteral("预览效果"), this, &PhotoFilesWindow::previewSelectedPhoto);
    previewItem->setObjectName(QStringLiteral("N1"));
    previewItem->setEnabled(preview->isEnabled());
    menu_->addAction(QStringLiteral("删除照片"), this, &PhotoFilesWindow::deleteSelectedPhoto)
        ->setObjectName(QStringLiteral("N2"));
    menu_->addAction(QStringLiteral("全部删除"), this, &PhotoFilesWindow::deleteAllPhotos)
        ->setObjectName(QStringLiteral("N3"));
    menu_->setObjectName(QStringLiteral("PopupMenu1"));

    connect(list_, &PhotoTileList::photoClicked, this, &PhotoFilesWindow::showPhoto);
    connect(list_, &PhotoTileList::photoDoubleClicked, this, [this](int row) {
        showPhoto(row);
        previewSelectedPhoto();
    });
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int row = list_->rowAt(at);
        if (row >= 0)
            showPhoto(row);
        menu_->popup(list_->viewport()->mapToGlobal(at));
    });
}

void PhotoFilesWindow::open(QWidget* parent, Workspace& workspace, TemplatePreview previewTemplates) {
    if (workspace.document.album().photos.isEmpty()) {
        ShowMessage(parent, PhotoDeletionText::NoPhotos);
        return;
    }
    PhotoFilesWindow window(workspace, std::move(previewTemplates), parent);
    window.exec();
}

// The main window follows the session's selected photo and shows it by the display settings.
void PhotoFilesWindow::showPhoto(int row) {
    if (row >= 0 && row < workspace_.document.album().photos.rowCount())
        workspace_.session.selectPhotoRow(row);
}

bool PhotoFilesWindow::refuseWithoutSelection() {
    if (workspace_.document.album().photos.isEmpty()) {
        ShowMessage(this, PhotoDeletionText::NoPhotos);
        return true;
    }
    if (workspace_.session.selectedPhotoRow() < 0) {
        ShowMessage(this, PhotoDeletionText::NoSelection);
        return true;
    }
    return false;
}

void PhotoFilesWindow::previewSelectedPhoto() {
    if (!previewTemplates_ || refuseWithoutSelection())
        return;
    previewTemplates_(this, workspace_.session.selectedPhotoRow());
}

// Without a selection this window says so before any question.
void PhotoFilesWindow::deleteSelectedPhoto() {
    if (!refuseWithoutSelection())
        DeleteOnePhoto(this, workspace_, workspace_.session.selectedPhotoRow());
}

void PhotoFilesWindow::deleteAllPhotos() {
    DeleteAllPhotos(this, workspace_);
}

QSize PhotoFilesWindow::screenLess(int divisor) const {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize whole = screen ? screen->geometry().size() : kDefaultSize;
    return {whole.width() - whole.width() / divisor, whole.height() - whole.height() / divisor};
}

void PhotoFilesWindow::resizeAndCentre(QSize size) {
    resize(size);
    centreOnScreen();
}

} // namespace lumiset::ui
