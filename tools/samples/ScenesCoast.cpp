// Scenes by the sea: a sunset over open water, a beach at noon, a lighthouse on a headland.
#include "tools/samples/Noise.h"
#include "tools/samples/SceneTools.h"
#include "tools/samples/Scenes.h"

#include <cmath>

namespace lumiset::tools {

Canvas PaintSunsetSea(QSize size) {
    const int w = size.width(), h = size.height();
    Canvas c(w, h);
    const int horizon = int(0.6f * float(h));
    const Ramp sky{{0.f, Hex(0x1b2145)},   {0.3f, Hex(0x46396a)},  {0.55f, Hex(0x9a5470)},
                   {0.78f, Hex(0xe2875a)}, {0.93f, Hex(0xf6b86c)}, {1.f, Hex(0xfbd38e)}};
    PaintSky(c, sky, horizon);

    const float sunX = 0.63f * float(w), sunY = float(horizon) - 0.05f * float(h);
    const float sunRadius = 0.026f * float(h);
    c.glow(sunX, sunY, 0.30f * float(h), Rgb{0.30f, 0.14f, 0.05f});
    c.glow(sunX, sunY, 0.08f * float(h), Rgb{0.55f, 0.32f, 0.12f});

    // Layers of stratus lit from below by the low sun: dark violet away from it, glowing near it.
    const Field clouds = Field::painted(w, horizon, 4, [&](float x, float y) {
        const float band =
            Smoothstep(0.05f, 0.3f, y / float(horizon)) * (1 - Smoothstep(0.62f, 0.9f, y / float(horizon)));
        return band * (0.5f + 0.5f * Fbm(x / 650.f, y / 70.f, 6, 11));
    });
    const Field streaks = Field::painted(w, horizon, 4, [&](float x, float y) {
        const float band =
            Smoothstep(0.72f, 0.8f, y / float(horizon)) * (1 - Smoothstep(0.86f, 0.95f, y / float(horizon)));
        return band * (0.5f + 0.5f * Fbm(x / 900.f, y / 14.f, 5, 23));
    });
    c.paintRows(0, horizon, [&](int x, int y, Rgb px) {
        const float fx = float(x), fy = float(y);
        const float dist = std::hypot(fx - sunX, (fy - sunY) * 1.6f) / float(w);
        const float lit = Clamp01(1.4f * std::exp(-dist / 0.22f) + 0.35f * fy / float(horizon));
        const float density = clouds.at(fx, fy);
        const float fine = 0.06f * Noise(fx / 26.f, fy / 7.f, 3);
        const float d = Smoothstep(0.47f, 0.6f, density + fine);
        // Undersides, where the cloud thins downwards, catch the sun.
        const float underside = Clamp01(6.f * (density - clouds.at(fx, fy + 14.f)));
        const Rgb cloud = Mix(Hex(0x3a2c4a), Hex(0xffa56a), Clamp01(lit + 0.5f * underside * lit));
        px = Mix(px, cloud, 0.92f * d);
        const float s = Smoothstep(0.5f, 0.66f, streaks.at(fx, fy) + fine);
        return Mix(px, Mix(Hex(0x5a3447), Hex(0xd9774e), lit * 0.8f), 0.85f * s);
    });
    // A low headland far away on the left, blue with distance.
    Profile land = HillProfile(w, float(horizon) + 2, 0.05f * float(h), 3.f, 5, false);
    for (int x = 0; x < w; ++x)
        land[std::size_t(x)] =
            Mix(float(horizon) + 2, land[std::size_t(x)], 1 - Smoothstep(0.18f, 0.42f, float(x) / float(w)));
    FillBelow(c, land, horizon, [&](int, int y) {
        return Mix(Hex(0x2c2238), Hex(0x8a5a66), 0.25f * float(y - horizon + 60) / 60.f);
    });

    const Waves waves(w, h, horizon, 240.f, 31);
    const Waves chop(w, h, horizon, 60.f, 47);
    WaterLook water;
    water.tint = Rgb{0.82f, 0.78f, 0.95f};
    water.darken = 0.7f;
    water.ripple = 40.f;
    ReflectBelow(c, horizon, waves, water);
    // The sun itself is drawn after the mirror image: the waves break its reflection into the path.
    c.disc(sunX, sunY, sunRadius, Rgb{1.f, 0.93f, 0.78f}, 1.f, 2.5f);
    c.glow(sunX, sunY, sunRadius * 1.3f, Rgb{0.5f, 0.35f, 0.15f});

    // The sun's path on the water: wave faces tilted towards the viewer catch it in a widening column.
    c.paintRows(horizon, h, [&](int x, int y, Rgb px) {
        const float near = float(y - horizon) / float(h - horizon);
        const float wave = waves.at(x, y), fine = chop.at(x, y);
        const float halfWidth = 0.012f * float(w) + 0.1f * float(w) * near;
        const float dx = (float(x) - sunX) / halfWidth;
        const float path = std::exp(-dx * dx) * (1.2f - 0.7f * near);
        const float sparkle = Smoothstep(0.1f, 0.5f, 0.6f * fine + 0.4f * wave);
        px = px * (0.85f + 0.45f * wave + 0.25f * fine);
        return px + Rgb{1.f, 0.68f, 0.36f} * (path * (0.3f * (1 - near) + 1.2f * sparkle));
    });
    return c;
}

Canvas PaintBeach(QSize size) {
    const int w = size.width(), h = size.height();
    const float fw = float(w), fh = float(h);
    Canvas c(w, h);
    const int horizon = int(0.4f * fh);
    const Ramp sky{{0.f, Hex(0x2a63ad)}, {0.55f, Hex(0x5d9ad6)}, {1.f, Hex(0xc9e0ef)}};
    PaintSky(c, sky, horizon);

    PaintCumulus(c, horizon, sky.at(1.f), 1.f, 0.f, 101);

    // The shore runs a little downhill to the left; the surf breaks a short way out.
    Profile shore(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x)
        shore[std::size_t(x)] =
            fh * (0.64f + 0.05f * (0.5f - float(x) / fw) + 0.015f * Fbm(float(x) / 500.f, 3, 9));
    const Waves waves(w, h, horizon, 200.f, 61);
    const Profile breakerWander = Tabulate(w, [](float x) { return 10.f * Fbm(x / 140.f, 2, 3); });
    const Profile breakerWidth =
        Tabulate(w, [](float x) { return 6.f + 6.f * (0.5f + 0.5f * Fbm(x / 90.f, 2, 4)); });
    const Profile breakerStrength =
        Tabulate(w, [](float x) { return Smoothstep(-0.5f, 0.4f, Fbm(x / 260.f, 3, 8)); });
    const Profile wetWander = Tabulate(w, [](float x) { return 12.f * Fbm(x / 400.f, 2, 13); });
    // Sand heaped by feet and wind: bumps that grow towards the viewer.
    const Field sandRelief = Field::painted(w, h, 3, [&](float x, float y) {
        if (y < 0.58f * fh)
            return 0.f;
        const float near = Clamp01((y - 0.6f * fh) / (0.4f * fh)) + 0.15f;
        return 0.5f * Fbm(x / (70.f * near + 20.f), y / (30.f * near + 6.f), 4, 23);
    });
    const Ramp sea{{0.f, Hex(0x2a5f8c)},
                   {0.08f, Hex(0x1c4f7e)},
                   {0.55f, Hex(0x1f7f9a)},
                   {0.86f, Hex(0x3cb3b2)},
                   {1.f, Hex(0x8fd5c6)}};
    c.paintRows(horizon, h, [&](int x, int y, Rgb) {
        const float fx = float(x), fy = float(y);
        const float edge = shore[std::size_t(x)];
        const float wave = waves.at(x, y);
        if (fy < edge + 2.f) {
            const float t = Clamp01((fy - float(horizon)) / (edge - float(horizon)));
            Rgb water = sea.at(t) * (0.92f + 0.2f * wave) + sky.at(0.7f) * (0.12f * Clamp01(wave));
            const float breaker = edge - 0.045f * fh - breakerWander[std::size_t(x)];
            const float toBreaker = (fy - breaker) / breakerWidth[std::size_t(x)];
            if (fy < breaker - 60.f) // out beyond the surf: open water
                return Mix(water, Hex(0xf3f6f5), Smoothstep(0.62f, 0.8f, wave) * 0.6f * t);
            const float strength = breakerStrength[std::size_t(x)];
            const float churn = 0.5f + 0.5f * Fbm(fx / 70.f, fy / 9.f, 4, 5);
            float foam =
                std::exp(-toBreaker * toBreaker) * (0.35f + 0.65f * churn) * (0.35f + 0.65f * strength);
            // Behind the breaker the spent wave leaves a net of foam on the shallow water.
            const float net = Smoothstep(0.82f, 0.95f, Ridged(fx / 60.f, fy / 11.f, 3, 6));
            if (fy > breaker)
                foam =
                    std::max(foam, (0.7f * net + 0.4f * Smoothstep(0.55f, 0.8f, churn)) * (1.1f - 0.5f * t));
            foam = std::max(foam, Smoothstep(0.62f, 0.8f, wave) * 0.6f * t);
            const float lace = std::exp(-std::pow((fy - edge + 3.f) / 4.f, 2.f)) * (0.4f + 0.6f * churn);
            water = Mix(water, Hex(0xf3f6f5), Clamp01(std::max(foam, lace)));
            return water;
        }
        // Wet sand mirrors the sky a little; dry sand is warm, softly trodden and lit from the left.
        const float below = fy - edge;
        const float wet = 1 - Smoothstep(0.f, 0.05f * fh, below + wetWander[std::size_t(x)]);
        const float near = below / (fh - edge);
        const float relief = sandRelief.at(fx - 4.f, fy) - sandRelief.at(fx + 4.f, fy);
        Rgb sand = Mix(Hex(0xead8b6), Hex(0xdcc29b), near);
        sand = sand * (1.f + (0.9f + 2.f * near) * relief + 0.025f * Noise(fx / 6.f, fy / 5.f, 19));
        const Rgb wetSand =
            Mix(Hex(0xa48f72), sky.at(0.8f), 0.22f) * (1.f + 0.04f * Noise(fx / 40.f, fy / 6.f, 21));
        return Mix(sand, wetSand, wet);
    });
    return c;
}

namespace {

// The last light of dusk on pale walls: dim and blue, warmer on the side facing the afterglow.
const Rgb kDuskLight{0.44f, 0.46f, 0.6f};

// A white lighthouse with red bands, its lamp lit, standing at `cx` on ground at `base`.
void paintLighthouse(Canvas& c, float cx, float base) {
    const float fw = float(c.width()), fh = float(c.height());
    const float top = 0.36f * fh;
    const float baseHalf = 0.07f * fw, topHalf = 0.05f * fw;
    // Lit from the afterglow on the left: a round body, darkest towards its right edge.
    const auto roundShade = [](float n) {
        return Mix(1.1f, 0.45f, Smoothstep(-0.85f, 0.95f, n)) * (1 - 0.25f * std::pow(std::fabs(n), 8.f));
    };
    c.paintBox(cx - baseHalf - 2, top, cx + baseHalf + 2, base, [&](int x, int y, Rgb& px) {
        const float t = (float(y) - top) / (base - top);
        const float half = Mix(topHalf, baseHalf, t);
        const float n = (float(x) + 0.5f - cx) / half;
        const float cover = Clamp01((1 - std::fabs(n)) * half + 0.5f);
        if (cover <= 0)
            return;
        const float band = std::fmod(t * 5.f, 2.f);
        Rgb paint = (band > 1.f && t < 0.8f) ? Hex(0xb52a22) : Hex(0xf3f0e8);
        paint = paint * (1.f + 0.06f * Fbm(float(x) / 14.f, float(y) / 50.f, 3, 97)); // weathered paint
        paint = paint * kDuskLight * roundShade(n) * (1.f - 0.25f * t);
        // A lit doorway and a window, warm against the dusk.
        const float dx = float(x) - cx;
        if (std::fabs(dx + 0.012f * fw) < 0.014f * fw && float(y) > base - 0.042f * fh)
            paint = Hex(0xd99a4e);
        if (std::fabs(dx + 0.008f * fw) < 0.006f * fw && std::fabs(t - 0.5f) < 0.012f)
            paint = Hex(0xe8b060);
        px = Mix(px, paint, cover);
    });
    // Gallery with its railing, the glazed lantern with the lamp burning, and the dome.
    const float deck = top - 0.012f * fh, rail = deck - 0.026f * fh;
    const float lanternTop = rail - 0.04f * fh, domeTop = lanternTop - 0.028f * fh;
    const float deckHalf = 0.066f * fw, lanternHalf = 0.038f * fw;
    c.paintBox(cx - deckHalf, domeTop - 0.03f * fh, cx + deckHalf, top + 1, [&](int x, int y, Rgb& px) {
        const float dx = float(x) + 0.5f - cx, fy = float(y);
        const float n = dx / deckHalf;
        if (fy >= deck && std::fabs(dx) < deckHalf) {
            px = Hex(0x24252b) * roundShade(n);
        } else if (fy >= rail && std::fabs(dx) < deckHalf) {
            const bool post = std::fmod(dx + 400.f, 13.f) < 2.5f || fy < rail + 3.f ||
                              std::fabs(fy - rail - 0.013f * fh) < 1.5f;
            if (post)
                px = Hex(0x18191d);
        } else if (fy >= lanternTop && std::fabs(dx) < lanternHalf) {
            const float m = dx / lanternHalf;
            const bool frame = std::fmod(dx + 400.f, 0.026f * fw) < 3.f;
            const Rgb lamp = Mix(Hex(0xfff6d8), Hex(0xe0b060), Smoothstep(0.f, 1.f, std::fabs(m)));
            px = frame ? Hex(0x202024) : lamp;
        } else if (fy >= domeTop) {
            const float e = (lanternTop - fy) / (lanternTop - domeTop);
            const float half = lanternHalf * 1.08f * std::sqrt(Clamp01(1 - e * e));
            if (std::fabs(dx) < half)
                px = Hex(0x7a2420) * kDuskLight * roundShade(dx / std::max(half, 1.f));
        } else if (std::fabs(dx) < 2.5f && fy > domeTop - 0.025f * fh) {
            px = Hex(0x1c1c20);
        }
    });
    c.disc(cx, domeTop - 0.006f * fh, 0.006f * fw, Hex(0x1c1c20), 1.f, 1.5f);

    // The lamp's glow, and its beam swept towards the sea, fading with distance.
    const float lampY = (rail + lanternTop) / 2;
    c.glow(cx, lampY, 0.035f * fw, Rgb{0.7f, 0.55f, 0.3f});
    c.glow(cx, lampY, 0.12f * fw, Rgb{0.12f, 0.1f, 0.06f});
    c.paintBox(0, lampY - 0.12f * fh, cx, lampY + 0.12f * fh, [&](int x, int y, Rgb& px) {
        const float dx = cx - float(x), dy = float(y) - lampY + 0.04f * dx;
        const float spread = 0.012f * fh + 0.12f * dx;
        const float across = dy / spread;
        const float beam =
            std::exp(-across * across) * std::exp(-dx / (0.5f * fw)) * Smoothstep(0.f, 0.04f * fw, dx);
        px = px + Rgb{0.55f, 0.5f, 0.38f} * (0.45f * beam);
    });
}

} // namespace

Canvas PaintLighthouse(QSize size) {
    const int w = size.width(), h = size.height();
    const float fw = float(w), fh = float(h);
    Canvas c(w, h);
    const int horizon = int(0.62f * fh);
    const Ramp sky{{0.f, Hex(0x101d3e)},
                   {0.45f, Hex(0x2b4a7e)},
                   {0.78f, Hex(0x7a7f9f)},
                   {0.92f, Hex(0xdb9a70)},
                   {1.f, Hex(0xf1c48c)}};
    PaintSky(c, sky, horizon);
    // The first stars, high up where the sky is darkest.
    Random stars(79);
    for (int i = 0; i < 90; ++i) {
        const float x = stars.uniform(0, fw), y = stars.uniform(0, 0.3f * fh);
        c.disc(x, y, stars.uniform(0.6f, 1.5f), Hex(0xe8ecff),
               stars.uniform(0.2f, 0.8f) * (1 - y / (0.3f * fh)));
    }
    // Thin clouds lit from below by the afterglow.
    const Field clouds = Field::painted(
        w, horizon, 4, [&](float x, float y) { return 0.5f + 0.5f * Fbm(x / 700.f, y / 60.f, 6, 71); });
    c.paintRows(0, horizon, [&](int x, int y, Rgb px) {
        const float v = float(y) / float(horizon);
        const float band = Smoothstep(0.45f, 0.65f, v) * (1 - Smoothstep(0.85f, 0.97f, v));
        const float d = Smoothstep(0.55f, 0.75f, clouds.at(float(x), float(y))) * band;
        return Mix(px, Mix(Hex(0x3b3552), Hex(0xe0907a), Smoothstep(0.55f, 0.95f, v)), 0.85f * d);
    });

    const Waves waves(w, h, horizon, 150.f, 73);
    WaterLook water;
    water.tint = Rgb{0.7f, 0.75f, 0.9f};
    water.darken = 0.62f;
    water.ripple = 30.f;
    ReflectBelow(c, horizon, waves, water);
    c.paintRows(horizon, h, [&](int x, int y, Rgb px) { return px * (0.85f + 0.35f * waves.at(x, y)); });

    // The headland: a grassy top whose left flank falls to the sea as a rock face, surf at its foot.
    const float shoulderY = 0.655f * fh;
    const Profile grassEdges = Tabulate(
        h, [&](float y) { return 0.2f * fw + (y - shoulderY) * 0.8f + 30.f * Fbm(y / 80.f, 4, 81); });
    const auto grassEdge = [&](float y) { return grassEdges[std::size_t(y)]; };
    const Profile cliffFeet = Tabulate(
        h, [&](float y) { return 0.12f * fw + (y - shoulderY) * 0.5f + 40.f * Fbm(y / 90.f, 4, 83); });
    const auto cliffFoot = [&](float y) { return cliffFeet[std::size_t(y)]; };
    const Profile groundBumps = Tabulate(w, [](float x) { return 6.f * Fbm(x / 150.f, 3, 87); });
    const Field rock = Field::painted(w, h, 2, [&](float x, float y) {
        return y < shoulderY - 50.f ? 0.f : Ridged(x / 26.f, y / 160.f, 4, 85);
    });
    const Field meadow = Field::painted(w, h, 3, [&](float x, float y) {
        const float near = Clamp01((y - shoulderY) / (fh - shoulderY));
        return y < shoulderY - 50.f ? 0.f : 0.5f + 0.5f * Fbm(x / 220.f, y / (40.f + 120.f * near), 4, 93);
    });
    c.paintRows(int(shoulderY) - 40, h, [&](int x, int y, Rgb px) {
        const float fx = float(x), fy = float(y);
        const float ground = shoulderY - 0.012f * fh * (fx / fw) + groundBumps[std::size_t(x)] +
                             0.03f * fh * Smoothstep(0.3f * fw, 0.12f * fw, fx);
        if (fy < ground - 1.f)
            return px;
        const float topCover = Below(fy, ground);
        const float toFoot = fx - cliffFoot(fy);
        if (toFoot < 0) { // the sea at the foot of the cliff, pale where it breaks
            const float surf = std::exp(toFoot / 25.f) * (0.5f + 0.5f * Fbm(fx / 20.f, fy / 12.f, 3, 89));
            return Mix(px, Hex(0xa9b0c4), Clamp01(1.3f * surf));
        }
        Rgb colour;
        const float near = Clamp01((fy - shoulderY) / (fh - shoulderY));
        if (fx < grassEdge(fy)) { // broken rock, its outer faces catching the afterglow
            const float blocks = 0.5f + 0.5f * Fbm(fx / 90.f, fy / 60.f, 2, 96);
            const float cracks = Smoothstep(0.78f, 0.95f, rock.at(fx, fy));
            colour = Mix(Hex(0x100e12), Hex(0x3a3034), blocks) * (1.f - 0.5f * cracks);
            const float across = Clamp01((fx - cliffFoot(fy)) / (grassEdge(fy) - cliffFoot(fy) + 1.f));
            colour = colour * (1.3f - 0.8f * across) + Hex(0x2a1e22) * Smoothstep(0.85f, 1.f, across);
        } else {
            const float blades = Noise(fx / (2.f + 4.f * near), fy / (5.f + 12.f * near), 91);
            const float patches = meadow.at(fx, fy);
            colour = Mix(Hex(0x0f1711), Hex(0x2c3724), patches) * (1.f + 0.25f * blades - 0.5f * near);
            // The rim of the headland catches the glow of the sky.
            colour = colour + Hex(0x4a3a38) * (0.5f * Smoothstep(8.f, 0.f, fy - ground));
        }
        return Mix(px, colour, topCover * Clamp01(toFoot + 0.5f));
    });
    const float cx = 0.57f * fw, base = shoulderY + 0.012f * fh;
    // The keeper's cottage beside the tower, a window lit.
    const float houseLeft = 0.66f * fw, houseRight = 0.93f * fw, eaves = base - 0.035f * fh;
    c.paintBox(houseLeft, eaves - 0.03f * fh, houseRight, base, [&](int x, int y, Rgb& px) {
        const float fx = float(x), fy = float(y);
        const float middle = (houseLeft + houseRight) / 2, halfWidth = (houseRight - houseLeft) / 2;
        const float roofEdge = eaves - 0.03f * fh * (1 - std::fabs(fx - middle) / halfWidth);
        if (fy >= eaves) {
            const float slot = std::fmod(fx - houseLeft, 0.07f * fw);
            const bool window = slot > 0.045f * fw && fy > eaves + 0.008f * fh && fy < eaves + 0.022f * fh;
            const bool lit = window && fx < houseLeft + 0.14f * fw;
            const Rgb wall =
                Hex(0xe9e4da) * kDuskLight * (0.9f - 0.2f * (fx - houseLeft) / (houseRight - houseLeft));
            px = lit ? Hex(0xe6a858) : window ? Hex(0x1d2230) : wall;
        } else if (fy >= roofEdge - 1.f) {
            px = Mix(px, Hex(0x5a2a24) * (fx < middle ? 0.9f : 0.6f), Below(fy, roofEdge));
        }
    });
    paintLighthouse(c, cx, base);
    return c;
}

} // namespace lumiset::tools
