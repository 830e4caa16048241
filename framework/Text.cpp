#include "framework/Text.h"

#include <windows.h>

#include <cwctype>

#include "framework/Scoped.h"

namespace kv {
namespace {

std::wstring ToWide(UINT codePage, const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(codePage, 0, s.data(), int(s.size()), out.data(), n);
    return out;
}

std::string FromWide(UINT codePage, const std::wstring& s) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, s.data(), int(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(codePage, 0, s.data(), int(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring Widen(const std::string& utf8) { return ToWide(CP_UTF8, utf8); }
std::string Narrow(const std::wstring& wide) { return FromWide(CP_UTF8, wide); }
std::wstring AnsiToWide(const std::string& ansi) { return ToWide(CP_ACP, ansi); }
std::string WideToAnsi(const std::wstring& wide) { return FromWide(CP_ACP, wide); }

std::optional<std::string> WideToAnsiExact(const std::wstring& wide) {
    BOOL usedDefault = FALSE;
    if (!wide.empty())
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), nullptr, 0, nullptr,
                            &usedDefault);
    std::string ansi = WideToAnsi(wide);
    if (usedDefault || AnsiToWide(ansi) != wide) return std::nullopt;
    return ansi;
}

std::string SystemErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    ScopedLocalMemory owned(buffer);
    std::wstring text = n ? std::wstring(buffer, n) : std::wstring();
    while (!text.empty() && (text.back() == L'.' || iswspace(text.back()))) text.pop_back();
    if (text.empty()) {
        char hex[32];
        wsprintfA(hex, "Error 0x%08lX", code);
        return hex;
    }
    return Narrow(text);
}

}  // namespace kv
