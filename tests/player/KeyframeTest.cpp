// Keyframe interpolation and parenting: where a moving square is drawn, against known positions and
// against rlottie's frames of the same movie.
#include "tests/player/FrameCompare.h"
#include "tests/player/LottieJson.h"

#include <gtest/gtest.h>

using namespace lumiset::test;
using namespace lumiset::test::lottie;

namespace {

constexpr QSize kSize(200, 200);

// A 20 × 20 red square centred on the layer's position.
QJsonObject Square(const QJsonObject& transform, const QString& name = "square", int ind = 1) {
    return ShapeLayer(name, ind, {Group({Rect({0, 0}, {20, 20}), Fill(Qt::red)})}, transform);
}

struct MotionCase {
    const char* name;
    QJsonObject position; // the "p" property
    int frame;
    QPointF expected; // centre of the square on the 200 × 200 surface
};

class Motion : public ::testing::TestWithParam<MotionCase> {};

TEST_P(Motion, SquareIsWhereTheKeyframesPutIt) {
    const MotionCase& c = GetParam();
    const QByteArray json = Json(Movie({Square(Transform({{"p", c.position}}))}));
    const QImage ours = RenderWithPlayer(json, kSize, c.frame);
    SaveForLooking(ours, QString("motion_%1_%2").arg(c.name).arg(c.frame));
    const QPointF centre = OpaqueCentroid(ours);
    EXPECT_NEAR(centre.x(), c.expected.x(), 0.6) << c.name;
    EXPECT_NEAR(centre.y(), c.expected.y(), 0.6) << c.name;
    EXPECT_LT(MeanDifference(ours, RenderWithRlottie(json, kSize, c.frame)), 1.0) << c.name;
}

const QJsonObject kLinear = Animated({LinearKey(0, {50, 100}), EndKey(20, {150, 100})});
const QJsonObject kHold = Animated({HoldKey(0, {50, 100}), HoldKey(10, {150, 100}), EndKey(20, {50, 100})});
// Symmetric ease in and out: half way at half time, slower than linear in the first quarter.
const QJsonObject kEase = Animated({EaseKey(0, {50, 100}, {0.5, 0}, {0.5, 1}), EndKey(20, {150, 100})});
// A curved motion path bulging upwards by 75 at its middle.
const QJsonObject kSpatial = Animated({QJsonObject{{"t", 0},
                                                   {"s", QJsonArray{50, 150}},
                                                   {"to", QJsonArray{0, -100}},
                                                   {"ti", QJsonArray{0, -100}},
                                                   {"o", QJsonObject{{"x", 0}, {"y", 0}}},
                                                   {"i", QJsonObject{{"x", 1}, {"y", 1}}}},
                                       EndKey(20, {150, 150})});
const QJsonObject kSeparate{{"s", true},
                            {"x", Animated({LinearKey(0, {20}), EndKey(10, {120})})},
                            {"y", Animated({HoldKey(0, {40}), EndKey(5, {160})})}};

INSTANTIATE_TEST_SUITE_P(Keyframes, Motion,
                         ::testing::Values(MotionCase{"linear_start", kLinear, 0, {50, 100}},
                                           MotionCase{"linear", kLinear, 5, {75, 100}},
                                           MotionCase{"linear_after_end", kLinear, 25, {150, 100}},
                                           MotionCase{"hold_before", kHold, 9, {50, 100}},
                                           MotionCase{"hold_at", kHold, 10, {150, 100}},
                                           MotionCase{"hold_back", kHold, 20, {50, 100}},
                                           MotionCase{"ease_middle", kEase, 10, {100, 100}},
                                           MotionCase{"ease_quarter", kEase, 5, {50 + 100 * 0.1059, 100}},
                                           MotionCase{"spatial_middle", kSpatial, 10, {100, 75}},
                                           MotionCase{"separate", kSeparate, 5, {70, 160}}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(Parenting, ChildFollowsTheParentsTransformButNotItsOpacity) {
    // The parent null moves to (100, 100), turns 90° and doubles; the child sits 30 to its right.
    const QJsonObject parent = NullLayer("parent", 1,
                                         Transform({{"p", Value(QJsonArray{100, 100})},
                                                    {"r", Animated({LinearKey(0, {0}), EndKey(10, {90})})},
                                                    {"s", Value(QJsonArray{200, 200})},
                                                    {"o", Value(0)}}));
    QJsonObject child = Square(Transform({{"p", Value(QJsonArray{30, 0})}}), "child", 2);
    child.insert("parent", 1);
    const QByteArray json = Json(Movie({child, parent}));
    for (int frame : {0, 10}) {
        const QImage ours = RenderWithPlayer(json, kSize, frame);
        SaveForLooking(ours, QString("parenting_%1").arg(frame));
        const QPointF centre = OpaqueCentroid(ours);
        const QPointF expected = frame == 0 ? QPointF(160, 100) : QPointF(100, 160);
        EXPECT_NEAR(centre.x(), expected.x(), 0.6);
        EXPECT_NEAR(centre.y(), expected.y(), 0.6);
        EXPECT_LT(MeanDifference(ours, RenderWithRlottie(json, kSize, frame)), 1.0);
    }
}

TEST(LayerTiming, LayerShowsOnlyBetweenItsInAndOutPoints) {
    QJsonObject square = Square(Transform({{"p", Value(QJsonArray{100, 100})}}));
    square.insert("ip", 5);
    square.insert("op", 10);
    const QByteArray json = Json(Movie({square}));
    for (const auto& [frame, shown] : {std::pair{4, false}, {5, true}, {9, true}, {10, false}})
        EXPECT_EQ(OpaqueCentroid(RenderWithPlayer(json, kSize, frame)).x() > 0, shown) << frame;
}

struct ClockCase {
    const char* name;
    std::function<void(QJsonObject&)> change; // applied to the precomposition layer
    int frame;
    double expectedX; // the inner square moves from 50 to 150 over its frames 0..10
};

class PrecompositionClock : public ::testing::TestWithParam<ClockCase> {};

TEST_P(PrecompositionClock, DrivesItsLayers) {
    const QJsonArray inner{
        Square(Transform({{"p", Animated({LinearKey(0, {50, 100}), EndKey(10, {150, 100})})}}))};
    QJsonObject precomp = PrecompLayer("precomp", 1, "comp_1", 200, 200);
    GetParam().change(precomp);
    const QByteArray json = Json(Movie({precomp}, 200, 200, 30, {PrecompAsset("comp_1", inner)}));
    EXPECT_NEAR(OpaqueCentroid(RenderWithPlayer(json, kSize, GetParam().frame)).x(), GetParam().expectedX,
                0.6);
}

INSTANTIATE_TEST_SUITE_P(
    LayerTiming, PrecompositionClock,
    ::testing::Values(ClockCase{"plain", [](QJsonObject&) {}, 5, 100},
                      ClockCase{"start_time", [](QJsonObject& l) { l["st"] = 5; }, 10, 100},
                      ClockCase{"before_start", [](QJsonObject& l) { l["st"] = 5; }, 5, 50},
                      ClockCase{"stretched", [](QJsonObject& l) { l["sr"] = 2; }, 10, 100},
                      // Remapped time in seconds: 0.2 s is inner frame 5 at 25 fps.
                      ClockCase{"remapped", [](QJsonObject& l) { l["tm"] = Value(0.2); }, 20, 100},
                      ClockCase{"remapped_keys",
                                [](QJsonObject& l) {
                                    l["tm"] = Animated({LinearKey(0, {0.4}), EndKey(20, {0})});
                                },
                                15, 75}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

} // namespace
