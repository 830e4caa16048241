#pragma once
// What every in-process Windows test shares: message pumping with the application's one
// quit rule, a quit-request reset, an answerer for message boxes, and a keeper that puts
// files of the system directory back.
#include <windows.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/Scoped.h"

namespace kv::test {

// Dispatches messages as the application loop does, for ms milliseconds or until done()
// holds. A quit request ends the pumping and stays queued (see ForgetQuitRequest).
void Pump(DWORD ms);
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Removes a quit request from the queue and clears the application's terminated state.
void ForgetQuitRequest();

// A key as the keyboard gives it to the focused window: down, then up, through the
// application's loop; Shift held when shift is true.
void PressKey(WORD key, bool shift = false);

// Answers every message box and dialog of this process with OK, from another thread, and
// notes what each showed. A title limits it to the boxes with that title.
class BoxAnswerer {
public:
    struct Box {
        std::wstring title;
        std::wstring message;  // the first static text (a message box's message)
        std::wstring texts;    // every text in the box, each followed by '|'
        bool hasOk = false, hasCancel = false, hasIcon = false;
        bool watchedEnabled = true;  // the watched window's state while the box was up
    };
    explicit BoxAnswerer(std::wstring title = {}, HWND watched = nullptr);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    int Count() const { return count_; }
    // Stops looking; the boxes are complete from then on.
    void Stop();
    const std::vector<Box>& Boxes() const { return boxes_; }

private:
    static DWORD WINAPI Run(void* self);
    static BOOL CALLBACK Visit(HWND window, LPARAM self);
    void Answer(HWND box);
    std::wstring title_;
    HWND watched_;
    std::atomic<bool> stop_{false};
    std::atomic<int> count_{0};
    std::vector<HWND> seen_;
    std::vector<Box> boxes_;
    ScopedHandle thread_;
};

// The Windows system directory without a trailing backslash.
std::wstring SystemFolder();
// A Unix path as Wine sees it, through drive Z: (a build folder the runner names).
std::wstring WinePath(std::wstring unixPath);

// Files of the system directory as they were, put back (or removed) at the end.
class SystemFileKeeper {
public:
    SystemFileKeeper() = default;
    ~SystemFileKeeper();
    SystemFileKeeper(const SystemFileKeeper&) = delete;
    SystemFileKeeper& operator=(const SystemFileKeeper&) = delete;

    // Remembers the file's content (or its absence); returns its full path.
    std::wstring Keep(const std::wstring& name);
    // Copies a file (a stand-in) into the system directory as asName.
    void Install(const std::wstring& sourcePath, const std::wstring& asName);
    void Remove(const std::wstring& name);
    void Write(const std::wstring& name, const std::string& content);
    std::optional<std::string> Read(const std::wstring& name) const;

private:
    struct Saved {
        std::wstring path;
        std::optional<std::string> content;
    };
    std::vector<Saved> saved_;
};

}  // namespace kv::test
