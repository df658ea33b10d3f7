// Album frames (32-bit RGB) turned into limited-range YUV 4:2:0 planes without scaling: each chroma sample
// is the average of its 2 × 2 pixels. The encoder's scaler does the same work several times slower, and
// every frame of a production goes through it.
#pragma once

#include <QImage>
#include <cstdint>

namespace lumiset {

enum class YuvMatrix { Bt601, Bt709 };

struct YuvPlanes {
    uint8_t* data[3] = {}; // Y, U, V
    int stride[3] = {};
};

// `image` (Format_RGB32 or Format_ARGB32_Premultiplied, read as opaque) into `planes` of its size; chroma
// planes are half as wide and high, rounded up. SSE2 where the processor has it.
void ConvertToYuv420(const QImage& image, const YuvPlanes& planes, YuvMatrix matrix);

// The same, one pixel at a time: what the fast path must equal exactly.
void ConvertToYuv420Plain(const QImage& image, const YuvPlanes& planes, YuvMatrix matrix);

} // namespace lumiset
