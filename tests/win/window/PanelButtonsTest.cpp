// The panel's buttons and keyboard: Preview asks Windows for the screen saver and saves nothing
// first; Add leaves out a file whose path no file can hold and says so in the panel's language;
// Tab goes through the controls in order.
#include "tests/win/window/WindowTestKit.h"

#include <fstream>
#include <iterator>

#include "framework/Text.h"
#include "saver/window/PlaylistText.h"
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

TEST_F(PanelButtons, AThaiNameIsAddedAsItIsAndANameNoFileCanHoldIsLeftOutWithANotice) {
    ObservedFormMain& form = Make({"/c"});
    const std::wstring thai = MissingClip(L"\x0E44\x0E1F\x0E25\x0E4C.mpg");
    EXPECT_TRUE(form.AddChosenFile(thai));
    EXPECT_EQ(form.ListPath->Item(0), thai);
    EXPECT_EQ(form.ListFile->Item(0), DisplayName(thai));

    // A lone surrogate has a form in no encoding, and no file has a short name for it.
    EXPECT_FALSE(form.AddChosenFile(MissingClip(L"\xD800-broken.mpg")));
    EXPECT_EQ(form.ListPath->Count(), 1);
    EXPECT_EQ(form.ListFile->Count(), 1);
    EXPECT_EQ(form.lbNotice->Caption().rfind(Widen("ไม่ได้เพิ่ม: "), 0), 0u) << "in Thai while no language is chosen";
    form.RadioButton2->SetChecked(true);
    EXPECT_EQ(form.lbNotice->Caption().rfind(L"Not added: ", 0), 0u) << "in English once the panel is";
    EXPECT_NE(form.lbNotice->Caption().find(L"-broken.mpg"), std::wstring::npos);

    EXPECT_TRUE(form.AddChosenFile(Clip(L"clip.mpg")));
    EXPECT_EQ(form.lbNotice->Caption(), L"") << "the next file added clears the notice";
}

TEST_F(PanelButtons, TabVisitsEveryControlOfThePanelInOrderAndEscapeLeavesItOpen) {
    ObservedFormMain& form = Make({"/c"});
    form.ShowForm();
    const WinControl* order[] = {form.ListFile,    form.Play,      form.Stop,         form.MuteWave,
                                 form.Continue,    form.BitBtn_Add, form.Remove,       form.SpeedButton3,
                                 form.BitBtn_OK,   form.BitBtn_Apply, form.BitBtn_Cancel, form.RadioButton1,
                                 form.RadioButton2, form.ListFile};
    std::vector<std::string> expected, visited;
    for (const WinControl* control : order) {
        PressKey(VK_TAB);
        const WinControl* focused = WinControl::FromHandle(GetFocus());
        visited.push_back(focused ? focused->Name() : "?");
        expected.push_back(control->Name());
    }
    EXPECT_EQ(visited, expected);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(Application.Terminated()) << "Escape does not drop the panel's edits";
    // Left shown, the window would outlive its controls and take the pointer's moves.
    form.Hide();
}

}  // namespace
}  // namespace kv::test
