#include "tools/templates/Motion.h"

#include "core/Error.h"

#include <cmath>
#include <functional>

namespace lumiset::templates {

namespace {

// How far a stage of a style moves the element away from its pose.
struct Delta {
    double dx = 0.0;
    double dy = 0.0;
    double scale = 1.0;
    double scaleX = 1.0;
    double scaleY = 1.0;
    double rotation = 0.0;
    double opacity = 1.0;
};

// A stage at a fraction of the phase; its ease leads to the next stage.
struct Stage {
    double at = 0.0;
    Delta delta;
    Ease ease = Ease::smooth();
};
using Stages = std::vector<Stage>;

constexpr double kAcross = 2000.0; // moves an element from the middle off the canvas sideways
constexpr double kDown = 1300.0;   // and vertically

Stages entrance(const QString& style, double distance) {
    const double h = distance > 0.0 ? distance : kAcross;
    const double v = distance > 0.0 ? distance : kDown;
    const Ease out = Ease::decelerate();
    if (style == u"fade")
        return {{0, {.opacity = 0}, Ease::smooth()}, {1, {}, {}}};
    if (style == u"from-left")
        return {{0, {.dx = -h}, out}, {1, {}, {}}};
    if (style == u"from-right")
        return {{0, {.dx = h}, out}, {1, {}, {}}};
    if (style == u"from-top")
        return {{0, {.dy = -v}, out}, {1, {}, {}}};
    if (style == u"from-bottom")
        return {{0, {.dy = v}, out}, {1, {}, {}}};
    if (style == u"rise")
        return {{0, {.dy = distance > 0.0 ? distance : 120.0, .opacity = 0}, out}, {1, {}, {}}};
    if (style == u"zoom")
        return {{0, {.scale = 0}, Ease::overshoot()}, {1, {}, {}}};
    if (style == u"grow")
        return {{0, {.scale = 0.6, .opacity = 0}, out}, {1, {}, {}}};
    if (style == u"shrink")
        return {{0, {.scale = 1.6, .opacity = 0}, out}, {1, {}, {}}};
    if (style == u"flip-x")
        return {{0, {.scaleX = 0}, out}, {1, {}, {}}};
    if (style == u"flip-y")
        return {{0, {.scaleY = 0}, out}, {1, {}, {}}};
    if (style == u"spin")
        return {{0, {.scale = 0, .rotation = -270, .opacity = 0}, out}, {1, {}, {}}};
    if (style == u"drop")
        return {{0, {.dy = -v}, Ease::accelerate()},
                {0.6, {}, out},
                {0.8, {.dy = -0.05 * v}, Ease::accelerate()},
                {1, {}, {}}};
    if (style == u"swing")
        return {{0, {.rotation = -35, .opacity = 0}, out},
                {0.45, {.rotation = 12}, Ease::smooth()},
                {0.75, {.rotation = -5}, Ease::smooth()},
                {1, {}, {}}};
    if (IsWipe(style))
        return {{0, {}, Ease::linear()}, {1, {}, {}}};
    return {};
}

// An exit is an entrance played backwards, under the name of where it goes.
Stages mirrored(const Stages& in) {
    Stages out;
    for (size_t i = in.size(); i-- > 0;) {
        const Ease ease = i > 0 ? in[i - 1].ease.reversed() : Ease::linear();
        out.push_back({1.0 - in[i].at, in[i].delta, ease});
    }
    return out;
}

Stages exitStages(const QString& style, double distance) {
    static const struct {
        const char16_t* exit;
        const char16_t* entrance;
    } mirrors[] = {{u"fade", u"fade"},       {u"to-left", u"from-left"},     {u"to-right", u"from-right"},
                   {u"to-top", u"from-top"}, {u"to-bottom", u"from-bottom"}, {u"sink", u"rise"},
                   {u"zoom", u"zoom"},       {u"recede", u"grow"},           {u"grow", u"shrink"},
                   {u"flip-x", u"flip-x"},   {u"flip-y", u"flip-y"},         {u"spin", u"spin"}};
    for (const auto& m : mirrors)
        if (style == QStringView(m.exit))
            return mirrored(entrance(QString::fromUtf16(m.entrance), distance));
    if (style == u"fall") {
        const double v = distance > 0.0 ? distance : kDown;
        return {{0, {}, Ease::accelerate()}, {1, {.dy = v, .rotation = 25}, {}}};
    }
    if (IsWipe(style))
        return {{0, {}, Ease::linear()}, {1, {}, {}}};
    return {};
}

bool overshoots(const Ease& e) {
    return e.outY > 1.0 || e.outY < 0.0 || e.inY > 1.0 || e.inY < 0.0;
}

using Apply = std::function<double(double pose, const Delta&)>;

struct ChannelRule {
    Channel* channel;
    Apply apply;
    bool isOpacity;
};

bool touches(const Stages& stages, const ChannelRule& rule) {
    for (const Stage& s : stages)
        if (std::abs(rule.apply(1.0, s.delta) - 1.0) > 1e-9 || std::abs(rule.apply(0.0, s.delta)) > 1e-9)
            return true;
    return false;
}

// Plays `stages` from `start` for `length` frames on every channel the style moves, relative to the
// pose the channel has at `anchorFrame` (the end of an entrance, the start of an exit).
void applyPhase(std::vector<ChannelRule>& rules, const Stages& stages, double start, double length,
                double anchorFrame, bool isEntrance) {
    for (ChannelRule& rule : rules) {
        if (!touches(stages, rule))
            continue;
        Channel& c = *rule.channel;
        const double pose = c.valueAt(anchorFrame);
        const Ease keep = c.easeFrom(anchorFrame);
        for (size_t i = 0; i < stages.size(); ++i) {
            const Stage& s = stages[i];
            const double frame = start + s.at * length;
            Ease ease = s.ease;
            if (rule.isOpacity && overshoots(ease))
                ease = isEntrance ? Ease::decelerate() : Ease::accelerate();
            if (isEntrance && i + 1 == stages.size())
                ease = keep; // the hold continues from here as it was
            c.set(frame, rule.apply(pose, s.delta), ease);
        }
    }
}

// The hold: drift plus the repeating motions, keyed at the turning points of each cycle.
void fillHold(Channel& c, double rest, double driftTo, double swing, double spinPerFrame, const Loop& loop,
              double holdStart, double holdEnd, const std::function<double(double, double)>& combine) {
    const double span = holdEnd - holdStart;
    auto at = [&](double frame) {
        const double f = span > 0.0 ? (frame - holdStart) / span : 0.0;
        const double cycle = loop.period > 0.0 ? (frame - holdStart) / SecondsToFrames(loop.period) : 0.0;
        const double wave = std::sin(2.0 * M_PI * (cycle + loop.phase));
        return combine(rest + driftTo * f + spinPerFrame * (frame - holdStart), swing * wave);
    };
    if (swing != 0.0 && loop.period > 0.0) {
        const double period = SecondsToFrames(loop.period);
        c.set(holdStart, at(holdStart), Ease::smooth());
        for (int k = 0;; ++k) {
            const double frame = holdStart + (0.25 + 0.5 * k - loop.phase) * period;
            if (frame >= holdEnd)
                break;
            if (frame > holdStart)
                c.set(frame, at(frame), Ease::smooth());
        }
        c.set(holdEnd, at(holdEnd), Ease::smooth());
    } else if (driftTo != 0.0 || spinPerFrame != 0.0) {
        c.set(holdStart, at(holdStart), spinPerFrame != 0.0 ? Ease::linear() : Ease::glide());
        c.set(holdEnd, at(holdEnd), Ease::linear());
    }
}

} // namespace

bool IsWipe(const QString& style) {
    return style == u"wipe-left" || style == u"wipe-right" || style == u"wipe-up" || style == u"wipe-down";
}

bool IsEntranceStyle(const QString& style) {
    return !entrance(style, 0.0).empty();
}

bool IsExitStyle(const QString& style) {
    return !exitStages(style, 0.0).empty();
}

Track BuildTrack(const Motion& m, int movieFrames) {
    const Pose& r = m.rest;
    Track t{Channel(r.x),      Channel(r.y),        Channel(r.scaleX),
            Channel(r.scaleY), Channel(r.rotation), Channel(r.opacity)};
    const double end = movieFrames;
    if (m.in && !IsEntranceStyle(m.in->style))
        throw Error(QStringLiteral("未知的入场方式: %1").arg(m.in->style));
    if (m.out && !IsExitStyle(m.out->style))
        throw Error(QStringLiteral("未知的出场方式: %1").arg(m.out->style));

    double holdStart = m.keys.empty() ? 0.0 : SecondsToFrames(m.keys.front().seconds);
    double holdEnd = m.keys.empty() ? end : SecondsToFrames(m.keys.back().seconds);
    if (m.in)
        holdStart = SecondsToFrames(m.in->at + m.in->seconds);
    if (m.out)
        holdEnd = SecondsToFrames(m.out->at);
    if (m.keys.empty() && !m.out && m.until)
        holdEnd = SecondsToFrames(*m.until);
    if (holdEnd < holdStart)
        throw Error(
            QStringLiteral("出场 (%1 秒) 早于入场结束 (%2 秒)").arg(holdEnd / kFps).arg(holdStart / kFps));

    if (!m.keys.empty()) {
        // The first key starts from the resting pose in every value it leaves out.
        PoseKey first = m.keys.front();
        first.x = first.x.value_or(r.x);
        first.y = first.y.value_or(r.y);
        first.scaleX = first.scaleX.value_or(r.scaleX);
        first.scaleY = first.scaleY.value_or(r.scaleY);
        first.rotation = first.rotation.value_or(r.rotation);
        first.opacity = first.opacity.value_or(r.opacity);
        std::vector<PoseKey> keys = m.keys;
        keys.front() = first;
        for (const PoseKey& k : keys) {
            const double f = SecondsToFrames(k.seconds);
            const std::pair<Channel*, std::optional<double>> values[] = {{&t.x, k.x},
                                                                         {&t.y, k.y},
                                                                         {&t.scaleX, k.scaleX},
                                                                         {&t.scaleY, k.scaleY},
                                                                         {&t.rotation, k.rotation},
                                                                         {&t.opacity, k.opacity}};
            for (const auto& [channel, value] : values)
                if (value)
                    channel->set(f, *value, k.ease);
        }
    } else {
        const Loop& l = m.loop;
        const double spin = l.spin / kFps;
        auto add = [](double base, double wave) { return base + wave; };
        auto dim = [&](double base, double wave) {
            return base * (1.0 - l.twinkle / 100.0 * (1.0 - wave) / 2.0);
        };
        fillHold(t.x, r.x, m.drift.dx, l.bobX, 0.0, l, holdStart, holdEnd, add);
        fillHold(t.y, r.y, m.drift.dy, l.bobY, 0.0, l, holdStart, holdEnd, add);
        fillHold(t.scaleX, r.scaleX, m.drift.scale, l.pulse, 0.0, l, holdStart, holdEnd, add);
        fillHold(t.scaleY, r.scaleY, m.drift.scale, l.pulse, 0.0, l, holdStart, holdEnd, add);
        fillHold(t.rotation, r.rotation, m.drift.rotation, l.sway, spin, l, holdStart, holdEnd, add);
        if (l.twinkle != 0.0)
            fillHold(t.opacity, r.opacity, 0.0, 1.0, 0.0, l, holdStart, holdEnd, dim);
    }

    std::vector<ChannelRule> rules = {
        {&t.x, [](double p, const Delta& d) { return p + d.dx; }, false},
        {&t.y, [](double p, const Delta& d) { return p + d.dy; }, false},
        {&t.scaleX, [](double p, const Delta& d) { return p * d.scale * d.scaleX; }, false},
        {&t.scaleY, [](double p, const Delta& d) { return p * d.scale * d.scaleY; }, false},
        {&t.rotation, [](double p, const Delta& d) { return p + d.rotation; }, false},
        {&t.opacity, [](double p, const Delta& d) { return p * d.opacity; }, true},
    };
    if (m.in) {
        Stages stages = entrance(m.in->style, m.in->distance);
        if (m.in->ease)
            stages.front().ease = *m.in->ease;
        applyPhase(rules, stages, SecondsToFrames(m.in->at), SecondsToFrames(m.in->seconds), holdStart, true);
    }
    if (m.out) {
        Stages stages = exitStages(m.out->style, m.out->distance);
        if (m.out->ease)
            stages.front().ease = *m.out->ease;
        applyPhase(rules, stages, holdEnd, SecondsToFrames(m.out->seconds), holdEnd, false);
    }

    double first = m.in ? SecondsToFrames(m.in->at) : 0.0;
    double last = m.out ? SecondsToFrames(m.out->at + m.out->seconds) : end;
    if (m.from)
        first = SecondsToFrames(*m.from);
    if (m.until)
        last = SecondsToFrames(*m.until);
    t.inFrame = static_cast<int>(std::lround(std::clamp(first, 0.0, end)));
    t.outFrame = static_cast<int>(std::lround(std::clamp(last, 0.0, end)));
    if (t.outFrame <= t.inFrame)
        throw Error(QStringLiteral("元素的显示时间为空 (%1 到 %2 帧)").arg(t.inFrame).arg(t.outFrame));
    return t;
}

void ShiftPositions(Motion& motion, QPointF offset) {
    motion.rest.x += offset.x();
    motion.rest.y += offset.y();
    for (PoseKey& k : motion.keys) {
        if (k.x)
            *k.x += offset.x();
        if (k.y)
            *k.y += offset.y();
    }
}

} // namespace lumiset::templates
