// SSE2 pieces shared by the pixel loops that must round exactly as Qt does: channels widened to 16 bits,
// two pixels to a register.
#pragma once

#ifdef __SSE2__
#include <emmintrin.h>

namespace lumiset {

// Each pixel's alpha in all four of its lanes.
inline __m128i AlphaInEveryLane(__m128i pixels) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
}

// value × factor / 255 in each lane, rounded as Qt's raster engine and qPremultiply round.
inline __m128i MultiplyBy255ths(__m128i values, __m128i factors) {
    const __m128i product = _mm_mullo_epi16(values, factors);
    return _mm_srli_epi16(
        _mm_add_epi16(product, _mm_add_epi16(_mm_srli_epi16(product, 8), _mm_set1_epi16(0x80))), 8);
}

} // namespace lumiset

#endif
