// Animated values of a Lottie movie: a constant or a list of keyframes (hold, linear or cubic-bezier
// easing, optional per-dimension easing, and spatial tangents for motion along a curved path).
#pragma once

#include <QPointF>
#include <algorithm>
#include <optional>
#include <vector>

namespace lumiset::lottie {

using Vec = std::vector<double>;

// A bezier path as Lottie stores it: vertices with in and out tangents relative to each vertex.
struct BezierShape {
    bool closed = false;
    std::vector<QPointF> vertices;
    std::vector<QPointF> inTangents;
    std::vector<QPointF> outTangents;
    bool operator==(const BezierShape&) const = default;
};

// The timing curve of one keyframe segment: a cubic bezier from (0,0) to (1,1).
struct EasingCurve {
    QPointF out{0, 0}; // first control point (the keyframe's "o")
    QPointF in{1, 1};  // second control point (the next keyframe's "i")
    // Progress (0..1, may overshoot) at time fraction `x` (0..1).
    double progress(double x) const;
};

// A curved motion path between two positions, measured by arc length so motion keeps its timing.
class MotionPath {
public:
    MotionPath(QPointF from, QPointF outTangent, QPointF inTangent, QPointF to);
    QPointF pointAt(double fraction) const;

private:
    QPointF bezierAt(double t) const;

    QPointF p0_, p1_, p2_, p3_;
    std::vector<double> lengths_; // cumulative length at evenly spaced curve parameters
};

template <typename T> struct Keyframe {
    double time = 0;
    T start{};
    T end{};
    bool hold = false;
    std::vector<EasingCurve> easing; // one per dimension, or one for all
    std::optional<MotionPath> motion;
};

Vec Interpolate(const Keyframe<Vec>& key, double fraction);
BezierShape Interpolate(const Keyframe<BezierShape>& key, double fraction);

template <typename T> class Animated {
public:
    Animated() = default;
    explicit Animated(T constant) : constant_(std::move(constant)) {}
    explicit Animated(std::vector<Keyframe<T>> keys) : keys_(std::move(keys)) {}

    bool isAnimated() const { return !keys_.empty(); }

    // Calls `changes(from, to)` for each stretch of time in which the value changes: between two
    // keyframes (ends excluded), or at a keyframe that a held value jumps to (from == to).
    template <typename F> void forEachChange(F&& changes) const {
        for (size_t k = 0; k + 1 < keys_.size(); ++k) {
            const Keyframe<T>& key = keys_[k];
            const double next = keys_[k + 1].time;
            if (key.hold) {
                if (!(keys_[k + 1].start == key.start))
                    changes(next, next);
            } else if (!(key.start == key.end) || key.motion) {
                changes(key.time, next);
            }
        }
    }

    // @pre keyframes are sorted by time and each key's end equals the next key's start.
    T at(double frame) const {
        if (keys_.empty())
            return constant_;
        if (frame <= keys_.front().time)
            return keys_.front().start;
        const auto after = std::upper_bound(keys_.begin(), keys_.end(), frame,
                                            [](double f, const Keyframe<T>& key) { return f < key.time; });
        const size_t k = size_t(after - keys_.begin()) - 1;
        const Keyframe<T>& key = keys_[k];
        if (k + 1 == keys_.size())
            return key.start;
        if (key.hold)
            return key.start;
        const double span = keys_[k + 1].time - key.time;
        return Interpolate(key, span > 0 ? (frame - key.time) / span : 1.0);
    }

private:
    T constant_{};
    std::vector<Keyframe<T>> keys_;
};

using AnimatedVec = Animated<Vec>;
using AnimatedShape = Animated<BezierShape>;

// Convenience readers: component `i` of a value, 0 when the value is shorter.
inline double Component(const Vec& v, size_t i) {
    return i < v.size() ? v[i] : 0.0;
}
inline QPointF PointOf(const Vec& v) {
    return {Component(v, 0), Component(v, 1)};
}

} // namespace lumiset::lottie
