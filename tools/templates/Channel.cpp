#include "tools/templates/Channel.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>
#include <set>

namespace lumiset::templates {

namespace {

constexpr double kSameFrame = 1e-6;

QJsonValue rounded(double v) {
    // Three decimals keep the movies small and stable between builds.
    const double r = std::round(v * 1000.0) / 1000.0;
    return r == 0.0 ? QJsonValue(0) : QJsonValue(r);
}

QJsonObject tangent(double x, double y) {
    return QJsonObject{{"x", QJsonArray{rounded(x)}}, {"y", QJsonArray{rounded(y)}}};
}

QJsonObject keyframe(double frame, const QJsonArray& value, const Ease& ease, bool last) {
    QJsonObject key{{"t", rounded(frame)}, {"s", value}};
    if (last)
        return key;
    if (ease.hold) {
        key.insert("h", 1);
        return key;
    }
    key.insert("o", tangent(ease.outX, ease.outY));
    key.insert("i", tangent(ease.inX, ease.inY));
    return key;
}

} // namespace

void Channel::set(double frame, double value, Ease ease) {
    // Keys sit on thousandths of a frame, as written to the movie.
    frame = std::round(frame * 1000.0) / 1000.0;
    auto it = std::lower_bound(keys_.begin(), keys_.end(), frame,
                               [](const Key& k, double f) { return k.frame < f - kSameFrame; });
    if (it != keys_.end() && std::abs(it->frame - frame) <= kSameFrame) {
        it->value = value;
        it->ease = ease;
        return;
    }
    keys_.insert(it, Key{frame, value, ease});
}

double Channel::valueAt(double frame) const {
    if (keys_.empty())
        return rest_;
    if (frame <= keys_.front().frame)
        return keys_.front().value;
    if (frame >= keys_.back().frame)
        return keys_.back().value;
    for (size_t i = 0; i + 1 < keys_.size(); ++i) {
        const Key& a = keys_[i];
        const Key& b = keys_[i + 1];
        if (frame <= b.frame) {
            const double span = b.frame - a.frame;
            const double t = span <= 0.0 ? 1.0 : (frame - a.frame) / span;
            return a.value + (b.value - a.value) * a.ease.progress(t);
        }
    }
    return keys_.back().value;
}

Ease Channel::easeFrom(double frame) const {
    Ease ease = Ease::linear();
    for (const Key& k : keys_) {
        if (k.frame > frame + kSameFrame)
            break;
        ease = k.ease;
    }
    return ease;
}

bool Channel::animated() const {
    if (keys_.size() < 2)
        return false;
    return std::any_of(keys_.begin(), keys_.end(),
                       [&](const Key& k) { return std::abs(k.value - keys_.front().value) > 1e-9; });
}

bool Channel::hasKeyAt(double frame) const {
    return std::any_of(keys_.begin(), keys_.end(),
                       [&](const Key& k) { return std::abs(k.frame - frame) <= kSameFrame; });
}

QJsonObject Static(double value) {
    return QJsonObject{{"a", 0}, {"k", rounded(value)}};
}

QJsonObject Static(const std::vector<double>& value) {
    QJsonArray k;
    for (double v : value)
        k.append(rounded(v));
    return QJsonObject{{"a", 0}, {"k", k}};
}

QJsonObject ScalarProperty(const Channel& channel) {
    return VectorProperty({&channel});
}

QJsonObject VectorProperty(const std::vector<const Channel*>& channels, const std::vector<double>& tail) {
    const bool scalar = channels.size() == 1 && tail.empty();
    const bool animated =
        std::any_of(channels.begin(), channels.end(), [](const Channel* c) { return c->animated(); });
    auto valueAt = [&](double frame) {
        QJsonArray v;
        for (const Channel* c : channels)
            v.append(rounded(c->valueAt(frame)));
        for (double t : tail)
            v.append(rounded(t));
        return v;
    };
    if (!animated) {
        const QJsonArray v = valueAt(0.0);
        return QJsonObject{{"a", 0}, {"k", scalar ? v.first() : QJsonValue(v)}};
    }
    std::set<double> frames;
    for (const Channel* c : channels)
        if (c->animated())
            for (const Key& k : c->keys())
                frames.insert(std::round(k.frame * 1000.0) / 1000.0);
    QJsonArray keys;
    for (auto it = frames.begin(); it != frames.end(); ++it) {
        // The segment's ease comes from the first animated channel with a key here.
        Ease ease = Ease::linear();
        for (const Channel* c : channels)
            if (c->animated() && c->hasKeyAt(*it)) {
                ease = c->easeFrom(*it);
                break;
            }
        keys.append(keyframe(*it, valueAt(*it), ease, std::next(it) == frames.end()));
    }
    return QJsonObject{{"a", 1}, {"k", keys}};
}

} // namespace lumiset::templates
