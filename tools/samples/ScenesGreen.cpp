// Scenes of growing things: a meadow of poppies seen with a shallow depth of field, a forest path in
// shafts of light, a bamboo grove.
#include "tools/samples/Noise.h"
#include "tools/samples/SceneTools.h"
#include "tools/samples/Scenes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace lumiset::tools {
namespace {

// A flower head seen from the side and above: `petals` rounded lobes around a darker heart. `soft` is
// the width of its blurred edge, as a lens out of focus spreads it.
struct Flower {
    float x, y, radius, soft;
    Rgb colour, heart;
    int petals;
    float turn; // cosine and sine of the petals' rotation
    float turnSine;
};

// cos(n * angle) from the cosine of the angle (Chebyshev polynomials), avoiding atan2 per pixel.
float lobes(float cosine, int n) {
    float previous = 1.f, current = cosine;
    for (int i = 1; i < n; ++i) {
        const float next = 2.f * cosine * current - previous;
        previous = current;
        current = next;
    }
    return current;
}

void paintFlower(Canvas& c, const Flower& f) {
    const float reach = f.radius * 1.2f + f.soft;
    c.paintBox(f.x - reach, f.y - reach, f.x + reach, f.y + reach, [&](int x, int y, Rgb& px) {
        const float dx = float(x) + 0.5f - f.x,
                    dy = (float(y) + 0.5f - f.y) / 0.7f; // seen a little from above
        const float d = std::hypot(dx, dy);
        const float cosine = d > 0 ? (dx * f.turn - dy * f.turnSine) / d : 1.f;
        const float edge = f.radius * (0.86f + 0.14f * lobes(cosine, f.petals));
        const float cover = Clamp01((edge - d) / f.soft + 0.5f);
        if (cover <= 0)
            return;
        const float light = 1.1f - 0.35f * Clamp01(dy / f.radius + 0.5f) + 0.1f * (1 - d / f.radius);
        const Rgb petal =
            Mix(f.heart, f.colour, Smoothstep(0.18f * f.radius, 0.3f * f.radius + f.soft * 0.5f, d));
        px = Mix(px, petal * light, cover);
    });
}

// A stem from the ground up to a flower head, as soft as the head.
void paintStem(Canvas& c, float x, float top, float length, float width, float soft, float lean) {
    c.paintBox(x - width - soft - std::fabs(lean), top, x + width + soft + std::fabs(lean), top + length,
               [&](int px, int py, Rgb& pixel) {
                   const float t = (float(py) - top) / length;
                   const float centre = x + lean * t * t;
                   const float cover = Clamp01((width - std::fabs(float(px) + 0.5f - centre)) / soft + 0.5f);
                   pixel = Mix(pixel, Hex(0x4a7a2a) * (1.15f - 0.45f * t), cover * 0.9f);
               });
}

} // namespace

Canvas PaintFlowerField(QSize size) {
    const int w = size.width(), h = size.height();
    const float fw = float(w), fh = float(h);
    Canvas c(w, h);
    const int horizon = int(0.42f * fh);
    const Ramp sky{{0.f, Hex(0x5f95cf)}, {0.7f, Hex(0xa9c9e6)}, {1.f, Hex(0xe2ecef)}};
    PaintSky(c, sky, horizon);
    PaintCumulus(c, horizon, sky.at(1.f), 1.3f, -0.05f, 601);

    // Far trees and the meadow behind the plane of focus, painted sharp and then blurred together.
    Profile trees(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x)
        trees[std::size_t(x)] =
            float(horizon) - 0.06f * fh * (0.3f + 0.7f * (0.5f + 0.5f * Fbm(float(x) / fw * 9.f, 5, 603))) *
                                 (0.6f + 0.4f * Smoothstep(-0.2f, 0.4f, Fbm(float(x) / fw * 2.f, 2, 604)));
    FillBelow(c, trees, horizon + 4, [&](int x, int y) {
        const float leaves = Fbm(float(x) / 25.f, float(y) / 25.f, 3, 605);
        return Mix(Hex(0x4d6b58), Hex(0x89a58a), 0.5f + 0.5f * leaves);
    });
    const Ramp meadow{{0.f, Hex(0xa7b866)}, {0.25f, Hex(0x8aa84c)}, {1.f, Hex(0x4a7428)}};
    const Field grass = Field::painted(w, h, 2, [&](float x, float y) {
        const float t = (y - float(horizon)) / (fh - float(horizon));
        return t < -0.01f ? 0.f : Fbm(x / (8.f + 50.f * t), y / (3.f + 30.f * t), 3, 607);
    });
    c.paintRows(horizon, h, [&](int x, int y, Rgb) {
        const float t = (float(y) - float(horizon)) / (fh - float(horizon));
        const float tufts = grass.at(float(x), float(y));
        return meadow.at(t) * (1.f + 0.18f * tufts);
    });
    Random random(609);
    const Rgb reds[] = {Hex(0xd8322a), Hex(0xe0402a), Hex(0xc9262a), Hex(0xd23a30)};
    const auto flowerAt = [&](float v) {
        Flower f{};
        f.y = float(horizon) + v * (fh - float(horizon));
        f.radius = 1.2f + 40.f * std::pow(v, 1.7f);
        f.x = random.uniform(-f.radius, fw + f.radius);
        const float kind = random.uniform(0, 1);
        f.colour = kind < 0.86f ? reds[random.next() % 4] : kind < 0.94f ? Hex(0xf4f1e8) : Hex(0x5a62c8);
        f.colour = f.colour * random.uniform(0.8f, 1.1f);
        f.heart = kind < 0.86f ? Hex(0x2a1512) : Hex(0xe8b830);
        f.petals = kind < 0.86f ? 4 : 8;
        const float angle = random.uniform(0, 6.2832f);
        f.turn = std::cos(angle);
        f.turnSine = std::sin(angle);
        return f;
    };
    // Depths drawn so that flowers thin out towards the viewer as they do on the ground, sorted far
    // to near so that nearer ones cover farther ones.
    const auto depths = [&](int count, float from, float to) {
        std::vector<float> v(static_cast<std::size_t>(count));
        const float a = 0.12f, nearInverse = 1.f / (a + to), farInverse = 1.f / (a + from);
        for (float& d : v)
            d = 1.f / (farInverse - random.uniform(0, 1) * (farInverse - nearInverse)) - a;
        std::sort(v.begin(), v.end());
        return v;
    };
    // One population of depths, painted far to near in bands. After each band the view so far is
    // blurred, so that the farther a band, the more blur it collects, up to the plane of focus;
    // nearer than that, each flower carries its own blur.
    const std::vector<float> all = depths(4200, 0.f, 1.1f);
    constexpr float kFocus = 0.55f;
    const std::pair<float, float> bands[] = {
        {0.22f, 3.f}, {0.32f, 2.5f}, {0.4f, 2.f}, {0.47f, 1.5f}, {1.2f, 0.f}};
    auto next = all.begin();
    for (const auto& [end, blur] : bands) {
        for (; next != all.end() && *next < end; ++next) {
            const float v = *next;
            const float defocus = std::fabs(v - kFocus);
            const float soft = v < 0.47f ? 1.f : 1.f + 150.f * defocus * defocus;
            const float blade = 0.7f + 20.f * std::pow(v, 1.7f);
            for (int b = 0; b < 3; ++b) { // grass blades between the flowers
                const float x = random.uniform(0, fw);
                paintStem(c, x, float(horizon) + v * (fh - float(horizon)) - blade * 2.f,
                          blade * random.uniform(3.f, 7.f), std::max(0.8f, blade * 0.08f), soft,
                          random.uniform(-1.5f, 1.5f) * blade);
            }
            Flower f = flowerAt(v);
            f.soft = soft;
            if (v > 0.15f)
                paintStem(c, f.x, f.y, f.radius * 5.f, std::max(1.f, f.radius * 0.09f), f.soft,
                          random.uniform(-1, 1) * f.radius);
            paintFlower(c, f);
        }
        if (blur > 0)
            c.blur(blur, horizon - int(0.1f * fh), int(float(horizon) + end * (fh - float(horizon))) + 60);
    }
    // The afternoon sun, just out of the picture on the upper left, veiling that corner with light.
    c.glow(-0.05f * fw, -0.1f * fh, 0.35f * fw, Rgb{0.22f, 0.2f, 0.14f});
    return c;
}

Canvas PaintForestPath(QSize size) {
    const int w = size.width(), h = size.height();
    const float fw = float(w), fh = float(h);
    Canvas c(w, h);
    // Backlit forest: bright green-gold haze where the path disappears, darker towards the edges.
    const float vanishX = 0.52f * fw, vanishY = 0.5f * fh;
    const Rgb haze = Hex(0xe6e4b4);
    const auto background = [&](float x, float y) {
        const float d = std::hypot((x - vanishX) / fw, (y - vanishY) / fh);
        return Mix(haze, Hex(0x5f7a3c), Smoothstep(0.05f, 0.6f, d));
    };
    c.paint([&](int x, int y, Rgb) { return background(float(x), float(y)); });

    // The path: a band narrowing to the vanishing point, winding a little, grass fraying its edges.
    const auto pathCentre = [&](float t) {
        return vanishX + 0.1f * fw * std::sin(t * 2.6f - 0.4f) * t + 0.02f * fw * t;
    };
    const auto pathHalf = [&](float t) { return 0.004f * fw + 0.28f * fw * t * t; };
    const Field litter =
        Field::painted(w, h, 2, [&](float x, float y) { return Fbm(x / 14.f, y / 8.f, 4, 701); });
    // Leaf litter and patches of sun on the ground, both foreshortened with distance.
    const Field floor = Field::painted(w, h, 2, [&](float x, float y) {
        const float scale = 0.1f + (y - vanishY) / (fh - vanishY);
        return y < vanishY - 4.f ? 0.f : Fbm(x / (40.f * scale), y / (14.f * scale), 4, 703);
    });
    const Field sunlit = Field::painted(w, h, 4, [&](float x, float y) {
        const float scale = 0.1f + (y - vanishY) / (fh - vanishY);
        return y < vanishY - 8.f ? 0.f : Fbm(x / (90.f * scale), y / (25.f * scale), 3, 713);
    });
    c.paintRows(int(vanishY), h, [&](int x, int y, Rgb) {
        const float fx = float(x), fy = float(y);
        const float t = (fy - vanishY) / (fh - vanishY);
        const float scale = 0.1f + t;
        const float leaves = floor.at(fx, fy);
        Rgb ground = Mix(Hex(0x31401c), Hex(0x6b7a34), 0.5f + 0.5f * leaves);
        const float edge = std::fabs(fx - pathCentre(t)) - pathHalf(t) * (1.f + 0.15f * litter.at(fx, fy));
        const float onPath = Smoothstep(6.f * scale, -6.f * scale, edge);
        const Rgb earth = Mix(Hex(0x8a7450), Hex(0xc2a678), 0.5f + 0.5f * litter.at(fx * 0.7f, fy * 0.7f));
        ground = Mix(ground, earth, onPath);
        // Sunlight falling through gaps in the canopy.
        const float spots = Smoothstep(0.35f, 0.6f, sunlit.at(fx, fy));
        ground = ground * (0.75f + 0.55f * spots);
        // Far ground dissolves into the bright haze.
        return Mix(ground, background(fx, fy), 0.9f * std::pow(1 - t, 3.f));
    });

    // Trunks at five depths, none standing on the path: far ones thin and pale in the haze, near ones
    // dark, rough and rimmed with the light behind them.
    Random random(705);
    const auto paintTrunks = [&](float t, int count) {
        const float groundY = vanishY + t * (fh - vanishY);
        const float width = 4.f + 190.f * t * t + 40.f * t;
        for (int i = 0; i < count; ++i) {
            const float x = random.uniform(-0.05f, 1.05f) * fw;
            if (std::fabs(x - pathCentre(t)) < pathHalf(t) + width * 1.2f)
                continue;
            const float trunkWidth = width * random.uniform(0.6f, 1.3f);
            const float lean = random.uniform(-0.04f, 0.04f);
            const std::uint32_t seed = random.next();
            // Row by row, only across the trunk: most of the picture is not trunk.
            for (int py = 0; py < int(groundY) + 4; ++py) {
                const float centre = x + lean * (groundY - float(py));
                const float half =
                    trunkWidth * 0.5f * (1.f + 0.25f * Smoothstep(groundY - trunkWidth, groundY, float(py)));
                c.paintBox(centre - half - 1.f, float(py), centre + half + 1.f, float(py),
                           [&](int px, int, Rgb& pixel) {
                               const float n = (float(px) + 0.5f - centre) / half;
                               float cover = Clamp01((1.f - std::fabs(n)) * half + 0.5f);
                               if (float(py) > groundY - 0.1f * width - 2.f) {
                                   // Grass and litter hide the foot of the trunk unevenly.
                                   const float foot =
                                       groundY - float(py) +
                                       0.08f * width * Noise(float(px) / 3.f, float(seed % 97));
                                   cover *= Clamp01(foot);
                               }
                               if (cover <= 0)
                                   return;
                               const float bark = Noise(float(px) / (0.12f * half + 1.f),
                                                        float(py) / (1.5f * half + 4.f), seed);
                               Rgb wood = Hex(0x38332b) * (0.8f + 0.25f * bark);
                               wood = wood + Hex(0xe8d8a0) * (0.5f * Smoothstep(0.6f, 1.f, std::fabs(n)) *
                                                              (n * (centre - vanishX) < 0 ? 1.f : 0.3f));
                               pixel = Mix(pixel, Mix(wood, haze, 0.85f * std::pow(1 - t, 3.f)), cover);
                           });
            }
        }
    };
    for (const auto& [t, count] : {std::pair{0.02f, 40}, {0.05f, 30}, {0.12f, 16}, {0.25f, 9}})
        paintTrunks(t, count);

    // Shafts of sunlight slanting down through the canopy, from high above the far path.
    AddLightShafts(c, 0.62f * fw, -0.15f * fh, Rgb{0.23f, 0.21f, 0.14f}, 9.f, 0.3f * fh, 1.3f * fh, 707);
    for (const auto& [t, count] : {std::pair{0.45f, 5}, {0.8f, 4}})
        paintTrunks(t, count);

    // The canopy overhead: leaves in shade with bright gaps, thinning downwards.
    const Field foliage = Field::painted(
        w, h, 2, [&](float x, float y) { return y > 0.46f * fh ? 0.f : Fbm(x / 60.f, y / 45.f, 5, 709); });
    c.paintRows(0, int(0.45f * fh), [&](int x, int y, Rgb px) {
        const float fx = float(x), fy = float(y);
        const float reach =
            0.1f * fh + 0.2f * fh * Smoothstep(0.1f * fw, 0.45f * fw, std::fabs(fx - vanishX));
        const float density = foliage.at(fx, fy) + 0.6f * (1 - fy / reach);
        const float leaves = Smoothstep(0.2f, 0.5f, density + 0.05f * Noise(fx / 9.f, fy / 9.f, 711));
        Rgb green = Mix(Hex(0x17230f), Hex(0x55702a),
                        Clamp01(0.5f + 3.f * (foliage.at(fx - 4.f, fy - 4.f) - foliage.at(fx, fy))));
        green = Mix(green, haze,
                    0.35f * Smoothstep(0.35f * fw, 0.f, std::fabs(fx - vanishX))); // backlit leaves glow
        return Mix(px, green, leaves);
    });
    return c;
}

namespace {

// A bamboo leaf: a narrow blade from its stalk end at (x, y) along `angle`, lit from the upper left.
void paintLeaf(Canvas& c, float x, float y, float length, float angle, Rgb colour, float soft) {
    const float ux = std::cos(angle), uy = std::sin(angle);
    const float width = length * 0.13f;
    const float reach = length + soft;
    c.paintBox(std::min(x, x + ux * length) - reach * 0.2f, std::min(y, y + uy * length) - reach * 0.2f,
               std::max(x, x + ux * length) + reach * 0.2f, std::max(y, y + uy * length) + reach * 0.2f,
               [&](int px, int py, Rgb& pixel) {
                   const float dx = float(px) + 0.5f - x, dy = float(py) + 0.5f - y;
                   const float along = (dx * ux + dy * uy) / length, across = dx * uy - dy * ux;
                   if (along < -0.05f || along > 1.05f)
                       return;
                   // Widest a third of the way along, tapering to a point.
                   const float half = width * 0.5f * std::sin(3.1416f * std::pow(Clamp01(along), 0.7f));
                   const float cover = Clamp01((half - std::fabs(across)) / soft + 0.5f);
                   if (cover > 0)
                       pixel = Mix(pixel, colour * (across > 0 ? 1.f : 0.8f), cover);
               });
}

} // namespace

Canvas PaintBambooGrove(QSize size) {
    const int w = size.width(), h = size.height();
    const float fw = float(w), fh = float(h);
    Canvas c(w, h);
    // Bright, green-gold light filtering through the grove from above and behind.
    const Rgb haze = Hex(0xdfe6b0);
    c.paint([&](int x, int y, Rgb) {
        const float d = std::hypot((float(x) - 0.55f * fw) / fw, (float(y) - 0.35f * fh) / fh);
        return Mix(haze, Hex(0x6f8c42), Smoothstep(0.1f, 0.75f, d));
    });
    // The floor of the grove, strewn with dry leaves, fading into the bright air far off.
    const float groundY = 0.72f * fh;
    const Field litter = Field::painted(w, h, 2, [&](float x, float y) {
        const float t = (y - groundY) / (fh - groundY);
        return t < -0.01f ? 0.f : Fbm(x / (6.f + 50.f * t), y / (2.f + 16.f * t), 4, 901);
    });
    c.paintRows(int(groundY), h, [&](int x, int y, Rgb px) {
        const float fy = float(y), t = (fy - groundY) / (fh - groundY);
        const Rgb ground =
            Mix(Hex(0x4a4526), Hex(0x9c8a55), 0.5f + 0.5f * litter.at(float(x), fy)) * (1.f - 0.35f * t);
        return Mix(px, ground, Smoothstep(0.f, 0.5f, t) * 0.95f);
    });

    // Stalks at five depths, far to near. After each depth the picture so far is blurred a little, so
    // that far stalks soften in the air and the near ones stay crisp.
    Random random(903);
    const std::pair<float, int> layers[] = {{0.05f, 46}, {0.15f, 26}, {0.32f, 14}, {0.55f, 7}, {0.85f, 4}};
    for (const auto& [t, count] : layers) {
        const float width = 5.f + 110.f * t * t + 20.f * t;
        const float foot = groundY + (0.05f + t) * (fh - groundY) * 0.95f;
        const float airy = std::pow(1.f - t, 2.5f); // how much air lies between the viewer and this depth
        for (int i = 0; i < count; ++i) {
            const float x = random.uniform(-0.05f, 1.05f) * fw;
            const float lean = random.uniform(-0.05f, 0.05f);
            const float stalk = width * random.uniform(0.75f, 1.2f);
            const float nodeGap = stalk * random.uniform(5.f, 7.f), nodePhase = random.uniform(0, nodeGap);
            const Rgb green = Mix(Hex(0x6f9a34), Hex(0x8fae3e), random.uniform(0, 1));
            const float half = stalk * 0.5f;
            for (int py = 0; py < int(foot) + 1; ++py) { // row by row, only across the stalk
                const float fy = float(py);
                const float centre = x + lean * (foot - fy);
                c.paintBox(centre - half - 1.f, fy, centre + half + 1.f, fy, [&](int px, int, Rgb& pixel) {
                    const float n = (float(px) + 0.5f - centre) / half;
                    const float cover = Clamp01((1.f - std::fabs(n)) * half + 0.5f) * Clamp01(foot - fy);
                    if (cover <= 0)
                        return;
                    const float node = std::fmod(fy + nodePhase, nodeGap);
                    Rgb colour = green * (1.1f - 0.55f * Smoothstep(-0.7f, 1.f, n));
                    colour =
                        colour + Hex(0x3a3a20) * Smoothstep(0.55f, 0.95f, -n) * 0.6f; // sheen on the lit side
                    if (node < 0.05f * stalk + 1.f)
                        colour = colour * 1.25f; // the raised ring of a node
                    else if (node < 0.25f * stalk + 2.f)
                        colour = colour * 0.78f;                                   // and its shadow
                    colour = colour * (1.f + 0.05f * Noise(float(px) / 3.f, 905)); // fibres
                    pixel = Mix(pixel, Mix(colour, haze, 0.85f * airy), cover);
                });
            }
            // Sprays of leaves on twigs from the upper nodes.
            const int sprays = int(random.uniform(2.f, 5.f));
            for (int k = 0; k < sprays; ++k) {
                const float sy = random.uniform(-0.05f, 0.55f) * fh;
                const float sx = x + lean * (foot - sy);
                const float side = random.chance(0.5f) ? 1.f : -1.f;
                const float length = (18.f + 190.f * t) * random.uniform(0.7f, 1.2f);
                for (int leaf = 0; leaf < 7; ++leaf) {
                    const float angle = 1.5708f + side * random.uniform(0.2f, 1.2f);
                    const Rgb colour = Mix(Hex(0x4f7a26), Hex(0x9cbc4a), random.uniform(0, 1));
                    paintLeaf(c, sx + side * random.uniform(0.f, 1.2f) * length,
                              sy + random.uniform(-0.3f, 0.5f) * length, length * random.uniform(0.7f, 1.1f),
                              angle, Mix(colour, haze, 0.85f * airy), 1.f);
                }
            }
        }
        if (airy > 0.15f) // nearer stalks are in focus
            c.blur(1.f + 4.f * airy);
    }
    // Light slanting down through the leaves.
    AddLightShafts(c, 0.7f * fw, -0.1f * fh, Rgb{0.15f, 0.144f, 0.084f}, 10.f, 0.01f * fh, 1.1f * fh, 907);
    return c;
}

} // namespace lumiset::tools
