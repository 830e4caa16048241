// Start-up, close, input and the configuration panel's simple handlers of the main window.
#include "saver/window/FormMain.h"

#include <shellapi.h>

#include "framework/Application.h"
#include "framework/FileExists.h"
#include "framework/HintTips.h"
#include "framework/Text.h"
#include "saver/about/FormAbout.h"
#include "saver/player/MFSession.h"
#include "saver/host/InputRules.h"
#include "saver/host/RunMode.h"
#include "saver/window/SettingsFiles.h"

namespace kv {

// ---- Start-up and close ----

void TFormMain::FormCreate() {
    // Only the panel is a dialog; a run keeps its own key rules, and shows no error boxes.
    SetDialogKeys(ConfigurationMode());
    Application.SetErrorBoxes(ConfigurationMode());
    SetProcessPriority(1);
    InstallScrClick();
    State().IsPlaying = false;
    SetColor(clBlack);
    State().CurrentIndex = 0;
    Mp1->Hide();
    Mp1->SetParent(this);
    Mp1->SetAlign(Align::Client);
    POINT cursor{};
    GetCursorPos(&cursor);
    StartCursorX = cursor.x;
    StartCursorY = cursor.y;
    LoadPlaylist();
    LoadSettings();
    if (PreviewRun()) Mp1->SetMute(true);
    // Hints belong to the panel. Made in another mode, the top-most hint window that the main
    // window owns left a full-screen run without its own top-most place under Wine.
    if (ConfigurationMode()) new HintTips(this, *PanelSetup);
    if (FileExists(SettingsIniPath())) {
        PanelSetup->SetHeight(335);
        if (PanelSetup->Visible()) {
            SetHeight(345);
            SetWidth(PanelSetup->Width() + 5);
        }
    }
    if (ListFile->Count() > 0) lbLoadmedia->Hide();
    if (Continue->Checked()) {
        State().ResumePending = true;
    } else {
        // Without Continue a run starts at the first entry from its beginning, even when that
        // entry is the remembered file.
        State().CurrentIndex = 0;
        State().SavedPosition = 0;
        State().ResumePending = false;
    }
    Timer1->SetEnabled(true);
    if (!PanelSetup->Visible() && !Application.Terminated()) PlayClick();
    SetIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
}

void TFormMain::InstallScrClick() {
    const auto& args = Application.Arguments();
    for (const std::string& arg : args)
        if (IsInstallSwitch(arg)) LaunchInstallScreenSaver(Application.ExeName());
}

void TFormMain::LaunchInstallScreenSaver(const std::string& path) {
    // The Display control panel makes the file the current screen saver.
    std::wstring parameters = L"desk.cpl,InstallScreenSaver " + Widen(path);
    ShellExecuteW(Application.Handle(), L"open", L"rundll32.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

int TFormMain::SetProcessPriority(int level) {
    static const DWORD kClasses[] = {IDLE_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS, HIGH_PRIORITY_CLASS,
                                     REALTIME_PRIORITY_CLASS};
    if (level >= -1 && level <= 2) SetPriorityClass(GetCurrentProcess(), kClasses[level + 1]);
    DWORD now = GetPriorityClass(GetCurrentProcess());
    for (int i = 0; i < 4; ++i)
        if (kClasses[i] == now) return i - 1;
    return 0;
}

void TFormMain::FormCloseQuery(bool& canClose) {
    canClose = ScreenSaver1->VerifyPassword();
    if (!canClose || PreviewRun()) return;
    // A settings file that cannot be written must not keep the saver from closing: the panel
    // tells the user in the error box, a run only the debugger's output.
    Application.Guard([this] { SaveResumeRecord(); });
}

bool TFormMain::PreviewRun() const { return ScreenSaver1->RunModeLetter() == "P"; }

void TFormMain::QueryEndSession() {
    if (sessionRecordKept_ || PreviewRun()) return;
    sessionRecordKept_ = true;
    // The session is ending: no box, only the debugger's output.
    try {
        SaveResumeRecord();
    } catch (const std::exception& e) {
        Application.LogError(e.what());
    }
}

void TFormMain::EndSession() {
    QueryEndSession();
    // Once this message is answered the system may end the process at any moment: the graph
    // and the host's changes go now, and the process with them.
    Timer1->SetEnabled(false);
    Application.Shutdown();
    MFSession::EndProcess(0);
}

LRESULT TFormMain::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_QUERYENDSESSION:
        QueryEndSession();
        return TRUE;
    case WM_ENDSESSION:
        if (wp)
            EndSession();
        else
            sessionRecordKept_ = false;  // the log-off was cancelled: the next one stores anew
        return 0;
    default:
        return Form::WndProc(msg, wp, lp);
    }
}

// ---- Input ----

void TFormMain::EndRun() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

void TFormMain::FormKeyDown(WORD& key, ShiftState shift) {
    KeyAction action = DecideKey(key, shift);
    if (action.kind == KeyAction::Seek)
        SeekBy(action.seekSeconds);
    else if (action.kind == KeyAction::EndRun && !ConfigurationMode())
        EndRun();
}

void TFormMain::FormMouseMove(ShiftState, int, int) {
    Label1->Show();
    if (ConfigurationMode()) return;
    POINT p{};
    GetCursorPos(&p);
    if (MovementEndsRun(StartCursorX, StartCursorY, p.x, p.y)) EndRun();
}

void TFormMain::Panel_barMouseMove(ShiftState, int, int) { Label1->Hide(); }

void TFormMain::FormMouseWheel(ShiftState, int, bool& handled) {
    if (ConfigurationMode()) return;
    EndRun();
    handled = true;
}

void TFormMain::pgb1MouseDown(MouseButton button, ShiftState, int x, int) {
    if (button == MouseButton::Left) controller_.ProgressClick(x);
}

void TFormMain::MuteWaveClick() { Mp1->SetMute(MuteWave->Checked()); }


// ---- Configuration panel: the About link ----

void TFormMain::Label2Click() { TFormAbout::Open(*this); }

// ---- The controller's view of this window ----

bool TFormMain::ViewPort::FileExists(const std::wstring& path) { return !path.empty() && kv::FileExists(path); }

void TFormMain::ViewPort::ShowPauseImage(bool pauseImage) {
    f_.Play->CopyGlyphFrom(pauseImage ? *f_.BitBtn1 : *f_.BitBtn2);
}

void TFormMain::ViewPort::AttachPlayerToPreview() {
    f_.Panel1->Show();
    f_.Mp1->SetParent(f_.Panel1);
    f_.Mp1->SetAlign(Align::Client);
    f_.Mp1->Show();
}

void TFormMain::ViewPort::StartResumeWait() {
    f_.ResumeTimer->SetEnabled(true);  // counts afresh when it ran already
}

void TFormMain::ResumeTimerTimer() {
    ResumeTimer->SetEnabled(false);
    controller_.ResumeWaitOver();
}

}  // namespace kv
