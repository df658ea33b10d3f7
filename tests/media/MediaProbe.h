// Reads back what a video file holds, as a player would find it: its streams, its pictures and its sound.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/rational.h>
}

namespace lumiset::test {

struct StreamFacts {
    std::string codec; // libavcodec's name, as ffprobe shows it
    int width = 0;
    int height = 0;
    AVRational frameRate{0, 1};
    AVRational displayAspect{0, 1}; // the frame's shape on screen
    int colorSpace = 0;             // AVColorSpace
    int sampleRate = 0;
    int channels = 0;
    double start = 0; // seconds: when the first packet is shown and when the stream ends
    double end = 0;
    qint64 packets = 0;
};

struct MediaFacts {
    std::optional<StreamFacts> video;
    std::optional<StreamFacts> audio;
};

MediaFacts ProbeMedia(const QString& path);

// Every picture of the video stream in display order, in RGB32 at the coded size (not corrected for the
// pixel shape).
void ForEachPicture(const QString& path, const std::function<void(const QImage&)>& use);

// The sound mixed to one channel, from its first decoded sample.
struct MonoSound {
    std::vector<float> samples;
    int sampleRate = 0;
    double firstTime = 0; // when the first sample plays, on the file's clock (seconds)
    // Root mean square of the samples between the two times, in seconds.
    double rms(double from, double to) const;
    // The time, on the file's clock, of the first sample whose size reaches `level`; -1 if none does.
    double onset(float level) const;
};
MonoSound DecodeMonoSound(const QString& path);

} // namespace lumiset::test
