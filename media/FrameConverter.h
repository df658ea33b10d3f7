// Album frames turned into the pictures the video encoder codes: YUV 4:2:0 at the coded size, the album
// scaled into its place (black bars around it where the shapes differ), in the colour matrix the stream
// declares. Production converts on the composing threads, so the encoder's thread only encodes and the
// frames waiting for it take 3/8 of the memory of album frames.
//
// Threading: one converter per thread; the pictures it makes may be handed to any thread. Their buffers
// come back to the converter's pool when the last reference goes (the encoder may keep some a while), so
// a run reuses a handful of buffers instead of mapping fresh memory for every frame.
#pragma once

#include "media/AlbumFormat.h"
#include "media/EncoderPresets.h"
#include "media/FfmpegHolders.h"

#include <QImage>

namespace lumiset {

class FrameConverter {
public:
    explicit FrameConverter(const EncoderSettings& settings);

    // `frame` (any format; RGB32 and ARGB32_Premultiplied are taken as they are) as the encoder's picture.
    // A frame of the album size is scaled into its place; one already of the size of its place in the
    // coded picture (composed there with the coded pixels' shape) is only converted. Throws Error when
    // the frame has another size or memory runs out.
    FrameHolder convert(const QImage& frame);
    QSize albumSize() const { return albumSize_; }
    // What every picture made here looks like, for the encoder to check what it is given.
    static bool Matches(const AVFrame& picture, const VideoPlan& plan);

private:
    QSize albumSize_;
    VideoPlan plan_;
    ScaleContextHolder scaler_; // only where the album size differs from its place
    BufferPoolHolder pool_;
    int linesizes_[3] = {};
    size_t planeOffsets_[3] = {};
};

} // namespace lumiset
