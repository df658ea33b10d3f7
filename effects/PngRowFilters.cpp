#include "effects/PngRowFilters.h"

#include <cstdlib>
#include <cstring>

#include "effects/Sse2Pixels.h"

namespace lumiset {

namespace {

uchar Paeth(int left, int up, int upLeft) {
    const int p = left + up - upLeft;
    const int pa = std::abs(p - left);
    const int pb = std::abs(p - up);
    const int pc = std::abs(p - upLeft);
    if (pa <= pb && pa <= pc)
        return static_cast<uchar>(left);
    return static_cast<uchar>(pb <= pc ? up : upLeft);
}

// Any bytes a pixel, a byte at a time.
bool UnfilterBytes(uchar filter, uchar* row, const uchar* prior, int length, int bytes) {
    switch (filter) {
    case 0:
        return true;
    case 1:
        for (int i = bytes; i < length; ++i)
            row[i] = static_cast<uchar>(row[i] + row[i - bytes]);
        return true;
    case 2:
        for (int i = 0; i < length; ++i)
            row[i] = static_cast<uchar>(row[i] + prior[i]);
        return true;
    case 3:
        for (int i = 0; i < length; ++i)
            row[i] = static_cast<uchar>(row[i] + ((i >= bytes ? row[i - bytes] : 0) + prior[i]) / 2);
        return true;
    case 4:
        for (int i = 0; i < length; ++i)
            row[i] =
                static_cast<uchar>(row[i] + (i >= bytes ? Paeth(row[i - bytes], prior[i], prior[i - bytes])
                                                        : Paeth(0, prior[i], 0)));
        return true;
    default:
        return false;
    }
}

#ifdef __SSE2__

__m128i LoadPixel(const uchar* p) {
    int value;
    std::memcpy(&value, p, 4);
    return _mm_cvtsi32_si128(value);
}

void StorePixel(uchar* p, __m128i pixel) {
    const int value = _mm_cvtsi128_si32(pixel);
    std::memcpy(p, &value, 4);
}

__m128i Absolute16(__m128i x) {
    return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x));
}

__m128i Choose(__m128i mask, __m128i ifSet, __m128i otherwise) {
    return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, otherwise));
}

// Four bytes a pixel, a pixel at a time: each pixel depends on the one to its left.
bool UnfilterPixels(uchar filter, uchar* row, const uchar* prior, int length) {
    const __m128i zero = _mm_setzero_si128();
    switch (filter) {
    case 0:
        return true;
    case 1: {
        __m128i left = zero;
        for (int i = 0; i + 4 <= length; i += 4) {
            left = _mm_add_epi8(LoadPixel(row + i), left);
            StorePixel(row + i, left);
        }
        return true;
    }
    case 2: {
        int i = 0;
        for (; i + 16 <= length; i += 16) {
            const __m128i sum = _mm_add_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i)),
                                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(prior + i)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), sum);
        }
        for (; i < length; ++i)
            row[i] = static_cast<uchar>(row[i] + prior[i]);
        return true;
    }
    case 3: {
        // The average rounded down: pavgb rounds up, so take back the odd bit.
        const __m128i one = _mm_set1_epi8(1);
        __m128i left = zero;
        for (int i = 0; i + 4 <= length; i += 4) {
            const __m128i up = LoadPixel(prior + i);
            const __m128i average =
                _mm_sub_epi8(_mm_avg_epu8(left, up), _mm_and_si128(_mm_xor_si128(left, up), one));
            left = _mm_add_epi8(LoadPixel(row + i), average);
            StorePixel(row + i, left);
        }
        return true;
    }
    case 4: {
        // In 16 bits, so that the distances do not overflow. Ties go to the left, then up, then up-left.
        __m128i left = zero;
        __m128i upLeft = zero;
        for (int i = 0; i + 4 <= length; i += 4) {
            const __m128i up = _mm_unpacklo_epi8(LoadPixel(prior + i), zero);
            const __m128i toLeft = _mm_sub_epi16(up, upLeft); // p - left
            const __m128i toUp = _mm_sub_epi16(left, upLeft); // p - up
            const __m128i pc = Absolute16(_mm_add_epi16(toLeft, toUp));
            const __m128i pa = Absolute16(toLeft);
            const __m128i pb = Absolute16(toUp);
            const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
            __m128i nearest = Choose(_mm_cmpeq_epi16(smallest, pb), up, upLeft);
            nearest = Choose(_mm_cmpeq_epi16(smallest, pa), left, nearest);
            const __m128i value = _mm_add_epi8(LoadPixel(row + i), _mm_packus_epi16(nearest, zero));
            StorePixel(row + i, value);
            left = _mm_unpacklo_epi8(value, zero);
            upLeft = up;
        }
        return true;
    }
    default:
        return false;
    }
}

#endif

} // namespace

bool UnfilterPngRow(uchar filter, uchar* row, const uchar* prior, int length, int bytesPerPixel) {
#ifdef __SSE2__
    if (bytesPerPixel == 4)
        return UnfilterPixels(filter, row, prior, length);
#endif
    return UnfilterBytes(filter, row, prior, length, bytesPerPixel);
}

void ExpandPaletteRow(const uchar* indices, const QRgb* palette, QRgb* out, int width) {
    for (int x = 0; x < width; ++x)
        out[x] = palette[indices[x]];
}

void PremultiplyRgbaRow(const uchar* rgba, QRgb* out, int width) {
    int x = 0;
#ifdef __SSE2__
    // Two pixels to a register, a channel to 16 bits, rounded as qPremultiply rounds; the alpha channel
    // is multiplied by 255, which gives it back unchanged.
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaLane = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    const __m128i full = _mm_set1_epi16(255);
    const auto premultiply = [&](__m128i pixels) {
        // Red, green, blue, alpha to blue, green, red, alpha: a QRgb's bytes in memory.
        pixels = _mm_shufflelo_epi16(pixels, _MM_SHUFFLE(3, 0, 1, 2));
        pixels = _mm_shufflehi_epi16(pixels, _MM_SHUFFLE(3, 0, 1, 2));
        return MultiplyBy255ths(pixels, Choose(alphaLane, full, AlphaInEveryLane(pixels)));
    };
    for (; x + 4 <= width; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rgba + 4 * x));
        const __m128i low = premultiply(_mm_unpacklo_epi8(pixels, zero));
        const __m128i high = premultiply(_mm_unpackhi_epi8(pixels, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(low, high));
    }
#endif
    for (; x < width; ++x) {
        const uchar* pixel = rgba + 4 * x;
        out[x] = qPremultiply(qRgba(pixel[0], pixel[1], pixel[2], pixel[3]));
    }
}

} // namespace lumiset
