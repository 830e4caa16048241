// The panel's buttons: Preview asks Windows for the screen saver and saves nothing first; Add
// leaves out a file whose path the playlist file cannot hold, and says so.
#include "tests/win/window/WindowTestKit.h"

#include <fstream>
#include <iterator>

#include "framework/Text.h"
#include "saver/window/SettingsFiles.h"

namespace kv::test {
namespace {

using PanelButtons = WindowTest;

std::vector<std::pair<HWND, WPARAM>> g_sysCommands;

LRESULT CALLBACK NoteSysCommand(int code, WPARAM wp, LPARAM lp) {
    auto* m = reinterpret_cast<CWPSTRUCT*>(lp);
    if (code == HC_ACTION && m->message == WM_SYSCOMMAND) g_sysCommands.emplace_back(m->hwnd, m->wParam);
    return CallNextHookEx(nullptr, code, wp, lp);
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(PanelButtons, PreviewSendsTheScreenSaveCommandToTheMainWindowWithoutSaving) {
    Prepare({Clip(L"clip.mpg")}, SettingsValues{.language = 1});
    ObservedFormMain& form = Make({"/c"});
    std::string playlist = FileText(PlaylistFilePath()), settings = FileText(SettingsIniPath());
    form.AddToPlaylist(Clip(L"clip.avi"));
    form.RadioButton1->SetChecked(true);

    g_sysCommands.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, NoteSysCommand, nullptr, GetCurrentThreadId());
    SendMessageW(form.SpeedButton3->Handle(), BM_CLICK, 0, 0);
    UnhookWindowsHookEx(hook);

    // Wine's DefWindowProc starts no saver on SC_SCREENSAVE; Windows would start the selected one.
    EXPECT_EQ(g_sysCommands, (std::vector<std::pair<HWND, WPARAM>>{{form.Handle(), SC_SCREENSAVE}}));
    EXPECT_EQ(FileText(PlaylistFilePath()), playlist);
    EXPECT_EQ(FileText(SettingsIniPath()), settings);
}

TEST_F(PanelButtons, AFileThePlaylistCannotHoldIsLeftOutWithANoticeInThePanel) {
    ObservedFormMain& form = Make({"/c"});
    const std::wstring thai = MissingClip(L"\x0E44\x0E1F\x0E25\x0E4C.mpg");
    if (WideToAnsiExact(thai)) GTEST_SKIP() << "the system code page holds Thai letters";
    EXPECT_FALSE(form.AddChosenFile(thai));
    EXPECT_EQ(form.ListPath->Count(), 0);
    EXPECT_EQ(form.ListFile->Count(), 0);
    EXPECT_NE(form.lbNotice->Caption().find(L"\x0E44\x0E1F\x0E25\x0E4C.mpg"), std::wstring::npos);

    EXPECT_TRUE(form.AddChosenFile(Clip(L"clip.mpg")));
    EXPECT_EQ(form.ListPath->Item(0), Clip(L"clip.mpg"));
    EXPECT_EQ(form.ListFile->Item(0), L"clip.mpg");
    EXPECT_EQ(form.lbNotice->Caption(), L"") << "the next file added clears the notice";
}

}  // namespace
}  // namespace kv::test
