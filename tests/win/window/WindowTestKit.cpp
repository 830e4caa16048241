#include "tests/win/window/WindowTestKit.h"

#include <cstdio>
#include <stdexcept>

#include "framework/Application.h"
#include "framework/Text.h"
#include "saver/window/SettingsFiles.h"

namespace kv::test {
namespace {

constexpr DWORD kTestTimeLimitMs = 40000;
double FileTimeMs(const FILETIME& t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return double(v.QuadPart) / 10000.0;
}

}  // namespace

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

void WritePlaylist(const std::vector<std::wstring>& paths) { WritePlaylistFile(PlaylistFilePath(), paths); }

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
    files_ = std::make_unique<SystemFileKeeper>();
    files_->Remove(L"g_screen.ini");
    files_->Remove(L"g_screen.files");
    // The system's cached copy of the INI file goes too.
    IniFile(SettingsIniPath()).Flush();
    dialogs_ = std::make_unique<BoxAnswerer>();
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

bool WindowTest::Settle(ObservedFormMain& form, DWORD timeoutMs) {
    return PumpUntil(
        [&] { return form.Phase() == PlaybackPhase::Idle && form.Mp1->State() != PlayerState::Opening; }, timeoutMs);
}

void WindowTest::Prepare(const std::vector<std::wstring>& playlist, const std::optional<SettingsValues>& settings) {
    WritePlaylist(playlist);
    if (settings) WriteSettings(*settings);
}

}  // namespace kv::test
