// Float pictures for the sample photos. Scenes are painted in 0..1 floats, so that glows add up and
// blurs stay smooth; they become 8-bit pixels only at the end, with film grain that also dithers away
// the banding a smooth sky would otherwise show.
#pragma once

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace lumiset::tools {

struct Rgb {
    float r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Rgb operator-(Rgb a, Rgb b) {
    return {a.r - b.r, a.g - b.g, a.b - b.b};
}
inline Rgb operator*(Rgb a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}
inline Rgb operator*(Rgb a, Rgb b) {
    return {a.r * b.r, a.g * b.g, a.b * b.b};
}
inline float Mix(float a, float b, float t) {
    return a + (b - a) * t;
}
inline Rgb Mix(Rgb a, Rgb b, float t) {
    return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)};
}
inline float Clamp01(float v) {
    return std::clamp(v, 0.f, 1.f);
}
inline float Smoothstep(float edge0, float edge1, float x) {
    const float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}
inline float Luma(Rgb c) {
    return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
}
// A colour written as 0xRRGGBB.
constexpr Rgb Hex(std::uint32_t rgb) {
    return {((rgb >> 16) & 0xFF) / 255.f, ((rgb >> 8) & 0xFF) / 255.f, (rgb & 0xFF) / 255.f};
}

// Colours along 0..1, blended smoothly between stops given in rising order.
class Ramp {
public:
    Ramp(std::initializer_list<std::pair<float, Rgb>> stops) : stops_(stops) {}
    Rgb at(float t) const;

private:
    std::vector<std::pair<float, Rgb>> stops_;
};

// One value per column: the top edge of a ridge, a skyline or a tree line, in pixels from the top.
using Profile = std::vector<float>;

// How much of pixel row `y` lies below the edge `top` (antialiased over one pixel).
inline float Below(float y, float top) {
    return Clamp01(y - top + 0.5f);
}

// A scalar field painted coarsely and read smoothly: for noise whose finest detail is much larger
// than a pixel (clouds, haze, foliage masses), which would cost too much to evaluate for every pixel.
class Field {
public:
    // Evaluates f(x, y) in full-size pixel coordinates every `step` pixels over width x height.
    template <class F> static Field painted(int width, int height, int step, F f) {
        Field field(width / step + 2, height / step + 2, step);
        for (int j = 0; j < field.rows_; ++j)
            for (int i = 0; i < field.columns_; ++i)
                field.values_[std::size_t(j) * field.columns_ + i] = f(float(i * step), float(j * step));
        return field;
    }
    float at(float x, float y) const {
        const float fx = std::clamp(x / float(step_), 0.f, float(columns_ - 1) - 0.001f);
        const float fy = std::clamp(y / float(step_), 0.f, float(rows_ - 1) - 0.001f);
        const int i = int(fx), j = int(fy);
        const float u = fx - float(i), v = fy - float(j);
        const float* row = &values_[std::size_t(j) * columns_ + i];
        const float top = row[0] + (row[1] - row[0]) * u;
        const float bottom = row[columns_] + (row[columns_ + 1] - row[columns_]) * u;
        return top + (bottom - top) * v;
    }

private:
    Field(int columns, int rows, int step)
        : columns_(columns), rows_(rows), step_(step), values_(std::size_t(columns) * rows) {}
    int columns_, rows_, step_;
    std::vector<float> values_;
};

// What turns a finished scene into a photograph's pixels.
struct Finish {
    float grain = 0.012f;   // standard deviation of the luminance grain
    float vignette = 0.18f; // how much the corners darken
    std::uint32_t seed = 1;
};

class Canvas {
public:
    Canvas(int width, int height, Rgb fill = {});
    int width() const { return width_; }
    int height() const { return height_; }
    Rgb& at(int x, int y) { return pixels_[std::size_t(y) * width_ + x]; }
    const Rgb& at(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }
    // Bilinear, with coordinates clamped to the picture.
    Rgb sample(float x, float y) const;

    // Sets every pixel of rows [top, bottom) to f(x, y, old colour).
    template <class F> void paintRows(int top, int bottom, F f) {
        top = std::max(top, 0);
        bottom = std::min(bottom, height_);
        for (int y = top; y < bottom; ++y) {
            Rgb* row = &pixels_[std::size_t(y) * width_];
            for (int x = 0; x < width_; ++x)
                row[x] = f(x, y, row[x]);
        }
    }
    template <class F> void paint(F f) { paintRows(0, height_, f); }
    // Calls f(x, y, pixel) for the pixels of a rectangle, clipped to the picture; for shapes.
    template <class F> void paintBox(float left, float top, float right, float bottom, F f) {
        const int x0 = std::max(0, int(left)), x1 = std::min(width_, int(right) + 1);
        const int y0 = std::max(0, int(top)), y1 = std::min(height_, int(bottom) + 1);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                f(x, y, at(x, y));
    }
    // A disc whose edge fades over `soft` pixels: a sharp dot at 1, an out-of-focus one when wide.
    void disc(float cx, float cy, float radius, Rgb colour, float opacity, float soft = 1.f);
    // A light that adds `colour` fading with the square of the distance over `radius`.
    void glow(float cx, float cy, float radius, Rgb colour);

    // Approximately Gaussian blur of the given radius (three box passes), of rows [top, bottom) only
    // (all rows when bottom is -1); the band's edges are extended.
    void blur(float radius, int top = 0, int bottom = -1);
    // Blurs only along the columns, rows [top, bottom) (all when bottom is -1): water streaks.
    void blurVertically(float radius, int top = 0, int bottom = -1);

    QImage toImage(const Finish& finish) const;

private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

} // namespace lumiset::tools
