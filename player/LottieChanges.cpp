#include "player/LottieChanges.h"

#include <algorithm>
#include <limits>

namespace lumiset::lottie {

void Changes::add(double from, double to) {
    spans_.emplace_back(std::min(from, to), std::max(from, to));
}

void Changes::add(const Changes& other, double scale, double offset) {
    for (const auto& [from, to] : other.spans_)
        add(from * scale + offset, to * scale + offset);
}

void Changes::addAlways() {
    const double infinity = std::numeric_limits<double>::infinity();
    add(-infinity, infinity);
}

void Changes::finish() {
    std::sort(spans_.begin(), spans_.end());
    std::vector<std::pair<double, double>> merged;
    for (const auto& span : spans_) {
        // Overlapping stretches become one; a jump inside a stretch disappears in it. Stretches that
        // only touch stay apart: the moment between them is still.
        if (!merged.empty() && span.first < merged.back().second)
            merged.back().second = std::max(merged.back().second, span.second);
        else if (merged.empty() || span != merged.back())
            merged.push_back(span);
    }
    spans_ = std::move(merged);
}

int Changes::stretchAt(double frame) const {
    // Stretches that ended at or before `frame`.
    return int(
        std::upper_bound(spans_.begin(), spans_.end(), frame,
                         [](double f, const std::pair<double, double>& span) { return f < span.second; }) -
        spans_.begin());
}

double Changes::nextChange(double frame) const {
    const size_t next = size_t(stretchAt(frame));
    return next == spans_.size() ? std::numeric_limits<double>::infinity() : spans_[next].first;
}

bool Changes::stillAt(double frame) const {
    const size_t next = size_t(stretchAt(frame));
    return next == spans_.size() || !(spans_[next].first < frame);
}

} // namespace lumiset::lottie
