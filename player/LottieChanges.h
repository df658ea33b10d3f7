// When the pixels of a layer change, as stretches of time in frames of its composition. Between two
// such stretches the layer looks the same, so its pixels may be kept (see KeptContent.cpp).
#pragma once

#include <utility>
#include <vector>

namespace lumiset::lottie {

class Changes {
public:
    // Something changes during (from, to), ends excluded. `from == to` is a jump at that time: the
    // look before it differs from the look at and after it.
    void add(double from, double to);
    // Adds the changes of `other` with each time t moved to t * scale + offset. @pre scale != 0
    void add(const Changes& other, double scale = 1, double offset = 0);
    // Something changes at every moment.
    void addAlways();
    // Sorts and merges what was added; call it once after the last add.
    void finish();

    bool never() const { return spans_.empty(); }
    // Nothing changes at `frame`.
    bool stillAt(double frame) const;
    // Which still stretch `frame` lies in: frames with the same number look the same.
    // @pre stillAt(frame)
    int stretchAt(double frame) const;
    // When the next change after `frame` begins (infinity when nothing changes any more).
    double nextChange(double frame) const;

private:
    std::vector<std::pair<double, double>> spans_; // after finish: sorted and disjoint
};

} // namespace lumiset::lottie
