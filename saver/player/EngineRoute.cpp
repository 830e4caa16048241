#include "saver/player/EngineRoute.h"

#include <cwctype>

namespace kv {
namespace {

bool EndsWithNoCase(std::wstring_view text, std::wstring_view tail) {
    if (text.size() < tail.size()) return false;
    text.remove_prefix(text.size() - tail.size());
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::towlower(text[i]) != tail[i]) return false;
    return true;
}

}  // namespace

std::vector<EngineKind> EnginesFor(std::wstring_view path, bool mediaFoundation) {
    if (!mediaFoundation) return {EngineKind::DirectShow};
    static constexpr std::wstring_view kMediaFoundationFirst[] = {L".mp4", L".m4v", L".mov",
                                                                  L".3gp", L".3g2", L".mkv"};
    for (std::wstring_view extension : kMediaFoundationFirst)
        if (EndsWithNoCase(path, extension)) return {EngineKind::MediaFoundation, EngineKind::DirectShow};
    return {EngineKind::DirectShow, EngineKind::MediaFoundation};
}

}  // namespace kv
