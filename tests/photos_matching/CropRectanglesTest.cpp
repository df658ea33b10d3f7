#include "photos/CropRectangles.h"

#include "core/Words.h"

#include <gtest/gtest.h>

using namespace lumiset;

namespace {

struct CropCase {
    const char* what;
    bool portraitSlot;
    int slotWidth;
    int slotHeight;
    QSize photo;
    CropSwitches switches;
    QRect fullScreen;
    QString mode;
    QRect moderate;
};

class CropRectangles : public ::testing::TestWithParam<CropCase> {};

TEST_P(CropRectangles, MatchesTheSlotTable) {
    const CropCase& c = GetParam();
    const SlotCrop crop = ComputeSlotCrop(c.portraitSlot, c.slotWidth, c.slotHeight, c.photo, c.switches);
    EXPECT_EQ(crop.fullScreen, c.fullScreen) << c.what;
    EXPECT_EQ(crop.mode, c.mode) << c.what;
    EXPECT_EQ(crop.moderate, c.moderate) << c.what;
}

const CropSwitches kDefaults;
const CropSwitches kPortraitFull{false, false};
const CropSwitches kLandscapeModerate{true, true};

INSTANTIATE_TEST_SUITE_P(
    Slots, CropRectangles,
    ::testing::Values(CropCase{"4:3 photo in a 16:9 landscape slot",
                               false,
                               640,
                               360,
                               {4000, 3000},
                               kDefaults,
                               {0, 0, 640, 480},
                               Words::FullScreenCrop,
                               {80, 0, 480, 360}},
                      CropCase{"wide photo covers by height",
                               false,
                               640,
                               360,
                               {4000, 1000},
                               kDefaults,
                               {-400, 0, 1440, 360},
                               Words::FullScreenCrop,
                               {0, 100, 640, 160}},
                      CropCase{"square photo in a landscape slot",
                               false,
                               640,
                               360,
                               {1000, 1000},
                               kDefaults,
                               {0, 0, 640, 640},
                               Words::FullScreenCrop,
                               {140, 0, 360, 360}},
                      // Each half is truncated on its own: 100/2 - 75/2 = 13, not (100 - 75)/2 = 12.
                      CropCase{"halves truncate separately",
                               false,
                               100,
                               57,
                               {333, 250},
                               kDefaults,
                               {0, 0, 100, 75},
                               Words::FullScreenCrop,
                               {13, 0, 75, 57}},
                      CropCase{"whole-frame landscape slot",
                               false,
                               0,
                               0,
                               {4000, 3000},
                               kDefaults,
                               {0, 0, 1920, 1440},
                               Words::FullScreenCrop,
                               {240, 0, 1440, 1080}},
                      CropCase{"whole-frame landscape slot, moderate switch",
                               false,
                               0,
                               0,
                               {4000, 3000},
                               kLandscapeModerate,
                               {0, 0, 1920, 1440},
                               Words::ModerateCrop,
                               {240, 0, 1440, 1080}},
                      CropCase{"landscape switch leaves framed slots alone",
                               false,
                               640,
                               360,
                               {4000, 3000},
                               kLandscapeModerate,
                               {0, 0, 640, 480},
                               Words::FullScreenCrop,
                               {80, 0, 480, 360}},
                      CropCase{"portrait slot fits the height",
                               true,
                               300,
                               400,
                               {3000, 4000},
                               kDefaults,
                               {0, 0, 300, 400},
                               Words::FullScreenCrop,
                               {0, 0, 300, 400}},
                      CropCase{"narrow portrait photo in a portrait slot",
                               true,
                               300,
                               400,
                               {1000, 4000},
                               kDefaults,
                               {0, 0, 300, 1200},
                               Words::FullScreenCrop,
                               {100, 0, 100, 400}},
                      CropCase{"whole-frame portrait slot",
                               true,
                               0,
                               0,
                               {3000, 4000},
                               kDefaults,
                               {0, 0, 810, 1080},
                               Words::ModerateCrop,
                               {0, 0, 810, 1080}},
                      CropCase{"whole-frame portrait slot without the moderate switch",
                               true,
                               0,
                               0,
                               {3000, 4000},
                               kPortraitFull,
                               {0, 0, 1920, 2560},
                               Words::ModerateCrop,
                               {0, 0, 810, 1080}}),
    [](const auto& testInfo) { return std::to_string(testInfo.index); });

} // namespace
