// What the program knows of a photo file without decoding its picture: the pixel size from the JPEG
// header and the EXIF orientation, read in microseconds (a full decode of a 12-megapixel photo costs
// tens of milliseconds, which an import of a thousand photos cannot afford).
#pragma once

#include "core/Error.h"
#include "photos/Orientation.h"

#include <QFile>
#include <QSize>
#include <QString>

namespace lumiset {

struct PhotoInfo {
    QSize storedSize; // the pixels as stored in the file
    int orientation = kUprightOrientation;
    // Where the embedded EXIF thumbnail (a small JPEG) lies in the file; length 0 when there is none.
    qint64 exifThumbnailOffset = 0;
    qint64 exifThumbnailLength = 0;

    // The size the photo shows upright: stored width and height trade places for orientations 5..8.
    QSize displayedSize() const { return DisplayedSize(storedSize, orientation); }
};

// The error for a photo file: "照片文件“<path>”" followed by the problem.
Error PhotoError(const QString& path, const QString& problem);

// The long side of a photo may be at most this many times its short side. A photo beyond it cannot be
// shown: fitted into any frame its short side would shrink to nothing, and covering a frame it would
// need billions of pixels. No camera or stitched panorama comes near it.
constexpr int kMaxPhotoProportion = 100;

// Throws Error naming the file when a picture of `size` is beyond kMaxPhotoProportion.
void CheckShowableProportions(const QString& path, QSize size);

// Opens a photo for reading. Throws Error naming the file when it is missing, not a regular file (a
// pipe would block for ever) or cannot be opened.
void OpenPhotoFile(QFile& file);

// Reads the header of the JPEG at `path`. Throws Error naming the file when it is not a JPEG the program
// can show: empty, another format, a header cut short or damaged, an unsupported coding, a zero size or
// proportions beyond kMaxPhotoProportion (so the import refuses what no view could show).
PhotoInfo ReadPhotoInfo(const QString& path);
// The same from `file`, open and positioned at its start.
PhotoInfo ReadPhotoInfo(QFile& file);

// The cells of a photo-table row that come from the file.
struct PhotoRow {
    QString name;      // file name without its extension
    QString extension; // with the dot, as the file name has it (".JPG" stays ".JPG")
    int width = 0;     // displayed size
    int height = 0;
    QString path; // full path as given
};

PhotoRow ReadPhotoRow(const QString& path);

} // namespace lumiset
