// Layers whose content does not change are kept as pixels between frames. A player drawing a
// sequence must show what a fresh player shows for each frame (up to resampling of moving layers),
// and must notice what can change: sub-layers appearing, new pictures, the "num_stop" variable.
#include "player/AnimationPlayer.h"
#include "tests/player/FrameCompare.h"
#include "tests/player/LottieJson.h"
#include "tests/support/TempTree.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;
using namespace lumiset::test::lottie;

namespace {

constexpr QSize kSize(320, 180);

QByteArray Picture(const QColor& color) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(color);
    QPainter(&image).fillRect(8, 8, 20, 20, Qt::white); // some detail to resample
    return Encoded(image);
}

// A turned card (picture, border, stroked star, and a sticker appearing at frame 15) that rests until
// frame 10, jumps by whole pixels until 20, slides by fractions of a pixel until 30, then rests.
QByteArray CardMovie() {
    QJsonObject sticker = ShapeLayer("sticker", 1, {Group({Ellipse({20, 20}, {16, 16}), Fill(Qt::red)})});
    sticker.insert("ip", 15);
    const QJsonArray card{
        sticker,
        ShapeLayer("border", 2,
                   {Group({Rect({64, 48}, {128, 96}, 8), Stroke(Qt::white, 4)}),
                    Group({Star({100, 20}, 5, 14, 6), Stroke(Qt::yellow, 2), Fill(Qt::darkYellow)})}),
        ImageLayer("photo", 3, "pic", Transform({{"s", Value(QJsonArray{200, 200})}})),
    };
    const QJsonObject position = Animated({HoldKey(0, {100, 60}), LinearKey(10, {100, 60}),
                                           LinearKey(20, {110, 50}), EndKey(30, {117.3, 52.9})});
    const QJsonObject precomp = PrecompLayer(
        "card", 1, "card", 128, 96, Transform({{"p", position}, {"r", Value(-7)}, {"o", Value(90)}}));
    const QJsonObject background =
        ShapeLayer("back", 2,
                   {Group({Rect({160, 90}, {320, 180}),
                           RadialGradient({160, 90}, {320, 90}, {0, 0, 0, 0.5, 1, 1, 1, 1}, 2)})});
    return Json(Movie({precomp, background}, 320, 180, 40,
                      {PrecompAsset("card", card), ImageAsset("pic", 64, 48, "", "pic.png")}));
}

TEST(KeptLayers, SequenceLooksLikeFreshFrames) {
    TempTree tree;
    tree.write("pic.png", Picture(Qt::darkBlue));
    const QByteArray json = CardMovie();
    AnimationPlayer sequence;
    sequence.setMovieData(json, tree.path(), "card.rar");
    for (int frame = 0; frame < 40; ++frame) {
        sequence.setFrameNum(frame);
        const QImage kept = sequence.grabFrame(kSize);
        const QImage fresh = RenderWithPlayer(json, kSize, frame, tree.path());
        // Moving by a fraction of a pixel resamples kept pixels a little; resting and whole-pixel moves
        // must look the same (the sticker appearing at frame 15 included).
        const bool sliding = frame > 20 && frame <= 30;
        EXPECT_LT(MeanDifference(kept, fresh), sliding ? 1.0 : 0.02) << frame;
    }
}

TEST(KeptLayers, NewPicturesAndNumStopReplaceKeptPixels) {
    TempTree tree;
    tree.write("pic.png", Picture(Qt::darkBlue));
    QJsonObject background =
        ImageLayer("num_stop", 1, "pic", Transform({{"r", Value(3)}, {"s", Value(QJsonArray{320, 320})}}));
    const QByteArray json =
        Json(Movie({PrecompLayer("inner", 1, "inner", 200, 200)}, 200, 200, 10,
                   {PrecompAsset("inner", {background}), ImageAsset("pic", 64, 48, "", "pic.png")}));
    AnimationPlayer player;
    player.setMovieData(json, tree.path(), "movie.rar");
    for (int frame = 0; frame < 3; ++frame) {
        player.setFrameNum(frame);
        player.grabFrame({200, 200});
    }
    EXPECT_EQ(player.grabFrame({200, 200}).pixelColor(150, 100), QColor(Qt::darkBlue));

    tree.write("pic.png", Picture(Qt::darkGreen));
    player.reloadPictures();
    EXPECT_EQ(player.grabFrame({200, 200}).pixelColor(150, 100), QColor(Qt::darkGreen));

    player.setVariable(kNumStopVariable, "100");
    EXPECT_EQ(player.grabFrame({200, 200}).pixelColor(150, 100), QColor(Qt::black));
}

TEST(SubPixelMotion, PictureSlidingAtFullSizeMovesByFractions) {
    // A picture at its own size sliding by a quarter pixel per frame must not jump whole pixels.
    TempTree tree;
    QImage bar(4, 40, QImage::Format_RGB32);
    bar.fill(Qt::white);
    bar.save(tree.file("bar.png"));
    const QJsonObject position = Animated({LinearKey(0, {50, 10}), EndKey(4, {51, 10})});
    // (The scale of the canvas to the surface is 1, so only the slide can make the position fractional.)
    const QByteArray json = Json(Movie({ImageLayer("bar", 1, "bar", Transform({{"p", position}}))}, 100, 60,
                                       5, {ImageAsset("bar", 4, 40, "", "bar.png")}));
    AnimationPlayer player;
    player.setMovieData(json, tree.path(), "movie.rar");
    player.setBackground(Qt::transparent);
    double previous = -1;
    for (int frame = 0; frame <= 4; ++frame) {
        player.setFrameNum(frame);
        const double x = OpaqueCentroid(player.grabFrame({100, 60})).x();
        if (previous >= 0) {
            EXPECT_NEAR(x - previous, 0.25, 0.05) << frame;
        }
        previous = x;
    }
}

} // namespace
