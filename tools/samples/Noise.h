// Deterministic randomness for the sample photos: hashed lattice noise and a small seeded generator, so
// that every build paints the same pixels whatever the platform's random library does.
#pragma once

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

// Smooth gradient noise in about -1..1, one feature per unit.
float Noise(float x, float y, std::uint32_t seed);
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
