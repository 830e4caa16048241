#include "setup/Image.h"

#include <algorithm>
#include <utility>

namespace kv {

void Image::SetPicture(Picture picture) {
    picture_ = std::move(picture);
    Invalidate();
}

void Image::Paint(HDC dc) {
    const int width = std::min(width_, picture_.width);
    const int height = std::min(height_, picture_.height);
    if (width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture_.width;
    info.bmiHeader.biHeight = -picture_.height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, left_, top_, width, height, 0, 0, width, height, picture_.bgr.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace kv
