#pragma once
// What displayprops watches while a saver runs against its windows, and the report of it.
#include <windows.h>

#include <string>

namespace kv {

long long HandleNumber(HWND hwnd);

// Dispatches this thread's messages for ms milliseconds.
void PumpFor(DWORD ms);

class SaverWatch {
public:
    // What ends the wait before the sample besides its time: a visible top-level window of the
    // saver, or a child of the saver filling the preview.
    enum class Until { Time, Window, Child };
    static bool ParseUntil(const std::wstring& text, Until& until);

    void Begin(HWND self, HWND preview);
    void NoteStartFailed(DWORD error);
    void Started(HANDLE process, DWORD processId);
    void NoteDisabled();
    void NoteActivated();
    // Pumps and samples until ms have passed, the saver has exited or until holds.
    void WaitPumping(DWORD ms, Until until = Until::Time);
    // The snapshot of the preview's child and of this window's state.
    void TakeSample();
    // WM_CLOSE to the embedded child, or else to the saver's top-level windows.
    void PostClose();
    // What the Display control panel does when the user picks another saver or closes it.
    void DestroyPreview();
    // Kills a saver that is still running and reads its exit code.
    void Finish();
    void NoteAfterExit();
    bool WriteReport(const std::wstring& path, const std::wstring& commandLine) const;

private:
    struct ChildState {
        HWND hwnd = nullptr;
        bool ofSaver = false;
        RECT rect = {};
        RECT client = {};
        LONG_PTR style = 0;
        LONG_PTR exStyle = 0;
        bool disabled = false;
        bool visible = false;
        std::wstring title;
    };

    bool Running() const;
    bool Reached(Until until) const;
    void SampleOnce();
    static BOOL CALLBACK PostCloseToTopLevel(HWND hwnd, LPARAM self);
    static BOOL CALLBACK FindShownWindow(HWND hwnd, LPARAM self);

    HWND self_ = nullptr;
    HWND preview_ = nullptr;
    HANDLE process_ = nullptr;  // owned by the caller
    DWORD processId_ = 0;
    DWORD startTick_ = 0;
    DWORD sampleMs_ = 0;
    DWORD exitMs_ = 0;
    bool started_ = false;
    DWORD startError_ = 0;
    bool running_ = false;
    bool foregroundAtStart_ = false;
    bool disabledSeen_ = false;
    bool foregroundSeen_ = false;
    bool activatedSeen_ = false;
    bool childSeen_ = false;
    bool exitedBeforeSample_ = false;
    bool enabledAtSample_ = false;
    bool foregroundAtSample_ = false;
    ChildState child_;
    int closePosted_ = 0;
    DWORD previewDestroyedMs_ = 0;
    bool exited_ = false;
    bool killed_ = false;
    DWORD exitCode_ = 0;
    bool enabledAfterExit_ = false;
};

}  // namespace kv
