#include "tools/samples/Noise.h"

#include <cmath>

namespace lumiset::tools {
namespace {

float fade(float t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

float gradient(std::int32_t x, std::int32_t y, std::uint32_t seed, float dx, float dy) {
    // Sixteen directions around the circle, enough that no lattice axis shows.
    static const float kCos[16] = {1.f,  0.9239f,  0.7071f,  0.3827f,  0.f, -0.3827f, -0.7071f, -0.9239f,
                                   -1.f, -0.9239f, -0.7071f, -0.3827f, 0.f, 0.3827f,  0.7071f,  0.9239f};
    const std::uint32_t h = Hash(x, y, seed) & 15u;
    return kCos[h] * dx + kCos[(h + 4) & 15u] * dy;
}

} // namespace

float Noise(float x, float y, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const auto ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy);
    const float dx = x - fx, dy = y - fy;
    const float n00 = gradient(ix, iy, seed, dx, dy);
    const float n10 = gradient(ix + 1, iy, seed, dx - 1, dy);
    const float n01 = gradient(ix, iy + 1, seed, dx, dy - 1);
    const float n11 = gradient(ix + 1, iy + 1, seed, dx - 1, dy - 1);
    const float u = fade(dx), v = fade(dy);
    const float top = n00 + (n10 - n00) * u;
    const float bottom = n01 + (n11 - n01) * u;
    return 1.4f * (top + (bottom - top) * v);
}

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
