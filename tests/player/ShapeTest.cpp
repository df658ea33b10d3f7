// Vector shapes (geometry, fills, strokes, gradients, groups) compared with rlottie's frames.
#include "tests/player/FrameCompare.h"
#include "tests/player/LottieJson.h"

#include <gtest/gtest.h>

using namespace lumiset::test;
using namespace lumiset::test::lottie;

namespace {

constexpr QSize kSize(200, 200);

struct ShapeCase {
    const char* name;
    QJsonArray shapes;
};

class Shapes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(Shapes, MatchRlottie) {
    const ShapeCase& c = GetParam();
    const QByteArray json = Json(Movie({ShapeLayer("shape", 1, c.shapes)}));
    const QImage ours = RenderWithPlayer(json, kSize, 0);
    const QImage reference = RenderWithRlottie(json, kSize, 0);
    SaveForLooking(ours, QString("shape_%1").arg(c.name));
    SaveForLooking(reference, QString("shape_%1_rlottie").arg(c.name));
    EXPECT_GT(PaintedArea(ours, 0).width(), 20) << c.name;
    EXPECT_LT(MeanDifference(ours, reference), 1.5) << c.name;
}

const QJsonArray kTwoStops{0, 1, 0, 0, 1, 0, 0, 1};
const QJsonArray kStopsWithOpacity{0, 1, 1, 0, 1, 0, 0.5, 1, 0, 1, 1, 0.2};

INSTANTIATE_TEST_SUITE_P(
    Cases, Shapes,
    ::testing::Values(
        ShapeCase{"rectangle", {Group({Rect({100, 100}, {120, 80}), Fill(Qt::red)})}},
        ShapeCase{"rounded", {Group({Rect({100, 100}, {120, 80}, 25), Fill(Qt::darkGreen)})}},
        ShapeCase{"ellipse", {Group({Ellipse({100, 100}, {150, 90}), Fill(Qt::blue)})}},
        ShapeCase{"star", {Group({Star({100, 100}, 5, 80, 35), Fill(QColor(255, 200, 0))})}},
        ShapeCase{"path",
                  {Group({Path({QJsonArray{20, 180}, QJsonArray{100, 20}, QJsonArray{180, 180}}),
                          Fill(Qt::magenta)})}},
        ShapeCase{"stroke", {Group({Ellipse({100, 100}, {120, 120}), Stroke(Qt::black, 12)})}},
        ShapeCase{"stroke_over_fill",
                  {Group({Rect({100, 100}, {100, 100}), Stroke(Qt::yellow, 10), Fill(Qt::blue)})}},
        ShapeCase{"linear_gradient",
                  {Group({Rect({100, 100}, {160, 160}), LinearGradient({20, 0}, {180, 0}, kTwoStops, 2)})}},
        ShapeCase{
            "gradient_opacity",
            {Group({Rect({100, 100}, {160, 160}), LinearGradient({0, 20}, {0, 180}, kStopsWithOpacity, 2)})}},
        ShapeCase{
            "radial_gradient",
            {Group({Ellipse({100, 100}, {160, 160}), RadialGradient({100, 100}, {180, 100}, kTwoStops, 2)})}},
        // The outer fill paints the paths of the nested group above it, moved by the group transform.
        ShapeCase{"nested_groups",
                  {Group({Group({Rect({0, 0}, {40, 40})},
                                Transform({{"p", Value(QJsonArray{60, 60})}, {"r", Value(30)}})),
                          Ellipse({140, 140}, {50, 50}), Fill(Qt::darkCyan)})}},
        ShapeCase{"group_opacity",
                  {Group({Rect({100, 100}, {100, 100}), Fill(Qt::red)}, Transform({{"o", Value(40)}}))}},
        ShapeCase{
            "layer_scale_rotation",
            {Group({Rect({0, 0}, {60, 30}), Fill(Qt::darkRed)}, Transform({{"p", Value(QJsonArray{100, 100})},
                                                                           {"s", Value(QJsonArray{150, 200})},
                                                                           {"r", Value(-20)}}))}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(Shapes, LaterItemsInAGroupAreDrawnBelowEarlierOnes) {
    // Bodymovin lists the top item first: the yellow stroke lies over the blue fill.
    const QByteArray json = Json(Movie({ShapeLayer(
        "s", 1, {Group({Rect({100, 100}, {100, 100}), Stroke(Qt::yellow, 10), Fill(Qt::blue)})})}));
    const QImage ours = RenderWithPlayer(json, kSize, 0);
    EXPECT_EQ(ours.pixelColor(52, 100), QColor(Qt::yellow)); // inner half of the stroke
    EXPECT_EQ(ours.pixelColor(100, 100), QColor(Qt::blue));
}

} // namespace
