// The thumbnail list of the album's photos (ListView1 of the main window's large modes and of the photo
// files window): an icon view with one framed tile per photo, captioned with the file name. Tiles are
// rendered on worker threads, those in view first and the next screenful after them, so a list of a
// thousand photos opens at once and never holds the interface thread; the list follows the album's photo
// table and the session's selected photo by itself.
#pragma once

#include <QCache>
#include <QListView>
#include <QPixmap>
#include <QTimer>

namespace lumiset::ui {

class PictureRenderer;
class Workspace;

class PhotoTileList : public QListView {
    Q_OBJECT
public:
    static constexpr QSize kSmallTile{125, 80};
    static constexpr QSize kLargeTile{375, 240};

    explicit PhotoTileList(Workspace& workspace, QWidget* parent = nullptr);
    ~PhotoTileList() override;

    // The tile box; changing it renders the tiles afresh.
    void setTileSize(QSize tile);
    QSize tileSize() const { return tile_; }
    // Forgets every rendered tile (the files may have changed since) and renders those in view again.
    void reload();
    // Tiles in view, or in the next screenful, still being rendered.
    int pendingTiles() const;
    // The photo row of the tile under `point` (viewport coordinates), -1 for none.
    int rowAt(const QPoint& point) const;

signals:
    void photoClicked(int row);
    void photoDoubleClicked(int row);
    // Every tile in view has its picture.
    void tilesShown();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void showEvent(QShowEvent* event) override;

private:
    class Model;
    QString tileKey(int row) const;
    QPixmap tileOf(int row) const;
    QList<int> rowsToRender() const;
    void renderTilesInView();
    void tileRendered(int index, const QImage& picture);
    void followSelection();

    Workspace& workspace_;
    Model* model_;
    PictureRenderer* renderer_;
    QSize tile_ = kSmallTile;
    QPixmap placeholder_;
    QCache<QString, QPixmap> tiles_;
    QList<int> renderingRows_; // the rows of the renderer's current batch, by request index
    QTimer renderSoon_;
};

} // namespace lumiset::ui
