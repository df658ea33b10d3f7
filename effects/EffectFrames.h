// Reading the frames of the effect libraries. Production frames may be stored cropped to what they show;
// the crop's place in the whole frame travels in the PNG itself (its offset, which QImage::offset()
// reports), so one file stays one frame. Every reader of effect frames goes through here.
#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <vector>

namespace lumiset {

struct EffectFrame {
    QImage image;  // Format_ARGB32_Premultiplied, ready to draw
    QPoint offset; // top-left of `image` in the uncropped frame, in the frame's own pixels; (0, 0) uncropped
    // The picture data the file holds, inflated (a byte a pixel for a palette, four for colours with
    // alpha): what reading the frame again would take, for the caches weighing what to keep.
    qint64 storedBytes = 0;
};

// Reads one frame file. Throws Error naming the file when it cannot be read or places its picture before
// the frame's top-left corner. With `memory`, the picture may live there until `memory` is used again (see
// DecodeEffectPng).
EffectFrame LoadEffectFrame(const QString& path, std::vector<QRgb>* memory = nullptr);
// Throws that Error when `offset`, read from the frame file `path`, lies before the frame's top-left.
void CheckEffectFrameOffset(QPoint offset, const QString& path);

} // namespace lumiset
