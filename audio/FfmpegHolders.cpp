#include "audio/FfmpegHolders.h"

namespace lumiset {

QString AvErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

} // namespace lumiset
