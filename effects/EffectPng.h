// The effect frames' own kinds of PNG — 8-bit palette or 8-bit RGBA, not interlaced, cropped with an oFFs
// offset — read straight into a premultiplied picture. Production draws several of these full-frame pictures
// into every frame, so their reading is on the hot path: libdeflate inflates several times faster than zlib,
// and each pixel is made premultiplied once (a palette lookup), with no format conversion after.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

namespace lumiset {

// The picture of `file` (Format_ARGB32_Premultiplied, offset() from its oFFs chunk in pixels), or nullopt
// when the file is a PNG of another kind or no PNG at all (read those another way). Throws Error naming
// `path` when the file is such a PNG but damaged. With `memory`, the picture's pixels are written there
// (grown as needed) and the picture is good only until `memory` is used again: a reader going through
// frame after frame reuses its memory instead of having megabytes mapped and cleared for each.
std::optional<QImage> DecodeEffectPng(QByteArrayView file, const QString& path,
                                      std::vector<QRgb>* memory = nullptr);

// Bytes a pixel the picture data of `file` takes inflated: 1 for an 8-bit palette PNG, otherwise 4.
int EffectPngBytesPerPixel(QByteArrayView file);

// Where the rows of such a file go, top to bottom, each premultiplied as DecodeEffectPng makes them.
class EffectPngRows {
public:
    virtual ~EffectPngRows() = default;
    // Before the first row: the picture's size and its oFFs offset.
    virtual void begin(QSize size, QPoint offset) = 0;
    // Where row `y` is to be written (size.width() pixels); it is complete when rowDone(y) is called.
    virtual QRgb* rowBuffer(int y) = 0;
    virtual void rowDone(int y) = 0;
};

// How a frame too large for the reading thread's kept buffer (a whole 1920 × 1080 palette frame) is
// inflated: a row at a time with zlib, holding nothing of its size, or whole with libdeflate, about three
// times faster, into the thread's buffer, which then grows to the frame (8 MB for a whole 1920 × 1080 RGBA
// frame) and stays so.
enum class LargeFrames { RowByRow, Whole };

// The same reading, handing the rows to `rows` instead of keeping a picture: production blends frames of
// its own size straight over its frames this way. False, with nothing handed over, for a file of another
// kind; throws as DecodeEffectPng does, possibly after some rows. DecodeEffectPng, which holds a picture
// of the frame's size anyway, inflates large frames whole.
bool ReadEffectPngRows(QByteArrayView file, const QString& path, EffectPngRows& rows,
                       LargeFrames large = LargeFrames::RowByRow);

} // namespace lumiset
