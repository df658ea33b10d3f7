// The player's operations: frames and the play clock, variables and the marker, rejected movies,
// and players rendering in parallel threads.
#include "core/Error.h"
#include "player/AnimationPlayer.h"
#include "tests/player/FrameCompare.h"
#include "tests/player/LottieJson.h"
#include "tests/support/TempTree.h"

#include <QJsonDocument>
#include <gtest/gtest.h>
#include <thread>

using namespace lumiset;
using namespace lumiset::test;
using namespace lumiset::test::lottie;

namespace {

// A square moving right over 50 frames, under a gradient that changes colour.
QByteArray MovingMovie(int frames = 50) {
    const QJsonObject position = Animated({LinearKey(0, {20, 100}), EndKey(frames - 1, {180, 100})});
    return Json(
        Movie({ShapeLayer("square", 1, {Group({Rect({0, 0}, {20, 20}), Fill(Qt::red)})},
                          Transform({{"p", position}})),
               ShapeLayer("back", 2,
                          {Group({Rect({100, 100}, {200, 200}),
                                  LinearGradient({0, 0}, {200, 200}, {0, 0, 0, 1, 1, 1, 1, 0}, 2)})})},
              200, 200, frames));
}

class FakeClock {
public:
    qint64 now = 1000;
    AnimationPlayer::Clock clock() {
        return [this] { return now; };
    }
};

TEST(Frames, SetAndReadBackWithinTheMovie) {
    AnimationPlayer player;
    EXPECT_EQ(player.totalFrames(), 0);
    player.setMovieData(MovingMovie(), {}, "movie.rar");
    EXPECT_EQ(player.totalFrames(), 50);
    EXPECT_EQ(player.frameNum(), 0);
    player.setFrameNum(49);
    EXPECT_EQ(player.totalFrames(), player.frameNum() + 1); // the ended test of the album player
    // The callers' rewind: frame := total frames, then 0.
    player.setFrameNum(player.totalFrames());
    EXPECT_EQ(player.frameNum(), 49);
    player.setFrameNum(0);
    EXPECT_EQ(player.frameNum(), 0);
    player.setFrameNum(-5);
    EXPECT_EQ(player.frameNum(), 0);
}

TEST(Frames, PlayingFollowsTheClockAt25FramesASecond) {
    FakeClock time;
    AnimationPlayer player(time.clock());
    player.setMovieData(MovingMovie(), {}, "movie.rar");
    player.play();
    time.now += 199; // 4.975 frames
    EXPECT_EQ(player.frameNum(), 4);
    time.now += 1;
    EXPECT_EQ(player.frameNum(), 5);
    player.setFrameNum(20); // continues from the frame it was sent to
    time.now += 400;
    EXPECT_EQ(player.frameNum(), 30);
    player.stop();
    time.now += 4000;
    EXPECT_EQ(player.frameNum(), 30);
    EXPECT_FALSE(player.isPlaying());
}

TEST(Frames, PlaybackLoopsUnlessLoopingIsOff) {
    FakeClock time;
    AnimationPlayer player(time.clock());
    player.setMovieData(MovingMovie(), {}, "movie.rar");
    player.play();
    time.now += 2080; // 52 frames
    EXPECT_EQ(player.frameNum(), 2);
    player.setLooping(false);
    EXPECT_EQ(player.frameNum(), 49);
}

TEST(Frames, PaintedFrameFollowsTheFrameNumber) {
    AnimationPlayer player;
    player.setMovieData(MovingMovie(), {}, "movie.rar");
    player.setBackground(Qt::transparent);
    const QImage first = player.grabFrame({200, 200});
    player.setFrameNum(49);
    const QImage last = player.grabFrame({200, 200});
    EXPECT_EQ(first.pixelColor(20, 100), QColor(Qt::red));
    EXPECT_EQ(last.pixelColor(180, 100), QColor(Qt::red));
    EXPECT_NE(last.pixelColor(20, 100), QColor(Qt::red));
}

TEST(Variables, MarkerIsTheFirstMarkersComment) {
    AnimationPlayer player;
    EXPECT_EQ(player.getVariable(kMarkerVariable), "");
    QJsonObject movie = QJsonDocument::fromJson(MovingMovie()).object();
    movie.insert("markers", QJsonArray{QJsonObject{{"cm", "k_r_v_t_s_y_l_x"}, {"tm", 0}, {"dr", 0}},
                                       QJsonObject{{"cm", "other"}, {"tm", 10}, {"dr", 0}}});
    player.setMovieData(Json(movie), {}, "movie.rar");
    EXPECT_EQ(player.getVariable(kMarkerVariable), "k_r_v_t_s_y_l_x");
    movie.remove("markers");
    player.setMovieData(Json(movie), {}, "movie.rar");
    EXPECT_EQ(player.getVariable(kMarkerVariable), "");
}

TEST(Variables, AreKeptAsTextAndForgottenWhenAMovieLoads) {
    AnimationPlayer player;
    player.setMovieData(MovingMovie(), {}, "movie.rar");
    player.setVariable("num_stop", "30");
    player.setVariable("other", "abc");
    EXPECT_EQ(player.getVariable("num_stop"), "30");
    EXPECT_EQ(player.getVariable("other"), "abc");
    player.setMovieData(MovingMovie(), {}, "movie.rar");
    EXPECT_EQ(player.getVariable("num_stop"), "");
}

struct RejectedCase {
    const char* name;
    std::function<QByteArray()> movie;
    const char* expectedText; // part of the message: the feature, the layer or the problem
};

class Rejected : public ::testing::TestWithParam<RejectedCase> {};

QByteArray WithLayer(const std::function<void(QJsonObject&)>& change) {
    QJsonObject layer = ShapeLayer("装饰", 1, {Group({Rect({10, 10}, {5, 5}), Fill(Qt::red)})});
    change(layer);
    return Json(Movie({layer}));
}

TEST_P(Rejected, WithAMessageNamingTheProblem) {
    const RejectedCase& c = GetParam();
    AnimationPlayer player;
    try {
        player.setMovieData(c.movie(), {}, "wj_y_l_1.rar");
        FAIL() << c.name << " was accepted";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().contains("wj_y_l_1.rar")) << error.message().toStdString();
        EXPECT_TRUE(error.message().contains(QString::fromUtf8(c.expectedText)))
            << error.message().toStdString();
    }
    EXPECT_FALSE(player.hasMovie());
}

INSTANTIATE_TEST_SUITE_P(
    Movies, Rejected,
    ::testing::Values(
        RejectedCase{"truncated", [] { return MovingMovie().left(300); }, "已损坏"},
        RejectedCase{"not_json", [] { return QByteArray("\x89PNG\r\n\x1a\n", 8); }, "已损坏"},
        RejectedCase{"empty", [] { return QByteArray(); }, "已损坏"},
        RejectedCase{"not_lottie", [] { return QByteArray("{\"hello\": 1}"); }, "不是 Lottie"},
        RejectedCase{"no_frames", [] { return MovingMovie(0); }, "ip/op"},
        RejectedCase{"text_layer", [] { return WithLayer([](QJsonObject& l) { l["ty"] = 5; }); }, "文字图层"},
        RejectedCase{
            "effects",
            [] { return WithLayer([](QJsonObject& l) {
                     l["ef"] = QJsonArray{QJsonObject{{"ty", 5}}};
                 }); },
            "效果"},
        RejectedCase{"three_d", [] { return WithLayer([](QJsonObject& l) { l["ddd"] = 1; }); }, "三维"},
        RejectedCase{"luma_matte", [] { return WithLayer([](QJsonObject& l) { l["tt"] = 3; }); }, "亮度遮罩"},
        RejectedCase{"blend_mode", [] { return WithLayer([](QJsonObject& l) { l["bm"] = 3; }); }, "混合模式"},
        RejectedCase{
            "expression",
            [] {
                return WithLayer([](QJsonObject& l) {
                    l["ks"] = Transform({{"r", QJsonObject{{"a", 0}, {"k", 0}, {"x", "time * 36"}}}});
                });
            },
            "表达式"},
        RejectedCase{"trim_path",
                     [] {
                         return WithLayer([](QJsonObject& l) {
                             l["shapes"] = QJsonArray{QJsonObject{{"ty", "tm"}, {"nm", "Trim"}}};
                         });
                     },
                     "修剪路径"},
        RejectedCase{"named_layer", [] { return WithLayer([](QJsonObject& l) { l["ty"] = 5; }); }, "装饰"},
        RejectedCase{"missing_parent", [] { return WithLayer([](QJsonObject& l) { l["parent"] = 7; }); },
                     "parent"},
        RejectedCase{"self_containing_precomp",
                     [] {
                         const QJsonArray inner{PrecompLayer("loop", 1, "comp_1", 100, 100)};
                         return Json(Movie({PrecompLayer("outer", 1, "comp_1", 100, 100)}, 200, 200, 30,
                                           {PrecompAsset("comp_1", inner)}));
                     },
                     "refId"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(Loading, MissingFileIsAnErrorAndKeepsThePreviousMovie) {
    TempTree tree;
    const QString path = tree.write("wj_y_l_1.swf", MovingMovie());
    AnimationPlayer player;
    player.setMovie(path);
    EXPECT_EQ(player.movie(), path);
    EXPECT_THROW(player.setMovie(tree.file("wj_y_l_2.rar")), Error);
    EXPECT_THROW(player.setMovieData("{", {}, "broken.rar"), Error);
    EXPECT_EQ(player.movie(), path);
    EXPECT_EQ(player.totalFrames(), 50);
}

TEST(Threads, PlayersRenderInParallelLikeOneAtATime) {
    const QByteArray json = MovingMovie();
    std::vector<QImage> alone;
    for (int frame = 0; frame < 50; frame += 7)
        alone.push_back(RenderWithPlayer(json, {320, 180}, frame));

    std::vector<std::vector<QImage>> parallel(3);
    std::vector<std::thread> threads;
    for (auto& frames : parallel) {
        threads.emplace_back([&json, &frames] {
            AnimationPlayer player;
            player.setMovieData(json, {}, "movie.rar");
            player.setBackground(Qt::transparent);
            for (int round = 0; round < 5; ++round) {
                frames.clear();
                for (int frame = 0; frame < 50; frame += 7) {
                    player.setFrameNum(frame);
                    frames.push_back(player.grabFrame({320, 180}));
                }
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (const auto& frames : parallel) {
        ASSERT_EQ(frames.size(), alone.size());
        for (size_t i = 0; i < frames.size(); ++i)
            EXPECT_EQ(frames[i], alone[i]) << i;
    }
}

} // namespace
