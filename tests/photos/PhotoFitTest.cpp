#include "photos/PhotoFit.h"

#include <gtest/gtest.h>

using namespace lumiset;

struct FitCase {
    QSize photo;
    QSize frame;
    QSize fitted;
};

class FitRule : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitRule, KeepsTheProportionsInIntegerArithmetic) {
    EXPECT_EQ(FitPhotoSize(GetParam().photo, GetParam().frame), GetParam().fitted);
}

INSTANTIATE_TEST_SUITE_P(
    Photos, FitRule,
    ::testing::Values(FitCase{{4000, 3000}, {117, 72}, {96, 72}}, // tile 125 x 80 less 8: the height limits
                      FitCase{{4000, 3000}, {195, 163}, {195, 146}}, // details preview: the width limits
                      FitCase{{3000, 4000}, {195, 163}, {122, 163}}, // portrait takes the height
                      FitCase{{1000, 4000}, {30, 163}, {30, 120}},   // narrow frame: portrait takes the width
                      FitCase{{1000, 1000}, {195, 163}, {163, 163}}, // square fits like landscape
                      FitCase{{10000, 1000}, {117, 72}, {117, 11}},  // panorama
                      FitCase{{0, 1000}, {117, 72}, {0, 0}}, FitCase{{4000, 3000}, {0, 72}, {0, 0}}));

struct PlaceCase {
    QSize photo;
    QRect area;
    QRect placed;
};

class Placement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(Placement, FitsAndCentresInTheArea) {
    EXPECT_EQ(PlacePicture(GetParam().photo, GetParam().area), GetParam().placed);
}

INSTANTIATE_TEST_SUITE_P(Areas, Placement,
                         ::testing::Values(PlaceCase{{4000, 3000}, {10, 20, 200, 200}, {10, 45, 200, 150}},
                                           PlaceCase{{3000, 4000}, {0, 0, 200, 150}, {44, 0, 112, 150}},
                                           PlaceCase{
                                               {4000, 3000}, {-80, 0, 1440, 1080}, {-80, 0, 1440, 1080}},
                                           // the caller rounded 145.5 up: still the whole area, no hairline
                                           PlaceCase{{4000, 3000}, {0, 0, 194, 146}, {0, 0, 194, 146}},
                                           PlaceCase{{1000, 500}, {-80, 0, 1440, 720}, {-80, 0, 1440, 720}}));

TEST(PhotoTile, FramesTheFittedPhotoAndCentresBothInTheTile) {
    struct Case {
        QSize photo, tile;
        QRect frame, picture;
    };
    const Case cases[] = {
        {{4000, 3000}, {125, 80}, {11, 1, 102, 78}, {14, 4, 96, 72}},     // the height limits
        {{3000, 4000}, {125, 80}, {32, 1, 60, 78}, {35, 4, 54, 72}},      // portrait
        {{4000, 3000}, {375, 240}, {30, 1, 315, 238}, {33, 4, 309, 232}}, // enlarged tiles
        {{10000, 1000}, {125, 80}, {1, 31, 123, 17}, {4, 34, 117, 11}},   // panorama
        {{0, 0}, {125, 80}, {1, 1, 123, 78}, {4, 4, 117, 72}},            // size unknown: the whole inside
    };
    for (const Case& c : cases) {
        const PhotoTile tile = LayOutPhotoTile(c.photo, c.tile);
        EXPECT_EQ(tile.frame, c.frame) << c.photo.width() << "x" << c.photo.height();
        EXPECT_EQ(tile.picture, c.picture) << c.photo.width() << "x" << c.photo.height();
    }
}
