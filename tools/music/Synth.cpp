#include "tools/music/Synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

namespace lumiset::tools {

namespace {

constexpr int kTableSize = 4096;

// One cycle of a tone made of harmonics with the given amplitudes.
class Wavetable {
public:
    explicit Wavetable(std::initializer_list<double> harmonics) : table_(kTableSize + 1) {
        int n = 1;
        for (double amplitude : harmonics) {
            for (int i = 0; i <= kTableSize; ++i)
                table_[i] += static_cast<float>(amplitude * std::sin(2 * M_PI * n * i / kTableSize));
            ++n;
        }
    }
    float at(double phase) const { // phase in cycles
        const double position = (phase - std::floor(phase)) * kTableSize;
        const int i = static_cast<int>(position);
        const double frac = position - i;
        return static_cast<float>(table_[i] + (table_[i + 1] - table_[i]) * frac);
    }

private:
    std::vector<float> table_;
};

double frequency(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

struct Mixer {
    StereoSamples out;
    explicit Mixer(size_t samples) {
        out.left.assign(samples, 0);
        out.right.assign(samples, 0);
    }
    // Adds a voice from `start` seconds: `sample(t)` gives the mono value at t seconds into the voice.
    template <typename Voice> void add(double start, double seconds, double gain, double pan, Voice sample) {
        const double leftGain = gain * std::cos((pan + 1) * M_PI / 4);
        const double rightGain = gain * std::sin((pan + 1) * M_PI / 4);
        const size_t first = static_cast<size_t>(start * kSampleRate);
        const size_t count = static_cast<size_t>(seconds * kSampleRate);
        for (size_t i = 0; i < count && first + i < out.left.size(); ++i) {
            const double value = sample(static_cast<double>(i) / kSampleRate);
            out.left[first + i] += static_cast<float>(value * leftGain);
            out.right[first + i] += static_cast<float>(value * rightGain);
        }
    }
};

// Attack, decay to a sustain level, and release after `held` seconds.
double envelope(double t, double held, double attack, double decay, double sustain, double release) {
    double level;
    if (t < attack)
        level = t / attack;
    else if (t < attack + decay)
        level = 1 - (1 - sustain) * (t - attack) / decay;
    else
        level = sustain;
    if (t > held)
        level *= std::max(0.0, 1 - (t - held) / release);
    return level;
}

void addLead(Mixer& mix, const Tune& tune) {
    static const Wavetable voice{1.0, 0.42, 0.2, 0.1, 0.05, 0.025};
    const double beat = tune.secondsPerBeat();
    for (const Note& note : tune.melody) {
        const double held = note.length * beat * 0.92;
        const double f = frequency(note.midi);
        mix.add(note.start * beat, held + 0.35, 0.24, -0.05, [=](double t) {
            // A gentle vibrato that sets in once the note has sounded a moment.
            const double depth = 0.004 * std::clamp((t - 0.25) / 0.3, 0.0, 1.0);
            const double phase = f * t + depth * f / (2 * M_PI * 5.2) * -std::cos(2 * M_PI * 5.2 * t);
            return voice.at(phase) * envelope(t, held, 0.03, 0.25, 0.72, 0.3);
        });
    }
}

void addMusicBox(Mixer& mix, const Tune& tune) {
    static const Wavetable bell{1.0, 0.0, 0.18, 0.0, 0.06};
    const double beat = tune.secondsPerBeat();
    static const int pattern[] = {0, 1, 2, 1, 3, 2, 1, 2}; // chord-tone order of the eighths of a bar
    for (const ChordSpan& chord : tune.chords) {
        for (double b = 0; b < chord.length - 1e-6; b += 0.5) {
            const int step = static_cast<int>(std::lround((chord.start + b) * 2)) % 8;
            const int tone = pattern[step];
            const int midi = tone < 3 ? chord.midi[tone % 3] + 24 : chord.midi[0] + 36;
            const double f = frequency(midi);
            const double accent = step % 2 == 0 ? 1.0 : 0.75;
            mix.add((chord.start + b) * beat, 1.4, 0.07 * accent, 0.35, [=](double t) {
                return (bell.at(f * t) + 0.25 * std::sin(2 * M_PI * f * 2.76 * t) * std::exp(-t * 9)) *
                       std::exp(-t * 3.2) * std::min(1.0, t / 0.004);
            });
        }
    }
}

void addPad(Mixer& mix, const Tune& tune) {
    static const Wavetable strings{1.0, 0.35, 0.19, 0.12, 0.08, 0.05, 0.035, 0.025};
    const double beat = tune.secondsPerBeat();
    for (const ChordSpan& chord : tune.chords) {
        const double held = chord.length * beat;
        for (const int midi : chord.midi) {
            const double f = frequency(midi + 12);
            for (int side : {-1, 1}) { // two slightly detuned players, one on each side
                const double detuned = f * (1 + side * 0.0025);
                mix.add(chord.start * beat, held + 0.6, 0.045, side * 0.6, [=](double t) {
                    return strings.at(detuned * t) * envelope(t, held, 0.35, 0.4, 0.85, 0.6);
                });
            }
        }
    }
}

void addBass(Mixer& mix, const Tune& tune) {
    static const Wavetable bass{1.0, 0.35, 0.12, 0.05};
    const double beat = tune.secondsPerBeat();
    for (const ChordSpan& chord : tune.chords) {
        for (double b = 0; b < chord.length - 1e-6; b += 2) {
            const double length = std::min(2.0, chord.length - b) * beat;
            const int midi = chord.midi[0] - 12 + (b > 0 ? 7 : 0); // root, then the fifth
            const double f = frequency(midi);
            mix.add((chord.start + b) * beat, length + 0.2, 0.3, 0, [=](double t) {
                return bass.at(f * t) * envelope(t, length * 0.9, 0.01, 0.35, 0.55, 0.15);
            });
        }
    }
}

void addPercussion(Mixer& mix, const Tune& tune, double fromBeat) {
    const double beat = tune.secondsPerBeat();
    std::minstd_rand noise(7);
    std::vector<float> hiss(static_cast<size_t>(0.08 * kSampleRate));
    for (float& s : hiss)
        s = static_cast<float>(noise() / double(noise.max()) * 2 - 1);
    for (double b = fromBeat; b < tune.lengthInBeats() - 4; b += 1) {
        const bool downbeat = std::fmod(b, 2) < 1e-6;
        if (downbeat) {
            mix.add(b * beat, 0.3, 0.32, 0, [](double t) {
                const double sweep = 48 + 70 * std::exp(-t * 30);
                return std::sin(2 * M_PI * sweep * t) * std::exp(-t * 14);
            });
        }
        // A soft shaker on the off-beats: differenced noise is bright without harshness.
        mix.add((b + 0.5) * beat, 0.08, 0.05, 0.25, [&hiss](double t) {
            const size_t i = std::min(hiss.size() - 1, static_cast<size_t>(t * kSampleRate));
            const double bright = i > 0 ? hiss[i] - hiss[i - 1] : 0;
            return bright * std::exp(-t * 45);
        });
    }
}

// A small Schroeder room: parallel combs into series all-passes, tuned apart per channel.
void addReverb(std::vector<float>& channel, int spread, double wet) {
    const std::array<int, 4> combs{1557, 1617, 1491, 1422};
    const std::array<int, 2> allpasses{225, 556};
    std::vector<float> out(channel.size(), 0);
    for (int length : combs) {
        std::vector<float> buffer(length + spread, 0);
        size_t at = 0;
        float damped = 0;
        for (size_t i = 0; i < channel.size(); ++i) {
            const float delayed = buffer[at];
            damped = delayed * 0.7f + damped * 0.3f;
            buffer[at] = channel[i] + damped * 0.8f;
            out[i] += delayed * 0.25f;
            at = (at + 1) % buffer.size();
        }
    }
    for (int length : allpasses) {
        std::vector<float> buffer(length + spread / 4, 0);
        size_t at = 0;
        for (float& sample : out) {
            const float delayed = buffer[at];
            const float input = sample;
            buffer[at] = input + delayed * 0.5f;
            sample = delayed - input * 0.5f;
            at = (at + 1) % buffer.size();
        }
    }
    for (size_t i = 0; i < channel.size(); ++i)
        channel[i] = static_cast<float>(channel[i] * (1 - wet) + out[i] * wet * 1.6);
}

} // namespace

StereoSamples RenderTune(const Tune& tune, double tailSeconds) {
    const double seconds = tune.lengthInBeats() * tune.secondsPerBeat() + tailSeconds;
    Mixer mix(static_cast<size_t>(seconds * kSampleRate));
    addLead(mix, tune);
    addMusicBox(mix, tune);
    addPad(mix, tune);
    addBass(mix, tune);
    addPercussion(mix, tune, 8); // the drums come in after the two-bar introduction
    addReverb(mix.out.left, 0, 0.22);
    addReverb(mix.out.right, 23, 0.22);

    float peak = 1e-6f;
    for (size_t i = 0; i < mix.out.left.size(); ++i)
        peak = std::max({peak, std::abs(mix.out.left[i]), std::abs(mix.out.right[i])});
    const float gain = 0.89f / peak; // about -1 dB
    const size_t fadeOut = static_cast<size_t>(std::min(seconds, 2.5) * kSampleRate);
    const size_t total = mix.out.left.size();
    for (size_t i = 0; i < total; ++i) {
        float g = gain;
        if (i + fadeOut > total)
            g *= static_cast<float>(total - i) / fadeOut;
        mix.out.left[i] *= g;
        mix.out.right[i] *= g;
    }
    return std::move(mix.out);
}

} // namespace lumiset::tools
