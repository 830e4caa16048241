#pragma once
// Decoding of the banner picture: JPEG data to rows a device-independent bitmap takes as they are.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv {

struct Picture {
    int width = 0;
    int height = 0;
    size_t stride = 0;           // bytes per row: three per pixel, padded to a multiple of four
    std::vector<uint8_t> bgr;    // rows from the top, blue-green-red
};

// Decodes JPEG data; grey pictures come out in colour, and a picture cut short keeps the rows
// that came. Raises kv::Exception with libjpeg's description when the data is no JPEG picture.
Picture DecodeJpeg(const uint8_t* data, size_t size);

}  // namespace kv
