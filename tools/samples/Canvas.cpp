#include "tools/samples/Canvas.h"

#include "tools/samples/Noise.h"

#include <cmath>

namespace lumiset::tools {
namespace {

// One horizontal box pass of `radius` over a row, edges repeated.
void rowPass(Rgb* row, int count, int radius, std::vector<Rgb>& scratch) {
    scratch.assign(row, row + count);
    const float scale = 1.f / float(2 * radius + 1);
    Rgb sum{};
    for (int i = -radius - 1; i < radius; ++i)
        sum = sum + scratch[std::size_t(std::clamp(i, 0, count - 1))];
    for (int i = 0; i < count; ++i) {
        sum = sum + scratch[std::size_t(std::min(i + radius, count - 1))] -
              scratch[std::size_t(std::max(i - radius - 1, 0))];
        row[i] = sum * scale;
    }
}

// One vertical box pass, run a whole row at a time so that memory is read in order.
void columnPass(Rgb* pixels, int width, int height, int radius, std::vector<Rgb>& scratch) {
    scratch.assign(pixels, pixels + std::size_t(width) * height);
    const float scale = 1.f / float(2 * radius + 1);
    std::vector<Rgb> sums(std::size_t(width), Rgb{});
    const auto row = [&](int y) { return &scratch[std::size_t(std::clamp(y, 0, height - 1)) * width]; };
    for (int y = -radius - 1; y < radius; ++y) {
        const Rgb* r = row(y);
        for (int x = 0; x < width; ++x)
            sums[std::size_t(x)] = sums[std::size_t(x)] + r[x];
    }
    for (int y = 0; y < height; ++y) {
        const Rgb* entering = row(y + radius);
        const Rgb* leaving = row(y - radius - 1);
        Rgb* out = &pixels[std::size_t(y) * width];
        for (int x = 0; x < width; ++x) {
            Rgb& sum = sums[std::size_t(x)];
            sum = sum + entering[x] - leaving[x];
            out[x] = sum * scale;
        }
    }
}

// The radius of each of three box passes that together approach a Gaussian of deviation `sigma`.
int boxRadius(float sigma) {
    const float width = std::sqrt(4 * sigma * sigma + 1);
    return std::max(1, int(std::lround((width - 1) / 2)));
}

} // namespace

Rgb Ramp::at(float t) const {
    if (t <= stops_.front().first)
        return stops_.front().second;
    for (std::size_t i = 1; i < stops_.size(); ++i) {
        if (t <= stops_[i].first) {
            const auto& [t0, c0] = stops_[i - 1];
            const auto& [t1, c1] = stops_[i];
            return Mix(c0, c1, Smoothstep(t0, t1, t));
        }
    }
    return stops_.back().second;
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(std::size_t(width) * height, fill) {}

Rgb Canvas::sample(float x, float y) const {
    const float fx = std::clamp(x, 0.f, float(width_ - 1) - 0.001f);
    const float fy = std::clamp(y, 0.f, float(height_ - 1) - 0.001f);
    const int i = int(fx), j = int(fy);
    const float u = fx - float(i), v = fy - float(j);
    return Mix(Mix(at(i, j), at(i + 1, j), u), Mix(at(i, j + 1), at(i + 1, j + 1), u), v);
}

void Canvas::disc(float cx, float cy, float radius, Rgb colour, float opacity, float soft) {
    const float reach = radius + soft;
    paintBox(cx - reach, cy - reach, cx + reach, cy + reach, [&](int x, int y, Rgb& pixel) {
        const float d = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy);
        const float cover = Clamp01((radius - d) / soft + 0.5f) * opacity;
        if (cover > 0)
            pixel = Mix(pixel, colour, cover);
    });
}

void Canvas::glow(float cx, float cy, float radius, Rgb colour) {
    const float reach = radius * 4;
    paintBox(cx - reach, cy - reach, cx + reach, cy + reach, [&](int x, int y, Rgb& pixel) {
        const float dx = (float(x) - cx) / radius, dy = (float(y) - cy) / radius;
        const float falloff = 1.f / (1.f + dx * dx + dy * dy) - 1.f / 17.f;
        if (falloff > 0)
            pixel = pixel + colour * falloff;
    });
}

void Canvas::blur(float radius, int top, int bottom) {
    top = std::clamp(top, 0, height_);
    bottom = bottom < 0 ? height_ : std::clamp(bottom, top, height_);
    std::vector<Rgb> scratch;
    const int r = boxRadius(radius);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = top; y < bottom; ++y)
            rowPass(&pixels_[std::size_t(y) * width_], width_, r, scratch);
    }
    blurVertically(radius, top, bottom);
}

void Canvas::blurVertically(float radius, int top, int bottom) {
    top = std::clamp(top, 0, height_);
    bottom = bottom < 0 ? height_ : std::clamp(bottom, top, height_);
    std::vector<Rgb> scratch;
    const int r = boxRadius(radius);
    for (int pass = 0; pass < 3; ++pass)
        columnPass(&pixels_[std::size_t(top) * width_], width_, bottom - top, r, scratch);
}

QImage Canvas::toImage(const Finish& finish) const {
    QImage image(width_, height_, QImage::Format_RGB32);
    const float cx = width_ / 2.f, cy = height_ / 2.f;
    const float corner = cx * cx + cy * cy;
    for (int y = 0; y < height_; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width_; ++x) {
            const float dx = float(x) - cx, dy = float(y) - cy;
            const float t = (dx * dx + dy * dy) / corner;
            const float shade = 1 - finish.vignette * t * (0.5f + 0.5f * t); // about t^1.5, without a root
            const std::uint32_t h = Hash(x, y, finish.seed);
            // Triangular noise from two bytes for the grain, a third byte for a little colour noise;
            // grain is strongest in the mid-tones, as on film and sensors.
            const float n = (float(h & 0xFF) + float((h >> 8) & 0xFF) - 255.f) / 255.f;
            const float chroma = (float((h >> 16) & 0xFF) - 127.5f) / 127.5f;
            const Rgb c = at(x, y) * shade;
            const float l = Luma(c);
            const float g = finish.grain * 1.7f * n * (0.4f + 2.4f * l * (1 - l));
            const auto byte = [](float v) { return int(std::clamp(v, 0.f, 1.f) * 255.f + 0.5f); };
            line[x] = qRgb(byte(c.r + g + 0.3f * finish.grain * chroma), byte(c.g + g),
                           byte(c.b + g - 0.3f * finish.grain * chroma));
        }
    }
    return image;
}

} // namespace lumiset::tools
