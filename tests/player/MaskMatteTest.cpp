// Masks (add, subtract, intersect, inverted, with opacity) and track mattes (alpha, inverted alpha):
// sample pixels inside and outside the shapes, and compare whole frames with rlottie.
#include "tests/player/FrameCompare.h"
#include "tests/player/LottieJson.h"

#include <gtest/gtest.h>

using namespace lumiset::test;
using namespace lumiset::test::lottie;

namespace {

constexpr QSize kSize(200, 200);

QJsonArray Square(double left, double top, double right, double bottom) {
    return {QJsonArray{left, top}, QJsonArray{right, top}, QJsonArray{right, bottom},
            QJsonArray{left, bottom}};
}

// A blue square covering 20..180 of the 200 × 200 frame.
QJsonObject Content(const QJsonArray& masks = {}) {
    QJsonObject layer = ShapeLayer("content", 2, {Group({Rect({100, 100}, {160, 160}), Fill(Qt::blue)})});
    if (!masks.isEmpty()) {
        layer.insert("hasMask", true);
        layer.insert("masksProperties", masks);
    }
    return layer;
}

// A white disc of diameter 100 at the centre, used as a matte.
QJsonObject MatteDisc() {
    QJsonObject layer = ShapeLayer("disc", 1, {Group({Ellipse({100, 100}, {100, 100}), Fill(Qt::white)})});
    layer.insert("td", 1);
    return layer;
}

QJsonObject Matted(int mode) {
    QJsonObject layer = Content();
    layer.insert("tt", mode);
    return layer;
}

struct Probe {
    QPoint at;
    int alpha; // expected alpha of the blue content there
};

struct MaskCase {
    const char* name;
    QJsonArray layers;
    std::vector<Probe> probes;
    // rlottie 0.1 draws neither inverted masks, mask opacity nor track mattes: only probes check those.
    bool rlottieDrawsIt = true;
};

class MasksAndMattes : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MasksAndMattes, CoverWhatTheyShould) {
    const MaskCase& c = GetParam();
    const QByteArray json = Json(Movie(c.layers));
    const QImage ours = RenderWithPlayer(json, kSize, 0);
    SaveForLooking(ours, QString("mask_%1").arg(c.name));
    for (const Probe& probe : c.probes)
        EXPECT_NEAR(qAlpha(ours.pixel(probe.at)), probe.alpha, 3)
            << c.name << " at " << probe.at.x() << "," << probe.at.y();
    if (!c.rlottieDrawsIt)
        return;
    const QImage reference = RenderWithRlottie(json, kSize, 0);
    SaveForLooking(reference, QString("mask_%1_rlottie").arg(c.name));
    EXPECT_LT(MeanDifference(ours, reference), 1.5) << c.name;
}

const QJsonObject kLeftMask = Mask("a", Square(40, 40, 120, 120));

INSTANTIATE_TEST_SUITE_P(
    Cases, MasksAndMattes,
    ::testing::Values(
        MaskCase{"add", {Content({kLeftMask})}, {{{60, 60}, 255}, {{150, 150}, 0}, {{10, 10}, 0}}},
        MaskCase{
            "subtract", {Content({Mask("s", Square(40, 40, 120, 120))})}, {{{60, 60}, 0}, {{150, 150}, 255}}},
        MaskCase{"intersect",
                 {Content({kLeftMask, Mask("i", Square(80, 80, 160, 160))})},
                 {{{100, 100}, 255}, {{60, 60}, 0}, {{140, 140}, 0}}},
        MaskCase{"inverted",
                 {Content({Mask("a", Square(40, 40, 120, 120), 100, true)})},
                 {{{60, 60}, 0}, {{150, 150}, 255}},
                 false},
        MaskCase{"half_opacity",
                 {Content({Mask("a", Square(40, 40, 120, 120), 50)})},
                 {{{60, 60}, 128}, {{150, 150}, 0}},
                 false},
        MaskCase{"union",
                 {Content({kLeftMask, Mask("a", Square(130, 130, 170, 170))})},
                 {{{60, 60}, 255}, {{150, 150}, 255}, {{125, 60}, 0}}},
        MaskCase{"alpha_matte", {MatteDisc(), Matted(1)}, {{{100, 100}, 255}, {{30, 30}, 0}}, false},
        MaskCase{
            "inverted_alpha_matte", {MatteDisc(), Matted(2)}, {{{100, 100}, 0}, {{30, 30}, 255}}, false}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(Matte, MatteSourceIsNotDrawnItself) {
    const QImage ours = RenderWithPlayer(Json(Movie({MatteDisc(), Matted(1)})), kSize, 0);
    EXPECT_EQ(ours.pixelColor(100, 100), QColor(Qt::blue));
    EXPECT_EQ(ours.pixelColor(100, 100).alpha(), 255);
}

TEST(Matte, MatteLayerNamedByIndexIsUsed) {
    // Newer exports point at the matte with "tp" instead of relying on the layer order.
    QJsonObject disc = MatteDisc();
    QJsonObject content = Matted(1);
    content.insert("tp", 1);
    const QJsonObject other = ShapeLayer("other", 3, {Group({Rect({10, 10}, {4, 4}), Fill(Qt::green)})});
    const QImage ours = RenderWithPlayer(Json(Movie({disc, other, content})), kSize, 0);
    EXPECT_EQ(qAlpha(ours.pixel(100, 100)), 255);
    EXPECT_EQ(qAlpha(ours.pixel(30, 30)), 0);
}

TEST(Precomposition, IsClippedToItsSizeAndFadesAsOnePicture) {
    // Two overlapping opaque squares inside a precomposition of 120 × 120 drawn at 50 % opacity: the
    // overlap must not look darker than the rest, and nothing shows outside 120 × 120.
    const QJsonArray inner{
        ShapeLayer("a", 1, {Group({Rect({60, 60}, {80, 80}), Fill(Qt::red)})}),
        ShapeLayer("b", 2, {Group({Rect({100, 100}, {80, 80}), Fill(Qt::red)})}),
    };
    const QJsonObject precomp = PrecompLayer("precomp", 1, "comp_1", 120, 120, Transform({{"o", Value(50)}}));
    const QImage ours =
        RenderWithPlayer(Json(Movie({precomp}, 200, 200, 30, {PrecompAsset("comp_1", inner)})), kSize, 0);
    SaveForLooking(ours, "precomp_fade");
    EXPECT_NEAR(qAlpha(ours.pixel(40, 40)), 128, 2);
    EXPECT_NEAR(qAlpha(ours.pixel(80, 80)), 128, 2); // overlap
    EXPECT_EQ(qAlpha(ours.pixel(130, 130)), 0);      // outside the precomposition
}

} // namespace
