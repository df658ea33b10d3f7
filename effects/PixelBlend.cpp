#include "effects/PixelBlend.h"

#include "effects/Sse2Pixels.h"

namespace lumiset {

namespace {

// `pixel` × alpha / 255 in each channel, rounded, as Qt's raster engine blends.
QRgb ByteMul(QRgb pixel, uint alpha) {
    uint redBlue = (pixel & 0xff00ff) * alpha;
    redBlue = ((redBlue + ((redBlue >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    uint alphaGreen = ((pixel >> 8) & 0xff00ff) * alpha;
    alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return alphaGreen | redBlue;
}

} // namespace

void BlendPixelsOver(const QRgb* source, QRgb* target, int count) {
    // An opaque source pixel leaves nothing of the target, so no pixel needs a branch.
    int i = 0;
#ifdef __SSE2__
    // Four pixels at a time, each channel widened to 16 bits, rounded exactly as ByteMul rounds.
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    const auto blendHalf = [&](__m128i sourceHalf, __m128i targetHalf) {
        return MultiplyBy255ths(targetHalf, _mm_sub_epi16(full, AlphaInEveryLane(sourceHalf)));
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

} // namespace lumiset
