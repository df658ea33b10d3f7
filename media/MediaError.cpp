#include "media/MediaError.h"

extern "C" {
#include <libavutil/error.h>
}

namespace lumiset {

namespace {

// FFmpeg's text for an error code (English).
QString AvErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

} // namespace

MediaError::MediaError(const QString& context, int code)
    : Error(QStringLiteral("%1（%2）。").arg(context, AvErrorText(code))), code_(code) {}

int CheckMedia(int code, const QString& context) {
    if (code < 0)
        throw MediaError(context, code);
    return code;
}

} // namespace lumiset
