// Deterministic randomness for the sample photos: hashed lattice noise and a small seeded generator, so
// that every build paints the same pixels whatever the platform's random library does.
#pragma once

#include <cmath>
#include <cstdint>

namespace lumiset::tools {

inline std::uint32_t Hash(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B9u ^ static_cast<std::uint32_t>(x) * 0x85EBCA6Bu ^
                      static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

namespace detail {
inline float fade(float t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}
inline float gradient(std::int32_t x, std::int32_t y, std::uint32_t seed, float dx, float dy) {
    // Sixteen directions around the circle, enough that no lattice axis shows.
    static constexpr float kCos[16] = {1.f,  0.9239f,  0.7071f,  0.3827f,  0.f, -0.3827f, -0.7071f, -0.9239f,
                                       -1.f, -0.9239f, -0.7071f, -0.3827f, 0.f, 0.3827f,  0.7071f,  0.9239f};
    const std::uint32_t h = Hash(x, y, seed) & 15u;
    return kCos[h] * dx + kCos[(h + 4) & 15u] * dy;
}
} // namespace detail

// Smooth gradient noise in about -1..1, one feature per unit.
inline float Noise(float x, float y, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const auto ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy);
    const float dx = x - fx, dy = y - fy;
    const float n00 = detail::gradient(ix, iy, seed, dx, dy);
    const float n10 = detail::gradient(ix + 1, iy, seed, dx - 1, dy);
    const float n01 = detail::gradient(ix, iy + 1, seed, dx, dy - 1);
    const float n11 = detail::gradient(ix + 1, iy + 1, seed, dx - 1, dy - 1);
    const float u = detail::fade(dx), v = detail::fade(dy);
    const float top = n00 + (n10 - n00) * u;
    const float bottom = n01 + (n11 - n01) * u;
    return 1.4f * (top + (bottom - top) * v);
}
float Noise(float x, std::uint32_t seed);

// Octaves of Noise, each twice as fine and `gain` as strong as the one before; about -1..1.
float Fbm(float x, float y, int octaves, std::uint32_t seed, float gain = 0.5f);
float Fbm(float x, int octaves, std::uint32_t seed, float gain = 0.5f);
// Sharp crests where the noise crosses zero (mountain ridges, gullies); 0..1.
float Ridged(float x, float y, int octaves, std::uint32_t seed);
float Ridged(float x, int octaves, std::uint32_t seed);

// A seeded sequence of numbers for placing things (trees, windows, flowers).
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint32_t next();
    float uniform(float low, float high);
    bool chance(float probability) { return uniform(0, 1) < probability; }

private:
    std::uint64_t state_;
};

} // namespace lumiset::tools
