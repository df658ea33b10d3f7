// The per-row work of reading the effect frames' PNGs: undoing a row's filter and turning its bytes into
// premultiplied pixels. A full-colour 1920 × 1080 frame is 8 MB of bytes to unfilter and 2 million pixels
// to premultiply, so the full-colour paths go a pixel (or four) at a time with SSE2.
#pragma once

#include <QRgb>

namespace lumiset {

// Undoes `filter` (0–4) over `row` (`length` bytes, `bytesPerPixel` 1 or 4) in place; `prior` is the row
// above, already unfiltered, or zeros. False for a filter PNG does not have.
bool UnfilterPngRow(uchar filter, uchar* row, const uchar* prior, int length, int bytesPerPixel);

// `width` palette indices as premultiplied pixels; `palette` has 256 entries.
void ExpandPaletteRow(const uchar* indices, const QRgb* palette, QRgb* out, int width);

// `width` pixels of red, green, blue and alpha bytes, premultiplied as qPremultiply makes them.
void PremultiplyRgbaRow(const uchar* rgba, QRgb* out, int width);

} // namespace lumiset
