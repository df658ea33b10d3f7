// A small additive synthesizer that performs a Tune: a soft lead voice, a music-box arpeggio, a
// string pad, a plucked bass and light percussion, with a stereo room reverb.
#pragma once

#include "tools/music/Tune.h"

#include <vector>

namespace lumiset::tools {

constexpr int kSampleRate = 44100;

struct StereoSamples {
    std::vector<float> left;
    std::vector<float> right;
    double seconds() const { return static_cast<double>(left.size()) / kSampleRate; }
};

// Renders the whole tune plus `tailSeconds` of ringing out, peak-normalised just below full scale.
StereoSamples RenderTune(const Tune& tune, double tailSeconds);

} // namespace lumiset::tools
