#include "ui/windows/PhotoWindow.h"

#include "core/AlbumTableModel.h"
#include "core/Columns.h"
#include "ui/PhotoCommands.h"
#include "ui/Workspace.h"
#include "ui/dialogs/ConfirmBox.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/ProgressWindow.h"
#include "ui/windows/PhotoDetailsPanel.h"

#include <QBoxLayout>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace lumiset::ui {

namespace {

const QString kCombinationsLater =
    QStringLiteral("模板组合效果的选项窗口还没有提供, 这次照片使用随机模板自动套版。");

QPushButton* addButton(QBoxLayout* row, const char* name, const QString& text, int width = 96) {
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    button->setMinimumWidth(width);
    row->addWidget(button);
    return button;
}

} // namespace

PhotoWindow::PhotoWindow(Workspace& workspace, QWidget* parent)
    : FramedWindow(parent), workspace_(workspace),
      model_(new AlbumTableModel(workspace.document, TableId::Photos, this)), table_(buildTable()),
      details_(new PhotoDetailsPanel(workspace.thumbnails)) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("添加照片"));
    resize(860, heightForBody(500));

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    connect(addButton(buttons, "Button5", QStringLiteral("添加照片")), &QPushButton::clicked, this,
            &PhotoWindow::addPhotos);
    connect(addButton(buttons, "Button6", QStringLiteral("删除照片")), &QPushButton::clicked, this,
            &PhotoWindow::deleteSelectedPhoto);
    connect(addButton(buttons, "Button7", QStringLiteral("全部删除")), &QPushButton::clicked, this,
            &PhotoWindow::deleteAllPhotos);
    connect(addButton(buttons, "Button9", QStringLiteral("自动套版")), &QPushButton::clicked, this,
            &PhotoWindow::matchPendingPhotos);
    connect(addButton(buttons, "Button11", QStringLiteral("缩略图方式显示照片"), 150), &QPushButton::clicked,
            this, &PhotoWindow::showPhotoFiles);
    buttons->addStretch(1);
    connect(addButton(buttons, "Button8", QStringLiteral("返   回")), &QPushButton::clicked, this,
            &PhotoWindow::accept);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(16);
    columns->addWidget(table_, 1);
    details_->setFixedWidth(250);
    columns->addWidget(details_);

    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(14);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { workspace_.session.selectPhotoRow(current.row()); });
    connect(&workspace_.session, &Session::selectionChanged, this, &PhotoWindow::showSelection);
    // A reset comes with every change of the photo table: the row's values may have changed with it.
    connect(model_, &QAbstractItemModel::modelReset, this, &PhotoWindow::showSelection);
    showSelection();
}

QTableView* PhotoWindow::buildTable() {
    auto* table = new QTableView;
    table->setObjectName(QStringLiteral("ListView_daoru_zhaopian"));
    table->setModel(model_);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->setShowGrid(false);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(24);
    table->horizontalHeader()->setHighlightSections(false);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int widths[PhotoCol::Count] = {44, 120, 48, 52, 52, 230, 48};
    for (int column = 0; column < PhotoCol::Count; ++column)
        table->setColumnWidth(column, widths[column]);
    return table;
}

void PhotoWindow::open(QWidget* parent, Workspace& workspace, std::function<void(QWidget*)> openPhotoFiles) {
    PhotoWindow window(workspace, parent);
    if (openPhotoFiles)
        connect(&window, &PhotoWindow::photoFilesRequested, &window,
                [&window, openPhotoFiles] { openPhotoFiles(&window); });
    window.exec();
}

QStringList PhotoWindow::ChoosePhotoFiles(QWidget* parent) {
    static QString lastFolder;
    const QStringList files =
        QFileDialog::getOpenFileNames(parent, QStringLiteral("添加照片"), lastFolder,
                                      QStringLiteral("添加照片文件(JPG) (*.jpg *.jpeg *.JPG *.JPEG)"));
    if (!files.isEmpty())
        lastFolder = QFileInfo(files.first()).absolutePath();
    return files;
}

bool PhotoWindow::hasPhotos() const {
    return !workspace_.document.album().photos.isEmpty();
}

void PhotoWindow::showSelection() {
    const int row = workspace_.session.selectedPhotoRow();
    const Table& photos = workspace_.document.album().photos;
    if (row < 0 || row >= photos.rowCount()) {
        table_->selectionModel()->clearSelection();
        table_->selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
        details_->clear();
        return;
    }
    const QModelIndex index = model_->index(row, 0);
    if (table_->selectionModel()->currentIndex().row() != row)
        table_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
    table_->scrollTo(index);
    details_->showPhoto(row, photos.row(row));
}

void PhotoWindow::addPhotos() {
    const Album& album = workspace_.document.album();
    // The combination options come with a window of their own; until then every import uses random
    // templates, and the user is told so rather than finding the setting ignored.
    if (PhotoImportJobs::offersCombinations(album))
        ShowMessage(this, kCombinationsLater);
    const QStringList files = chooseFiles_(this);
    if (files.isEmpty())
        return;
    ImportAnswers answers;
    for (const Question& question : workspace_.importJobs.questionsBefore(album))
        answers.replacePictureEffects = AskToConfirm(this, question.caption, question.text);

    const PhotoImportJobs& jobs = workspace_.importJobs;
    const JobOutcome outcome = RunInProgressWindow(this, ImportText::AddPhotosCaption, album,
                                                   [&jobs, files, answers](const Album& start, Job& job) {
                                                       return jobs.importPhotos(start, files, answers, job);
                                                   });
    workspace_.document.applyOutcome(ImportText::AddPhotosCaption, outcome);
    ShowOutcomeMessages(this, outcome);
}

void PhotoWindow::matchPendingPhotos() {
    if (!hasPhotos()) {
        ShowMessage(this, ImportText::NoPhotos);
        return;
    }
    const PhotoImportJobs& jobs = workspace_.importJobs;
    const JobOutcome outcome = RunInProgressWindow(
        this, ImportText::MatchCaption, workspace_.document.album(),
        [&jobs](const Album& start, Job& job) { return jobs.matchPendingPhotos(start, job); });
    workspace_.document.applyOutcome(ImportText::MatchCaption, outcome);
    ShowOutcomeMessages(this, outcome);
}

void PhotoWindow::deleteSelectedPhoto() {
    DeleteOnePhoto(this, workspace_, workspace_.session.selectedPhotoRow());
}

void PhotoWindow::deleteAllPhotos() {
    DeleteAllPhotos(this, workspace_);
}

void PhotoWindow::showPhotoFiles() {
    if (!hasPhotos()) {
        ShowMessage(this, ImportText::NoPhotos);
        return;
    }
    emit photoFilesRequested();
}

} // namespace lumiset::ui
