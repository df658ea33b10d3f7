// When a layer changes: stretches of change and jumps, and the still stretches between them that
// decide whether kept pixels may be shown.
#include "player/LottieChanges.h"
#include "player/LottieParser.h"
#include "tests/player/LottieJson.h"

#include <cmath>
#include <gtest/gtest.h>

namespace json = lumiset::test::lottie;
using lumiset::lottie::Changes;
using lumiset::lottie::Layer;
using lumiset::lottie::LottieMovie;
using lumiset::lottie::ParseLottieMovie;

namespace {

struct Look {
    double frame;
    bool still;
    int stretch; // compared only where still
};

struct ChangesCase {
    const char* name;
    std::vector<std::pair<double, double>> added;
    std::vector<Look> looks;
};

class ChangeTimes : public ::testing::TestWithParam<ChangesCase> {};

TEST_P(ChangeTimes, TellStillFramesAndTheirStretches) {
    const ChangesCase& c = GetParam();
    Changes changes;
    for (const auto& [from, to] : c.added)
        changes.add(from, to);
    changes.finish();
    for (const Look& look : c.looks) {
        EXPECT_EQ(changes.stillAt(look.frame), look.still) << look.frame;
        if (look.still) {
            EXPECT_EQ(changes.stretchAt(look.frame), look.stretch) << look.frame;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangeTimes,
    ::testing::Values(
        ChangesCase{"nothing", {}, {{-5, true, 0}, {0, true, 0}, {1e6, true, 0}}},
        // Moving between keyframes 10 and 20: still up to 10 and from 20 on, looking different.
        ChangesCase{
            "one_move",
            {{10, 20}},
            {{0, true, 0}, {10, true, 0}, {10.5, false, 0}, {19.9, false, 0}, {20, true, 1}, {30, true, 1}}},
        // A held value jumping at 8: still everywhere, but not the same look on both sides.
        ChangesCase{"jump", {{8, 8}}, {{7.9, true, 0}, {8, true, 1}, {9, true, 1}}},
        // Overlapping moves are one; a jump inside a move vanishes in it.
        ChangesCase{
            "overlaps", {{10, 20}, {15, 30}, {25, 25}}, {{12, false, 0}, {22, false, 0}, {30, true, 1}}},
        // Moves that only touch leave the moment between them still, looking like neither side.
        ChangesCase{"touching", {{10, 20}, {20, 30}}, {{20, true, 1}, {25, false, 0}, {30, true, 2}}},
        // Added in any order.
        ChangesCase{"unordered",
                    {{40, 50}, {5, 6}, {20, 20}},
                    {{0, true, 0}, {10, true, 1}, {20, true, 2}, {45, false, 0}, {60, true, 3}}}),
    [](const ::testing::TestParamInfo<ChangesCase>& param) { return std::string(param.param.name); });

TEST(ChangeTimes, NextChangeIsTheStartOfTheNextStretch) {
    Changes changes;
    changes.add(30, 40);
    changes.add(12, 12);
    changes.finish();
    EXPECT_EQ(changes.nextChange(0), 12);
    EXPECT_EQ(changes.nextChange(12), 30);
    EXPECT_TRUE(std::isinf(changes.nextChange(40)));
}

TEST(ChangeTimes, AlwaysChangingIsNeverStill) {
    Changes changes;
    changes.addAlways();
    changes.finish();
    EXPECT_FALSE(changes.stillAt(-1e9));
    EXPECT_FALSE(changes.stillAt(1e9));
}

// A parsed movie: what moves, what holds, and what a precomposition passes on to the layer using it.
TEST(ChangeTimes, LayersKnowWhenTheyChange) {
    const QJsonObject moving = json::ShapeLayer(
        "moving", 1, {json::Group({json::Rect({10, 10}, {10, 10}), json::Fill(Qt::red)})},
        json::Transform({{"p", json::Animated({json::LinearKey(5, {0, 0}), json::EndKey(15, {50, 0})})}}));
    const QJsonObject child =
        json::ShapeLayer("child", 2,
                         {json::Group({json::Rect({10, 10}, {10, 10}),
                                       QJsonObject{{"ty", "fl"},
                                                   {"c", json::Animated({json::HoldKey(0, {1, 0, 0, 1}),
                                                                         json::EndKey(6, {0, 0, 1, 1})})},
                                                   {"o", json::Value(100)}}})});
    QJsonObject inner = json::PrecompLayer("inner", 2, "inner", 50, 50);
    inner.insert("st", 10); // the precomposition's frame 6 is this layer's frame 16
    const LottieMovie movie = ParseLottieMovie(
        json::Json(json::Movie({moving, inner}, 100, 100, 40, {json::PrecompAsset("inner", {child})})),
        QStringLiteral("test.rar"));

    const Layer& movingLayer = movie.root.layers[0];
    EXPECT_TRUE(movingLayer.contentChanges.never()); // it moves, its content does not
    EXPECT_FALSE(movingLayer.placementChanges.stillAt(10));
    EXPECT_TRUE(movingLayer.placementChanges.stillAt(20));

    const Layer& innerLayer = movie.root.layers[1];
    EXPECT_TRUE(innerLayer.contentChanges.stillAt(15.9));
    EXPECT_NE(innerLayer.contentChanges.stretchAt(15.9), innerLayer.contentChanges.stretchAt(16));
    EXPECT_TRUE(innerLayer.placementChanges.stillAt(20)); // it does not move itself
}

} // namespace
