// Hostile movies and pictures: files that would block, never end or take all memory, and small
// movies that ask for unbounded work. Each is refused at load with a message naming the file, or its
// picture is reported missing; none may hang.
#include "core/Error.h"
#include "player/AnimationPlayer.h"
#include "player/PlayerLimits.h"
#include "tests/player/FrameCompare.h"
#include "tests/player/LottieJson.h"
#include "tests/support/TempTree.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace lumiset;
using namespace lumiset::test;
using namespace lumiset::test::lottie;

namespace {

QByteArray SmallPicture() {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    return Encoded(image);
}

QString MakeFifo(const TempTree& tree, const QString& name) {
    const QString path = tree.file(name);
    EXPECT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    return path;
}

// A file that starts with `content` and is padded to `size` bytes without writing them (sparse).
QString PaddedFile(const TempTree& tree, const QString& name, const QByteArray& content, qint64 size) {
    const QString path = tree.write(name, content);
    QFile file(path);
    EXPECT_TRUE(file.resize(size));
    return path;
}

// --- pictures

struct PictureCase {
    const char* name;
    QString (*make)(const TempTree& tree); // the file the asset names
};

const PictureCase kRefusedPictures[] = {
    {"Fifo", [](const TempTree& tree) { return MakeFifo(tree, "fifo.jpg"); }},
    {"EndlessDevice", [](const TempTree&) { return QStringLiteral("/dev/zero"); }},
    // A valid picture padded past the file size limit.
    {"HugeFile",
     [](const TempTree& tree) {
         return PaddedFile(tree, "huge.png", SmallPicture(), limits::kMaxPictureFileBytes + 1);
     }},
    // A small file that decodes to more pixels than allowed (6000 × 6000, one bit each).
    {"TooManyPixels",
     [](const TempTree& tree) {
         QImage image(6000, 6000, QImage::Format_Mono);
         image.fill(1);
         return tree.write("wide.png", Encoded(image));
     }},
};

class RefusedPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(RefusedPicture, IsReportedMissingAndDrawsNothing) {
    TempTree tree;
    const QString path = GetParam().make(tree);
    const QByteArray json =
        Json(Movie({ImageLayer("picture", 1, "pic")}, 100, 100, 10, {ImageAsset("pic", 100, 100, "", path)}));
    AnimationPlayer player;
    player.setMovieData(json, tree.path(), "movie.rar");
    EXPECT_EQ(player.missingPictures(), QStringList{path});
    EXPECT_EQ(player.grabFrame({50, 50}).pixelColor(25, 25), QColor(Qt::black));
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedPicture, ::testing::ValuesIn(kRefusedPictures),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

// --- the movie file

QByteArray SmallMovie() {
    return Json(Movie({ShapeLayer("dot", 1, {Group({Rect({50, 50}, {20, 20}), Fill(Qt::red)})})}));
}

const PictureCase kRefusedMovies[] = {
    {"Fifo", [](const TempTree& tree) { return MakeFifo(tree, "movie.rar"); }},
    {"EndlessDevice", [](const TempTree&) { return QStringLiteral("/dev/zero"); }},
    {"Folder", [](const TempTree& tree) { return tree.path(); }},
    // Valid JSON: the movie followed by blanks past the size limit.
    {"HugeFile",
     [](const TempTree& tree) {
         return tree.write("huge.rar", SmallMovie() + QByteArray(limits::kMaxMovieFileBytes, ' '));
     }},
};

class RefusedMovie : public ::testing::TestWithParam<PictureCase> {};

TEST_P(RefusedMovie, IsAnErrorNamingTheFileAndKeepsThePreviousMovie) {
    TempTree tree;
    const QString path = GetParam().make(tree);
    AnimationPlayer player;
    player.setMovie(tree.write("good.rar", SmallMovie()));
    try {
        player.setMovie(path);
        FAIL() << "loaded";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().contains(QFileInfo(path).fileName())) << error.message().toStdString();
    }
    EXPECT_TRUE(player.movie().endsWith("good.rar"));
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedMovie, ::testing::ValuesIn(kRefusedMovies),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(RefusedMovie, MovieDataOverTheSizeLimitIsAnError) {
    AnimationPlayer player;
    EXPECT_THROW(
        player.setMovieData(SmallMovie() + QByteArray(limits::kMaxMovieFileBytes, ' '), {}, "big.rar"),
        Error);
}

// A precomposition that contains itself is refused even when no layer of the movie uses it (found by
// fuzzing: it overflowed the stack while the movie was loading).
TEST(RefusedMovie, UnusedPrecompositionThatContainsItselfIsAnError) {
    const QByteArray movie =
        Json(Movie({ShapeLayer("dot", 1, {Group({Rect({5, 5}, {4, 4}), Fill(Qt::red)})})}, 100, 100, 10,
                   {PrecompAsset("loop", {PrecompLayer("self", 1, "loop", 100, 100)})}));
    AnimationPlayer player;
    EXPECT_THROW(player.setMovieData(movie, {}, "loop.rar"), Error);
}

// --- unbounded work

// Precompositions "level_0" .. "level_<levels-1>": each shows the next `uses` times, the last a dot;
// the movie shows level_0 `uses` times, so a frame draws about uses^(levels+1) layers.
QByteArray NestedUses(int levels, int uses) {
    QJsonArray assets;
    for (int level = 0; level < levels; ++level) {
        QJsonArray layers;
        for (int i = 0; i < uses; ++i) {
            layers.append(level + 1 < levels
                              ? PrecompLayer("use", i + 1, QString("level_%1").arg(level + 1), 100, 100)
                              : ShapeLayer("dot", i + 1, {Group({Rect({5, 5}, {4, 4}), Fill(Qt::red)})}));
        }
        assets.append(PrecompAsset(QString("level_%1").arg(level), layers));
    }
    QJsonArray root;
    for (int i = 0; i < uses; ++i)
        root.append(PrecompLayer("use", i + 1, "level_0", 100, 100));
    return Json(Movie(root, 100, 100, 10, assets));
}

TEST(UnboundedWork, PrecompositionsMultiplyingTheirUsesAreRefusedAtLoad) {
    AnimationPlayer player;
    try {
        player.setMovieData(NestedUses(7, 10), {}, "bomb.rar"); // ten million layers per frame
        FAIL() << "loaded";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().contains("bomb.rar")) << error.message().toStdString();
        EXPECT_TRUE(error.message().contains(QString::number(limits::kMaxLayerInstances)));
    }
    // A thousand layers is far below the limit.
    player.setMovieData(NestedUses(2, 10), {}, "nested.rar");
    EXPECT_GT(PaintedArea(player.grabFrame({100, 100}), qRgb(0, 0, 0)).width(), 0);
}

// A chain of `count` nulls, each one unit to the right of its parent, and a square hanging from the
// last one: the square sits `count` units to the right of where it would be alone.
QByteArray ParentChain(int count) {
    QJsonArray layers;
    QJsonObject square = ShapeLayer("square", count + 1, {Group({Rect({10, 50}, {10, 10}), Fill(Qt::red)})});
    square.insert("parent", count);
    layers.append(square);
    for (int i = 1; i <= count; ++i) {
        QJsonObject link = NullLayer("link", i, Transform({{"p", Value(QJsonArray{i == 1 ? 0 : 1, 0})}}));
        if (i > 1)
            link.insert("parent", i - 1);
        layers.append(link);
    }
    return Json(Movie(layers, 200, 100, 10));
}

TEST(UnboundedWork, ParentChainIsFollowedUpToTheLimitAndRefusedBeyond) {
    const int limit = limits::kMaxParentDepth;
    // The square's parents: the `limit` links of the chain.
    const QPointF centre = OpaqueCentroid(RenderWithPlayer(ParentChain(limit), {200, 100}, 0));
    EXPECT_NEAR(centre.x(), 10 + limit - 1, 0.6);
    EXPECT_NEAR(centre.y(), 50, 0.6);
    for (int count : {limit + 1, 5'000}) {
        AnimationPlayer player;
        try {
            player.setMovieData(ParentChain(count), {}, "chain.rar");
            FAIL() << count << " loaded";
        } catch (const Error& error) {
            EXPECT_TRUE(error.message().contains("chain.rar")) << error.message().toStdString();
        }
    }
}

} // namespace
