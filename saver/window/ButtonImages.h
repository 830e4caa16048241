#pragma once
// The pictures of the playback buttons, drawn at start-up: the normal and the disabled
// state side by side, on a background colour that the button leaves transparent.
#include "framework/Scoped.h"

namespace kv {

ScopedBitmap MakePlayImage();   // a triangle
ScopedBitmap MakePauseImage();  // two bars
ScopedBitmap MakeStopImage();   // a square

}  // namespace kv
