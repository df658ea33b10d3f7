#include "effects/PlacedEffectFrame.h"

#include <QPainter>
#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace lumiset {

namespace {

constexpr int kBandRows = 64;

// `pixel` × alpha / 255 in each channel, rounded, as Qt's raster engine blends.
QRgb ByteMul(QRgb pixel, uint alpha) {
    uint redBlue = (pixel & 0xff00ff) * alpha;
    redBlue = ((redBlue + ((redBlue >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    uint alphaGreen = ((pixel >> 8) & 0xff00ff) * alpha;
    alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return alphaGreen | redBlue;
}

// `source` over `target`, `count` pixels, premultiplied: source + target × (255 − source alpha) / 255.
// An opaque source pixel leaves nothing of the target, so no pixel needs a branch.
void BlendOver(const QRgb* source, QRgb* target, int count) {
    int i = 0;
#ifdef __SSE2__
    // Four pixels at a time, each channel widened to 16 bits, rounded exactly as ByteMul rounds.
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    const __m128i half = _mm_set1_epi16(0x80);
    const auto blendHalf = [&](__m128i sourceHalf, __m128i targetHalf) {
        __m128i alpha = _mm_shufflelo_epi16(sourceHalf, _MM_SHUFFLE(3, 3, 3, 3));
        alpha = _mm_shufflehi_epi16(alpha, _MM_SHUFFLE(3, 3, 3, 3));
        __m128i product = _mm_mullo_epi16(targetHalf, _mm_sub_epi16(full, alpha));
        product = _mm_add_epi16(product, _mm_add_epi16(_mm_srli_epi16(product, 8), half));
        return _mm_srli_epi16(product, 8);
    };
    for (; i + 4 <= count; i += 4) {
        const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(target + i));
        const __m128i low = blendHalf(_mm_unpacklo_epi8(src, zero), _mm_unpacklo_epi8(dst, zero));
        const __m128i high = blendHalf(_mm_unpackhi_epi8(src, zero), _mm_unpackhi_epi8(dst, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i),
                         _mm_add_epi8(src, _mm_packus_epi16(low, high)));
    }
#endif
    for (; i < count; ++i)
        target[i] = source[i] + ByteMul(target[i], 255 - qAlpha(source[i]));
}

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
            BlendOver(source, reinterpret_cast<QRgb*>(bits + run.y * stride) + run.x, run.length);
        source += run.length;
    }
}

qsizetype PlacedEffectFrame::bytes() const {
    return qsizetype(sizeof(*this) + runs_.capacity() * sizeof(Run) + pixels_.capacity() * sizeof(QRgb));
}

} // namespace lumiset
