// An effect frame made ready to draw into album frames of one size: scaled and placed once, with the
// smooth sampling production draws with, and kept as the runs of pixels it covers. Most effects cover a
// few hundredths of the frame, so the runs take little memory, and drawing them touches only what shows.
#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <vector>

namespace lumiset {

class PlacedEffectFrame {
public:
    PlacedEffectFrame() = default; // shows nothing
    // `picture` (premultiplied) drawn into `target`, in the pixels of a frame of `frameSize`, as QPainter
    // draws it with SmoothPixmapTransform; what falls outside the frame is left out.
    PlacedEffectFrame(const QImage& picture, const QRectF& target, QSize frameSize);

    // Draws over `frame` (RGB32 or ARGB32_Premultiplied, at least as large as the frame size it was placed
    // for), source over.
    void drawOver(QImage& frame) const;
    // Memory held, for the caches that keep these.
    qsizetype bytes() const;
    bool isEmpty() const { return runs_.empty(); }

private:
    struct Run {
        int x = 0;
        int y = 0;
        int length = 0;
    };
    // Appends the runs of one row of `width` pixels whose first pixel is (left, y) in the frame.
    static void AddRuns(const QRgb* row, int left, int y, int width, std::vector<Run>& runs,
                        std::vector<QRgb>& pixels);

    std::vector<Run> runs_;    // in row order, left to right
    std::vector<QRgb> pixels_; // premultiplied, the runs' pixels one after the other
};

} // namespace lumiset
