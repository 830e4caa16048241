#include "tests/standins/displayprops/SaverWatch.h"

#include <algorithm>
#include <cstdio>

namespace kv {
namespace {

constexpr DWORD kSliceMs = 15;
constexpr DWORD kKillWaitMs = 5000;

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::string Utf8(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(std::max(size, 0)), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::string Hex(LONG_PTR value) {
    char buffer[32];
    snprintf(buffer, sizeof buffer, "0x%08llx", static_cast<unsigned long long>(static_cast<DWORD>(value)));
    return buffer;
}

}  // namespace

long long HandleNumber(HWND hwnd) { return static_cast<long long>(reinterpret_cast<INT_PTR>(hwnd)); }

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    for (DWORD elapsed = 0; elapsed < ms; elapsed = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min(kSliceMs, ms - elapsed), QS_ALLINPUT);
        PumpPending();
    }
}

void SaverWatch::Begin(HWND self, HWND preview) {
    self_ = self;
    preview_ = preview;
    foregroundAtStart_ = GetForegroundWindow() == self;
}

void SaverWatch::NoteStartFailed(DWORD error) { startError_ = error; }

void SaverWatch::Started(HANDLE process, DWORD processId) {
    process_ = process;
    processId_ = processId;
    startTick_ = GetTickCount();
    started_ = true;
    running_ = true;
}

void SaverWatch::NoteDisabled() {
    if (running_) disabledSeen_ = true;
}

void SaverWatch::NoteActivated() {
    if (running_) activatedSeen_ = true;
}

bool SaverWatch::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

void SaverWatch::SampleOnce() {
    if (!Running()) return;
    if (!IsWindowEnabled(self_)) disabledSeen_ = true;
    if (GetForegroundWindow() == self_) foregroundSeen_ = true;
    if (GetWindow(preview_, GW_CHILD)) childSeen_ = true;
}

bool SaverWatch::ParseUntil(const std::wstring& text, Until& until) {
    if (text == L"window") until = Until::Window;
    else if (text == L"child") until = Until::Child;
    else return false;
    return true;
}

BOOL CALLBACK SaverWatch::FindShownWindow(HWND hwnd, LPARAM self) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    wchar_t className[64] = {};
    GetClassNameW(hwnd, className, 64);
    RECT r{};
    // Not the input-method window, nor the application's own 1 x 1 window beside the saver's.
    bool shown = owner == reinterpret_cast<SaverWatch*>(self)->processId_ && lstrcmpiW(className, L"IME") != 0 &&
                 IsWindowVisible(hwnd) && GetWindowRect(hwnd, &r) && r.right - r.left > 1;
    return !shown;
}

bool SaverWatch::Reached(Until until) const {
    switch (until) {
    case Until::Window: return !EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(this));
    case Until::Child: {
        HWND child = GetWindow(preview_, GW_CHILD);
        DWORD owner = 0;
        RECT r{}, preview{};
        if (!child || !GetWindowThreadProcessId(child, &owner) || owner != processId_ || !IsWindowVisible(child))
            return false;
        // Reparented first and sized afterwards: the sample waits for the size.
        GetWindowRect(child, &r);
        GetClientRect(preview_, &preview);
        return r.right - r.left == preview.right && r.bottom - r.top == preview.bottom;
    }
    default: return false;
    }
}

void SaverWatch::WaitPumping(DWORD ms, Until until) {
    DWORD start = GetTickCount();
    for (DWORD elapsed = 0; elapsed < ms && Running() && !Reached(until); elapsed = GetTickCount() - start) {
        MsgWaitForMultipleObjects(1, &process_, FALSE, std::min(kSliceMs, ms - elapsed), QS_ALLINPUT);
        PumpPending();
        SampleOnce();
    }
    PumpPending();
}

void SaverWatch::TakeSample() {
    sampleMs_ = GetTickCount() - startTick_;
    exitedBeforeSample_ = !Running();
    enabledAtSample_ = IsWindowEnabled(self_);
    foregroundAtSample_ = GetForegroundWindow() == self_;
    ChildState state;
    state.hwnd = GetWindow(preview_, GW_CHILD);
    if (state.hwnd) {
        DWORD owner = 0;
        GetWindowThreadProcessId(state.hwnd, &owner);
        state.ofSaver = owner == processId_;
        GetWindowRect(state.hwnd, &state.rect);
        MapWindowPoints(HWND_DESKTOP, preview_, reinterpret_cast<POINT*>(&state.rect), 2);
        GetClientRect(state.hwnd, &state.client);
        state.style = GetWindowLongPtrW(state.hwnd, GWL_STYLE);
        state.exStyle = GetWindowLongPtrW(state.hwnd, GWL_EXSTYLE);
        state.disabled = !IsWindowEnabled(state.hwnd);
        state.visible = IsWindowVisible(state.hwnd);
        wchar_t title[256] = {};
        GetWindowTextW(state.hwnd, title, 256);  // read from the window manager, no message to the saver
        state.title = title;
        childSeen_ = true;
    }
    child_ = state;
}

BOOL CALLBACK SaverWatch::PostCloseToTopLevel(HWND hwnd, LPARAM self) {
    auto* watch = reinterpret_cast<SaverWatch*>(self);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    wchar_t className[64] = {};
    GetClassNameW(hwnd, className, 64);
    // Every GUI thread has an input-method window; it is not the saver's to close.
    if (owner == watch->processId_ && lstrcmpiW(className, L"IME") != 0 && PostMessageW(hwnd, WM_CLOSE, 0, 0))
        ++watch->closePosted_;
    return TRUE;
}

void SaverWatch::PostClose() {
    if (!Running()) return;
    HWND child = GetWindow(preview_, GW_CHILD);
    DWORD owner = 0;
    if (child) GetWindowThreadProcessId(child, &owner);
    if (child && owner == processId_) {
        if (PostMessageW(child, WM_CLOSE, 0, 0)) ++closePosted_;
        return;
    }
    EnumWindows(PostCloseToTopLevel, reinterpret_cast<LPARAM>(this));
}

void SaverWatch::DestroyPreview() {
    previewDestroyedMs_ = GetTickCount() - startTick_;
    DestroyWindow(preview_);
}

void SaverWatch::Finish() {
    if (!process_) return;
    if (Running()) {
        TerminateProcess(process_, 1);
        killed_ = true;
        WaitForSingleObject(process_, kKillWaitMs);
    }
    running_ = false;
    exited_ = !Running();
    exitMs_ = GetTickCount() - startTick_;
    GetExitCodeProcess(process_, &exitCode_);
}

void SaverWatch::NoteAfterExit() { enabledAfterExit_ = IsWindowEnabled(self_); }

bool SaverWatch::WriteReport(const std::wstring& path, const std::wstring& commandLine) const {
    std::string out;
    auto line = [&out](const char* key, const std::string& value) { out += std::string(key) + "=" + value + "\r\n"; };
    auto flag = [&line](const char* key, bool value) { line(key, value ? "1" : "0"); };
    auto number = [&line](const char* key, long long value) { line(key, std::to_string(value)); };

    line("command_line", Utf8(commandLine));
    number("display_properties", HandleNumber(self_));
    number("preview", HandleNumber(preview_));
    line("preview_style", Hex(GetWindowLongPtrW(preview_, GWL_STYLE)));
    line("preview_exstyle", Hex(GetWindowLongPtrW(preview_, GWL_EXSTYLE)));
    flag("saver_started", started_);
    if (!started_) number("start_error", startError_);
    number("saver_pid", processId_);
    flag("foreground_at_start", foregroundAtStart_);
    flag("disabled_while_running", disabledSeen_);
    flag("foreground_while_running", foregroundSeen_);
    flag("activated_while_running", activatedSeen_);
    flag("exited_before_sample", exitedBeforeSample_);
    flag("enabled_at_sample", enabledAtSample_);
    flag("foreground_at_sample", foregroundAtSample_);
    flag("child_seen", childSeen_);
    flag("child", child_.hwnd != nullptr);
    if (child_.hwnd) {
        number("child_handle", HandleNumber(child_.hwnd));
        flag("child_of_saver", child_.ofSaver);
        number("child_x", child_.rect.left);
        number("child_y", child_.rect.top);
        number("child_width", child_.rect.right - child_.rect.left);
        number("child_height", child_.rect.bottom - child_.rect.top);
        number("child_client_width", child_.client.right);
        number("child_client_height", child_.client.bottom);
        line("child_style", Hex(child_.style));
        line("child_exstyle", Hex(child_.exStyle));
        flag("child_disabled", child_.disabled);
        flag("child_visible", child_.visible);
        line("child_title", Utf8(child_.title));
    }
    number("sample_ms", sampleMs_);
    number("close_posted", closePosted_);
    number("preview_destroyed_ms", previewDestroyedMs_);
    flag("saver_exited", exited_);
    flag("saver_killed", killed_);
    number("exit_ms", exitMs_);
    number("saver_exit_code", static_cast<long long>(exitCode_));
    flag("enabled_after_exit", enabledAfterExit_);

    // Written beside and renamed, so that a reader never sees half a report.
    std::wstring temporary = path + L".tmp";
    FILE* file = _wfopen(temporary.c_str(), L"wb");
    if (!file) return false;
    bool written = fwrite(out.data(), 1, out.size(), file) == out.size();
    written = fclose(file) == 0 && written;
    return written && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace kv
