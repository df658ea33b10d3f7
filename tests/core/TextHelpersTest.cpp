#include "core/TextHelpers.h"

#include <gtest/gtest.h>

using namespace lumiset;

TEST(BarList, Splits) {
    EXPECT_EQ(SplitBarList("|heng|shu|"), (QStringList{"heng", "shu"}));
}
