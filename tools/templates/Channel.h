// One animated number (a position coordinate, a scale, a rotation, an opacity) as a list of keys in
// movie frames, and its conversion to Lottie properties.
#pragma once

#include "tools/templates/Easing.h"

#include <QJsonObject>
#include <vector>

namespace lumiset::templates {

struct Key {
    double frame = 0.0;
    double value = 0.0;
    Ease ease; // of the segment from this key to the next
};

class Channel {
public:
    explicit Channel(double rest = 0.0) : rest_(rest) {}

    // Adds a key, replacing one at the same frame; keys stay ordered by frame.
    void set(double frame, double value, Ease ease = Ease::smooth());
    double valueAt(double frame) const;
    // The ease of the segment that starts at `frame` (the key there, else the one before it).
    Ease easeFrom(double frame) const;
    bool animated() const;
    bool hasKeyAt(double frame) const;
    const std::vector<Key>& keys() const { return keys_; }
    double rest() const { return rest_; }

private:
    double rest_;
    std::vector<Key> keys_;
};

// {"a":0,"k":v} or {"a":1,"k":[keyframes]} for a single number.
QJsonObject ScalarProperty(const Channel& channel);
// A vector property (position, scale, anchor) from one channel per dimension; keys are taken at the
// union of the channels' key frames. `tail` values are appended as constant dimensions.
QJsonObject VectorProperty(const std::vector<const Channel*>& channels, const std::vector<double>& tail = {});
// A property that never changes.
QJsonObject Static(double value);
QJsonObject Static(const std::vector<double>& value);

} // namespace lumiset::templates
