#include "tools/samples/SceneTools.h"

#include "tools/samples/Noise.h"

#include <algorithm>

namespace lumiset::tools {

void PaintSky(Canvas& canvas, const Ramp& ramp, int bottom) {
    const float scale = 1.f / float(std::max(bottom, 1));
    canvas.paintRows(0, bottom, [&](int, int y, Rgb) { return ramp.at(float(y) * scale); });
}

void PaintCumulus(Canvas& canvas, int bottom, Rgb horizonSky, float scale, float cover, std::uint32_t seed) {
    const float rows = float(std::max(bottom, 1));
    const Field clouds = Field::painted(canvas.width(), bottom, 4, [&](float x, float y) {
        return 0.5f + 0.5f * Fbm(x / (460.f * scale), y / (210.f * scale), 6, seed) - 0.18f +
               0.16f * y / rows + cover;
    });
    const float reach = 30.f * scale;
    canvas.paintRows(0, bottom, [&](int x, int y, Rgb px) {
        const float fx = float(x), fy = float(y);
        const float density = clouds.at(fx, fy) + 0.04f * Noise(fx / 30.f, fy / 24.f, seed + 1);
        const float d = Smoothstep(0.5f, 0.64f, density);
        if (d <= 0)
            return px;
        const float light =
            std::clamp(0.8f + 3.f * (density - clouds.at(fx - reach, fy - 1.5f * reach)), 0.4f, 1.f);
        Rgb cloud = Mix(Hex(0x8895ad), Hex(0xfbfcfd), light);
        cloud = Mix(cloud, horizonSky, 0.35f * Smoothstep(0.6f, 1.f, fy / rows));
        return Mix(px, cloud, 0.96f * d);
    });
}

void AddLightShafts(Canvas& canvas, float x, float y, Rgb colour, float raysPerRadian, float begin, float end,
                    std::uint32_t seed) {
    // The shafts change slowly across the picture, so a coarse field of them is enough.
    const Field shafts = Field::painted(canvas.width(), canvas.height(), 4, [&](float px, float py) {
        const float dx = px - x, dy = py - y;
        const float rays =
            Smoothstep(0.25f, 0.9f, 0.5f + 0.5f * Fbm(std::atan2(dx, dy) * raysPerRadian, 3, seed));
        return rays * Smoothstep(0.f, begin, dy) * Smoothstep(end, 0.3f * end, dy);
    });
    canvas.paint([&](int px, int py, Rgb pixel) { return pixel + colour * shafts.at(float(px), float(py)); });
}

Profile HillProfile(int width, float base, float height, float features, std::uint32_t seed, bool ridged) {
    Profile top(std::size_t(width), 0.f);
    for (int x = 0; x < width; ++x) {
        const float u = float(x) / float(width) * features;
        const float n = ridged ? Ridged(u, 7, seed) : 0.5f + 0.5f * Fbm(u, 6, seed);
        top[std::size_t(x)] = base - height * n;
    }
    return top;
}

void FitProfile(Profile& profile, float top, float bottom, float sharpness) {
    const auto [low, high] = std::minmax_element(profile.begin(), profile.end());
    const float lowest = *high, highest = *low; // pixel rows grow downwards
    for (float& y : profile) {
        const float t = (lowest - y) / std::max(lowest - highest, 1e-3f); // 1 at the highest point
        y = bottom - (bottom - top) * std::pow(t, sharpness);
    }
}

Profile ConiferProfile(const Profile& ground, float treeHeight, float spacing, std::uint32_t seed, int from,
                       int to) {
    Profile top = ground;
    const int width = int(ground.size());
    Random random(seed);
    const float last = std::min(float(to), float(width) + spacing);
    for (float x = std::max(float(from), -spacing); x < last; x += spacing * random.uniform(0.35f, 1.1f)) {
        const float height = treeHeight * random.uniform(0.55f, 1.25f);
        const float halfWidth = height * random.uniform(0.14f, 0.2f);
        for (int i = std::max(0, int(x - halfWidth)); i < std::min(width, int(x + halfWidth) + 1); ++i) {
            const float d = std::fabs(float(i) - x) / halfWidth;
            if (d >= 1)
                continue;
            // Branch tiers make the flanks of a spruce ragged instead of a clean triangle.
            const float tiers = 0.06f * std::fabs(std::sin(d * 9.f + x));
            const float base = ground[std::size_t(std::clamp(int(x), 0, width - 1))];
            const float tip = base - height * (1 - std::pow(d, 0.8f) - tiers);
            top[std::size_t(i)] = std::min(top[std::size_t(i)], tip);
        }
    }
    return top;
}

Waves::Waves(int width, int height, int horizon, float waveLength, std::uint32_t seed)
    : width_(width), horizon_(horizon), values_(std::size_t(width) * std::max(0, height - horizon)) {
    const float nearest = float(width) * 0.3f;
    // Waves are several pixels wide even at the horizon, so every fourth column is evaluated and the
    // columns between are interpolated.
    constexpr int kStep = 4;
    for (int y = horizon; y < height; ++y) {
        const float k = float(y - horizon) + 1.f; // rows below the horizon: nearness
        // Across, a wave spans waveLength at the nearest row and shrinks in proportion to nearness; in
        // depth it is foreshortened a second time, so far waves are long thin strokes.
        const float depth = 4.f * nearest * nearest / (waveLength * k);
        const float rowsPerWave = k * k * waveLength / (4.f * nearest * nearest);
        const float calm = 0.35f + 0.65f * Smoothstep(0.5f, 4.f, rowsPerWave);
        float* row = &values_[std::size_t(y - horizon) * width];
        float previous = 0;
        for (int x = 0; x < width + kStep; x += kStep) {
            const float across = float(x - width / 2) * nearest / (waveLength * k);
            const float value = calm * Fbm(across, depth, 3, seed);
            if (x > 0)
                for (int i = 0; i < kStep && x - kStep + i < width; ++i)
                    row[x - kStep + i] = Mix(previous, value, float(i) / kStep);
            previous = value;
        }
    }
}

void PaintSpruce(Canvas& canvas, const Spruce& tree) {
    const float tiers = 7.f + tree.height / 60.f;
    canvas.paintBox(
        tree.x - tree.halfWidth * 1.3f, tree.top, tree.x + tree.halfWidth * 1.3f, tree.top + tree.height,
        [&](int x, int y, Rgb& pixel) {
            const float t = (float(y) - tree.top) / tree.height;
            const float dx = float(x) + 0.5f - tree.x;
            const std::uint32_t side = dx < 0 ? 0u : 1u;
            const float wobble = 0.25f * Noise(float(y) / 9.f, tree.seed + side);
            const float position = t * tiers + wobble + 8.f;
            const float phase = position - std::floor(position);
            // Each tier of boughs reaches its own length on each side.
            const auto tier = static_cast<std::int32_t>(position);
            const float reach = 0.7f + 0.6f * float(Hash(tier, std::int32_t(side), tree.seed) & 0xFF) / 255.f;
            float half = tree.halfWidth * (0.08f + 0.92f * t) * (0.4f + 0.6f * std::pow(phase, 0.6f)) * reach;
            half *= 1.f + 0.2f * Noise(float(y) / 5.f, tree.seed + 7u + side) +
                    0.12f * Noise(float(y) / 1.7f, tree.seed + 9u + side);
            if (t > 0.96f)
                half = std::max(half * 0.3f, tree.halfWidth * 0.06f); // the trunk below the boughs
            const float cover = Clamp01(half - std::fabs(dx) + 0.5f);
            if (cover <= 0)
                return;
            const float across = dx / std::max(half, 1.f);
            const float light = 1.15f - 0.45f * Smoothstep(-1.f, 1.f, across);
            const float grain = Noise(float(x) / 3.f, float(y) / 3.f, tree.seed + 11u);
            Rgb colour = tree.needles * (light * (1.f + 0.35f * grain));
            const float snowy =
                tree.snow * Smoothstep(0.5f, 0.1f, phase) *
                Smoothstep(-0.6f, 0.2f,
                           grain + 0.5f * Noise(float(x) / 14.f, float(y) / 6.f, tree.seed + 13u));
            colour = Mix(colour, Mix(Hex(0x9fb0cc), Hex(0xf3f6fa), light - 0.2f), snowy);
            pixel = Mix(pixel, colour, cover);
        });
}

void ReflectBelow(Canvas& canvas, int waterline, const Waves& waves, const WaterLook& look) {
    const int height = canvas.height();
    const float depth = float(std::max(1, height - waterline));
    for (int y = waterline; y < height; ++y) {
        const float near = float(y - waterline) / depth;
        for (int x = 0; x < canvas.width(); ++x) {
            const float wave = waves.at(x, y);
            // Tilted wave faces mirror a taller strip of what stands above than they are themselves:
            // the image breaks up more in height than sideways.
            const float sourceX = float(x) + look.ripple * (0.15f + near) * wave;
            const float sourceY =
                float(2 * waterline - y) + look.ripple * look.tallness * (0.5f + near) * wave;
            const Rgb mirrored = canvas.sample(sourceX, std::min(sourceY, float(waterline) - 1.f));
            canvas.at(x, y) = mirrored * look.tint * look.darken;
        }
    }
}

} // namespace lumiset::tools
