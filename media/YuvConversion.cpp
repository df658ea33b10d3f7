#include "media/YuvConversion.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace lumiset {

namespace {

constexpr int kLumaShift = 15;   // luma weights in 1/32768
constexpr int kChromaShift = 15; // chroma weights in 1/8192, applied to the sum of four pixels

constexpr int Rounded(double value) {
    return int(value + (value >= 0 ? 0.5 : -0.5));
}

// Integer weights of one matrix: luma scaled to 16…235, chroma to 16…240 around 128. Each chroma row sums
// to exactly zero, so every grey has no colour.
struct Weights {
    int yR, yG, yB;
    int uR, uG, uB;
    int vR, vG, vB;
};

constexpr Weights WeightsOf(double kr, double kb) {
    const double kg = 1 - kr - kb;
    const double luma = 219.0 / 255 * (1 << kLumaShift);
    const double chroma = 224.0 / 255 * (1 << (kChromaShift - 2)) * 0.5;
    Weights w{};
    w.yR = Rounded(kr * luma);
    w.yG = Rounded(kg * luma);
    w.yB = Rounded(kb * luma);
    w.uR = Rounded(-kr / (1 - kb) * chroma);
    w.uG = Rounded(-kg / (1 - kb) * chroma);
    w.uB = -(w.uR + w.uG);
    w.vG = Rounded(-kg / (1 - kr) * chroma);
    w.vB = Rounded(-kb / (1 - kr) * chroma);
    w.vR = -(w.vG + w.vB);
    return w;
}

constexpr Weights kBt601 = WeightsOf(0.299, 0.114);
constexpr Weights kBt709 = WeightsOf(0.2126, 0.0722);
constexpr int kLumaBias = (16 << kLumaShift) + (1 << (kLumaShift - 1));
constexpr int kChromaBias = (128 << kChromaShift) + (1 << (kChromaShift - 1));

const Weights& WeightsFor(YuvMatrix matrix) {
    return matrix == YuvMatrix::Bt709 ? kBt709 : kBt601;
}

uint8_t Clamped(int value) {
    return uint8_t(std::clamp(value, 0, 255));
}

int Red(QRgb p) {
    return int((p >> 16) & 0xff);
}
int Green(QRgb p) {
    return int((p >> 8) & 0xff);
}
int Blue(QRgb p) {
    return int(p & 0xff);
}

void LumaPlain(const QRgb* in, uint8_t* out, int from, int to, const Weights& w) {
    for (int x = from; x < to; ++x)
        out[x] =
            Clamped((w.yR * Red(in[x]) + w.yG * Green(in[x]) + w.yB * Blue(in[x]) + kLumaBias) >> kLumaShift);
}

// Chroma samples `from` … `to` - 1 of the rows `top` and `bottom` (the same row at an odd picture's
// bottom), each from its 2 × 2 pixels; the last column repeats at an odd picture's right edge.
void ChromaPlain(const QRgb* top, const QRgb* bottom, int width, uint8_t* u, uint8_t* v, int from, int to,
                 const Weights& w) {
    for (int c = from; c < to; ++c) {
        const int left = 2 * c;
        const int right = std::min(left + 1, width - 1);
        const QRgb four[4] = {top[left], top[right], bottom[left], bottom[right]};
        int r = 0, g = 0, b = 0;
        for (QRgb p : four) {
            r += Red(p);
            g += Green(p);
            b += Blue(p);
        }
        u[c] = Clamped((w.uR * r + w.uG * g + w.uB * b + kChromaBias) >> kChromaShift);
        v[c] = Clamped((w.vR * r + w.vG * g + w.vB * b + kChromaBias) >> kChromaShift);
    }
}

#ifdef __SSE2__

// Two 16-bit weights side by side, for _mm_madd_epi16 over pixels widened to pairs of channels.
__m128i WeightPair(int low, int high) {
    return _mm_set1_epi32(int((uint32_t(uint16_t(high)) << 16) | uint16_t(low)));
}

// Luma of four pixels as 32-bit lanes.
__m128i Luma4(__m128i pixels, __m128i redGreenWeights, __m128i blueWeights, __m128i bias) {
    const __m128i low = _mm_set1_epi32(0xff);
    const __m128i redGreen = _mm_or_si128(_mm_and_si128(_mm_srli_epi32(pixels, 16), low),
                                          _mm_and_si128(_mm_slli_epi32(pixels, 8), _mm_set1_epi32(0xff0000)));
    const __m128i blue = _mm_and_si128(pixels, low);
    const __m128i sum =
        _mm_add_epi32(_mm_madd_epi16(redGreen, redGreenWeights), _mm_madd_epi16(blue, blueWeights));
    return _mm_srai_epi32(_mm_add_epi32(sum, bias), kLumaShift);
}

void Luma16(const QRgb* in, uint8_t* out, const __m128i weights[2], __m128i bias) {
    const auto* p = reinterpret_cast<const __m128i*>(in);
    const __m128i a = _mm_packs_epi32(Luma4(_mm_loadu_si128(p), weights[0], weights[1], bias),
                                      Luma4(_mm_loadu_si128(p + 1), weights[0], weights[1], bias));
    const __m128i b = _mm_packs_epi32(Luma4(_mm_loadu_si128(p + 2), weights[0], weights[1], bias),
                                      Luma4(_mm_loadu_si128(p + 3), weights[0], weights[1], bias));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(a, b));
}

// The channel sums of two 2 × 2 blocks, as 16-bit lanes [B, G, R, A] of the first block, then the second.
__m128i BlockSums(__m128i top, __m128i bottom) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i left = _mm_add_epi16(_mm_unpacklo_epi8(top, zero), _mm_unpacklo_epi8(bottom, zero));
    const __m128i right = _mm_add_epi16(_mm_unpackhi_epi8(top, zero), _mm_unpackhi_epi8(bottom, zero));
    return _mm_add_epi16(_mm_unpacklo_epi64(left, right), _mm_unpackhi_epi64(left, right));
}

// One chroma value of each of four blocks (two pairs of block sums), weighted, as 32-bit lanes.
__m128i Chroma4(__m128i sums01, __m128i sums23, __m128i weights, __m128i bias) {
    const auto total = [&](__m128i sums) {
        const __m128i halves = _mm_madd_epi16(sums, weights);
        return _mm_add_epi32(halves, _mm_shuffle_epi32(halves, _MM_SHUFFLE(2, 3, 0, 1)));
    };
    // Lanes 0 and 2 of each total hold its two blocks.
    const __m128i first = _mm_shuffle_epi32(total(sums01), _MM_SHUFFLE(3, 1, 2, 0));
    const __m128i second = _mm_shuffle_epi32(total(sums23), _MM_SHUFFLE(3, 1, 2, 0));
    return _mm_srai_epi32(_mm_add_epi32(_mm_unpacklo_epi64(first, second), bias), kChromaShift);
}

// Eight chroma samples of each plane from 16 pixels of two rows.
void Chroma8(const QRgb* top, const QRgb* bottom, uint8_t* u, uint8_t* v, __m128i uWeights, __m128i vWeights,
             __m128i bias) {
    const auto* t = reinterpret_cast<const __m128i*>(top);
    const auto* b = reinterpret_cast<const __m128i*>(bottom);
    __m128i sums[4];
    for (int i = 0; i < 4; ++i)
        sums[i] = BlockSums(_mm_loadu_si128(t + i), _mm_loadu_si128(b + i));
    const __m128i u32a = Chroma4(sums[0], sums[1], uWeights, bias);
    const __m128i u32b = Chroma4(sums[2], sums[3], uWeights, bias);
    const __m128i v32a = Chroma4(sums[0], sums[1], vWeights, bias);
    const __m128i v32b = Chroma4(sums[2], sums[3], vWeights, bias);
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(u32a, u32b), _mm_packs_epi32(v32a, v32b));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(u), bytes);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(v), _mm_srli_si128(bytes, 8));
}

#endif

void Convert(const QImage& image, const YuvPlanes& planes, const Weights& w, bool vectors) {
    const int width = image.width();
    const int height = image.height();
    // Whole blocks of 16 pixels go through the vector path; the rest, and odd edges, one at a time.
    const int vectorWidth = vectors ? width / 16 * 16 : 0;
#ifdef __SSE2__
    const __m128i lumaWeights[2] = {WeightPair(w.yR, w.yG), WeightPair(w.yB, 0)};
    const __m128i lumaBias = _mm_set1_epi32(kLumaBias);
    const __m128i uWeights =
        _mm_setr_epi16(short(w.uB), short(w.uG), short(w.uR), 0, short(w.uB), short(w.uG), short(w.uR), 0);
    const __m128i vWeights =
        _mm_setr_epi16(short(w.vB), short(w.vG), short(w.vR), 0, short(w.vB), short(w.vG), short(w.vR), 0);
    const __m128i chromaBias = _mm_set1_epi32(kChromaBias);
#endif
    for (int y = 0; y < height; y += 2) {
        const auto* top = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const auto* bottom = reinterpret_cast<const QRgb*>(image.constScanLine(std::min(y + 1, height - 1)));
        uint8_t* lumaTop = planes.data[0] + qsizetype(y) * planes.stride[0];
        uint8_t* lumaBottom = y + 1 < height ? lumaTop + planes.stride[0] : nullptr;
        uint8_t* u = planes.data[1] + qsizetype(y / 2) * planes.stride[1];
        uint8_t* v = planes.data[2] + qsizetype(y / 2) * planes.stride[2];
#ifdef __SSE2__
        for (int x = 0; x < vectorWidth; x += 16) {
            Luma16(top + x, lumaTop + x, lumaWeights, lumaBias);
            if (lumaBottom)
                Luma16(bottom + x, lumaBottom + x, lumaWeights, lumaBias);
            Chroma8(top + x, bottom + x, u + x / 2, v + x / 2, uWeights, vWeights, chromaBias);
        }
#endif
        LumaPlain(top, lumaTop, vectorWidth, width, w);
        if (lumaBottom)
            LumaPlain(bottom, lumaBottom, vectorWidth, width, w);
        ChromaPlain(top, bottom, width, u, v, vectorWidth / 2, (width + 1) / 2, w);
    }
}

} // namespace

void ConvertToYuv420(const QImage& image, const YuvPlanes& planes, YuvMatrix matrix) {
#ifdef __SSE2__
    Convert(image, planes, WeightsFor(matrix), true);
#else
    Convert(image, planes, WeightsFor(matrix), false);
#endif
}

void ConvertToYuv420Plain(const QImage& image, const YuvPlanes& planes, YuvMatrix matrix) {
    Convert(image, planes, WeightsFor(matrix), false);
}

} // namespace lumiset
