#include "media/MediaLog.h"
#include "tests/media/StderrCapture.h"

extern "C" {
#include <libavutil/log.h>
}

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>

using namespace lumiset;
using namespace lumiset::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(MediaLogRedirect, KeepsWarningsAndErrorsOfItsThreadOffStderr) {
    StderrCapture capture;
    QStringList handled;
    QStringList problems;
    {
        MediaLogRedirect redirect([&handled](int, const QString& line) { handled.append(line); });
        av_log(nullptr, AV_LOG_ERROR, "broken frame %d\n", 7);
        av_log(nullptr, AV_LOG_INFO, "a note\n");
        av_log(nullptr, AV_LOG_WARNING, "one line "); // FFmpeg sends some lines in pieces
        av_log(nullptr, AV_LOG_WARNING, "in two pieces\n");
        av_log(nullptr, AV_LOG_DEBUG, "noise\n");
        problems = redirect.problems();
    }

    EXPECT_THAT(problems, ElementsAre("broken frame 7", "one line in two pieces"));
    EXPECT_THAT(handled, ElementsAre("broken frame 7", "a note", "one line in two pieces"));
    EXPECT_EQ(capture.finish().toStdString(), "");
}

TEST(MediaLogRedirect, GivesFfmpegItsDefaultLogBackWhenTheLastOneEnds) {
    { MediaLogRedirect redirect; }
    StderrCapture capture;
    av_log(nullptr, AV_LOG_ERROR, "after the redirect\n");

    EXPECT_THAT(capture.finish().toStdString(), ::testing::HasSubstr("after the redirect"));
}

TEST(MediaLogRedirect, TheInnermostOfAThreadReceivesItsLines) {
    StderrCapture capture;
    MediaLogRedirect outer;
    {
        MediaLogRedirect inner;
        av_log(nullptr, AV_LOG_ERROR, "inner\n");
        EXPECT_THAT(inner.problems(), ElementsAre("inner"));
    }
    av_log(nullptr, AV_LOG_ERROR, "outer\n");

    EXPECT_THAT(outer.problems(), ElementsAre("outer"));
    EXPECT_EQ(capture.finish().toStdString(), ""); // the outer one still redirects after the inner ended
}

TEST(MediaLogRedirect, LinesOfAnotherThreadReachNeitherItNorStderr) {
    StderrCapture capture;
    MediaLogRedirect redirect;
    std::thread([] { av_log(nullptr, AV_LOG_ERROR, "from a decoder thread\n"); }).join();

    EXPECT_THAT(redirect.problems(), IsEmpty());
    EXPECT_EQ(capture.finish().toStdString(), "");
}

TEST(MediaLogRedirect, KeepsTheFirstProblemsOfAFloodAndCountsTheRest) {
    MediaLogRedirect redirect;
    const int flood = MediaLogRedirect::kKeptProblems + 30;
    for (int i = 0; i < flood; ++i)
        av_log(nullptr, AV_LOG_ERROR, "line %d\n", i);

    ASSERT_EQ(redirect.problems().size(), MediaLogRedirect::kKeptProblems);
    EXPECT_EQ(redirect.problems().first(), "line 0");
    EXPECT_EQ(redirect.droppedProblems(), 30);
}
