#pragma once
// Where the picture goes inside the control: as large as fits, aspect ratio kept, centred.

namespace kv {

struct PictureRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PictureRect&) const = default;
};

// The picture of videoWidth x videoHeight (already in display proportions) fitted into a
// client area; the rest of the area is left for black bars. An unknown picture size fills it.
PictureRect FitPicture(int clientWidth, int clientHeight, int videoWidth, int videoHeight);

// Display width of a picture whose pixels are not square (aspectX:aspectY is the picture's
// shape); the height stays, so no line is dropped. Unknown ratios keep the width.
int DisplayWidth(int videoWidth, int videoHeight, int aspectX, int aspectY);

}  // namespace kv
