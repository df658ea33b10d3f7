#include "ui/PhotoTileList.h"

#include "core/Columns.h"
#include "photos/PhotoFit.h"
#include "ui/PictureRenderer.h"
#include "ui/Theme.h"
#include "ui/Workspace.h"

#include <QAbstractListModel>
#include <QFileInfo>
#include <QPainter>
#include <QScrollBar>

namespace lumiset::ui {

namespace {

// Tiles are kept by their pixels: all small tiles of a large album, or a few screens of large ones.
constexpr int kKeptPixels = 16 * 1024 * 1024;

QSize PhotoSizeOf(const Table& photos, int row) {
    return {photos.cell(row, PhotoCol::Width).toInt(), photos.cell(row, PhotoCol::Height).toInt()};
}

// The tile box with the white frame in it, transparent around the frame; `picture` the rendered frame.
QPixmap PaintTile(QSize tile, const QRect& frame, const QImage& picture) {
    QPixmap pixmap(tile);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    if (picture.isNull())
        painter.fillRect(frame, Qt::white);
    else
        painter.drawImage(frame.topLeft(), picture);
    painter.setPen(colours::kBorder);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    return pixmap;
}

} // namespace

// The photo table as list items: caption the file name, tool tip the full path, decoration the tile.
class PhotoTileList::Model : public QAbstractListModel {
public:
    Model(PhotoTileList& list, const AlbumDocument& document)
        : QAbstractListModel(&list), list_(list), document_(document) {
        connect(&document, &AlbumDocument::tablesChanged, this, [this](TableSet tables) {
            if (tables.contains(TableId::Photos)) {
                beginResetModel();
                endResetModel();
            }
        });
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : document_.album().photos.rowCount();
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const Table& photos = document_.album().photos;
        if (!index.isValid() || index.row() >= photos.rowCount())
            return {};
        const QString path = photos.cell(index.row(), PhotoCol::Path);
        switch (role) {
        case Qt::DisplayRole:
            return QFileInfo(path).fileName();
        case Qt::ToolTipRole:
        case Qt::UserRole:
            return path;
        case Qt::DecorationRole:
            return list_.tileOf(index.row());
        default:
            return {};
        }
    }

    void tilesChanged(int first, int last) {
        emit dataChanged(index(first), index(last), {Qt::DecorationRole});
    }

private:
    PhotoTileList& list_;
    const AlbumDocument& document_;
};

PhotoTileList::PhotoTileList(Workspace& workspace, QWidget* parent)
    : QListView(parent), workspace_(workspace), model_(new Model(*this, workspace.document)),
      renderer_(new PictureRenderer(workspace.thumbnails, this)), tiles_(kKeptPixels) {
    setObjectName(QStringLiteral("ListView1"));
    setToolTip(QStringLiteral("单机鼠标右键弹出操作菜单"));
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideMiddle);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setModel(model_);
    setTileSize(kSmallTile);

    renderSoon_.setSingleShot(true);
    renderSoon_.setInterval(15); // scrolling moves many times a frame: render once it rests
    connect(&renderSoon_, &QTimer::timeout, this, &PhotoTileList::renderTilesInView);
    connect(renderer_, &PictureRenderer::rendered, this,
            [this](int index, const QImage& picture) { tileRendered(index, picture); });
    connect(renderer_, &PictureRenderer::batchFinished, this, [this] {
        renderingRows_.clear();
        if (rowsToRender().isEmpty())
            emit tilesShown();
        else
            renderSoon_.start();
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        renderer_->cancel();
        renderingRows_.clear();
        followSelection();
        renderSoon_.start();
    });
    connect(this, &QListView::clicked, this,
            [this](const QModelIndex& index) { emit photoClicked(index.row()); });
    connect(this, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { emit photoDoubleClicked(index.row()); });
    connect(&workspace_.session, &Session::selectionChanged, this, &PhotoTileList::followSelection);
    followSelection();
}

PhotoTileList::~PhotoTileList() = default;

void PhotoTileList::setTileSize(QSize tile) {
    tile_ = tile;
    setIconSize(tile);
    setGridSize(tile + QSize(20, 40));
    placeholder_ = PaintTile(tile, LayOutPhotoTile({}, tile).frame, {});
    reload();
}

void PhotoTileList::reload() {
    renderer_->cancel();
    renderingRows_.clear();
    tiles_.clear();
    if (model_->rowCount({}) > 0)
        model_->tilesChanged(0, model_->rowCount({}) - 1);
    renderSoon_.start();
}

QString PhotoTileList::tileKey(int row) const {
    return QStringLiteral("%1|%2x%3")
        .arg(workspace_.document.album().photos.cell(row, PhotoCol::Path))
        .arg(tile_.width())
        .arg(tile_.height());
}

QPixmap PhotoTileList::tileOf(int row) const {
    const QPixmap* tile = tiles_.object(tileKey(row));
    return tile ? *tile : placeholder_;
}

int PhotoTileList::rowAt(const QPoint& point) const {
    const QModelIndex index = indexAt(point);
    return index.isValid() ? index.row() : -1;
}

// The rows in view without a tile, then those of the next screenful: what the user sees comes first.
QList<int> PhotoTileList::rowsToRender() const {
    QList<int> rows;
    if (!isVisible())
        return rows;
    const int count = model_->rowCount({});
    const QRect view = viewport()->rect();
    const QRect ahead = view.translated(0, view.height());
    QList<int> later;
    for (int row = 0; row < count; ++row) {
        const QRect item = visualRect(model_->index(row));
        const bool inView = item.intersects(view);
        if (!inView && !item.intersects(ahead))
            continue;
        if (tiles_.contains(tileKey(row)))
            continue;
        (inView ? rows : later) << row;
    }
    return rows + later;
}

int PhotoTileList::pendingTiles() const {
    return static_cast<int>(rowsToRender().size());
}

void PhotoTileList::renderTilesInView() {
    const QList<int> rows = rowsToRender();
    // A batch already under way for the same rows goes on; a new one replaces it.
    if (rows == renderingRows_ && renderer_->pending() > 0)
        return;
    renderingRows_ = rows;
    if (rows.isEmpty()) {
        renderer_->cancel();
        emit tilesShown();
        return;
    }
    const Table& photos = workspace_.document.album().photos;
    QList<PictureRequest> requests;
    for (int row : rows) {
        const PhotoTile tile = LayOutPhotoTile(PhotoSizeOf(photos, row), tile_);
        requests.append(
            {photos.cell(row, PhotoCol::Path), tile.frame.size(), QRect(QPoint(3, 3), tile.picture.size())});
    }
    renderer_->render(requests);
}

void PhotoTileList::tileRendered(int index, const QImage& picture) {
    if (index < 0 || index >= renderingRows_.size())
        return;
    const int row = renderingRows_[index];
    if (row >= model_->rowCount({}))
        return;
    const PhotoTile tile = LayOutPhotoTile(PhotoSizeOf(workspace_.document.album().photos, row), tile_);
    tiles_.insert(tileKey(row), new QPixmap(PaintTile(tile_, tile.frame, picture)),
                  qMax(1, tile_.width() * tile_.height()));
    model_->tilesChanged(row, row);
}

void PhotoTileList::followSelection() {
    const int row = workspace_.session.selectedPhotoRow();
    if (row >= 0 && row < model_->rowCount({})) {
        setCurrentIndex(model_->index(row));
        scrollTo(model_->index(row));
    } else {
        clearSelection();
    }
}

void PhotoTileList::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    renderSoon_.start();
}

void PhotoTileList::scrollContentsBy(int dx, int dy) {
    QListView::scrollContentsBy(dx, dy);
    renderSoon_.start();
}

void PhotoTileList::showEvent(QShowEvent* event) {
    QListView::showEvent(event);
    renderSoon_.start();
}

} // namespace lumiset::ui
