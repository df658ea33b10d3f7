// Particles: many small shapes moved by one rule ("fall", "rise", "drift", "twinkle", "burst"), each
// with its own seeded randomness so that a build always gives the same movie.
#include "tools/templates/Movie.h"
#include "tools/templates/Shapes.h"

#include "core/Error.h"

#include <cmath>

namespace lumiset::templates {

namespace {

// xorshift64*: the same numbers on every platform and compiler.
class Random {
public:
    explicit Random(quint64 seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 0x632BE59BD9B4E019ULL) {}
    double unit() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return static_cast<double>((state_ * 0x2545F4914F6CDD1DULL) >> 11) / static_cast<double>(1ULL << 53);
    }
    double between(double a, double b) { return a + (b - a) * unit(); }
    double between(const std::pair<double, double>& r) { return between(r.first, r.second); }

private:
    quint64 state_;
};

struct Rules {
    QString flow;
    QRectF area;
    double from = 0.0; // frames
    double until = 0.0;
    std::pair<double, double> seconds; // one crossing (fall, rise) or one sparkle (twinkle)
    std::pair<double, double> spin;    // degrees per second
    std::pair<double, double> opacity;
    double sway = 0.0;
    QPointF origin; // burst
    std::pair<double, double> reach;
};

void waveKeys(Channel& c, double start, double end, double base, double amplitude, double period,
              double phase) {
    auto at = [&](double f) {
        return base + amplitude * std::sin(2.0 * M_PI * ((f - start) / period + phase));
    };
    c.set(start, at(start), Ease::smooth());
    for (int k = 0;; ++k) {
        const double f = start + (0.25 + 0.5 * k - phase) * period;
        if (f >= end)
            break;
        if (f > start)
            c.set(f, at(f), Ease::smooth());
    }
    c.set(end, at(end), Ease::smooth());
}

// One falling or rising particle; crossings are spread evenly over the time so the stream is steady
// from the first frame.
Track crossing(Random& rnd, const Rules& r, double size, int i, int count, bool rising) {
    const double length = SecondsToFrames(rnd.between(r.seconds));
    const double slot = (r.until - r.from + length) / count;
    const double start = r.from - length + slot * (i + rnd.unit());
    const double top = r.area.top() - size, bottom = r.area.bottom() + size;
    const double y0 = rising ? bottom : top, y1 = rising ? top : bottom;
    const double a = std::max(start, r.from), b = std::min(start + length, r.until);
    const double x = rnd.between(r.area.left(), r.area.right());
    const double opacity = rnd.between(r.opacity);
    Track t{Channel(x), Channel(y0), Channel(100), Channel(100), Channel(0), Channel(opacity)};
    auto yAt = [&](double f) { return y0 + (y1 - y0) * (f - start) / length; };
    t.y.set(a, yAt(a), Ease::linear());
    t.y.set(b, yAt(b), Ease::linear());
    waveKeys(t.x, a, b, x, r.sway * rnd.between(0.5, 1.0), SecondsToFrames(rnd.between(2.0, 4.0)),
             rnd.unit());
    const double spin = rnd.between(r.spin) * (rnd.unit() < 0.5 ? -1 : 1);
    const double r0 = rnd.between(0, 360);
    t.rotation.set(a, r0 + spin * (a - start) / kFps, Ease::linear());
    t.rotation.set(b, r0 + spin * (b - start) / kFps, Ease::linear());
    t.inFrame = static_cast<int>(std::floor(a));
    t.outFrame = static_cast<int>(std::ceil(b));
    return t;
}

Track drifting(Random& rnd, const Rules& r) {
    const QPointF p(rnd.between(r.area.left(), r.area.right()), rnd.between(r.area.top(), r.area.bottom()));
    const double opacity = rnd.between(r.opacity);
    Track t{Channel(p.x()), Channel(p.y()), Channel(100), Channel(100), Channel(0), Channel(opacity)};
    const double angle = rnd.between(0, 2 * M_PI);
    const double distance = rnd.between(40, 140);
    t.x.set(r.from, p.x(), Ease::glide());
    t.x.set(r.until, p.x() + distance * std::cos(angle), Ease::linear());
    t.y.set(r.from, p.y(), Ease::glide());
    t.y.set(r.until, p.y() + distance * std::sin(angle), Ease::linear());
    const double period = SecondsToFrames(rnd.between(r.seconds));
    const double fadeIn = std::min(r.from + 20.0, r.until);
    t.opacity.set(r.from, 0.0, Ease::smooth());
    waveKeys(t.opacity, fadeIn, r.until, opacity * 0.75, opacity * 0.25, period, rnd.unit());
    t.inFrame = static_cast<int>(r.from);
    t.outFrame = static_cast<int>(r.until);
    return t;
}

Track twinkling(Random& rnd, const Rules& r) {
    const QPointF p(rnd.between(r.area.left(), r.area.right()), rnd.between(r.area.top(), r.area.bottom()));
    Track t{Channel(p.x()), Channel(p.y()), Channel(0),
            Channel(0),     Channel(0),     Channel(rnd.between(r.opacity))};
    const double period = SecondsToFrames(rnd.between(r.seconds));
    double f = r.from + rnd.unit() * period;
    t.scaleX.set(r.from, 0.0, Ease::keep());
    while (f + period * 0.7 < r.until) {
        for (Channel* c : {&t.scaleX, &t.scaleY}) {
            c->set(f, 0.0, Ease::decelerate());
            c->set(f + period * 0.35, 100.0, Ease::accelerate());
            c->set(f + period * 0.7, 0.0, Ease::keep());
        }
        f += period * rnd.between(1.0, 1.6);
    }
    t.scaleY = t.scaleX;
    const double spin = rnd.between(r.spin);
    t.rotation.set(r.from, 0.0, Ease::linear());
    t.rotation.set(r.until, spin * (r.until - r.from) / kFps, Ease::linear());
    t.inFrame = static_cast<int>(r.from);
    t.outFrame = static_cast<int>(r.until);
    return t;
}

Track bursting(Random& rnd, const Rules& r) {
    const double angle = rnd.between(0, 2 * M_PI);
    const double reach = rnd.between(r.reach);
    const double length = SecondsToFrames(rnd.between(r.seconds));
    const double end = std::min(r.from + length, r.until);
    const QPointF o = r.origin;
    const QPointF to = o + QPointF(reach * std::cos(angle), reach * std::sin(angle) * 0.8);
    Track t{Channel(o.x()), Channel(o.y()), Channel(0),
            Channel(0),     Channel(0),     Channel(rnd.between(r.opacity))};
    const double opacity = t.opacity.rest();
    const double peak = r.from + (end - r.from) * 0.55;
    t.x.set(r.from, o.x(), Ease::decelerate());
    t.x.set(end, to.x(), Ease::linear());
    t.y.set(r.from, o.y(), Ease::decelerate());
    t.y.set(peak, to.y(), Ease::accelerate());
    t.y.set(end, to.y() + reach * 0.35, Ease::linear());
    for (Channel* c : {&t.scaleX, &t.scaleY}) {
        c->set(r.from, 0.0, Ease::overshoot());
        c->set(r.from + 8.0, 100.0, Ease::linear());
    }
    t.opacity.set(peak, opacity, Ease::accelerate());
    t.opacity.set(end, 0.0, Ease::linear());
    const double spin = rnd.between(r.spin) * (rnd.unit() < 0.5 ? -1 : 1);
    t.rotation.set(r.from, 0.0, Ease::decelerate());
    t.rotation.set(end, spin * (end - r.from) / kFps, Ease::linear());
    t.inFrame = static_cast<int>(r.from);
    t.outFrame = static_cast<int>(std::ceil(end));
    return t;
}

} // namespace

void MovieBuilder::addParticles(Fields& f) {
    static const QStringList flows = {"fall", "rise", "drift", "twinkle", "burst"};
    Rules r;
    r.flow = f.text("flow");
    if (!flows.contains(r.flow))
        f.fail(
            "flow",
            QStringLiteral("未知的粒子运动 \"%1\" (可用 %2)").arg(r.flow, flows.join(QStringLiteral(", "))));
    const std::vector<double> area =
        f.has("area") ? f.numbers("area") : std::vector<double>{0, 0, 1920, 1080};
    if (area.size() != 4)
        f.fail("area", QStringLiteral("应是 [x, y, 宽, 高]"));
    r.area = QRectF(area[0], area[1], area[2], area[3]);
    r.from = SecondsToFrames(f.number("from", 0.0));
    r.until = f.has("until") ? SecondsToFrames(f.number("until")) : frames_;
    if (r.until <= r.from || r.until > frames_)
        f.fail("until", QStringLiteral("结束时间应在开始之后, 且不超过影片长度"));
    const double defaultSeconds = r.flow == u"twinkle" ? 2.0 : r.flow == u"burst" ? 1.6 : 7.0;
    r.seconds = f.range("seconds", std::pair{defaultSeconds, defaultSeconds * 1.5});
    r.spin = f.range("spin", std::pair{0.0, 0.0});
    r.opacity = f.range("opacity", std::pair{70.0, 100.0});
    r.sway = f.number("sway", 40.0);
    r.origin = f.point("origin", QPointF(960, 540));
    r.reach = f.range("reach", std::pair{200.0, 600.0});
    const int count = f.integer("count");
    if (count < 1 || count > 60)
        f.fail("count", QStringLiteral("粒子数应在 1 到 60 之间"));
    const auto sizes = f.range("size");
    QList<QColor> colors;
    for (const QString& c : f.texts("colors"))
        colors.append(ParseColor(c, f, "colors"));
    if (colors.isEmpty())
        f.fail("colors", QStringLiteral("至少需要一种颜色"));
    ShapeSpec base;
    base.shape = f.text("shape");
    if (!IsKnownShape(base.shape))
        f.fail("shape", QStringLiteral("未知的形状 \"%1\"").arg(base.shape));
    base.points = f.integer("points", 5);
    base.inner = f.number("inner", 0.45);
    const double aspect = f.number("aspect", 1.0);
    Random rnd(static_cast<quint64>(f.integer("seed", 1)) * 7919ULL + static_cast<quint64>(serial_));
    const QString stem = uniqueName(QStringLiteral("particle"));
    for (int i = 0; i < count; ++i) {
        ShapeSpec s = base;
        const double size = rnd.between(sizes);
        s.size = QSizeF(size, size * aspect);
        s.fill = Paint::solid(colors[static_cast<int>(rnd.unit() * colors.size()) % colors.size()]);
        Track t;
        if (r.flow == u"fall" || r.flow == u"rise")
            t = crossing(rnd, r, size, i, count, r.flow == u"rise");
        else if (r.flow == u"drift")
            t = drifting(rnd, r);
        else if (r.flow == u"twinkle")
            t = twinkling(rnd, r);
        else
            t = bursting(rnd, r);
        if (t.outFrame <= t.inFrame)
            continue;
        comp_.add(ShapeLayer(QStringLiteral("%1_%2").arg(stem).arg(i), ShapeItems(s)), TransformJson(t, {}),
                  t.inFrame, t.outFrame);
    }
}

} // namespace lumiset::templates
