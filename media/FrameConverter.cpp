#include "media/FrameConverter.h"

#include "core/Error.h"
#include "media/MediaError.h"
#include "media/YuvConversion.h"

#include <algorithm>
#include <cstring>

namespace lumiset {

namespace {

constexpr int kLineAlignment = 64; // what FFmpeg's SIMD code may read past a line's end

int Aligned(int bytes) {
    return (bytes + kLineAlignment - 1) / kLineAlignment * kLineAlignment;
}

} // namespace

FrameConverter::FrameConverter(const EncoderSettings& settings)
    : albumSize_(settings.albumSize), plan_(PlanEncoding(settings).video) {
    const QSize coded = plan_.frameSize;
    if (albumSize_ != plan_.picture.size()) {
        scaler_.reset(sws_getContext(albumSize_.width(), albumSize_.height(), AV_PIX_FMT_RGB32,
                                     plan_.picture.width(), plan_.picture.height(), AV_PIX_FMT_YUV420P,
                                     SWS_BICUBIC, nullptr, nullptr, nullptr));
        if (!scaler_)
            throw Error(QStringLiteral("无法转换画面尺寸。"));
        // RGB to limited-range YUV with the matrix the stream declares.
        const int* matrix = sws_getCoefficients(plan_.highDefinition ? SWS_CS_ITU709 : SWS_CS_ITU601);
        sws_setColorspaceDetails(scaler_.get(), sws_getCoefficients(SWS_CS_DEFAULT), 1, matrix, 0, 0, 1 << 16,
                                 1 << 16);
    }
    // The three planes in one buffer.
    size_t total = 0;
    for (int plane = 0; plane < 3; ++plane) {
        const int shift = plane == 0 ? 0 : 1;
        linesizes_[plane] = Aligned((coded.width() + shift) >> shift);
        planeOffsets_[plane] = total;
        total += size_t(linesizes_[plane]) * size_t((coded.height() + shift) >> shift) + kLineAlignment;
    }
    pool_.reset(av_buffer_pool_init(total + AV_INPUT_BUFFER_PADDING_SIZE, av_buffer_alloc));
    if (!pool_)
        throw MediaError(QStringLiteral("无法分配画面"), AVERROR(ENOMEM));
}

FrameHolder FrameConverter::convert(const QImage& image) {
    const bool scaled = image.size() != plan_.picture.size();
    if (scaled && image.size() != albumSize_)
        throw Error(
            QStringLiteral("相册画面应为 %1 × %2。").arg(albumSize_.width()).arg(albumSize_.height()));
    const QImage::Format format = image.format();
    const QImage source = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied
                              ? image
                              : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    FrameHolder picture = NewFrame();
    AVFrame* frame = picture.get();
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = plan_.frameSize.width();
    frame->height = plan_.frameSize.height();
    frame->buf[0] = av_buffer_pool_get(pool_.get());
    if (!frame->buf[0])
        throw MediaError(QStringLiteral("无法分配画面"), AVERROR(ENOMEM));
    const QRect place = plan_.picture;
    const bool bars = place.size() != plan_.frameSize;
    uint8_t* planes[3];
    for (int plane = 0; plane < 3; ++plane) {
        const int shift = plane == 0 ? 0 : 1;
        frame->data[plane] = frame->buf[0]->data + planeOffsets_[plane];
        frame->linesize[plane] = linesizes_[plane];
        // Pooled buffers hold an earlier picture: the bars are painted afresh each time.
        if (bars)
            std::memset(frame->data[plane], plane == 0 ? 16 : 128,
                        size_t(linesizes_[plane]) * size_t((frame->height + shift) >> shift));
        planes[plane] = frame->data[plane] + (place.y() >> shift) * linesizes_[plane] + (place.x() >> shift);
    }
    if (!scaled) {
        YuvPlanes target;
        std::copy(planes, planes + 3, target.data);
        std::copy(frame->linesize, frame->linesize + 3, target.stride);
        ConvertToYuv420(source, target, plan_.highDefinition ? YuvMatrix::Bt709 : YuvMatrix::Bt601);
        return picture;
    }
    const uint8_t* sourcePlanes[1] = {source.constBits()};
    const int sourceStrides[1] = {int(source.bytesPerLine())};
    sws_scale(scaler_.get(), sourcePlanes, sourceStrides, 0, source.height(), planes, frame->linesize);
    return picture;
}

bool FrameConverter::Matches(const AVFrame& picture, const VideoPlan& plan) {
    return picture.format == AV_PIX_FMT_YUV420P && picture.width == plan.frameSize.width() &&
           picture.height == plan.frameSize.height();
}

} // namespace lumiset
