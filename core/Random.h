// Random choices (background picks, automatic effects, random templates). Operations take a
// RandomSource so that tests can script the draws.
#pragma once

#include <random>

namespace lumiset {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A uniform integer in [low, high]; high < low gives low.
    virtual int uniform(int low, int high) = 0;
};

// Seeded once from the system's entropy: re-seeding from the clock before every draw, as the old
// program did, repeats the same number for draws within one clock tick.
class SystemRandom : public RandomSource {
public:
    SystemRandom() : engine_(std::random_device{}()) {}
    int uniform(int low, int high) override {
        if (high <= low)
            return low;
        return std::uniform_int_distribution<int>(low, high)(engine_);
    }

private:
    std::mt19937 engine_;
};

} // namespace lumiset
