#include "tools/samples/Noise.h"

#include <cmath>

namespace lumiset::tools {
namespace {

using detail::fade;

} // namespace

float Noise(float x, std::uint32_t seed) {
    const float fx = std::floor(x);
    const auto ix = static_cast<std::int32_t>(fx);
    const float dx = x - fx;
    const auto slope = [seed](std::int32_t i) { return (Hash(i, 7, seed) & 0xFFFF) / 32767.5f - 1.f; };
    const float a = slope(ix) * dx, b = slope(ix + 1) * (dx - 1);
    return 2.f * (a + (b - a) * fade(dx));
}

float Fbm(float x, float y, int octaves, std::uint32_t seed, float gain) {
    float sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise(x, y, seed + 131u * static_cast<std::uint32_t>(i));
        total += amplitude;
        amplitude *= gain;
        // Each octave turned a little, so that the lattices of the octaves never line up.
        const float nx = 1.6f * x + 1.2f * y, ny = -1.2f * x + 1.6f * y;
        x = nx + 17.3f;
        y = ny - 9.1f;
    }
    return sum / total;
}

float Fbm(float x, int octaves, std::uint32_t seed, float gain) {
    float sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise(x, seed + 131u * static_cast<std::uint32_t>(i));
        total += amplitude;
        amplitude *= gain;
        x = 2.03f * x + 11.7f;
    }
    return sum / total;
}

float Ridged(float x, float y, int octaves, std::uint32_t seed) {
    float sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        const float n = 1 - std::fabs(Noise(x, y, seed + 131u * static_cast<std::uint32_t>(i)));
        sum += amplitude * n * n;
        total += amplitude;
        amplitude *= 0.5f;
        const float nx = 1.6f * x + 1.2f * y, ny = -1.2f * x + 1.6f * y;
        x = nx + 17.3f;
        y = ny - 9.1f;
    }
    return sum / total;
}

float Ridged(float x, int octaves, std::uint32_t seed) {
    float sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        const float n = 1 - std::fabs(Noise(x, seed + 131u * static_cast<std::uint32_t>(i)));
        sum += amplitude * n * n;
        total += amplitude;
        amplitude *= 0.5f;
        x = 2.03f * x + 11.7f;
    }
    return sum / total;
}

std::uint32_t Random::next() {
    // SplitMix64: small, fast and the same everywhere.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

float Random::uniform(float low, float high) {
    return low + (high - low) * static_cast<float>(next() >> 8) * (1.f / 16777216.f);
}

} // namespace lumiset::tools
