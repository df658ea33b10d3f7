#include "media/MediaError.h"

extern "C" {
#include <libavutil/error.h>
}

#include <gtest/gtest.h>

using namespace lumiset;

TEST(MediaError, SaysWhatWasBeingDoneAndFfmpegsReason) {
    try {
        CheckMedia(AVERROR_INVALIDDATA, QStringLiteral("无法写入视频文件头"));
        FAIL() << "no error thrown";
    } catch (const Error& error) { // callers catch the core's error type
        EXPECT_EQ(error.message(),
                  QStringLiteral("无法写入视频文件头（Invalid data found when processing input）。"));
        EXPECT_EQ(dynamic_cast<const MediaError&>(error).code(), AVERROR_INVALIDDATA);
    }
}

TEST(MediaError, SuccessCodesPassThrough) {
    EXPECT_EQ(CheckMedia(0, QStringLiteral("x")), 0);
    EXPECT_EQ(CheckMedia(42, QStringLiteral("x")), 42);
}
