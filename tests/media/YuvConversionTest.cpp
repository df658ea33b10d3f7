#include "media/YuvConversion.h"

#include "core/Error.h"
#include "media/FrameConverter.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <vector>

using namespace lumiset;

namespace {

struct Planes {
    Planes(QSize size) {
        const int chromaWidth = (size.width() + 1) / 2;
        const int chromaHeight = (size.height() + 1) / 2;
        // Strides wider than the planes, so a write past a row's end shows.
        const int strides[3] = {size.width() + 5, chromaWidth + 3, chromaWidth + 7};
        const int heights[3] = {size.height(), chromaHeight, chromaHeight};
        for (int p = 0; p < 3; ++p) {
            bytes[p].assign(size_t(strides[p]) * heights[p], 0xee);
            planes.data[p] = bytes[p].data();
            planes.stride[p] = strides[p];
        }
    }
    std::vector<uint8_t> bytes[3];
    YuvPlanes planes;
};

QImage RandomPicture(QSize size, quint32 seed) {
    QRandomGenerator random(seed);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, 0xff000000u | (random.generate() & 0xffffff));
    return image;
}

} // namespace

// The vector path gives exactly the bytes of the plain one, at widths around its blocks of 16 pixels, odd
// sizes whose last chroma samples come from a single column or row, and both matrices; nothing is
// written past a plane's rows.
TEST(YuvConversion, FastPathEqualsThePlainOne) {
    const QSize sizes[] = {{1, 1}, {15, 3}, {16, 2}, {17, 5}, {33, 7}, {64, 9}, {250, 4}};
    for (const YuvMatrix matrix : {YuvMatrix::Bt601, YuvMatrix::Bt709}) {
        for (const QSize size : sizes) {
            const QImage image = RandomPicture(size, quint32(size.width() * 31 + size.height()));
            Planes fast(size), plain(size);
            ConvertToYuv420(image, fast.planes, matrix);
            ConvertToYuv420Plain(image, plain.planes, matrix);
            for (int p = 0; p < 3; ++p)
                EXPECT_EQ(fast.bytes[p], plain.bytes[p])
                    << "plane " << p << " at " << size.width() << " x " << size.height();
        }
    }
}

// Colours come out as FFmpeg's own converter gives them with the matrix the stream declares: limited
// range, greys without colour.
TEST(YuvConversion, MatchesFfmpegsColours) {
    const QSize size(32, 8);
    const QRgb colours[] = {0xffffffff, 0xff000000, 0xff808080, 0xffff0000, 0xff00ff00,
                            0xff0000ff, 0xffffd000, 0xff3a7bc8, 0xff10e0a0};
    for (const YuvMatrix matrix : {YuvMatrix::Bt601, YuvMatrix::Bt709}) {
        SwsContext* scaler =
            sws_getContext(size.width(), size.height(), AV_PIX_FMT_RGB32, size.width(), size.height(),
                           AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
        ASSERT_NE(scaler, nullptr);
        sws_setColorspaceDetails(
            scaler, sws_getCoefficients(SWS_CS_DEFAULT), 1,
            sws_getCoefficients(matrix == YuvMatrix::Bt709 ? SWS_CS_ITU709 : SWS_CS_ITU601), 0, 0, 1 << 16,
            1 << 16);
        for (const QRgb colour : colours) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(colour);
            Planes ours(size), theirs(size);
            ConvertToYuv420(image, ours.planes, matrix);
            const uint8_t* source[1] = {image.constBits()};
            const int sourceStride[1] = {int(image.bytesPerLine())};
            sws_scale(scaler, source, sourceStride, 0, size.height(), theirs.planes.data,
                      theirs.planes.stride);
            for (int p = 0; p < 3; ++p) {
                const int a = ours.bytes[p][0];
                const int b = theirs.bytes[p][0];
                EXPECT_NEAR(a, b, 1) << "plane " << p << " of " << std::hex << colour;
            }
            if (qRed(colour) == qGreen(colour) && qGreen(colour) == qBlue(colour)) {
                EXPECT_EQ(ours.bytes[1][0], 128);
                EXPECT_EQ(ours.bytes[2][0], 128);
                EXPECT_EQ(ours.bytes[0][0], 16 + (219 * qRed(colour) + 127) / 255);
            }
        }
        sws_freeContext(scaler);
    }
}

// A disc album composed straight at its coded picture's size is converted without scaling: a sharp edge
// stays between the same two columns. The album size is still taken, and scaled; any other size is refused.
TEST(YuvConversion, ConverterTakesFramesComposedAtTheCodedSize) {
    FrameConverter converter({AlbumType::DVD, TvSystem::Pal, PictureQuality::High, QSize(1024, 576)});
    QImage coded(720, 576, QImage::Format_RGB32);
    coded.fill(Qt::black);
    for (int y = 0; y < coded.height(); ++y)
        for (int x = 0; x < 300; ++x)
            coded.setPixel(x, y, 0xffffffff);
    const FrameHolder picture = converter.convert(coded);
    ASSERT_EQ(picture->width, 720);
    const uint8_t* row = picture->data[0] + 100 * picture->linesize[0];
    EXPECT_EQ(row[299], 235);
    EXPECT_EQ(row[300], 16);

    QImage album(1024, 576, QImage::Format_RGB32);
    album.fill(Qt::white);
    EXPECT_EQ(converter.convert(album)->data[0][0], 235);
    EXPECT_THROW(converter.convert(QImage(800, 576, QImage::Format_RGB32)), Error);
}
