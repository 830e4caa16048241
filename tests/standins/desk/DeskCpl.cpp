// Stand-in for desk.cpl's InstallScreenSaver entry as rundll32 calls it: records the command
// line (UTF-8) in desk-installs.txt in the system directory and makes the path the current saver.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "framework/Scoped.h"

namespace kv {
namespace {

using ScopedFilePointer = std::unique_ptr<FILE, int (*)(FILE*)>;

std::wstring SystemFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    std::wstring path(folder, length);
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path + name;
}

void AppendLine(const std::string& utf8Line) {
    ScopedFilePointer file(_wfopen(SystemFile(L"desk-installs.txt").c_str(), L"ab"), fclose);
    if (!file) return;
    fwrite(utf8Line.data(), 1, utf8Line.size(), file.get());
    fputs("\r\n", file.get());
}

std::string ToUtf8(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring FromAnsi(const char* text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(size > 0 ? size - 1 : 0), L'\0');
    if (size > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), size);
    return out;
}

void MakeCurrentSaver(std::wstring path) {
    const wchar_t* blanks = L" \t";
    size_t first = path.find_first_not_of(blanks);
    size_t last = path.find_last_not_of(blanks);
    path = first == std::wstring::npos ? std::wstring() : path.substr(first, last - first + 1);
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &opened, nullptr) != ERROR_SUCCESS)
        return;
    ScopedKey key(opened);
    RegSetValueExW(key.Get(), L"SCRNSAVE.EXE", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}

}  // namespace
}  // namespace kv

extern "C" void CALLBACK InstallScreenSaverW(HWND, HINSTANCE, LPWSTR commandLine, int) {
    std::wstring line = commandLine ? commandLine : L"";
    kv::AppendLine(kv::ToUtf8(line));
    kv::MakeCurrentSaver(line);
}

extern "C" void CALLBACK InstallScreenSaverA(HWND, HINSTANCE, LPSTR commandLine, int) {
    std::wstring line = kv::FromAnsi(commandLine ? commandLine : "");
    kv::AppendLine(kv::ToUtf8(line));
    kv::MakeCurrentSaver(line);
}
