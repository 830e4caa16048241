#pragma once
// The black bars around the picture inside the control's client area.
#include <windows.h>

#include "saver/player/PictureFit.h"

namespace kv {

// The picture's rectangle in the client area.
inline RECT RectOf(const PictureRect& p) { return {p.x, p.y, p.x + p.width, p.y + p.height}; }

// Fills client black except for picture (the whole client when hasPicture is false).
void PaintLetterbox(HDC dc, const RECT& client, const PictureRect& picture, bool hasPicture);

}  // namespace kv
