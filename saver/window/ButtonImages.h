#pragma once
// The pictures of the playback buttons, drawn at start-up: the normal and the disabled
// state side by side, on a background colour that the button leaves transparent.
#include <windows.h>

namespace kv {

HBITMAP MakePlayImage();   // a triangle
HBITMAP MakePauseImage();  // two bars
HBITMAP MakeStopImage();   // a square

}  // namespace kv
