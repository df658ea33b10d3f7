// Readable names for parameterised cases that carry a `label`.
#pragma once

#include <cctype>
#include <gtest/gtest.h>
#include <string>

namespace lumiset::test {

struct LabelName {
    template <typename Case> std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        std::string name = info.param.label;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    }
};

} // namespace lumiset::test
