#include "tools/templates/Easing.h"

#include "core/Error.h"

#include <cmath>

namespace lumiset::templates {

Ease Ease::named(const QString& name) {
    if (name == u"linear")
        return linear();
    if (name == u"smooth")
        return smooth();
    if (name == u"in")
        return accelerate();
    if (name == u"out")
        return decelerate();
    if (name == u"back")
        return overshoot();
    if (name == u"glide")
        return glide();
    if (name == u"hold")
        return keep();
    throw Error(
        QStringLiteral("未知的缓动方式: %1 (可用 linear, smooth, in, out, back, glide, hold)").arg(name));
}

Ease Ease::reversed() const {
    if (hold)
        return *this;
    return {1.0 - inX, 1.0 - inY, 1.0 - outX, 1.0 - outY, false};
}

namespace {

double bezier(double p1, double p2, double t) {
    const double u = 1.0 - t;
    return 3.0 * u * u * t * p1 + 3.0 * u * t * t * p2 + t * t * t;
}

} // namespace

double Ease::progress(double t) const {
    if (hold)
        return t >= 1.0 ? 1.0 : 0.0;
    if (t <= 0.0)
        return 0.0;
    if (t >= 1.0)
        return 1.0;
    // x(s) is monotonic for tangents inside the unit square: bisect for the curve parameter.
    double lo = 0.0;
    double hi = 1.0;
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (lo + hi);
        if (bezier(outX, inX, mid) < t)
            lo = mid;
        else
            hi = mid;
    }
    return bezier(outY, inY, 0.5 * (lo + hi));
}

} // namespace lumiset::templates
