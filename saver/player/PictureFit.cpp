#include "saver/player/PictureFit.h"

#include <algorithm>

namespace kv {

PictureRect FitPicture(int clientWidth, int clientHeight, int videoWidth, int videoHeight) {
    clientWidth = std::max(clientWidth, 0);
    clientHeight = std::max(clientHeight, 0);
    if (videoWidth <= 0 || videoHeight <= 0 || clientWidth == 0 || clientHeight == 0)
        return {0, 0, clientWidth, clientHeight};
    // Compare the two shapes in 64 bits: large client areas times picture sizes overflow int.
    long long wide = 1LL * clientWidth * videoHeight;
    long long tall = 1LL * clientHeight * videoWidth;
    int width = clientWidth;
    int height = clientHeight;
    if (wide > tall)
        width = int((1LL * clientHeight * videoWidth + videoHeight / 2) / videoHeight);
    else if (wide < tall)
        height = int((1LL * clientWidth * videoHeight + videoWidth / 2) / videoWidth);
    width = std::clamp(width, 1, clientWidth);
    height = std::clamp(height, 1, clientHeight);
    return {(clientWidth - width) / 2, (clientHeight - height) / 2, width, height};
}

int DisplayWidth(int videoWidth, int videoHeight, int aspectX, int aspectY) {
    if (videoWidth <= 0 || videoHeight <= 0 || aspectX <= 0 || aspectY <= 0) return videoWidth;
    long long width = (1LL * videoHeight * aspectX + aspectY / 2) / aspectY;
    return width > 0 && width <= 16LL * videoWidth ? int(width) : videoWidth;
}

}  // namespace kv
