// Encodes stereo samples as a plain MP3 stream (libmp3lame through libavcodec, constant bit rate).
#pragma once

#include "tools/music/Synth.h"

#include <QByteArray>

namespace lumiset::tools {

// Throws Error with FFmpeg's own explanation when the encoder is missing or fails.
QByteArray EncodeMp3(const StereoSamples& samples, int bitRate);

} // namespace lumiset::tools
