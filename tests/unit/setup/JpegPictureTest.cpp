#include "setup/JpegPicture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "framework/Exception.h"

namespace kv {
namespace {

std::vector<uint8_t> Banner() {
    std::ifstream in(KINOVELA_BANNER, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(setup_Banner, TheBannerDecodesToItsSizeInPaddedBgrRows) {
    const std::vector<uint8_t> jpeg = Banner();
    ASSERT_FALSE(jpeg.empty());
    const Picture p = DecodeJpeg(jpeg.data(), jpeg.size());
    EXPECT_EQ(p.width, 639);
    EXPECT_EQ(p.height, 120);
    EXPECT_EQ(p.stride, 1920u);  // 639 * 3 = 1917, padded to a multiple of four
    ASSERT_EQ(p.bgr.size(), 1920u * 120u);
    // Where the title is written in white the banner is dark; where the address is written
    // in blue it is light.
    const uint8_t* title = &p.bgr[12 * p.stride + 200 * 3];
    const uint8_t* address = &p.bgr[78 * p.stride + 360 * 3];
    EXPECT_LT(title[0] + title[1] + title[2], 3 * 140);
    EXPECT_GT(address[0] + address[1] + address[2], 3 * 200);
    EXPECT_GT(title[0], title[2]);  // blue above red: the bytes are in BGR order
}

TEST(setup_Banner, DataThatIsNoJpegRaisesAnErrorWithLibjpegsText) {
    const uint8_t text[] = "not a picture at all";
    try {
        DecodeJpeg(text, sizeof text);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot read the picture: "), std::string::npos) << e.what();
    }
    EXPECT_THROW(DecodeJpeg(nullptr, 0), Exception);
}

TEST(setup_Banner, APictureCutShortKeepsItsSize) {
    std::vector<uint8_t> jpeg = Banner();
    jpeg.resize(jpeg.size() / 2);
    const Picture p = DecodeJpeg(jpeg.data(), jpeg.size());
    EXPECT_EQ(p.width, 639);
    EXPECT_EQ(p.height, 120);
}

}  // namespace
}  // namespace kv
