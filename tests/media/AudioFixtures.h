// Short audio files written in-process with libavcodec and libavformat.
#pragma once

#include <QString>

namespace lumiset::test {

struct AudioSpec {
    const char* encoder = "libmp3lame"; // any audio encoder of libavcodec
    const char* container = "mp3";      // any muxer of libavformat
    int sampleRate = 44100;
    double silentSeconds = 0; // silence first, then the signal
    double soundSeconds = 1;
    bool noise = false; // white noise instead of a 440 Hz tone (a VBR encoder spends many bits on it)
    bool variableBitRate = false; // MP3 only
    bool xingHeader = true;       // MP3 only: the header frame that tells players the true length
};

// Writes the file and returns the number of samples fed to the encoder. Throws on failure.
qint64 WriteAudio(const QString& path, const AudioSpec& design);

// The length in milliseconds found by decoding every sample (the slow, sure way), and the duration the
// container itself declares, for comparison.
qint64 DecodedMilliseconds(const QString& path);
qint64 DeclaredMilliseconds(const QString& path);

} // namespace lumiset::test
