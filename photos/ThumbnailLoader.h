// The one way the program turns a photo file into a picture of a given size: previews, tiles, the crop
// editor and the pictures written for the templates all come from here.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

namespace lumiset {

struct ThumbnailStatus {
    bool pictureShown = true; // false: the file could not be shown and a picture icon stands in for it
    QString message;          // empty when all went well; otherwise what went wrong, naming the file
};

// Renders photos upright (EXIF orientation applied) into a rectangle of a white panel. A JPEG is decoded
// only as far as needed: from its EXIF thumbnail when that is big enough and of the same proportions,
// otherwise with libjpeg's scaled decoding. Other image formats are read whole. Only the part of the
// picture that lands inside the painter's clip and device is scaled, however far beyond them the picture
// reaches. A file that cannot be shown (damaged, or of proportions beyond kMaxPhotoProportion) gets a
// picture-icon placeholder and a message; the call never waits on anything.
//
// Thread-safe: the loader holds no state, so worker threads may render at once (each on its own painter).
class ThumbnailLoader {
public:
    // Fills `area` with white and draws the picture in it, fitted and centred (filling it when `area`
    // has the photo's proportions). Nothing is drawn outside `area`; the painter's device clips the rest,
    // so `area` may reach beyond the panel.
    ThumbnailStatus render(const QString& path, QPainter& painter, const QRect& area) const;

    // A white panel of `panelSize` with the photo rendered into `area`.
    QImage renderPanel(const QString& path, QSize panelSize, const QRect& area,
                       ThumbnailStatus* status = nullptr) const;
};

} // namespace lumiset
