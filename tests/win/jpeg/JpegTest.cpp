// The static libjpeg links and works in a Windows program: a picture survives a round trip.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace {

std::vector<unsigned char> Compress(const std::vector<unsigned char>& rgb, int width, int height) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(&rgb[c.next_scanline * width * 3]);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<unsigned char> bytes(out, out + size);
    jpeg_destroy_compress(&c);
    free(out);
    return bytes;
}

TEST(Jpeg, APictureComesBackFromItsJpegWithItsSizeAndColours) {
    const int width = 64, height = 32;
    std::vector<unsigned char> rgb(width * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgb[(y * width + x) * 3];
            p[0] = x < width / 2 ? 220 : 20;  // red left half, blue right half
            p[1] = 30;
            p[2] = x < width / 2 ? 20 : 220;
        }
    std::vector<unsigned char> jpeg = Compress(rgb, width, height);
    ASSERT_GT(jpeg.size(), 100u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);

    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    ASSERT_EQ(jpeg_read_header(&d, TRUE), JPEG_HEADER_OK);
    jpeg_start_decompress(&d);
    EXPECT_EQ(int(d.output_width), width);
    EXPECT_EQ(int(d.output_height), height);
    ASSERT_EQ(d.output_components, 3);
    std::vector<unsigned char> back(width * height * 3);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = &back[d.output_scanline * width * 3];
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);

    const unsigned char* left = &back[(16 * width + 8) * 3];
    const unsigned char* right = &back[(16 * width + 56) * 3];
    EXPECT_NEAR(left[0], 220, 12);
    EXPECT_NEAR(left[2], 20, 12);
    EXPECT_NEAR(right[0], 20, 12);
    EXPECT_NEAR(right[2], 220, 12);
}

}  // namespace
