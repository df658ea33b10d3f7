#include "player/LottieValue.h"

#include <QLineF>
#include <cmath>

namespace lumiset::lottie {

namespace {

double CubicAt(double a, double b, double t) {
    // Bezier from 0 to 1 with inner control values a and b.
    const double u = 1 - t;
    return 3 * u * u * t * a + 3 * u * t * t * b + t * t * t;
}

double CubicSlope(double a, double b, double t) {
    const double u = 1 - t;
    return 3 * u * u * a + 6 * u * t * (b - a) + 3 * t * t * (1 - b);
}

QPointF Lerp(QPointF a, QPointF b, double t) {
    return a + (b - a) * t;
}

constexpr int kMotionSamples = 64;

} // namespace

double EasingCurve::progress(double x) const {
    if (x <= 0)
        return 0;
    if (x >= 1)
        return 1;
    // Control x values outside 0..1 would make the curve non-monotonic in time; Lottie clamps them.
    const double ax = std::clamp(out.x(), 0.0, 1.0);
    const double bx = std::clamp(in.x(), 0.0, 1.0);
    if (ax == out.y() && bx == in.y())
        return x; // linear
    // Newton steps from a good first guess, then bisection if the slope is too flat.
    double t = x;
    for (int i = 0; i < 8; ++i) {
        const double error = CubicAt(ax, bx, t) - x;
        if (std::abs(error) < 1e-7)
            return CubicAt(out.y(), in.y(), t);
        const double slope = CubicSlope(ax, bx, t);
        if (std::abs(slope) < 1e-6)
            break;
        t -= error / slope;
    }
    double lo = 0, hi = 1;
    t = x;
    for (int i = 0; i < 40; ++i) {
        const double value = CubicAt(ax, bx, t);
        if (std::abs(value - x) < 1e-7)
            break;
        (value < x ? lo : hi) = t;
        t = (lo + hi) / 2;
    }
    return CubicAt(out.y(), in.y(), t);
}

MotionPath::MotionPath(QPointF from, QPointF outTangent, QPointF inTangent, QPointF to)
    : p0_(from), p1_(from + outTangent), p2_(to + inTangent), p3_(to) {
    lengths_.reserve(kMotionSamples + 1);
    lengths_.push_back(0);
    QPointF previous = p0_;
    for (int i = 1; i <= kMotionSamples; ++i) {
        const QPointF point = bezierAt(double(i) / kMotionSamples);
        lengths_.push_back(lengths_.back() + QLineF(previous, point).length());
        previous = point;
    }
}

QPointF MotionPath::bezierAt(double t) const {
    const double u = 1 - t;
    return p0_ * (u * u * u) + p1_ * (3 * u * u * t) + p2_ * (3 * u * t * t) + p3_ * (t * t * t);
}

QPointF MotionPath::pointAt(double fraction) const {
    const double total = lengths_.back();
    if (total <= 0)
        return Lerp(p0_, p3_, fraction);
    // Like other Lottie players, overshooting easings stop at the ends of a curved path.
    if (fraction <= 0)
        return p0_;
    if (fraction >= 1)
        return p3_;
    const double wanted = fraction * total;
    const auto after = std::lower_bound(lengths_.begin(), lengths_.end(), wanted);
    const size_t i = std::max<size_t>(1, size_t(after - lengths_.begin()));
    const double segment = lengths_[i] - lengths_[i - 1];
    const double local = segment > 0 ? (wanted - lengths_[i - 1]) / segment : 0;
    return bezierAt((double(i - 1) + local) / kMotionSamples);
}

Vec Interpolate(const Keyframe<Vec>& key, double fraction) {
    if (key.motion) {
        const double progress = key.easing.empty() ? fraction : key.easing.front().progress(fraction);
        const QPointF point = key.motion->pointAt(progress);
        Vec result = key.start;
        result.resize(std::max<size_t>(result.size(), 2));
        result[0] = point.x();
        result[1] = point.y();
        return result;
    }
    Vec result(std::max(key.start.size(), key.end.size()));
    for (size_t i = 0; i < result.size(); ++i) {
        const EasingCurve* curve =
            key.easing.empty() ? nullptr : &key.easing[std::min(i, key.easing.size() - 1)];
        const double progress = curve ? curve->progress(fraction) : fraction;
        const double a = Component(key.start, i);
        const double b = i < key.end.size() ? key.end[i] : a;
        result[i] = a + (b - a) * progress;
    }
    return result;
}

BezierShape Interpolate(const Keyframe<BezierShape>& key, double fraction) {
    const double progress = key.easing.empty() ? fraction : key.easing.front().progress(fraction);
    const BezierShape& a = key.start;
    const BezierShape& b = key.end;
    if (a.vertices.size() != b.vertices.size())
        return progress < 1 ? a : b; // shapes with different vertex counts cannot morph
    BezierShape result = a;
    for (size_t i = 0; i < a.vertices.size(); ++i) {
        result.vertices[i] = Lerp(a.vertices[i], b.vertices[i], progress);
        result.inTangents[i] = Lerp(a.inTangents[i], b.inTangents[i], progress);
        result.outTangents[i] = Lerp(a.outTangents[i], b.outTangents[i], progress);
    }
    return result;
}

} // namespace lumiset::lottie
