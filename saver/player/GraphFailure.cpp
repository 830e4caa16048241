#include "saver/player/GraphFailure.h"

#include <dshow.h>
#include <errors.h>

#include <cwctype>

#include "framework/Exception.h"
#include "framework/Text.h"
#include "saver/player/FailureText.h"

namespace kv {

std::string DescribeFailure(HRESULT hr) {
    if (const char* known = KnownFailureText(static_cast<std::uint32_t>(hr))) return known;
    wchar_t text[MAX_ERROR_TEXT_LEN] = {};
    if (AMGetErrorTextW(hr, text, MAX_ERROR_TEXT_LEN) > 0) {
        std::wstring s(text);
        while (!s.empty() && (s.back() == L'.' || std::iswspace(s.back()))) s.pop_back();
        // Wine's quartz answers unknown codes with "Error: 0x...": no description at all.
        if (!s.empty() && s.rfind(L"Error: 0x", 0) != 0) return Narrow(s);
    }
    return SystemErrorText(static_cast<unsigned long>(hr));
}

void Check(HRESULT hr) {
    if (FAILED(hr)) throw Exception(DescribeFailure(hr));
}

}  // namespace kv
