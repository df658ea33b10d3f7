// The photo window's details panel: the selected photo's table values in read-only fields (Edit_xuhao …
// Edit_weizhi) and its preview (Image_xianshizhaopian, 201 x 169, in ScrollBox_xianshizhaopianshi) with
// the hint "第N张, 照片名称: …". A 12-megapixel photo takes tens of milliseconds to decode, so the preview
// is rendered on a worker thread and shown when it arrives; a newer selection makes older ones vanish.
#pragma once

#include "ui/PictureRenderer.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;

namespace lumiset::ui {

class PhotoDetailsPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kPreviewSize{201, 169};

    explicit PhotoDetailsPanel(const ThumbnailLoader& thumbnails, QWidget* parent = nullptr);
    // Shows photo row `row` (0-based) with its table cells; an empty `cells` clears the panel.
    void showPhoto(int row, const QStringList& cells);
    void clear();
    // Whether a preview is still being rendered (tests and screenshots wait for it).
    bool isRendering() const { return renderer_.pending() > 0; }

private:
    QList<QLineEdit*> fields_; // Edit_xuhao … Edit_weizhi, the photo columns 0 … 5
    QLabel* preview_;
    PictureRenderer renderer_; // a newer selection drops the preview of an older one
};

// The size of the preview picture of a W x H photo: the photo fitted into a frame 6 pixels smaller than
// the preview, with a 3-pixel white border around it. Empty for a photo without a size.
QSize PreviewFrameSize(QSize photo);

} // namespace lumiset::ui
