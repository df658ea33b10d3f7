#include "effects/PlacedEffectFrame.h"

#include "effects/PixelBlend.h"

#include <QPainter>
#include <algorithm>

namespace lumiset {

namespace {

constexpr int kBandRows = 64;

} // namespace

PlacedEffectFrame::PlacedEffectFrame(const QImage& picture, const QRectF& target, QSize frameSize) {
    const QRect bounds = target.toAlignedRect() & QRect(QPoint(0, 0), frameSize);
    if (bounds.isEmpty() || picture.isNull())
        return;
    // Drawn a band of rows at a time: a whole frame's canvas would take another 8 MB at 1920 × 1080 while
    // the picture is placed. The painter samples the picture the same way in every band.
    QImage band(bounds.width(), std::min(bounds.height(), kBandRows), QImage::Format_ARGB32_Premultiplied);
    if (band.isNull())
        throw std::bad_alloc();
    // Gathered in this thread's own growing lists, then copied once at their final size: lists grown in
    // place would leave a trail of freed blocks behind every frame, which the heap keeps.
    thread_local std::vector<Run> runs;
    thread_local std::vector<QRgb> pixels;
    runs.clear();
    pixels.clear();
    for (int top = bounds.top(); top <= bounds.bottom(); top += band.height()) {
        band.fill(Qt::transparent);
        {
            QPainter painter(&band);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.translate(-bounds.left(), -top);
            painter.drawImage(target, picture);
        }
        const int rows = std::min(band.height(), bounds.bottom() + 1 - top);
        for (int y = 0; y < rows; ++y)
            AddRuns(reinterpret_cast<const QRgb*>(band.constScanLine(y)), bounds.left(), top + y,
                    bounds.width(), runs, pixels);
    }
    runs_.assign(runs.begin(), runs.end());
    pixels_.assign(pixels.begin(), pixels.end());
}

void PlacedEffectFrame::AddRuns(const QRgb* row, int left, int y, int width, std::vector<Run>& runs,
                                std::vector<QRgb>& pixels) {
    for (int x = 0; x < width;) {
        if (qAlpha(row[x]) == 0) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < width && qAlpha(row[x]) != 0)
            ++x;
        runs.push_back({left + start, y, x - start});
        pixels.insert(pixels.end(), row + start, row + x);
    }
}

void PlacedEffectFrame::drawOver(QImage& frame) const {
    if (runs_.empty())
        return;
    const QRgb* source = pixels_.data();
    uchar* const bits = frame.bits();
    const qsizetype stride = frame.bytesPerLine();
    for (const Run& run : runs_) {
        if (run.y < frame.height() && run.x + run.length <= frame.width())
            BlendPixelsOver(source, reinterpret_cast<QRgb*>(bits + run.y * stride) + run.x, run.length);
        source += run.length;
    }
}

qsizetype PlacedEffectFrame::bytes() const {
    return qsizetype(sizeof(*this) + runs_.capacity() * sizeof(Run) + pixels_.capacity() * sizeof(QRgb));
}

} // namespace lumiset
