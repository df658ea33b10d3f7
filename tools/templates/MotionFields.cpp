#include "tools/templates/MotionFields.h"

namespace lumiset::templates {

namespace {

void readScale(Fields& f, const QString& key, std::optional<double>& sx, std::optional<double>& sy) {
    if (!f.has(key))
        return;
    const auto [x, y] = f.range(key);
    sx = x;
    sy = y;
}

} // namespace

Phase ReadPhase(Fields& owner, const QString& key, bool entrance) {
    Fields f = owner.object(key);
    Phase p;
    p.style = f.text("style");
    if (entrance ? !IsEntranceStyle(p.style) : !IsExitStyle(p.style))
        f.fail("style", QStringLiteral("未知的%1方式 \"%2\"")
                            .arg(entrance ? QStringLiteral("入场") : QStringLiteral("出场"), p.style));
    p.at = f.number("at", 0.0);
    p.seconds = f.number("seconds", 1.0);
    if (p.seconds <= 0.0)
        f.fail("seconds", QStringLiteral("时长应大于 0"));
    p.distance = f.number("distance", 0.0);
    if (f.has("ease"))
        p.ease = Ease::named(f.text("ease"));
    f.finish();
    return p;
}

Motion ReadMotion(Fields& f, const Pose& defaults) {
    Motion m;
    m.rest = defaults;
    const QPointF at = f.point("at", QPointF(defaults.x, defaults.y));
    m.rest.x = at.x();
    m.rest.y = at.y();
    const auto [sx, sy] = f.range("scale", std::pair{defaults.scaleX, defaults.scaleY});
    m.rest.scaleX = sx;
    m.rest.scaleY = sy;
    m.rest.rotation = f.number("rotate", defaults.rotation);
    m.rest.opacity = f.number("opacity", defaults.opacity);
    if (f.has("in"))
        m.in = ReadPhase(f, "in", true);
    if (f.has("out"))
        m.out = ReadPhase(f, "out", false);
    if (f.has("from"))
        m.from = f.number("from");
    if (f.has("until"))
        m.until = f.number("until");
    if (f.has("drift")) {
        Fields d = f.object("drift");
        const QPointF move = d.point("move", QPointF());
        m.drift = {move.x(), move.y(), d.number("scale", 0.0), d.number("rotate", 0.0)};
        d.finish();
    }
    if (f.has("loop")) {
        Fields l = f.object("loop");
        const QPointF bob = l.point("bob", QPointF());
        m.loop.bobX = bob.x();
        m.loop.bobY = bob.y();
        m.loop.sway = l.number("sway", 0.0);
        m.loop.pulse = l.number("pulse", 0.0);
        m.loop.twinkle = l.number("twinkle", 0.0);
        m.loop.spin = l.number("spin", 0.0);
        m.loop.period = l.number("period", 3.0);
        m.loop.phase = l.number("phase", 0.0);
        if (m.loop.period <= 0.0)
            l.fail("period", QStringLiteral("周期应大于 0"));
        l.finish();
    }
    for (Fields& k : f.objects("keys")) {
        PoseKey key;
        key.seconds = k.number("t");
        if (k.has("at")) {
            const QPointF p = k.point("at");
            key.x = p.x();
            key.y = p.y();
        }
        readScale(k, "scale", key.scaleX, key.scaleY);
        if (k.has("rotate"))
            key.rotation = k.number("rotate");
        if (k.has("opacity"))
            key.opacity = k.number("opacity");
        key.ease = Ease::named(k.text("ease", QStringLiteral("smooth")));
        k.finish();
        if (!m.keys.empty() && key.seconds <= m.keys.back().seconds)
            k.fail("t", QStringLiteral("关键帧时间应逐个递增"));
        m.keys.push_back(key);
    }
    return m;
}

} // namespace lumiset::templates
