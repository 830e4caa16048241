#pragma once
// The black bars around the picture inside the control's client area.
#include <windows.h>

#include "saver/player/PictureFit.h"

namespace kv {

// Fills client black except for picture (the whole client when hasPicture is false).
void PaintLetterbox(HDC dc, const RECT& client, const PictureRect& picture, bool hasPicture);

}  // namespace kv
