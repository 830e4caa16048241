#include "tests/win/window/WindowTestKit.h"

#include <cstdio>
#include <stdexcept>

#include "framework/Application.h"
#include "framework/Text.h"
#include "saver/window/SettingsFiles.h"
#include "tests/win/support/Clips.h"

namespace kv::test {
namespace {

constexpr DWORD kTestTimeLimitMs = 40000;
constexpr wchar_t kAppDefaultsKey[] = L"Software\\Wine\\AppDefaults\\window_test.exe";

// With no window manager, Wine waits two seconds for each managed window it hides or destroys,
// and every test destroys the application window. This program's windows stay unmanaged (set
// before the display driver loads); the key goes again when the program ends.
class UnmanagedWindows {
public:
    UnmanagedWindows() {
        HKEY created = nullptr;
        std::wstring driver = std::wstring(kAppDefaultsKey) + L"\\X11 Driver";
        if (RegCreateKeyExW(HKEY_CURRENT_USER, driver.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created,
                            nullptr) != ERROR_SUCCESS)
            return;
        ScopedKey key(created);
        RegSetValueExW(key.Get(), L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"), 2 * sizeof(wchar_t));
    }
    ~UnmanagedWindows() { RegDeleteTreeW(HKEY_CURRENT_USER, kAppDefaultsKey); }
} unmanagedWindows;


std::optional<std::string> ReadBytes(const std::string& path) {
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file) WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

double FileTimeMs(const FILETIME& t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return double(v.QuadPart) / 10000.0;
}

}  // namespace

std::wstring Clip(const wchar_t* name) { return ClipsFolder() + L"\\" + name; }

std::wstring MissingClip(const wchar_t* name) { return ClipsFolder() + L"\\missing-" + name; }

// ---- settings files ----

void WriteSettings(const SettingsValues& v) {
    IniFile ini(SettingsIniPath());
    if (v.muteWave) ini.WriteBool("SOUND", "MUTEWAVE", *v.muteWave);
    if (v.continuePlay) ini.WriteBool("MEDIA", "CONTINUE", *v.continuePlay);
    if (v.filePosition) ini.WriteInteger("MEDIA", "FILEPOSITION", *v.filePosition);
    if (v.currentPosition) ini.WriteFloat("MEDIA", "CURRENTPOSITION", *v.currentPosition);
    if (v.fileName) ini.WriteString("MEDIA", "FILENAME", WideToAnsi(*v.fileName));
    if (v.language) ini.WriteInteger("Option", "Language", *v.language);
    ini.Flush();
}

void WritePlaylist(const std::vector<std::wstring>& paths) {
    std::vector<std::string> entries;
    for (const std::wstring& p : paths) entries.push_back(WideToAnsi(p));
    WritePlaylistFile(PlaylistFilePath(), entries);
}

SettingsFilesKeeper::SettingsFilesKeeper() {
    for (const std::string& path : {SettingsIniPath(), PlaylistFilePath()}) {
        saved_.push_back({path, ReadBytes(path)});
        DeleteFileA(path.c_str());
    }
    IniFile(SettingsIniPath()).Flush();
}

SettingsFilesKeeper::~SettingsFilesKeeper() {
    // The system's cached copy of the INI file goes to disk first, or it would overwrite ours.
    IniFile(SettingsIniPath()).Flush();
    for (const Saved& s : saved_) {
        if (s.bytes)
            WriteBytes(s.path, *s.bytes);
        else
            DeleteFileA(s.path.c_str());
    }
}

// ---- the observed window ----

ObservedFormMain::ObservedFormMain(Component* owner) : TFormMain(owner) {
    auto ended = Mp1->OnEndOfStream;
    Mp1->OnEndOfStream = [this, ended] {
        ended();
        filesAfterEnd.push_back(Mp1->FileName());
    };
    auto tick = Timer1->OnTimer;
    Timer1->OnTimer = [this, tick] {
        double before = Mp1->CurrentPosition();
        tick();
        ticks.push_back({GetTickCount(), before, Mp1->CurrentPosition(), Mp1->Visible()});
    };
    auto mute = MuteWave->OnClick;
    MuteWave->OnClick = [this, mute] {
        muteClicks.push_back(MuteWave->Checked());
        mute();
    };
}

// ---- dialogs ----

DialogWatcher::DialogWatcher() { thread_.Reset(CreateThread(nullptr, 0, Run, this, 0, nullptr)); }

DialogWatcher::~DialogWatcher() { Stop(); }

void DialogWatcher::Stop() {
    stop_ = true;
    if (thread_) WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
}

BOOL CALLBACK DialogWatcher::Visit(HWND window, LPARAM param) {
    auto* self = reinterpret_cast<DialogWatcher*>(param);
    wchar_t className[16] = {};
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    if (!GetClassNameW(window, className, 16) || lstrcmpW(className, L"#32770") != 0) return TRUE;
    for (HWND seen : self->seen_)
        if (seen == window) return TRUE;
    self->seen_.push_back(window);
    // InternalGetWindowText sends nothing, so a busy window thread cannot block the watcher.
    std::wstring text;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t buffer[512] = {};
        if (InternalGetWindowText(child, buffer, 512) > 0) text += std::wstring(buffer) + L"|";
    }
    self->texts_.push_back(text);
    ++self->count_;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return TRUE;
}

DWORD WINAPI DialogWatcher::Run(void* param) {
    auto* self = static_cast<DialogWatcher*>(param);
    while (!self->stop_) {
        EnumWindows(Visit, reinterpret_cast<LPARAM>(self));
        Sleep(10);
    }
    return 0;
}

// ---- hangs ----

HangGuard::HangGuard(DWORD timeoutMs) : timeoutMs_(timeoutMs), done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
        test_ = std::string(info->test_suite_name()) + "." + info->name();
    thread_.Reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
}

HangGuard::~HangGuard() {
    SetEvent(done_.Get());
    if (thread_) WaitForSingleObject(thread_.Get(), INFINITE);
}

DWORD WINAPI HangGuard::Run(void* param) {
    auto* self = static_cast<HangGuard*>(param);
    if (WaitForSingleObject(self->done_.Get(), self->timeoutMs_) == WAIT_OBJECT_0) return 0;
    std::fprintf(stderr, "%s still runs after %lu ms: the window thread hangs\n", self->test_.c_str(),
                 static_cast<unsigned long>(self->timeoutMs_));
    std::fflush(stdout);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return 0;
}

// ---- messages ----

void Pump(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                Application.QuitReceived();
            else
                Application.Dispatch(msg);
        }
        if (done()) return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(5, timeoutMs - elapsed), QS_ALLINPUT);
    }
}

void ForgetQuitRequest() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    Application.ResetTerminated();
}

bool QuitRequestQueued() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

// ---- processor time ----

CpuMeter::CpuMeter() : process0_(ProcessNow()), thread0_(ThreadNow()) {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&wall0_);
}

double CpuMeter::ProcessNow() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return FileTimeMs(kernel) + FileTimeMs(user);
}

double CpuMeter::ThreadNow() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return FileTimeMs(kernel) + FileTimeMs(user);
}

double CpuMeter::ProcessMs() const { return ProcessNow() - process0_; }
double CpuMeter::ThreadMs() const { return ThreadNow() - thread0_; }

double CpuMeter::WallMs() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart - wall0_.QuadPart) * 1000.0 / double(frequency_.QuadPart);
}

// ---- fixture ----

void WindowTest::SetUpTestSuite() { Application.SetTitle("KINOVELA"); }

void WindowTest::SetUp() {
    hangGuard_ = std::make_unique<HangGuard>(kTestTimeLimitMs);
    Application.Initialize();
    ForgetQuitRequest();
    files_ = std::make_unique<SettingsFilesKeeper>();
    dialogs_ = std::make_unique<DialogWatcher>();
}

void WindowTest::TearDown() {
    // The main window goes with the application window; each test makes both afresh.
    Application.Shutdown();
    form_ = nullptr;
    Pump(20);
    ForgetQuitRequest();
    dialogs_.reset();
    files_.reset();
    hangGuard_.reset();
}

ObservedFormMain& WindowTest::Make(const std::vector<std::string>& arguments) {
    std::vector<std::string> commandLine{"KINOVELA.SCR"};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    Application.SetArguments(commandLine);
    form_ = Application.CreateForm<ObservedFormMain>();
    return *form_;
}

void WindowTest::Prepare(const std::vector<std::wstring>& playlist, const std::optional<SettingsValues>& settings) {
    WritePlaylist(playlist);
    if (settings) WriteSettings(*settings);
}

}  // namespace kv::test
