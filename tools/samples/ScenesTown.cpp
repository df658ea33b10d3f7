// Scenes with buildings: a city skyline at dusk across a river, a pagoda above valleys of morning mist.
#include "tools/samples/Noise.h"
#include "tools/samples/SceneTools.h"
#include "tools/samples/Scenes.h"

#include <cmath>
#include <vector>

namespace lumiset::tools {
namespace {

struct Building {
    float left, right, top;
    bool spire, stepped, bands; // a mast with a warning light; a narrower top storey; ribbon windows
    float litShare;             // the share of windows lit
    std::uint32_t seed;
};

std::vector<Building> skyline(Random& random, float width, float ground, float low, float high, float wide,
                              float towerChance, float towerHeight) {
    std::vector<Building> row;
    for (float x = -0.02f * width; x < width;) {
        Building b{};
        const float span = random.uniform(0.5f, 1.f) * wide * width;
        b.left = x;
        b.right = x + span;
        const bool tower = random.chance(towerChance);
        b.top = ground - (tower ? towerHeight * random.uniform(0.85f, 1.15f) : random.uniform(low, high));
        b.spire = tower && random.chance(0.6f);
        b.stepped = random.chance(0.35f);
        b.bands = random.chance(0.3f);
        b.litShare = random.uniform(0.12f, 0.55f);
        b.seed = random.next();
        row.push_back(b);
        x += span * random.uniform(0.55f, 1.05f); // neighbours overlap: some stand behind others
    }
    return row;
}

// A building face at dusk: dark, its glass reflecting a little of the sky, windows lit warm or cool.
void paintBuilding(Canvas& c, const Building& b, float ground, float haze, Rgb hazeColour, const Ramp& sky,
                   float skyBottom) {
    const float width = b.right - b.left;
    const float stepTop = b.top + (b.stepped ? 0.12f * (ground - b.top) : 0.f);
    const float cellW = 9.f + float(b.seed % 5), cellH = 13.f + float((b.seed >> 4) % 4);
    c.paintBox(
        b.left, b.top - (b.spire ? 0.08f * (ground - b.top) : 0.f), b.right, ground,
        [&](int x, int y, Rgb& px) {
            const float fx = float(x) + 0.5f, fy = float(y) + 0.5f;
            const float inset = fy < stepTop ? 0.2f * width : 0.f;
            if (fy < b.top) { // the mast
                if (std::fabs(fx - (b.left + b.right) / 2) < 1.5f)
                    px = Mix(Hex(0x141623), hazeColour, haze);
                return;
            }
            const float cover = Clamp01(std::min(fx - b.left - inset, b.right - inset - fx) + 0.5f);
            if (cover <= 0)
                return;
            Rgb wall = Mix(Hex(0x131725), sky.at(Clamp01(fy / skyBottom)) * 0.3f, 0.35f);
            wall = wall + Hex(0x2a2030) *
                              Smoothstep(4.f, 0.f, fx - b.left - inset); // the edge towards the afterglow
            const auto col = static_cast<std::int32_t>((fx - b.left - inset) / cellW);
            const auto row = static_cast<std::int32_t>((fy - b.top) / cellH);
            const float inX = std::fmod(fx - b.left - inset, cellW), inY = std::fmod(fy - b.top, cellH);
            const bool glass = b.bands ? (inY > 3.f && inY < cellH - 4.f)
                                       : (inX > 2.5f && inX < cellW - 2.5f && inY > 3.f && inY < cellH - 3.f);
            Rgb colour = wall;
            if (glass && fy > b.top + 6.f && fx > b.left + inset + 3.f && fx < b.right - inset - 3.f) {
                const std::uint32_t hash = Hash(col / (b.bands ? 4 : 1), row, b.seed);
                // Offices go dark floor by floor and wing by wing, not window by window.
                const float occupied = b.litShare + 0.35f * Noise(float(col) / 3.f, float(row) / 2.f, b.seed);
                const bool lit = float(hash & 0xFFFF) / 65535.f < occupied;
                const float tone = float((hash >> 16) & 0xFF) / 255.f;
                const Rgb warm = Mix(Hex(0xffc870), Hex(0xfff0d0), tone), cool = Hex(0xcfe2ff);
                colour = lit ? ((hash >> 24) % 7 == 0 ? cool : warm) * (0.65f + 0.35f * tone) : wall * 1.35f;
            }
            px = Mix(px, Mix(colour, hazeColour, haze), cover);
        });
    if (b.spire)
        c.glow((b.left + b.right) / 2, b.top - 0.08f * (ground - b.top), 3.f, Rgb{0.9f, 0.15f, 0.1f});
}

} // namespace

Canvas PaintCityDusk(QSize size) {
    const int w = size.width(), h = size.height();
    const float fw = float(w), fh = float(h);
    Canvas c(w, h);
    const int waterline = int(0.72f * fh);
    const Ramp sky{{0.f, Hex(0x0c1433)},
                   {0.35f, Hex(0x26305c)},
                   {0.7f, Hex(0x7a5a84)},
                   {0.88f, Hex(0xdc8a5e)},
                   {1.f, Hex(0xf2b07a)}};
    PaintSky(c, sky, waterline);
    const Field streaks = Field::painted(
        w, waterline, 4, [&](float x, float y) { return 0.5f + 0.5f * Fbm(x / 800.f, y / 30.f, 5, 1001); });
    c.paintRows(0, waterline, [&](int x, int y, Rgb px) {
        const float v = float(y) / float(waterline);
        const float d = Smoothstep(0.55f, 0.75f, streaks.at(float(x), float(y))) * Smoothstep(0.3f, 0.6f, v);
        return Mix(px, Mix(Hex(0x3a2a48), Hex(0xe88a6a), Smoothstep(0.5f, 0.9f, v)), 0.7f * d);
    });

    Random random(1003);
    const float ground = float(waterline) - 0.012f * fh;
    for (const Building& b : skyline(random, fw, ground, 0.05f * fh, 0.15f * fh, 0.05f, 0.1f, 0.24f * fh))
        paintBuilding(c, b, ground, 0.55f, Hex(0x7a5e80), sky, float(waterline));
    for (const Building& b : skyline(random, fw, ground, 0.08f * fh, 0.3f * fh, 0.085f, 0.18f, 0.48f * fh))
        paintBuilding(c, b, ground, 0.f, Hex(0x000000), sky, float(waterline));
    // The embankment with its row of lamps.
    c.paintRows(int(ground), waterline, [&](int, int, Rgb) { return Hex(0x0d0f18); });
    for (float x = 0.01f * fw; x < fw; x += 0.045f * fw) {
        c.disc(x, ground - 0.012f * fh, 3.f, Hex(0xffe0a0), 1.f, 1.5f);
        c.glow(x, ground - 0.012f * fh, 12.f, Rgb{0.45f, 0.32f, 0.14f});
    }

    // The river: the lights drawn out into long wavering streaks.
    const Waves waves(w, h, waterline, 180.f, 1005);
    WaterLook water;
    water.tint = Rgb{0.85f, 0.85f, 0.95f};
    water.darken = 0.7f;
    water.ripple = 10.f;
    water.tallness = 3.f;
    ReflectBelow(c, waterline, waves, water);
    c.blurVertically(6.f, waterline + 2, h);
    c.paintRows(waterline, h, [&](int x, int y, Rgb px) { return px * (0.85f + 0.35f * waves.at(x, y)); });
    return c;
}

namespace {

// A seven-storey pagoda standing at `cx` on `base`, `height` tall with its finial, seen through `haze`.
void paintPagoda(Canvas& c, float cx, float base, float height, float haze, Rgb hazeColour) {
    constexpr int kStoreys = 7;
    float unit = 0;
    for (int i = 0; i < kStoreys; ++i)
        unit += 1.f - 0.06f * float(i);
    unit = 0.86f * height / unit;
    float y = base;
    for (int i = 0; i < kStoreys; ++i) {
        const float storey = unit * (1.f - 0.06f * float(i));
        const float body = 0.58f * storey, roof = storey - body;
        const float bodyHalf = 0.17f * height * (1.f - 0.075f * float(i)), roofHalf = bodyHalf * 1.65f;
        const float eaves = y - body;
        c.paintBox(cx - roofHalf, eaves - roof - 2.f, cx + roofHalf, y, [&](int x, int py, Rgb& px) {
            const float fx = float(x) + 0.5f, fy = float(py) + 0.5f;
            const float dx = std::fabs(fx - cx);
            Rgb colour;
            float cover = 0;
            if (fy >= eaves && dx < bodyHalf) { // the walls, a dark doorway in each face
                cover = Clamp01(bodyHalf - dx + 0.5f);
                const float across = (fx - cx) / bodyHalf;
                colour = Hex(0xa4553c) * (1.05f - 0.4f * Smoothstep(-1.f, 1.f, across));
                if (dx < 0.22f * bodyHalf && fy > eaves + 0.25f * body)
                    colour = Hex(0x2a1c18);
                if (fy < eaves + 0.12f * body)
                    colour = colour * 0.55f;                // shadow under the eaves
            } else if (fy < eaves + 1.f && dx < roofHalf) { // the roof, its eaves sweeping up at the corners
                const float t = dx / roofHalf;
                const float bottom = eaves - roof * 0.6f * std::pow(t, 4.f);
                const float top =
                    std::min(eaves - roof + roof * 0.85f * Smoothstep(0.3f, 1.f, t), bottom - roof * 0.14f);
                cover =
                    Clamp01(fy - top + 0.5f) * Clamp01(bottom - fy + 0.5f) * Clamp01((roofHalf - dx) + 0.5f);
                colour = Mix(Hex(0x3a403c), Hex(0x1d201f), Smoothstep(top, bottom, fy));
                colour = colour * (fx < cx ? 1.1f : 0.8f);
            }
            if (cover > 0)
                px = Mix(px, Mix(colour, hazeColour, haze), cover);
        });
        y -= storey;
    }
    // The finial: a mast with rings, ending in a point.
    const float spire = 0.14f * height;
    c.paintBox(cx - 8.f, y - spire, cx + 8.f, y + 2.f, [&](int x, int py, Rgb& px) {
        const float t = (y - float(py)) / spire;
        const float half = 1.5f + (std::fmod(t * 6.f, 1.f) < 0.3f && t < 0.7f ? 5.f * (1.f - t) : 0.f);
        const float cover = Clamp01(half - std::fabs(float(x) + 0.5f - cx) + 0.5f);
        px = Mix(px, Mix(Hex(0x2a2622), hazeColour, haze), cover);
    });
}

} // namespace

Canvas PaintPagoda(QSize size) {
    const int w = size.width(), h = size.height();
    const float fw = float(w), fh = float(h);
    Canvas c(w, h);
    const Ramp sky{{0.f, Hex(0x8ea8c4)}, {0.5f, Hex(0xd6c8ba)}, {1.f, Hex(0xf3d6b0)}};
    PaintSky(c, sky, h);
    const float sunX = 0.7f * fw, sunY = 0.4f * fh;
    c.glow(sunX, sunY, 0.25f * fw, Rgb{0.25f, 0.18f, 0.08f});
    c.disc(sunX, sunY, 0.035f * fw, Hex(0xfff0d8), 0.9f, 4.f);

    // Ridge after ridge, each rising out of the mist that fills the valley before it.
    const Rgb mist = Hex(0xe8dccb);
    struct Ridge {
        float base, height, features, haze;
        Rgb colour;
    };
    const Ridge ridges[] = {{0.5f, 0.1f, 2.5f, 0.75f, Hex(0x7d8aa0)},
                            {0.58f, 0.12f, 3.f, 0.6f, Hex(0x5d6d84)},
                            {0.68f, 0.14f, 2.2f, 0.42f, Hex(0x3f5066)},
                            {0.8f, 0.16f, 1.8f, 0.22f, Hex(0x2c3a3a)},
                            {0.95f, 0.12f, 2.4f, 0.05f, Hex(0x1c2622)}};
    std::uint32_t seed = 1101;
    const Field texture =
        Field::painted(w, h, 3, [&](float x, float y) { return Fbm(x / 40.f, y / 40.f, 4, 1103); });
    for (int i = 0; i < 5; ++i) {
        const Ridge& r = ridges[i];
        Profile top = HillProfile(w, r.base * fh, r.height * fh, r.features, seed++, false);
        if (i == 3) { // the pagoda's hill: a rounded summit left of the middle
            for (int x = 0; x < w; ++x) {
                const float d = (float(x) - 0.36f * fw) / (0.22f * fw);
                top[std::size_t(x)] =
                    std::min(top[std::size_t(x)], r.base * fh - r.height * fh * 1.2f * std::exp(-d * d));
            }
        }
        // Trees on the nearer ridges roughen their outline; the mist still lies along the ground.
        const Profile outline =
            i >= 3 ? ConiferProfile(top, 0.012f * fh * float(i - 1), 0.006f * fw, seed++) : top;
        FillBelow(c, outline, h, [&](int x, int y) {
            const float fy = float(y);
            const Rgb ground = r.colour * (1.f + 0.15f * texture.at(float(x), fy) * (1.f - r.haze));
            const float fade = Smoothstep(0.f, 0.12f * fh, fy - top[std::size_t(x)]);
            return Mix(Mix(ground, mist, r.haze), mist, 0.85f * fade * (i < 4 ? 1.f : 0.4f));
        });
        if (i == 3) {
            const float baseY = r.base * fh - r.height * fh * 1.2f + 0.01f * fh;
            paintPagoda(c, 0.36f * fw, baseY, 0.25f * fh, 0.28f, mist);
        }
    }
    // Birds crossing the morning sky.
    Random random(1105);
    for (int i = 0; i < 6; ++i) {
        const float bx = random.uniform(0.45f, 0.9f) * fw, by = random.uniform(0.15f, 0.3f) * fh,
                    span = random.uniform(10.f, 18.f);
        c.paintBox(bx - span, by - span, bx + span, by + span, [&](int x, int y, Rgb& px) {
            const float dx = (float(x) - bx) / span, dy = float(y) - by;
            const float wing =
                -0.5f * span * std::fabs(dx) * (1.f - std::fabs(dx)) * 1.6f + 0.1f * span * dx * dx;
            const float cover = Clamp01(1.6f - std::fabs(dy - wing)) * Clamp01((1.f - std::fabs(dx)) * span);
            px = Mix(px, Hex(0x2a2a30), cover * 0.9f);
        });
    }
    return c;
}

} // namespace lumiset::tools
