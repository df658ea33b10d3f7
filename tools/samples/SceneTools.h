// Pieces the sample scenes share: skies and clouds, ridges and trees seen against them, light shafts,
// and water that mirrors what stands above it.
#pragma once

#include "tools/samples/Canvas.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace lumiset::tools {

// f(i) for i in [0, count): a value per row or per column, worked out once instead of per pixel.
template <class F> Profile Tabulate(int count, F f) {
    Profile values(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        values[std::size_t(i)] = f(float(i));
    return values;
}

// Rows [0, bottom) coloured by `ramp` from 0 at the top to 1 at `bottom`.
void PaintSky(Canvas& canvas, const Ramp& ramp, int bottom);

// Fair-weather cumulus over rows [0, bottom), lit from the upper left: a point is shaded by the cloud
// between it and the sun. `cover` (about -0.3..0.3) adds or removes cloud; `scale` sizes the clouds.
void PaintCumulus(Canvas& canvas, int bottom, Rgb horizonSky, float scale, float cover, std::uint32_t seed);

// Shafts of light fanning down from (x, y), above the picture, through gaps in leaves or cloud: added
// as `colour`, fading in over the first `begin` pixels of distance and out towards `end`.
void AddLightShafts(Canvas& canvas, float x, float y, Rgb colour, float raysPerRadian, float begin, float end,
                    std::uint32_t seed);

// A skyline of hills: `base` minus `height` times fractal noise of `features` bumps across the width.
// Ridged noise gives sharp crests (rocky mountains), plain noise rounded ones.
Profile HillProfile(int width, float base, float height, float features, std::uint32_t seed, bool ridged);

// Stretches `profile` so that its highest point reaches `top` and its lowest `bottom`; `sharpness`
// above 1 narrows the peaks and widens the valleys.
void FitProfile(Profile& profile, float top, float bottom, float sharpness = 1.f);

// A line of conifers standing on `ground` between columns `from` and `to`: narrow spires of about
// `treeHeight`, as a forest shows against the sky or water.
Profile ConiferProfile(const Profile& ground, float treeHeight, float spacing, std::uint32_t seed,
                       int from = 0, int to = 1 << 30);

// A spruce seen close enough to show its tiers of branches, its tip at (x, top). `snow` (0..1) lies
// on the upper side of each tier. Lit from the left.
struct Spruce {
    float x = 0, top = 0, height = 100, halfWidth = 25;
    Rgb needles = Hex(0x1b2a1f);
    float snow = 0;
    std::uint32_t seed = 1;
};
void PaintSpruce(Canvas& canvas, const Spruce& tree);

// How a surface of heights `relief` is lit from the upper left: positive on slopes facing the light.
inline float LitFromLeft(const Field& relief, float x, float y, float reach) {
    return relief.at(x - reach, y - 0.5f * reach) - relief.at(x + reach, y + 0.5f * reach);
}

// Paints f(x, y) below each column's edge down to `bottom`, the edge antialiased.
template <class F> void FillBelow(Canvas& canvas, const Profile& top, int bottom, F f) {
    bottom = std::min(bottom, canvas.height());
    for (int x = 0; x < canvas.width(); ++x) {
        const float edge = top[std::size_t(x)];
        for (int y = std::max(0, int(std::floor(edge))); y < bottom; ++y) {
            const float cover = Below(float(y), edge);
            Rgb& pixel = canvas.at(x, y);
            pixel = Mix(pixel, f(x, y), cover);
        }
    }
}

// Waves on water seen in perspective from just above it, the horizon at `horizon`: about -1..1, long
// across and short in depth, growing towards the viewer. `waveLength` is the width of a wave nearest
// the viewer, in pixels. Far waves, finer than a pixel, fade to calm as they would blur together.
class Waves {
public:
    Waves(int width, int height, int horizon, float waveLength, std::uint32_t seed);
    // @pre horizon <= y < height
    float at(int x, int y) const { return values_[std::size_t(y - horizon_) * width_ + x]; }

private:
    int width_, horizon_;
    std::vector<float> values_;
};

// Water below `waterline` mirroring the picture above it: the waves shift the mirror image, `tint`
// colours it and `darken` dims it (water reflects only part of the light).
struct WaterLook {
    Rgb tint{0.9f, 0.95f, 1.f};
    float darken = 0.8f;
    float ripple = 6.f;   // largest shift of the mirror image, in pixels, nearest the viewer
    float tallness = 1.f; // how much more the image breaks up in height than sideways (calm water: less)
};
void ReflectBelow(Canvas& canvas, int waterline, const Waves& waves, const WaterLook& look);

} // namespace lumiset::tools
