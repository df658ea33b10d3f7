// Damaged and hostile movies: every cut or changed byte gives either a movie that draws or an Error,
// never a crash or a hang.
#include "core/Error.h"
#include "player/AnimationPlayer.h"
#include "tests/player/LottieJson.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test::lottie;

namespace {

// Something of every kind of content: precomposition, mask, matte, gradient, stroke, star, image.
QByteArray RichMovie() {
    const QJsonArray inner{ShapeLayer("star", 1, {Group({Star({50, 50}, 6, 40, 20), Fill(Qt::yellow)})})};
    QJsonObject masked = ShapeLayer(
        "masked", 3,
        {Group({Rect({100, 100}, {150, 150}, 10),
                LinearGradient({0, 0}, {200, 0}, {0, 1, 0, 0, 1, 0, 0, 1}, 2), Stroke(Qt::black, 4)})},
        Transform({{"p", Animated({EaseKey(0, {0, 0}, {0.3, 0}, {0.7, 1}), EndKey(20, {20, 10})})}}));
    masked.insert("masksProperties",
                  QJsonArray{Mask("a", {QJsonArray{10, 10}, QJsonArray{190, 10}, QJsonArray{100, 190}})});
    QJsonObject matte = ShapeLayer("matte", 1, {Group({Ellipse({100, 100}, {120, 120}), Fill(Qt::white)})});
    matte.insert("td", 1);
    QJsonObject matted = PrecompLayer("inner", 2, "comp_1", 100, 100);
    matted.insert("tt", 1);
    return Json(Movie({matte, matted, masked, ImageLayer("picture", 4, "pic")}, 200, 200, 30,
                      {PrecompAsset("comp_1", inner), ImageAsset("pic", 50, 50, "", "missing.jpg")}));
}

// Loads `json` and draws a few frames; returns whether it loaded.
bool LoadsAndDraws(const QByteArray& json) {
    AnimationPlayer player;
    try {
        player.setMovieData(json, {}, "damaged.rar");
    } catch (const Error& error) {
        EXPECT_FALSE(error.message().isEmpty());
        return false;
    }
    for (int frame : {0, 10, player.totalFrames() - 1}) {
        player.setFrameNum(frame);
        player.grabFrame({64, 64});
    }
    return true;
}

TEST(DamagedMovies, EveryTruncationIsRejectedOrDrawn) {
    const QByteArray json = RichMovie();
    ASSERT_TRUE(LoadsAndDraws(json));
    for (qsizetype length = 0; length < json.size(); length += 3)
        EXPECT_FALSE(LoadsAndDraws(json.left(length))) << length; // a cut JSON document never parses
}

TEST(DamagedMovies, ChangedNumbersAndBytesAreRejectedOrDrawn) {
    const QByteArray json = RichMovie();
    std::vector<qsizetype> digits;
    for (qsizetype i = 0; i < json.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(json[i])))
            digits.push_back(i);
    }
    QRandomGenerator random(20240611);
    int loaded = 0;
    for (int round = 0; round < 300; ++round) {
        // Changed digits mostly keep the document valid and reach the renderer with odd values.
        QByteArray damaged = json;
        for (int i = 0; i < 4; ++i)
            damaged[digits[random.bounded(int(digits.size()))]] = "0123456789-9"[random.bounded(12)];
        loaded += LoadsAndDraws(damaged);
        // Any byte changed.
        damaged = json;
        damaged[random.bounded(int(damaged.size()))] = char(random.bounded(256));
        LoadsAndDraws(damaged);
    }
    EXPECT_GT(loaded, 50);
}

TEST(DamagedMovies, DeepPrecompositionChainIsRefused) {
    QJsonArray assets;
    for (int i = 0; i < 40; ++i)
        assets.append(PrecompAsset(QString("comp_%1").arg(i),
                                   {PrecompLayer("next", 1, QString("comp_%1").arg(i + 1), 10, 10)}));
    assets.append(
        PrecompAsset("comp_40", {ShapeLayer("end", 1, {Group({Rect({5, 5}, {5, 5}), Fill(Qt::red)})})}));
    AnimationPlayer player;
    try {
        player.setMovieData(Json(Movie({PrecompLayer("start", 1, "comp_0", 10, 10)}, 200, 200, 30, assets)),
                            {}, "deep.rar");
        FAIL() << "accepted";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().contains("嵌套")) << error.message().toStdString();
    }
}

TEST(DamagedMovies, AbsurdNumbersDrawWithoutHanging) {
    // A star with 10^300 points, strokes millions of units wide or dashed a million times, a
    // gigantic ellipse and a tiny picture declared a trillion units wide.
    const QJsonObject star{{"ty", "sr"},         {"sy", 1},         {"p", Value(QJsonArray{50, 50})},
                           {"pt", Value(1e300)}, {"r", Value(0)},   {"or", Value(40)},
                           {"os", Value(0)},     {"ir", Value(20)}, {"is", Value(0)}};
    QJsonObject dashed = Stroke(Qt::green, 0.001);
    dashed.insert("d", QJsonArray{QJsonObject{{"n", "d"}, {"v", Value(0.001)}},
                                  QJsonObject{{"n", "g"}, {"v", Value(0.001)}}});
    const QJsonObject shapes = ShapeLayer(
        "absurd", 1,
        {Group({star, Stroke(Qt::red, 1e7), Fill(Qt::blue)}), Group({Ellipse({0, 0}, {1e9, 1e9}), dashed}),
         Group({Ellipse({0, 0}, {3e9, 1e-9}), Stroke(Qt::black, 1e5), Fill(Qt::white)})});
    const QByteArray picture = QByteArray::fromBase64(
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");
    const QJsonObject asset{{"id", "pic"},
                            {"w", 1e12},
                            {"h", 1e12},
                            {"e", 1},
                            {"p", QString("data:image/png;base64,") + picture.toBase64()}};
    const QJsonObject turned =
        ImageLayer("picture", 2, "pic", Transform({{"r", Value(1e15)}, {"s", Value(QJsonArray{1e9, -1e9})}}));
    const QJsonObject farAway =
        ImageLayer("far", 3, "pic", Transform({{"p", Value(QJsonArray{1e300, -1e300})}}));
    EXPECT_TRUE(LoadsAndDraws(Json(Movie({shapes, turned, farAway}, 200, 200, 30, {asset}))));
}

} // namespace
