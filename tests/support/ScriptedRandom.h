// Random draws scripted by a test: the queued values in order, then the lowest value of each range. A
// queued value outside the range asked is a mistake in the test and throws. Every range asked is recorded.
#pragma once

#include "core/Random.h"

#include <QList>
#include <algorithm>
#include <stdexcept>
#include <utility>

namespace lumiset::test {

class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(QList<int> queued = {}) : draws(std::move(queued)) {}

    int uniform(int low, int high) override {
        ranges.append({low, high});
        if (draws.isEmpty())
            return low;
        const int value = draws.takeFirst();
        if (value < low || value > std::max(low, high))
            throw std::logic_error("scripted draw outside the range asked");
        return value;
    }

    QList<int> draws;
    QList<std::pair<int, int>> ranges;
};

} // namespace lumiset::test
