#include "tests/win/support/WinTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "framework/Application.h"
#include "framework/SystemDirectory.h"
#include "framework/Text.h"

namespace kv::test {
namespace {

std::optional<std::string> ReadBytes(const std::wstring& path) {
    ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file) WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

bool IsIniFile(const std::wstring& path) {
    return path.size() > 4 && lstrcmpiW(path.c_str() + path.size() - 4, L".ini") == 0;
}

// InternalGetWindowText sends nothing, so a busy window thread cannot block the answerer.
std::wstring TextOf(HWND window) {
    wchar_t buffer[512] = {};
    InternalGetWindowText(window, buffer, 512);
    return buffer;
}

}  // namespace

// ---- messages ----

void Pump(DWORD ms) { Application.PumpUntil({}, ms); }

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) { return Application.PumpUntil(done, timeoutMs); }

void PressKey(WORD key, bool shift) {
    BYTE keys[256] = {}, held[256];
    GetKeyboardState(keys);
    std::copy(std::begin(keys), std::end(keys), std::begin(held));
    held[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(held);
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, LPARAM(0xC0000001));
    Application.ProcessMessages();
    SetKeyboardState(keys);
}

void ForgetQuitRequest() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    Application.ResetTerminated();
}

// ---- message boxes ----

BoxAnswerer::BoxAnswerer(std::wstring title, HWND watched) : title_(std::move(title)), watched_(watched) {
    thread_.Reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
}

BoxAnswerer::~BoxAnswerer() { Stop(); }

void BoxAnswerer::Stop() {
    stop_ = true;
    if (thread_) WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
}

DWORD WINAPI BoxAnswerer::Run(void* param) {
    auto* self = static_cast<BoxAnswerer*>(param);
    while (!self->stop_) {
        EnumWindows(Visit, reinterpret_cast<LPARAM>(self));
        Sleep(10);
    }
    return 0;
}

BOOL CALLBACK BoxAnswerer::Visit(HWND window, LPARAM param) {
    auto* self = reinterpret_cast<BoxAnswerer*>(param);
    wchar_t className[16] = {};
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    if (!GetClassNameW(window, className, 16) || lstrcmpW(className, L"#32770") != 0) return TRUE;
    if (!self->title_.empty() && TextOf(window) != self->title_) return TRUE;
    // A box just answered may linger a while under Wine.
    for (HWND seen : self->seen_)
        if (seen == window) return TRUE;
    self->seen_.push_back(window);
    self->Answer(window);
    return TRUE;
}

void BoxAnswerer::Answer(HWND window) {
    Sleep(50);  // let the box finish its set-up
    Box box;
    box.title = TextOf(window);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring text = TextOf(child);
        if (text.empty()) continue;
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (box.message.empty() && lstrcmpiW(className, L"Static") == 0) box.message = text;
        box.texts += text + L"|";
    }
    box.hasOk = GetDlgItem(window, IDOK) != nullptr;
    box.hasCancel = GetDlgItem(window, IDCANCEL) != nullptr && IsWindowVisible(GetDlgItem(window, IDCANCEL));
    // The icon's static is 0x14 on Windows and 1088 under Wine.
    HWND icon = GetDlgItem(window, 0x14) ? GetDlgItem(window, 0x14) : GetDlgItem(window, 1088);
    DWORD_PTR iconHandle = 0;
    box.hasIcon = icon && SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 1000, &iconHandle) && iconHandle;
    box.watchedEnabled = watched_ && IsWindowEnabled(watched_);
    boxes_.push_back(box);
    ++count_;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// ---- system files ----

std::wstring SystemFolder() {
    std::wstring folder = AnsiToWide(SystemDirectory(MAX_PATH).value_or(""));
    if (!folder.empty()) folder.pop_back();
    return folder;
}

std::wstring WinePath(std::wstring unixPath) {
    for (wchar_t& c : unixPath)
        if (c == L'/') c = L'\\';
    return L"Z:" + unixPath;
}

SystemFileKeeper::~SystemFileKeeper() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        // The system's cached copy of an INI file goes to disk first, or it would overwrite ours.
        if (IsIniFile(it->path)) WritePrivateProfileStringW(nullptr, nullptr, nullptr, it->path.c_str());
        if (it->content)
            WriteBytes(it->path, *it->content);
        else
            DeleteFileW(it->path.c_str());
    }
}

std::wstring SystemFileKeeper::Keep(const std::wstring& name) {
    std::wstring path = SystemFolder() + L"\\" + name;
    for (const Saved& s : saved_)
        if (s.path == path) return path;
    saved_.push_back({path, ReadBytes(path)});
    return path;
}

void SystemFileKeeper::Install(const std::wstring& sourcePath, const std::wstring& asName) {
    std::wstring target = Keep(asName);
    ASSERT_TRUE(CopyFileW(sourcePath.c_str(), target.c_str(), FALSE)) << Narrow(sourcePath) << " is not built";
}

void SystemFileKeeper::Remove(const std::wstring& name) { DeleteFileW(Keep(name).c_str()); }

void SystemFileKeeper::Write(const std::wstring& name, const std::string& content) { WriteBytes(Keep(name), content); }

std::optional<std::string> SystemFileKeeper::Read(const std::wstring& name) const {
    return ReadBytes(SystemFolder() + L"\\" + name);
}

}  // namespace kv::test
