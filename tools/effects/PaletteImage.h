// Reduces a drawn effect frame to at most 256 colours with alpha, so that it can be stored as a palette
// PNG: a quarter of the bytes of RGBA before compression, and far fewer after it.
#pragma once

#include <QImage>

namespace lumiset::tools {

// How far a palette picture lies from the frame it was made from, measured on premultiplied channels
// (what compositing adds to the picture below, so a difference d changes a composited pixel by at
// most 2 d over any background).
struct PaletteError {
    int largest = 0;          // the largest difference of any channel of any pixel, 0..255
    double channelSum = 0;    // the sum over covered pixels of their mean channel difference
    qint64 coveredPixels = 0; // pixels that are not wholly transparent in the frame

    double mean() const { return coveredPixels > 0 ? channelSum / coveredPixels : 0; }
    void add(const PaletteError& other);
};

struct PaletteImage {
    // Format_Indexed8 whose colour table holds straight (not premultiplied) ARGB; index 0 is the wholly
    // transparent colour, so no pixel that was transparent gains a veil of colour.
    QImage image;
    PaletteError error;
};

// Median cut that splits the box of the largest squared error where the two halves' error is least;
// colours then take the nearest entry, and the last few entries go to the colours still served worst.
// Deterministic: the same frame always gives the same file.
// Ordered dithering trades a little noise for steps: broad soft light and glows band without it, while
// sharp artwork such as captions needs none.
enum class PaletteDither { None, Ordered };

// @pre `frame` is Format_ARGB32_Premultiplied and holds `area`, the part to convert.
PaletteImage QuantizeToPalette(const QImage& frame, const QRect& area, PaletteDither dither);

} // namespace lumiset::tools
