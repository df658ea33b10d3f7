// Pictures: drawn at their declared size whatever their pixel size, smoothly, given from memory or
// found through the asset's folder, reported when missing, read afresh on every load; the "num_stop"
// background.
#include "core/Error.h"
#include "player/AnimationPlayer.h"
#include "tests/player/FrameCompare.h"
#include "tests/player/LottieJson.h"
#include "tests/support/TempTree.h"

#include <QPainter>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;
using namespace lumiset::test::lottie;

namespace {

QByteArray PlainPicture(QSize size, const QColor& color, const char* format = "JPG") {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return Encoded(image, format);
}

// A movie of `w` × `h` showing image asset "pic" (declared `declared`) with its corner at `corner`.
QByteArray PictureMovie(const QString& folder, const QString& file, QSizeF declared, QPointF corner,
                        const QString& layerName = "picture", double w = 1920, double h = 1080) {
    const QJsonObject layer =
        ImageLayer(layerName, 1, "pic", Transform({{"p", Value(QJsonArray{corner.x(), corner.y()})}}));
    return Json(
        Movie({layer}, w, h, 10, {ImageAsset("pic", declared.width(), declared.height(), folder, file)}));
}

class DeclaredSize : public ::testing::TestWithParam<QSize> {};

TEST_P(DeclaredSize, PictureFillsItsDeclaredRectangleAtEverySurfaceSize) {
    // A 120 × 68 file declared as 480 × 270 at (200, 100) on the 1920 × 1080 canvas.
    TempTree tree;
    tree.write("movie/slot.jpg", PlainPicture({120, 68}, Qt::red));
    AnimationPlayer player;
    player.setMovieData(PictureMovie("", "slot.jpg", {480, 270}, {200, 100}), tree.file("movie"),
                        "movie.rar");
    const QSize size = GetParam();
    const QImage frame = player.grabFrame(size);
    SaveForLooking(frame, QString("declared_%1").arg(size.width()));
    const double scale = size.width() / 1920.0;
    const QRect painted = PaintedArea(frame, qRgb(0, 0, 0));
    EXPECT_NEAR(painted.left(), 200 * scale, 1.0);
    EXPECT_NEAR(painted.top(), 100 * scale, 1.0);
    EXPECT_NEAR(painted.width(), 480 * scale, 1.5);
    EXPECT_NEAR(painted.height(), 270 * scale, 1.5);
    EXPECT_TRUE(player.missingPictures().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Surfaces, DeclaredSize,
                         ::testing::Values(QSize(1920, 1080), QSize(1280, 720), QSize(800, 450)),
                         [](const auto& testInfo) { return std::to_string(testInfo.param.width()); });

TEST(Pictures, ReducedPictureIsSmoothNotAliased) {
    // One-pixel black and white stripes drawn at a quarter of their size must average to grey;
    // sampling single pixels would give black or white bands.
    QImage stripes(800, 800, QImage::Format_RGB32);
    for (int x = 0; x < stripes.width(); ++x)
        QPainter(&stripes).fillRect(x, 0, 1, 800, x % 2 ? Qt::white : Qt::black);
    TempTree tree;
    tree.write("stripes.png", Encoded(stripes, "PNG"));
    AnimationPlayer player;
    player.setMovieData(PictureMovie("", "stripes.png", {800, 800}, {0, 0}, "picture", 800, 800), tree.path(),
                        "movie.rar");
    const QImage frame = player.grabFrame({200, 200});
    SaveForLooking(frame, "stripes_reduced");
    for (int x = 20; x < 180; x += 7)
        EXPECT_NEAR(qGray(frame.pixel(x, 100)), 128, 20) << x;
}

TEST(Pictures, HandOverPictureIsFoundThroughTheAssetFolderAndReadAfreshOnEveryLoad) {
    TempTree tree;
    const QString movie = tree.write("wj_y_l/wj_y_l_1/movie.rar",
                                     PictureMovie("../../pic/", "picture_0.jpg", {1920, 1080}, {0, 0}));
    tree.write("pic/picture_0.jpg", PlainPicture({192, 108}, Qt::blue));
    AnimationPlayer player;
    player.setMovie(movie);
    EXPECT_GT(player.grabFrame({192, 108}).pixelColor(96, 54).blue(), 250);

    // The album player rewrites the hand-over picture before loading the next template.
    tree.write("pic/picture_0.jpg", PlainPicture({192, 108}, Qt::green));
    player.setMovie(movie);
    EXPECT_GT(player.grabFrame({192, 108}).pixelColor(96, 54).green(), 250);

    tree.write("pic/picture_0.jpg", PlainPicture({192, 108}, Qt::red));
    player.reloadPictures();
    EXPECT_GT(player.grabFrame({192, 108}).pixelColor(96, 54).red(), 250);
}

TEST(Pictures, MissingPictureIsReportedAndDrawsNothing) {
    TempTree tree;
    AnimationPlayer player;
    player.setMovieData(PictureMovie("", "zp_1.jpg", {960, 540}, {0, 0}), tree.path(), "movie.rar");
    ASSERT_EQ(player.missingPictures().size(), 1);
    EXPECT_EQ(player.missingPictures().front(), tree.file("zp_1.jpg"));
    EXPECT_EQ(player.grabFrame({192, 108}).pixelColor(40, 20), QColor(Qt::black));
}

TEST(Pictures, UnreadablePictureCountsAsMissing) {
    TempTree tree;
    tree.write("zp_1.jpg", "not a picture");
    AnimationPlayer player;
    player.setMovieData(PictureMovie("", "zp_1.jpg", {960, 540}, {0, 0}), tree.path(), "movie.rar");
    EXPECT_EQ(player.missingPictures(), QStringList{tree.file("zp_1.jpg")});
}

TEST(Pictures, EmbeddedPictureIsDrawn) {
    const QString uri = "data:image/png;base64," + PlainPicture({10, 10}, Qt::yellow, "PNG").toBase64();
    const QJsonObject asset{{"id", "pic"}, {"w", 100}, {"h", 100}, {"u", ""}, {"p", uri}, {"e", 1}};
    const QByteArray json = Json(Movie({ImageLayer("decor", 1, "pic")}, 200, 200, 10, {asset}));
    AnimationPlayer player;
    player.setMovieData(json, {}, "movie.rar");
    const QImage frame = player.grabFrame({200, 200});
    EXPECT_EQ(frame.pixelColor(50, 50), QColor(Qt::yellow));
    EXPECT_EQ(frame.pixelColor(150, 150), QColor(Qt::black));
}

TEST(Pictures, BrokenEmbeddedPictureIsAnError) {
    const QJsonObject asset{
        {"id", "pic"}, {"w", 100}, {"h", 100}, {"p", "data:image/png;base64,AAAA"}, {"e", 1}};
    AnimationPlayer player;
    EXPECT_THROW(player.setMovieData(Json(Movie({ImageLayer("decor", 1, "pic")}, 200, 200, 10, {asset})), {},
                                     "movie.rar"),
                 Error);
}

// Pixels no lossy encoding keeps: every pixel a different random colour.
QImage NoisePicture(QSize size, quint32 seed) {
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, 0xff000000u | random.bounded(0x1000000u));
    return image;
}

TEST(ProvidedPictures, AreDrawnWithTheirExactPixels) {
    const QImage noise = NoisePicture({64, 48}, 7);
    PictureProvider pictures;
    pictures.insert("zp_1.jpg", noise);
    AnimationPlayer player;
    player.setMovieData(PictureMovie("", "zp_1.jpg", {64, 48}, {0, 0}, "picture", 64, 48), pictures, {},
                        "movie.rar");
    EXPECT_TRUE(player.missingPictures().isEmpty());
    const QImage frame = player.grabFrame({64, 48}).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(frame, noise);
}

TEST(ProvidedPictures, TakePrecedenceAndTheOthersAreStillReadFromTheFolder) {
    // Three slots side by side: one given from memory (also present on disk in another colour), one
    // only on disk, one nowhere.
    TempTree tree;
    tree.write("movie/given.jpg", PlainPicture({10, 10}, Qt::red));
    tree.write("movie/pic/on_disk.png", PlainPicture({10, 10}, Qt::green, "PNG"));
    const QJsonArray assets{ImageAsset("a", 100, 100, "", "given.jpg"),
                            ImageAsset("b", 100, 100, "pic/", "on_disk.png"),
                            ImageAsset("c", 100, 100, "", "nowhere.jpg")};
    const QJsonArray layers{ImageLayer("a", 1, "a"),
                            ImageLayer("b", 2, "b", Transform({{"p", Value(QJsonArray{100, 0})}})),
                            ImageLayer("c", 3, "c", Transform({{"p", Value(QJsonArray{200, 0})}}))};
    const QByteArray json = Json(Movie(layers, 300, 100, 10, assets));
    PictureProvider pictures;
    QImage blue(10, 10, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    pictures.insert("./given.jpg", blue);
    pictures.insert("unused.jpg", QImage(4, 4, QImage::Format_RGB32));
    AnimationPlayer player;
    player.setMovieData(json, pictures, tree.file("movie"), "movie.rar");
    for (int pass = 0; pass < 2; ++pass) {
        const QImage frame = player.grabFrame({300, 100});
        EXPECT_EQ(frame.pixelColor(50, 50), QColor(Qt::blue)) << pass;
        EXPECT_EQ(frame.pixelColor(150, 50), QColor(Qt::green)) << pass;
        EXPECT_EQ(frame.pixelColor(250, 50), QColor(Qt::black)) << pass;
        EXPECT_EQ(player.missingPictures(), QStringList{tree.file("movie/nowhere.jpg")}) << pass;
        player.reloadPictures(); // re-reads the files, keeps what was given
    }
}

TEST(ProvidedPictures, WithoutAFolderTheOthersAreMissingByTheirNames) {
    PictureProvider pictures;
    pictures.insert("other.jpg", QImage(4, 4, QImage::Format_RGB32));
    AnimationPlayer player;
    player.setMovieData(PictureMovie("../../pic/", "picture_0.jpg", {100, 100}, {0, 0}), pictures, {},
                        "movie.rar");
    EXPECT_EQ(player.missingPictures(), QStringList{"../../pic/picture_0.jpg"});
}

struct NumStopCase {
    const char* value;
    int gray; // the white background over black
};

class NumStop : public ::testing::TestWithParam<NumStopCase> {};

TEST_P(NumStop, SetsTheBackgroundLayersOpacity) {
    TempTree tree;
    tree.write("wj_y_l_b_j.jpg", PlainPicture({192, 108}, Qt::white));
    AnimationPlayer player;
    player.setMovieData(PictureMovie("", "wj_y_l_b_j.jpg", {1920, 1080}, {0, 0}, "num_stop"), tree.path(),
                        "movie.rar");
    if (*GetParam().value)
        player.setVariable(kNumStopVariable, GetParam().value);
    EXPECT_NEAR(qGray(player.grabFrame({192, 108}).pixel(96, 54)), GetParam().gray, 2);
}

INSTANTIATE_TEST_SUITE_P(Values, NumStop,
                         ::testing::Values(NumStopCase{"", 255}, NumStopCase{"0", 255},
                                           NumStopCase{"30", 179}, NumStopCase{"100", 0},
                                           NumStopCase{"150", 0}, NumStopCase{" 50 ", 128}));

TEST(NumStop, TextThatIsNoNumberIsRefused) {
    AnimationPlayer player;
    EXPECT_THROW(player.setVariable(kNumStopVariable, "abc"), Error);
    EXPECT_EQ(player.getVariable(kNumStopVariable), "");
}

} // namespace
