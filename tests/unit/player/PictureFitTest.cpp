#include "saver/player/PictureFit.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(player_PictureFit, AWidePictureInATallerAreaGetsBarsAboveAndBelow) {
    EXPECT_EQ(FitPicture(400, 300, 320, 180), (PictureRect{0, 37, 400, 225}));
}

TEST(player_PictureFit, ANarrowPictureInAWiderAreaGetsBarsLeftAndRight) {
    EXPECT_EQ(FitPicture(1920, 1080, 320, 240), (PictureRect{240, 0, 1440, 1080}));
}

TEST(player_PictureFit, APictureOfTheAreasShapeFillsItAtAnyScale) {
    EXPECT_EQ(FitPicture(640, 480, 320, 240), (PictureRect{0, 0, 640, 480}));
    EXPECT_EQ(FitPicture(81, 57, 81, 57), (PictureRect{0, 0, 81, 57}));
}

TEST(player_PictureFit, AnUnknownPictureSizeFillsTheArea) {
    EXPECT_EQ(FitPicture(200, 100, 0, 0), (PictureRect{0, 0, 200, 100}));
    EXPECT_EQ(FitPicture(200, 100, -5, 100), (PictureRect{0, 0, 200, 100}));
}

TEST(player_PictureFit, AnEmptyOrNegativeAreaGivesAnEmptyRectangle) {
    EXPECT_EQ(FitPicture(0, 0, 320, 240), (PictureRect{0, 0, 0, 0}));
    EXPECT_EQ(FitPicture(-10, 50, 320, 240), (PictureRect{0, 0, 0, 50}));
}

TEST(player_PictureFit, AnExtremePictureShapeKeepsAtLeastOnePixel) {
    PictureRect r = FitPicture(100, 100, 100000, 1);
    EXPECT_EQ(r.width, 100);
    EXPECT_EQ(r.height, 1);
    EXPECT_EQ(r.y, 49);
}

TEST(player_PictureFit, HugeAreasDoNotOverflow) {
    PictureRect r = FitPicture(2000000000, 1000000000, 40000, 30000);
    EXPECT_EQ(r.height, 1000000000);
    EXPECT_EQ(r.width, 1333333333);
}

TEST(player_PictureFit, NonSquarePixelsWidenOrNarrowThePicture) {
    EXPECT_EQ(DisplayWidth(352, 288, 4, 3), 384);
    EXPECT_EQ(DisplayWidth(720, 480, 16, 9), 853);
    EXPECT_EQ(DisplayWidth(320, 240, 320, 240), 320);
}

TEST(player_PictureFit, UnknownOrAbsurdRatiosKeepTheStoredWidth) {
    EXPECT_EQ(DisplayWidth(352, 288, 0, 0), 352);
    EXPECT_EQ(DisplayWidth(352, 288, 1, -1), 352);
    EXPECT_EQ(DisplayWidth(352, 288, 1000000, 1), 352);
    EXPECT_EQ(DisplayWidth(0, 288, 4, 3), 0);
}

}  // namespace
}  // namespace kv
