#pragma once
// Text conversions at the Win32 boundary. UI text is UTF-8 inside the program, wide at
// the W API; the settings files are in the system ANSI code page.
#include <optional>
#include <string>

namespace kv {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
std::wstring AnsiToWide(const std::string& ansi);
std::string WideToAnsi(const std::wstring& wide);
// The ANSI form of a text only when every character has one and it reads back the same.
std::optional<std::string> WideToAnsiExact(const std::wstring& wide);
// The system's description of a Win32 error or HRESULT, without its trailing full stop and blanks.
std::string SystemErrorText(unsigned long code);

}  // namespace kv
