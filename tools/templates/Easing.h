// Keyframe easing as Lottie stores it: every segment between two keys is a cubic bezier from (0, 0)
// to (1, 1) through the out tangent of its first key and the in tangent of its second.
#pragma once

#include <QString>

namespace lumiset::templates {

struct Ease {
    double outX = 0.0;
    double outY = 0.0;
    double inX = 1.0;
    double inY = 1.0;
    bool hold = false;

    static Ease linear() { return {}; }
    // Starts and ends at rest: the default for moves that begin and end still.
    static Ease smooth() { return {0.42, 0.0, 0.58, 1.0, false}; }
    // Arrives gently: entrances.
    static Ease decelerate() { return {0.22, 0.61, 0.36, 1.0, false}; }
    // Leaves gently, ends fast: exits.
    static Ease accelerate() { return {0.55, 0.06, 0.68, 0.19, false}; }
    // Runs a little past the target and settles back: playful entrances.
    static Ease overshoot() { return {0.34, 1.56, 0.64, 1.0, false}; }
    // A slow, even glide for long holds (Ken Burns).
    static Ease glide() { return {0.3, 0.0, 0.7, 1.0, false}; }
    static Ease keep() { return {0.0, 0.0, 1.0, 1.0, true}; }

    // "linear", "smooth", "in", "out", "back", "glide", "hold"; throws Error for anything else.
    static Ease named(const QString& name);

    // The same curve run backwards in time (an entrance played as an exit).
    Ease reversed() const;
    // Fraction of the way from the first value to the second at time fraction t (0..1).
    double progress(double t) const;
};

} // namespace lumiset::templates
