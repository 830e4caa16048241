#pragma once
// Which way of playing a file is tried first, and which next. DirectShow on Windows has no
// source for the MPEG-4 family, Matroska or QuickTime files; Media Foundation has (Windows 7
// and later). Every file gets a second chance on the other engine: a file that Media
// Foundation cannot open, or on which it refuses a seek, goes to DirectShow at the same
// position, and a DirectShow file that fails is offered to Media Foundation. Only a file that
// both refuse is unplayable.
#include <string_view>
#include <vector>

namespace kv {

enum class EngineKind { DirectShow, MediaFoundation };

// The engines to offer path to, in order. Without Media Foundation: DirectShow alone.
std::vector<EngineKind> EnginesFor(std::wstring_view path, bool mediaFoundation);

}  // namespace kv
