// A player keeps the pixels of whatever does not change (layers, runs of neighbouring layers, content
// resting between two animations) and skips work that shows nothing. Whatever it kept, each frame
// must look as a fresh player draws that frame alone: after seeking backwards, after "num_stop"
// changes, after the pictures change, and with other players drawing at the same time.
#include "player/AnimationPlayer.h"
#include "tests/player/FrameCompare.h"
#include "tests/player/LottieJson.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <thread>

using namespace lumiset;
using namespace lumiset::test;
using namespace lumiset::test::lottie;

namespace {

constexpr int kFrames = 48;

// A photo with detail everywhere, so that a picture drawn in the wrong place or from old pixels shows.
QImage Photo(const QColor& tint) {
    QImage image(120, 80, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 120, 80);
    gradient.setColorAt(0, tint);
    gradient.setColorAt(1, tint.darker(250));
    painter.fillRect(image.rect(), gradient);
    for (int i = 0; i < 12; ++i)
        painter.fillRect(QRect(i * 10, (i * 17) % 70, 6, 9), QColor::fromHsv(i * 30, 200, 250));
    return image;
}

QJsonObject WithMatte(QJsonObject layer, bool source) {
    layer.insert(source ? "td" : "tt", 1);
    return layer;
}

QJsonObject Visible(QJsonObject layer, int in, int out) {
    layer.insert("ip", in);
    layer.insert("op", out);
    return layer;
}

// A card (precomposition) that grows, then turns and zooms slowly all the time, with a light band
// crossing it between frames 14 and 20 through a matte, and a dot inside that changes colour at frame
// 12 and moves between frames 26 and 30; a badge (a precomposition holding a "num_stop" layer); over a
// background picture ("num_stop"), a still wash and vignette with a tint between them that turns from
// white to black at frame 20, a picture cut by a moving rectangle, a star wiped in between frames 10
// and 16, and an opaque cover that fades away by frame 8.
QByteArray Movie() {
    const QJsonObject band =
        ShapeLayer("band", 1,
                   {Group({Rect({0, 0}, {24, 160}),
                           LinearGradient({-12, 0}, {12, 0}, {0, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 0.7}, 2)},
                          Transform({{"r", Value(18)}}))},
                   Transform({{"p", Animated({LinearKey(14, {-30, 40}), EndKey(20, {150, 40})})}}));
    const QJsonObject bandArea =
        ShapeLayer("band_area", 2, {Group({Rect({60, 40}, {120, 80}), Fill(Qt::white)})});
    const QJsonObject dot = ShapeLayer(
        "dot", 3,
        {Group({Ellipse({0, 0}, {18, 18}),
                QJsonObject{{"ty", "fl"},
                            {"c", Animated({HoldKey(0, {1, 0, 0, 1}), EndKey(12, {0, 0, 1, 1})})},
                            {"o", Value(100)}}})},
        Transform({{"p", Animated({HoldKey(0, {20, 20}), LinearKey(26, {20, 20}), EndKey(30, {90, 55})})}}));
    const QJsonObject border =
        ShapeLayer("border", 4, {Group({Rect({60, 40}, {120, 80}, 6), Stroke(Qt::white, 4)})});
    QJsonObject photo = ImageLayer("photo", 5, "photo");
    photo.insert(
        "masksProperties",
        QJsonArray{Mask("a", {QJsonArray{8, 0}, QJsonArray{112, 0}, QJsonArray{120, 8}, QJsonArray{120, 72},
                              QJsonArray{112, 80}, QJsonArray{8, 80}, QJsonArray{0, 72}, QJsonArray{0, 8}})});
    const QJsonObject shadow =
        ShapeLayer("shadow", 6, {Group({Rect({64, 46}, {124, 84}, 8), Fill(Qt::black, 40)})});
    const QJsonArray card{WithMatte(bandArea, true), WithMatte(band, false), dot, border, photo, shadow};

    const QJsonObject cover = Visible(
        SolidLayer("cover", 1, Qt::darkGreen, 200, 120,
                   Transform({{"o", Animated({HoldKey(0, {100}), LinearKey(3, {100}), EndKey(8, {0})})}})),
        0, 9);
    const QJsonObject star = ShapeLayer("star", 2, {Group({Star({160, 30}, 5, 18, 8), Fill(Qt::yellow)})});
    const QJsonObject wipe =
        ShapeLayer("wipe", 3, {Group({Rect({0, 0}, {50, 50}), Fill(Qt::white)})},
                   Transform({{"p", Animated({LinearKey(10, {100, 30}), EndKey(16, {160, 30})})}}));
    const QJsonObject cardLayer = PrecompLayer(
        "card", 4, "card", 130, 90,
        Transform(
            {{"a", Value(QJsonArray{65, 45})},
             {"p", Value(QJsonArray{90, 60})},
             {"s", Animated({LinearKey(0, {30, 30}), LinearKey(10, {95, 95}), EndKey(kFrames, {104, 104})})},
             {"r", Animated({LinearKey(0, {-4}), EndKey(kFrames, {5})})}}));
    const QJsonObject badge =
        PrecompLayer("badge", 10, "badge", 40, 40, Transform({{"p", Value(QJsonArray{20, 90})}}));
    QJsonObject tile =
        ImageLayer("tile", 5, "photo",
                   Transform({{"p", Animated({LinearKey(0, {150, 70}), EndKey(kFrames, {110, 40})})},
                              {"s", Value(QJsonArray{50, 50})}}));
    tile.insert("masksProperties", QJsonArray{Mask("a", {QJsonArray{20, 10}, QJsonArray{90, 10},
                                                         QJsonArray{90, 60}, QJsonArray{20, 60}})});
    const QJsonObject vignette = ShapeLayer(
        "vignette", 6,
        {Group({Rect({100, 60}, {200, 120}),
                RadialGradient({100, 60}, {140, 60}, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0.6}, 2)})});
    const QJsonObject wash = ShapeLayer(
        "wash", 7,
        {Group({Rect({100, 60}, {200, 120}),
                LinearGradient({0, 0}, {0, 120}, {0, 1, 0.8, 0.9, 1, 0.3, 0.1, 0.4, 0, 0.3, 1, 0.5}, 2)})});
    const QJsonObject tint =
        ShapeLayer("tint", 11,
                   {Group({Rect({40, 100}, {60, 30}),
                           QJsonObject{{"ty", "fl"},
                                       {"c", Animated({HoldKey(0, {1, 1, 1, 1}), EndKey(20, {0, 0, 0, 1})})},
                                       {"o", Value(100)}}})});
    const QJsonObject background =
        ImageLayer("num_stop", 8, "photo",
                   Transform({{"s", Animated({LinearKey(0, {170, 150}), EndKey(kFrames, {180, 160})})}}));
    const QJsonObject base = SolidLayer("base", 9, QColor(60, 20, 40), 200, 120);
    return Json(lumiset::test::lottie::Movie(
        {cover, WithMatte(wipe, true), WithMatte(star, false), cardLayer, badge, tile, vignette, tint, wash,
         background, base},
        200, 120, kFrames,
        {PrecompAsset("card", card),
         PrecompAsset("badge",
                      {SolidLayer("num_stop", 1, Qt::magenta, 30, 30),
                       ShapeLayer("ring", 2, {Group({Ellipse({20, 20}, {36, 36}), Stroke(Qt::white, 3)})})}),
         ImageAsset("photo", 120, 80, "", "photo.jpg")}));
}

PictureProvider Pictures(const QColor& tint) {
    PictureProvider pictures;
    pictures.insert("photo.jpg", Photo(tint));
    return pictures;
}

struct Step {
    int frame;
    QString numStop; // empty: not set
};

QImage Fresh(const QByteArray& json, const QColor& tint, QSize size, const Step& step) {
    AnimationPlayer player;
    player.setMovieData(json, Pictures(tint), {}, "movie.rar");
    player.setBackground(Qt::transparent);
    if (!step.numStop.isEmpty())
        player.setVariable(kNumStopVariable, step.numStop);
    player.setFrameNum(step.frame);
    return player.grabFrame(size);
}

// Kept content is sampled once more where it turns or zooms, which softens the edges of the shapes
// kept with a picture by a fraction of a pixel; old pixels shown by mistake differ by far more.
constexpr double kTolerance = 0.5;

struct Playback {
    const char* name;
    QSize size;
    std::vector<Step> steps;
};

std::vector<Step> Forward(int from, int to, const QString& numStop = {}) {
    std::vector<Step> steps;
    for (int frame = from; frame < to; ++frame)
        steps.push_back({frame, numStop});
    return steps;
}

std::vector<Step> Concat(std::initializer_list<std::vector<Step>> parts) {
    std::vector<Step> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class KeptContent : public ::testing::TestWithParam<Playback> {};

TEST_P(KeptContent, EveryFrameLooksLikeAFreshPlayersFrame) {
    const QByteArray json = Movie();
    const Playback& playback = GetParam();
    AnimationPlayer player;
    player.setMovieData(json, Pictures(Qt::darkCyan), {}, "movie.rar");
    player.setBackground(Qt::transparent);
    for (const Step& step : playback.steps) {
        if (!step.numStop.isEmpty())
            player.setVariable(kNumStopVariable, step.numStop);
        player.setFrameNum(step.frame);
        const QImage kept = player.grabFrame(playback.size);
        const QImage fresh = Fresh(json, Qt::darkCyan, playback.size, step);
        EXPECT_LT(MeanDifference(kept, fresh), kTolerance)
            << "frame " << step.frame << " num_stop " << step.numStop.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Playbacks, KeptContent,
    ::testing::Values(Playback{"forward", {200, 120}, Forward(0, kFrames)},
                      Playback{"scaled_surface", {310, 186}, Forward(0, kFrames)},
                      Playback{"seeking_backwards",
                               {200, 120},
                               Concat({Forward(0, 24), Forward(22, 28), Forward(8, 16), Forward(2, 6),
                                       Forward(40, 44), Forward(16, 22)})},
                      Playback{"num_stop_changes",
                               {200, 120},
                               Concat({Forward(0, 12, "0"), Forward(12, 24, "40"), Forward(24, 30, "100"),
                                       Forward(30, 36, "40")})}),
    [](const ::testing::TestParamInfo<Playback>& param) { return std::string(param.param.name); });

TEST(KeptContentPictures, NewPicturesOfANewLoadReplaceKeptPixels) {
    const QByteArray json = Movie();
    AnimationPlayer player;
    player.setBackground(Qt::transparent);
    player.setMovieData(json, Pictures(Qt::darkCyan), {}, "movie.rar");
    for (int frame = 0; frame < 36; ++frame) {
        player.setFrameNum(frame);
        player.grabFrame({200, 120});
    }
    player.setMovieData(json, Pictures(Qt::darkRed), {}, "movie.rar");
    player.setBackground(Qt::transparent);
    for (int frame = 30; frame < 36; ++frame) {
        player.setFrameNum(frame);
        EXPECT_LT(
            MeanDifference(player.grabFrame({200, 120}), Fresh(json, Qt::darkRed, {200, 120}, {frame, {}})),
            kTolerance)
            << frame;
    }
}

TEST(KeptContentPictures, PlayersInParallelKeepTheirOwnPixels) {
    const QByteArray json = Movie();
    const QColor tints[] = {Qt::darkCyan, Qt::darkRed, Qt::darkYellow};
    std::vector<QImage> expected[3];
    for (int p = 0; p < 3; ++p) {
        for (int frame = 0; frame < kFrames; ++frame)
            expected[p].push_back(Fresh(json, tints[p], {200, 120}, {frame, {}}));
    }
    double worst[3] = {};
    std::vector<std::thread> threads;
    for (int p = 0; p < 3; ++p) {
        threads.emplace_back([&, p] {
            AnimationPlayer player;
            player.setMovieData(json, Pictures(tints[p]), {}, "movie.rar");
            player.setBackground(Qt::transparent);
            for (int frame = 0; frame < kFrames; ++frame) {
                player.setFrameNum(frame);
                worst[p] =
                    std::max(worst[p], MeanDifference(player.grabFrame({200, 120}), expected[p][frame]));
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int p = 0; p < 3; ++p)
        EXPECT_LT(worst[p], kTolerance) << "player " << p;
}

// Work left out because it shows nothing must really show nothing: a fresh player leaves it out too,
// so these frames are checked pixel by pixel instead.
struct Probe {
    QPoint at;
    int alpha;
};

struct HiddenCase {
    const char* name;
    QJsonArray layers;
    std::vector<Probe> probes;
};

// A blue square covering 20..180 of the 200 × 200 frame.
QJsonObject BlueSquare(bool matted) {
    QJsonObject layer = ShapeLayer("content", 2, {Group({Rect({100, 100}, {160, 160}), Fill(Qt::blue)})});
    return matted ? WithMatte(layer, false) : layer;
}

// A white rectangle from `left` to `right` across the whole height, as a matte.
QJsonObject MatteBand(double left, double right) {
    return WithMatte(
        ShapeLayer("matte", 1,
                   {Group({Rect({(left + right) / 2, 100}, {right - left, 200}), Fill(Qt::white)})}),
        true);
}

class HiddenWork : public ::testing::TestWithParam<HiddenCase> {};

TEST_P(HiddenWork, LeavesOutOnlyWhatShowsNothing) {
    const HiddenCase& c = GetParam();
    const QImage frame = RenderWithPlayer(Json(lumiset::test::lottie::Movie(c.layers)), {200, 200}, 0);
    for (const Probe& probe : c.probes)
        EXPECT_NEAR(qAlpha(frame.pixel(probe.at)), probe.alpha, 3) << probe.at.x() << "," << probe.at.y();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HiddenWork,
    ::testing::Values(
        HiddenCase{"translucent_cover",
                   {SolidLayer("cover", 1, Qt::red, 204, 204,
                               Transform({{"p", Value(QJsonArray{-2, -2})}, {"o", Value(50)}})),
                    BlueSquare(false)},
                   {{{100, 100}, 255}, {{10, 10}, 128}}},
        HiddenCase{"opaque_cover",
                   {SolidLayer("cover", 1, Qt::red, 204, 204, Transform({{"p", Value(QJsonArray{-2, -2})}})),
                    BlueSquare(false)},
                   {{{100, 100}, 255}}},
        HiddenCase{
            "matte_over_part", {MatteBand(0, 100), BlueSquare(true)}, {{{60, 100}, 255}, {{150, 100}, 0}}},
        HiddenCase{
            "matte_just_beside", {MatteBand(181, 200), BlueSquare(true)}, {{{100, 100}, 0}, {{179, 100}, 0}}},
        HiddenCase{
            "matte_over_all", {MatteBand(0, 200), BlueSquare(true)}, {{{100, 100}, 255}, {{10, 10}, 0}}}),
    [](const ::testing::TestParamInfo<HiddenCase>& param) { return std::string(param.param.name); });

// The cheaper ways of drawing must show what the plain ones show.
TEST(PictureCut, ShowsJustThatPartOfThePicture) {
    QImage photo(40, 30, QImage::Format_RGB32);
    photo.fill(Qt::blue);
    QPainter(&photo).fillRect(10, 5, 20, 20, Qt::red);
    QJsonObject layer = ImageLayer("photo", 1, "photo");
    layer.insert("masksProperties", QJsonArray{Mask("a", {QJsonArray{10, 5}, QJsonArray{30, 5},
                                                          QJsonArray{30, 25}, QJsonArray{10, 25}})});
    PictureProvider pictures;
    pictures.insert("photo.jpg", photo);
    AnimationPlayer player;
    player.setMovieData(Json(lumiset::test::lottie::Movie({layer}, 40, 30, 2,
                                                          {ImageAsset("photo", 40, 30, "", "photo.jpg")})),
                        pictures, {}, "movie.rar");
    player.setBackground(Qt::transparent);
    const QImage frame = player.grabFrame({40, 30});
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= 10 && x < 30 && y >= 5 && y < 25;
            ASSERT_EQ(frame.pixel(x, y), inside ? QColor(Qt::red).rgba() : 0u) << x << "," << y;
        }
    }
}

} // namespace
