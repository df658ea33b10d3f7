// Scenes of rock, snow and sand: a lake below hazy ranges, a snowy peak, desert dunes, a waterfall.
#include "tools/samples/Noise.h"
#include "tools/samples/SceneTools.h"
#include "tools/samples/Scenes.h"

#include <cmath>
#include <vector>

namespace lumiset::tools {

Canvas PaintMountainLake(QSize size) {
    const int w = size.width(), h = size.height();
    const float fw = float(w), fh = float(h);
    Canvas c(w, h);
    const int waterline = int(0.64f * fh);
    const Ramp sky{{0.f, Hex(0x4a7db8)}, {0.55f, Hex(0x8db3d8)}, {1.f, Hex(0xdce6ec)}};
    PaintSky(c, sky, waterline);
    const Field clouds = Field::painted(w, waterline, 4, [&](float x, float y) {
        return 0.5f + 0.5f * Fbm(x / 600.f, y / 220.f, 6, 205) - 0.2f * y / fh;
    });
    c.paintRows(0, waterline, [&](int x, int y, Rgb px) {
        const float d = Smoothstep(0.55f, 0.75f, clouds.at(float(x), float(y)));
        return Mix(px, Hex(0xf4f6f8), 0.8f * d);
    });

    // Ranges behind ranges, each paler and bluer with the air before it, mist lying in the valleys.
    const Field faces = Field::painted(w, h, 3, [&](float x, float y) {
        // Gullies run down the faces: features much taller than wide.
        return Ridged(x / 130.f, y / 420.f, 4, 203) + 0.3f * Ridged(x / 30.f, y / 110.f, 3, 204);
    });
    const Rgb haze = Hex(0xc5d3e2);
    Profile far(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) {
        const float u = float(x) / fw;
        const float peaks =
            0.55f * Ridged(u * 1.4f + 0.3f, 6, 201) + 0.45f * (0.5f + 0.5f * Fbm(u * 0.9f, 2, 202));
        far[std::size_t(x)] = -peaks;
    }
    FitProfile(far, 0.14f * fh, 0.58f * fh, 1.6f);
    const Profile snowLines =
        Tabulate(w, [&](float x) { return 0.32f * fh + 0.05f * fh * Fbm(x / 200.f, 3, 209); });
    FillBelow(c, far, waterline, [&](int x, int y) {
        const float fx = float(x), fy = float(y);
        const float light = Clamp01(0.5f + 6.f * LitFromLeft(faces, fx, fy, 5.f));
        const float snowLine = snowLines[std::size_t(x)];
        const float streaks = faces.at(fx, fy) - 0.6f;
        const float snow = Smoothstep(snowLine + 25.f, snowLine - 25.f, fy - 160.f * streaks);
        const Rgb rock = Mix(Hex(0x3a4760), Hex(0x8792aa), light);
        const Rgb snowy = Mix(Hex(0x9db2d0), Hex(0xf3f6fb), light);
        const Rgb col = Mix(rock, snowy, snow);
        return Mix(col, haze,
                   0.25f + 0.5f * Smoothstep(far[std::size_t(x)] + 0.1f * fh, float(waterline), fy));
    });
    const Profile mid = HillProfile(w, 0.625f * fh, 0.17f * fh, 4.f, 207, true);
    FillBelow(c, mid, waterline, [&](int x, int y) {
        const float fx = float(x), fy = float(y);
        const float light = Clamp01(0.5f + 3.f * LitFromLeft(faces, fx + 500.f, fy, 5.f));
        const Rgb col = Mix(Hex(0x3b4f68), Hex(0x62789a), light);
        return Mix(col, haze, 0.25f + 0.5f * Smoothstep(mid[std::size_t(x)], float(waterline), fy));
    });
    const Profile hills = HillProfile(w, 0.648f * fh, 0.07f * fh, 6.f, 211, false);
    const Profile forest = ConiferProfile(hills, 0.028f * fh, 0.006f * fw, 213);
    FillBelow(c, forest, waterline, [&](int x, int y) {
        const float fy = float(y);
        const Rgb col = Hex(0x24392f) * (1.f + 0.2f * Noise(float(x) / 6.f, fy / 9.f, 215));
        return Mix(col, haze, 0.3f * Smoothstep(float(waterline), forest[std::size_t(x)], fy));
    });
    // Tall spruces on the near shore, on the right.
    Random random(217);
    for (float x = 0.78f * fw; x < fw * 1.05f; x += random.uniform(0.015f, 0.03f) * fw) {
        Spruce tree;
        tree.height = fh * random.uniform(0.1f, 0.2f);
        tree.x = x;
        tree.top = float(waterline) + 2.f - tree.height;
        tree.halfWidth = tree.height * random.uniform(0.13f, 0.18f);
        tree.needles = Hex(0x1a2a20);
        tree.seed = random.next();
        PaintSpruce(c, tree);
    }

    const Waves waves(w, h, waterline, 320.f, 221);
    WaterLook water;
    water.tint = Rgb{0.82f, 0.92f, 0.95f};
    water.darken = 0.8f;
    water.ripple = 10.f;
    water.tallness = 0.4f;
    ReflectBelow(c, waterline, waves, water);
    // Breeze lines: bands where the surface is ruffled and shows the sky instead of the mirror image.
    const Field breeze = Field::painted(w, h, 4, [&](float x, float y) {
        const float near = (y - float(waterline)) / (fh - float(waterline));
        return near < -0.01f
                   ? 0.f
                   : Smoothstep(0.3f, 0.7f, 0.5f + 0.5f * Fbm(x / 900.f, y / (30.f + 200.f * near), 3, 223));
    });
    c.paintRows(waterline, h, [&](int x, int y, Rgb px) {
        const float fy = float(y), near = (fy - float(waterline)) / (fh - float(waterline));
        px = Mix(px, sky.at(0.75f) * 0.9f, 0.35f * breeze.at(float(x), fy) * (1 - near));
        return px * (0.95f + 0.1f * waves.at(x, y)) * (1.f - 0.25f * near);
    });
    return c;
}

Canvas PaintSnowyPeak(QSize size) {
    const int w = size.width(), h = size.height();
    const float fw = float(w), fh = float(h);
    Canvas c(w, h);
    const Ramp sky{{0.f, Hex(0x173f7e)}, {0.6f, Hex(0x3f76b6)}, {1.f, Hex(0x9dbfe0)}};
    PaintSky(c, sky, int(0.82f * fh));

    // Three summits, the middle one the highest; each is a cone roughened by a ridged line.
    struct Summit {
        float x, y, slope;
    };
    const Summit summits[] = {
        {0.55f * fw, 0.12f * fh, 0.62f}, {0.2f * fw, 0.38f * fh, 0.45f}, {0.88f * fw, 0.4f * fh, 0.5f}};
    Profile top(static_cast<std::size_t>(w));
    std::vector<int> owner(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) {
        const float jag = 0.07f * fh * (Ridged(float(x) / fw * 12.f, 5, 301) - 0.5f);
        top[std::size_t(x)] = fh;
        for (int i = 0; i < 3; ++i) {
            const float y = summits[i].y + std::fabs(float(x) - summits[i].x) * summits[i].slope + jag;
            if (y < top[std::size_t(x)]) {
                top[std::size_t(x)] = y;
                owner[std::size_t(x)] = i;
            }
        }
    }
    // Each summit sheds a ridge: the face left of it takes the morning sun, the face right of it lies
    // in blue shadow, and faces meet in a gully between summits. Snow clings everywhere but on the
    // steepest ribs.
    const Field ribs = Field::painted(w, h, 3, [&](float x, float y) {
        return (Ridged(x / 110.f, y / 320.f, 4, 303) + 0.2f * Ridged(x / 25.f, y / 80.f, 2, 304)) / 1.2f;
    });
    const Rgb haze = Hex(0xb4c9e0);
    const Profile ridgeWander = Tabulate(h, [&](float y) { return 0.03f * fw * Fbm(y / 160.f, 4, 305); });
    FillBelow(c, top, h, [&](int x, int y) {
        const float fx = float(x), fy = float(y);
        float nearest = 1e9f;
        for (const Summit& s : summits) {
            const float ridge = s.x + (fy - s.y) * 0.22f + ridgeWander[std::size_t(y)] - fx;
            if (std::fabs(ridge) < std::fabs(nearest))
                nearest = ridge;
        }
        const float r = ribs.at(fx, fy);
        const float sunny =
            Smoothstep(-8.f, 8.f, nearest) * Clamp01(0.95f + 1.f * LitFromLeft(ribs, fx, fy, 9.f));
        const float rock = Smoothstep(0.72f, 0.85f, r + 0.2f * Smoothstep(0.25f * fh, 0.7f * fh, fy));
        const Rgb snow = Mix(Hex(0x7f97c4), Hex(0xf7f8fb), sunny);
        const Rgb stone = Mix(Hex(0x2e3546), Hex(0x7a6e68), sunny);
        const Rgb col = Mix(snow, stone, rock);
        return Mix(col, haze, 0.12f + 0.55f * Smoothstep(0.45f * fh, 0.85f * fh, fy));
    });
    // Wisps of cloud caught on the peak.
    const Field wisps = Field::painted(
        w, h, 4, [&](float x, float y) { return y > 0.62f * fh ? 0.f : Fbm(x / 400.f, y / 80.f, 5, 325); });
    c.paintRows(0, int(0.6f * fh), [&](int x, int y, Rgb px) {
        const float fy = float(y),
                    band = Smoothstep(0.2f * fh, 0.32f * fh, fy) * Smoothstep(0.5f * fh, 0.38f * fh, fy);
        return Mix(px, Hex(0xeef2f8), 0.7f * band * Smoothstep(0.1f, 0.55f, wisps.at(float(x), fy)));
    });

    // Forested foothills in the haze, then a snowfield with spruces in front.
    const Profile hills = HillProfile(w, 0.8f * fh, 0.1f * fh, 4.f, 307, false);
    const Profile wood = ConiferProfile(hills, 0.03f * fh, 0.005f * fw, 309);
    FillBelow(c, wood, h, [&](int x, int y) {
        const float fy = float(y);
        const float speck = Smoothstep(0.55f, 0.8f, Noise(float(x) / 4.f, fy / 4.f, 311));
        const Rgb col = Mix(Hex(0x23352f), Hex(0xdfe6ee), 0.35f * speck);
        return Mix(col, haze, 0.45f * Smoothstep(0.86f * fh, hills[std::size_t(x)] - 0.03f * fh, fy));
    });
    const Profile field = HillProfile(w, 0.9f * fh, 0.05f * fh, 2.f, 313, false);
    const Field drifts = Field::painted(
        w, h, 3, [&](float x, float y) { return y < 0.8f * fh ? 0.f : Fbm(x / 300.f, y / 60.f, 4, 315); });
    FillBelow(c, field, h, [&](int x, int y) {
        const float light = Clamp01(0.75f + 5.f * LitFromLeft(drifts, float(x), float(y), 6.f));
        return Mix(Hex(0x9fb4d4), Hex(0xfafbfd), light);
    });
    // A few spruces out on the snowfield, heavy with snow.
    Random random(317);
    for (float x : {0.08f, 0.13f, 0.17f, 0.74f, 0.8f, 0.83f, 0.92f}) {
        Spruce tree;
        tree.height = fh * random.uniform(0.08f, 0.16f);
        tree.x = (x + random.uniform(-0.01f, 0.01f)) * fw;
        tree.top = field[std::size_t(std::clamp(int(tree.x), 0, w - 1))] + 0.03f * fh + tree.height * 0.1f -
                   tree.height;
        tree.halfWidth = tree.height * 0.2f;
        tree.snow = 0.8f;
        tree.seed = random.next();
        PaintSpruce(c, tree);
    }
    return c;
}

Canvas PaintDunes(QSize size) {
    const int w = size.width(), h = size.height();
    const float fw = float(w), fh = float(h);
    Canvas c(w, h);
    const int horizon = int(0.46f * fh);
    const Ramp sky{{0.f, Hex(0x3a6aa5)}, {0.6f, Hex(0x8fb3d6)}, {1.f, Hex(0xf0d8bd)}};
    PaintSky(c, sky, horizon + int(0.05f * fh));

    // Dune after dune, nearer ones taller: a sharp crest, the face towards the low sun on the left
    // glowing orange, the slip face beyond the crest in deep shadow, wind ripples across both.
    struct Layer {
        float base, height, features;
    };
    const Layer layers[] = {{0.48f, 0.035f, 5.f},
                            {0.56f, 0.07f, 3.5f},
                            {0.68f, 0.12f, 2.4f},
                            {0.86f, 0.18f, 1.6f},
                            {1.06f, 0.3f, 1.1f}};
    const Rgb haze = Hex(0xeccfae);
    std::uint32_t seed = 401;
    float depth = 0;
    for (const Layer& layer : layers) {
        Profile crest(static_cast<std::size_t>(w));
        for (int x = 0; x < w; ++x)
            crest[std::size_t(x)] =
                fh *
                (layer.base - layer.height * (0.85f * Ridged(float(x) / fw * layer.features, 2, seed) +
                                              0.15f * (0.5f + 0.5f * Fbm(float(x) / fw * 6.f, 2, seed + 3))));
        const float distance = 1.f - depth / 4.f; // 1 for the farthest layer, 0 for the nearest
        const float rippleScale = 1.2f + 3.5f * (1 - distance);
        const Field rippleWarp = Field::painted(
            w, h, 4, [&](float x, float y) { return 2.5f * Noise(x / 300.f, y / 120.f, seed + 1); });
        FillBelow(c, crest, h, [&](int x, int y) {
            const float fy = float(y), below = fy - crest[std::size_t(x)];
            // The shadow's edge leans: the slip face is read a little to the left as it descends.
            const int at = std::clamp(x - int(below * 0.35f), 12, w - 13);
            // Read over a span wider than the small wiggles of the crest, which would stripe the faces.
            const float slope = (crest[std::size_t(at + 12)] - crest[std::size_t(at - 12)]) / 24.f;
            // Right under the crest the face is as steep as the crest line shows; further down the
            // dune flattens into the trough and takes an even light.
            const float flattening = Smoothstep(0.f, layer.height * fh * 0.9f, below);
            const float lit = Mix(Smoothstep(-0.08f, 0.15f, -slope), 0.62f, flattening);
            const float ripple =
                std::sin((fy - 0.6f * crest[std::size_t(x)]) / rippleScale + rippleWarp.at(float(x), fy));
            Rgb col = Mix(Hex(0x7e4636), Hex(0xf4a862), lit) * (1.f + 0.035f * ripple * (0.4f + lit));
            col = col * (1.f - 0.12f * Smoothstep(0.f, 0.15f * fh, below)); // lower slopes, less light
            return Mix(col, haze, 0.65f * distance * distance);
        });
        seed += 10;
        depth += 1;
    }
    return c;
}

Canvas PaintWaterfall(QSize size) {
    const int w = size.width(), h = size.height();
    const float fw = float(w), fh = float(h);
    Canvas c(w, h);
    const Ramp sky{{0.f, Hex(0xc9d9e3)}, {1.f, Hex(0xeef3f4)}};
    PaintSky(c, sky, int(0.3f * fh));

    // The gorge: layered rock, wet and dark, moss on its ledges.
    const float lip = 0.17f * fh, pool = 0.78f * fh;
    const Field strata = Field::painted(w, h, 3, [&](float x, float y) {
        return 0.5f + 0.5f * Fbm(x / 320.f, y / 36.f + 0.4f * Fbm(x / 140.f, y / 140.f, 2, 507), 5, 505);
    });
    const Field masses =
        Field::painted(w, h, 4, [&](float x, float y) { return Fbm(x / 260.f, y / 220.f, 4, 508); });
    const Field moss =
        Field::painted(w, h, 3, [&](float x, float y) { return Fbm(x / 180.f, y / 110.f, 5, 509); });
    const float cx = 0.52f * fw;
    const Profile rims = Tabulate(w, [&](float x) {
        return 0.08f * fh + 0.05f * fh * Fbm(x / 400.f, 3, 503) + 0.06f * fh * std::fabs(x / fw - 0.5f);
    });
    const Profile wallTops = Tabulate(w, [&](float x) { return rims[std::size_t(x)] + 0.03f * fh; });
    c.paintRows(0, h, [&](int x, int y, Rgb px) {
        const float fx = float(x), fy = float(y);
        const float wallTop = wallTops[std::size_t(x)];
        const float cover = Smoothstep(wallTop - 4.f, wallTop + 4.f, fy);
        if (cover <= 0)
            return px;
        const float layer = strata.at(fx, fy);
        const float ledge = Clamp01(0.5f + 5.f * (strata.at(fx, fy - 4.f) - layer));
        // The walls come nearer towards the edges of the view and fall back into shade by the water.
        const float nearness = std::fabs(fx - cx) / (0.5f * fw);
        const float light =
            (0.55f + 0.5f * ledge) * (0.75f + 0.45f * masses.at(fx, fy)) * (0.55f + 0.6f * nearness);
        Rgb rock = Mix(Hex(0x2a2722), Hex(0x6a6356), layer) * light;
        const float green = 0.7f * Smoothstep(0.1f, 0.45f, moss.at(fx, fy) + 0.25f * (ledge - 0.5f));
        rock = Mix(rock, Mix(Hex(0x2f4626), Hex(0x6d8a45), ledge) * (0.7f + 0.4f * nearness), green * 0.8f);
        rock = rock * (1.f - 0.35f * Smoothstep(0.5f * fh, fh, fy));          // darker deep in the gorge
        rock = rock * (1.f - 0.4f * Smoothstep(pool - 0.06f * fh, pool, fy)); // wet at the waterline
        return Mix(px, rock, cover);
    });

    // Forest on the rim of the gorge, soft in the spray-laden air, its undergrowth hanging down the
    // walls further from the fall.
    const Field canopy = Field::painted(
        w, h, 3, [&](float x, float y) { return y > 0.52f * fh ? 0.f : Fbm(x / 90.f, y / 90.f, 5, 501); });
    const Profile hangs = Tabulate(w, [&](float x) {
        return 0.15f * fh + 0.3f * fh * std::pow(std::fabs(x - cx) / (0.5f * fw), 1.6f) +
               0.04f * fh * Fbm(x / 200.f, 3, 503);
    });
    c.paintRows(0, int(0.52f * fh), [&](int x, int y, Rgb px) {
        const float fx = float(x), fy = float(y);
        const float wobble = 110.f * canopy.at(fx, fy);
        const float leaves =
            Smoothstep(hangs[std::size_t(x)] + 30.f, hangs[std::size_t(x)] - 30.f, fy + wobble) *
            Smoothstep(rims[std::size_t(x)] - 30.f, rims[std::size_t(x)] + 30.f, fy + 0.6f * wobble);
        if (leaves <= 0)
            return px;
        const float light = Clamp01(0.5f + 4.f * (canopy.at(fx, fy) - canopy.at(fx + 6.f, fy + 9.f)));
        Rgb green = Mix(Hex(0x1c2e1c), Hex(0x6a8f4a), light) * (1.f + 0.12f * Noise(fx / 5.f, fy / 5.f, 505));
        green = Mix(green, sky.at(1.f), 0.35f * Smoothstep(0.25f * fh, 0.f, fy)); // the far rim, paler
        return Mix(px, green, leaves);
    });

    // The fall: streaks of white water widening as they drop, translucent at the ragged edges.
    const Field streaks = Field::painted(w, h, 2, [&](float x, float y) {
        const bool inFall = std::fabs(x - cx) < 0.2f * fw && y > lip - 10.f && y < pool + 30.f;
        return inFall ? 0.5f + 0.5f * Fbm(x / 9.f, y / 260.f - x / 800.f, 4, 513) : 0.f;
    });
    const Profile leftEdge = Tabulate(h, [&](float y) { return 0.02f * fw * Fbm(y / 90.f, 4, 515); });
    const Profile rightEdge = Tabulate(h, [&](float y) { return 0.02f * fw * Fbm(y / 90.f, 4, 517); });
    c.paintRows(int(lip) - 5, int(pool) + 20, [&](int x, int y, Rgb px) {
        const float fx = float(x), fy = float(y);
        const float t = Clamp01((fy - lip) / (pool - lip));
        const float half = (0.065f + 0.09f * t * t) * fw;
        const float edge = half + (fx < cx ? leftEdge : rightEdge)[std::size_t(y)];
        const float inside = edge - std::fabs(fx - cx);
        const float s = streaks.at(fx, fy);
        const float body = Smoothstep(-20.f, 40.f, inside + 60.f * (s - 0.5f));
        if (body <= 0)
            return px;
        Rgb water = Mix(Hex(0x8fa7b2), Hex(0xf5f8f9), Smoothstep(0.3f, 0.75f, s));
        water =
            Mix(Hex(0x58776f), water, Smoothstep(0.f, 0.04f, t)); // dark green where it curls over the lip
        water = water * (1.f - 0.15f * Smoothstep(0.7f * half, half, std::fabs(fx - cx)));
        return Mix(px, water, body * Smoothstep(lip - 5.f, lip + 5.f, fy));
    });

    // The pool: dark green water, foam spreading from where the fall lands, ripples mirroring the gorge.
    const int surface = int(pool);
    const Waves waves(w, h, surface - int(0.2f * fh), 110.f, 519);
    const Field froth = Field::painted(w, h, 2, [&](float x, float y) {
        return y < pool - 4.f
                   ? 0.f
                   : 0.5f + 0.5f * Fbm(x / 70.f, (y - pool) / 12.f - std::fabs(x - cx) / 300.f, 4, 521);
    });
    c.paintRows(surface, h, [&](int x, int y, Rgb) {
        const float fx = float(x), fy = float(y);
        const float wave = waves.at(x, y);
        const Rgb mirrored =
            c.sample(float(x), std::clamp(float(2 * surface - y) + 5.f * wave, 0.f, float(surface - 1)));
        Rgb water = Mix(Hex(0x1e3f3d), mirrored * 0.55f, 0.35f) * (0.9f + 0.25f * wave);
        const float spread = std::hypot((fx - cx) / (0.35f * fw), (fy - float(surface)) / (0.1f * fh));
        const float foam = 0.8f * Smoothstep(0.55f, 0.8f, froth.at(fx, fy)) * Clamp01(1.3f - spread);
        return Mix(water, Hex(0xe6ecec), Clamp01(0.9f * foam + 0.9f * Clamp01(0.45f - spread)));
    });
    // Spray hanging over the pool.
    const Field spray = Field::painted(
        w, h, 4, [&](float x, float y) { return 0.5f + 0.5f * Fbm(x / 160.f, y / 120.f, 4, 523); });
    c.paintRows(int(0.55f * fh), h, [&](int x, int y, Rgb px) {
        const float fx = float(x), fy = float(y);
        const float d = std::hypot((fx - cx) / (0.6f * fw), (fy - pool) / (0.16f * fh));
        const float rising =
            Clamp01(1.f - std::fabs(fx - cx) / (0.2f * fw)) * Smoothstep(0.55f * fh, pool, fy);
        return Mix(px, Hex(0xe9eff0),
                   Clamp01((0.95f * Clamp01(1.f - d) + 0.4f * rising) * spray.at(fx, fy) * 1.3f));
    });

    // Boulders in the foreground, wet on top, moss on their shoulders.
    Random random(525);
    for (int i = 0; i < 4; ++i) {
        const bool left = i % 2 == 0;
        const float bx = (left ? random.uniform(-0.05f, 0.3f) : random.uniform(0.7f, 1.05f)) * fw;
        const float by = random.uniform(0.88f, 1.02f) * fh;
        const float radius = random.uniform(0.09f, 0.16f) * fw;
        const std::uint32_t seed = random.next();
        c.paintBox(bx - radius * 1.3f, by - radius * 1.3f, bx + radius * 1.3f, by + radius * 1.3f,
                   [&](int x, int y, Rgb& px) {
                       const float dx = (float(x) - bx) / radius, dy = (float(y) - by) / (0.7f * radius);
                       if (dx * dx + dy * dy > 1.3f)
                           return;
                       const float angle = std::atan2(dy, dx);
                       const float r =
                           std::hypot(dx, dy) /
                           (1.f + 0.12f * Noise(angle * 2.f + 10.f, float(seed % 1000) * 0.1f, seed));
                       const float cover = Clamp01((1.f - r) * radius * 0.5f);
                       if (cover <= 0)
                           return;
                       const float light = Clamp01(0.55f - 0.45f * dy - 0.2f * dx);
                       Rgb stone = Mix(Hex(0x1d1c1a), Hex(0x6b665e), light) *
                                   (1.f + 0.15f * Noise(float(x) / 12.f, float(y) / 12.f, seed));
                       stone = Mix(stone, Hex(0x4c6a2e) * (0.6f + 0.6f * light),
                                   Smoothstep(-0.3f, -0.7f, dy) * 0.7f);
                       px = Mix(px, stone, cover);
                   });
    }
    return c;
}

} // namespace lumiset::tools
