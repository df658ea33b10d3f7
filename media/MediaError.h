// The error of the media library: what we were doing, and FFmpeg's own words for what went wrong.
#pragma once

#include "core/Error.h"

#include <QString>

namespace lumiset {

class MediaError : public Error {
public:
    // The message reads "<context>（<FFmpeg's text>）。", e.g. "音乐文件“a.mp3”不是能读取的音频文件
    // （Invalid data found when processing input）。"; `context` is a sentence without its full stop.
    MediaError(const QString& context, int code);
    // The FFmpeg error code (a negative AVERROR value).
    int code() const { return code_; }

private:
    int code_;
};

// Returns `code` when FFmpeg reports success (zero or more); throws MediaError with `context` otherwise.
int CheckMedia(int code, const QString& context);

} // namespace lumiset
