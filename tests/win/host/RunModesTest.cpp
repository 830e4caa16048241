// The host on a form laid out like the main window: what each switch makes of the window,
// and what the teardown puts back.
#include <algorithm>

#include "framework/Application.h"
#include "framework/Text.h"
#include "tests/win/host/HostTestKit.h"

namespace kv::test {
namespace {

RECT WindowRectIn(HWND hwnd, HWND parent) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LONG_PTR Style(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWL_STYLE); }
LONG_PTR ExStyle(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWL_EXSTYLE); }
HWND ParentOf(HWND hwnd) { return GetAncestor(hwnd, GA_PARENT); }
bool Hooked(HWND hwnd) { return WinControl::FromHandle(hwnd)->HasMessageHook(); }
int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

// ---- configuration ----

struct ConfigurationCase {
    std::vector<std::string> arguments;
    bool fromDisplayProperties;  // letter C
};

class ConfigurationMode : public HostTest, public ::testing::WithParamInterface<ConfigurationCase> {};

TEST_P(ConfigurationMode, ShowsPanelSetupAsTheWholeClientAreaOfACentredDialog) {
    SaverForm& f = Make(GetParam().arguments);
    EXPECT_TRUE(f.panelSetup->Visible());
    EXPECT_EQ(f.panelSetup->Left(), 0);
    EXPECT_EQ(f.panelSetup->Top(), 0);
    EXPECT_EQ(GetWindow(f.Handle(), GW_CHILD), f.panelSetup->Handle()) << "in front of its siblings";
    EXPECT_FALSE(f.panel1->Visible()) << "other plain panels are hidden";
    EXPECT_TRUE(f.gradient->Visible()) << "panels of other kinds are left alone";
    EXPECT_EQ(f.form->ClientWidth(), 417);
    EXPECT_EQ(f.form->ClientHeight(), 345);
    EXPECT_TRUE(Style(f.Handle()) & WS_CAPTION);
    EXPECT_FALSE(Style(f.Handle()) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(ExStyle(f.Handle()) & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(ExStyle(f.Handle()) & WS_EX_TOPMOST);

    f.form->ShowForm();
    Pump(50);
    RECT r = {};
    GetWindowRect(f.Handle(), &r);
    EXPECT_NEAR((r.left + r.right) / 2, ScreenWidth() / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, ScreenHeight() / 2, 1);
    EXPECT_TRUE(IsWindowVisible(f.Handle()));
    EXPECT_TRUE(IsWindowVisible(Application.Handle())) << "a dialog keeps its taskbar entry";
    EXPECT_FALSE(Application.Terminated());
    EXPECT_EQ(CursorCount(), cursorAtStart_);
}

TEST_P(ConfigurationMode, DisplayPropertiesIsDisabledDuringARunFromItAndEnabledAtTeardown) {
    FakeDisplayProperties& properties = DisplayProperties();
    SaverForm& f = Make(GetParam().arguments);
    if (GetParam().fromDisplayProperties) {
        EXPECT_FALSE(IsWindowEnabled(properties.Handle()));
        f.Destroy();
        EXPECT_TRUE(IsWindowEnabled(properties.Handle()));
    } else {
        EXPECT_TRUE(IsWindowEnabled(properties.Handle()));
        EXPECT_EQ(properties.DisableCount(), 0);
        EnableWindow(properties.Handle(), FALSE);
        f.Destroy();
        EXPECT_FALSE(IsWindowEnabled(properties.Handle())) << "the teardown enables it only for letter C";
    }
}

INSTANTIATE_TEST_SUITE_P(Switches, ConfigurationMode,
                         ::testing::Values(ConfigurationCase{{"/c"}, true}, ConfigurationCase{{"/c:1234"}, true},
                                           ConfigurationCase{{}, false}, ConfigurationCase{{"s"}, false},
                                           ConfigurationCase{{"-INSTALL"}, false}, ConfigurationCase{{"/x"}, false}));

// ---- message-box style ----

using MessageStyle = HostTest;

TEST_F(MessageStyle, AnUnsetPanelShowsTheInformationBoxOffScreenAndQuits) {
    BoxAnswerer boxes(L"Information");
    SaverForm& f = Make({"/c"}, [](SaverForm& s) { s.hostArgs.configurationBoxPanel = nullptr; });
    boxes.Stop();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Boxes()[0].message, Widen(f.saver->ConfigurationBoxMessage()));
    EXPECT_FALSE(f.saver->ConfigurationBoxMessage().empty());
    EXPECT_EQ(f.saver->ConfigurationBoxStyle(), cbsMessageDlg);
    EXPECT_EQ(f.form->Left(), -f.form->Width() - 100);
    EXPECT_FALSE(f.panelSetup->Visible());
    EXPECT_TRUE(Application.Terminated());
}

TEST_F(MessageStyle, APanelThatIsNotOnTheFormCountsAsUnsetEvenWithTheSameName) {
    Panel stray(nullptr, Layout("PanelSetup", nullptr, 0, 0, 417, 345));
    BoxAnswerer boxes(L"Information");
    SaverForm& f = Make({}, [&](SaverForm& s) { s.hostArgs.configurationBoxPanel = &stray; });
    boxes.Stop();
    EXPECT_EQ(boxes.Count(), 1);
    EXPECT_EQ(f.saver->ConfigurationBoxPanel(), nullptr);
    EXPECT_TRUE(Application.Terminated());
}

TEST_F(MessageStyle, FromDisplayPropertiesItIsDisabledWhileTheBoxIsUpAndRaisedAfter) {
    FakeDisplayProperties& properties = DisplayProperties();
    BoxAnswerer boxes(L"Information", properties.Handle());
    SaverForm& f = Make({"/c:77"}, [](SaverForm& s) {
        s.hostArgs.configurationBoxStyle = cbsMessageDlg;
        s.hostArgs.configurationBoxMessage = "Nothing to set here";
        s.form->SetWindowState(WindowState::Maximized);
    });
    boxes.Stop();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Boxes()[0].message, L"Nothing to set here");
    EXPECT_FALSE(boxes.Boxes()[0].watchedEnabled);
    EXPECT_EQ(f.form->GetWindowState(), WindowState::Normal);
    EXPECT_EQ(GetForegroundWindow(), properties.Handle());
    EXPECT_TRUE(Application.Terminated());
    f.Destroy();
    EXPECT_TRUE(IsWindowEnabled(properties.Handle()));
}

TEST_F(MessageStyle, ConfigurationBoxFalseShowsNothingAndKeepsRunning) {
    BoxAnswerer boxes(L"Information");
    SaverForm& f = Make({"/c"}, [](SaverForm& s) {
        s.hostArgs.configurationBox = false;
        s.hostArgs.configurationBoxPanel = nullptr;
    });
    boxes.Stop();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_FALSE(f.panelSetup->Visible());
    EXPECT_TRUE(f.panel1->Visible());
    EXPECT_FALSE(Application.Terminated());
}

// ---- full screen ----

class FullScreenMode : public HostTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(FullScreenMode, MakesABorderlessTopmostWindowOverTheWholeScreenWithTheCursorHidden) {
    SaverForm& f = Make({GetParam()});
    EXPECT_FALSE(f.panelSetup->Visible());
    EXPECT_FALSE(IsWindowVisible(Application.Handle())) << "no taskbar entry";
    EXPECT_EQ(CursorCount(), cursorAtStart_ - 1);
    if (cursorAtStart_ == 0) {
        EXPECT_FALSE(CursorShowing());
    }

    f.form->ShowForm();
    Pump(100);
    RECT r = {};
    GetWindowRect(f.Handle(), &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, ScreenWidth());
    EXPECT_EQ(r.bottom, ScreenHeight());
    EXPECT_FALSE(Style(f.Handle()) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME));
    EXPECT_TRUE(ExStyle(f.Handle()) & WS_EX_TOPMOST);
    EXPECT_EQ(GetForegroundWindow(), f.Handle());
    EXPECT_FALSE(Application.Terminated());
}

INSTANTIATE_TEST_SUITE_P(Switches, FullScreenMode, ::testing::Values("/s", "-S", "/S:1234"));

using FullScreenCover = HostTest;

RECT ScreenRectOf(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return r;
}

void ExpectRect(const RECT& got, const RECT& want, const char* what) {
    EXPECT_EQ(got.left, want.left) << what;
    EXPECT_EQ(got.top, want.top) << what;
    EXPECT_EQ(got.right, want.right) << what;
    EXPECT_EQ(got.bottom, want.bottom) << what;
}

TEST_F(FullScreenCover, TheWindowSpansTheVirtualScreenThePlayerThePrimaryMonitorAndADisplayChangeFitsThemAgain) {
    SaverForm& f = Make({"/s"});
    f.panel1->SetAlign(Align::Client);
    f.form->ShowForm();
    Pump(100);
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT all{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const RECT primary{0, 0, ScreenWidth(), ScreenHeight()};
    ExpectRect(ScreenRectOf(f.Handle()), all, "window");
    ExpectRect(ScreenRectOf(f.panel1->Handle()), primary, "player");

    // A layout gone stale, as when a monitor has been taken away.
    f.form->SetPadding(Padding{10, 20, 30, 40});
    f.form->SetBounds(5, 5, 300, 200);
    SendMessageW(f.Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(ScreenWidth(), ScreenHeight()));
    ExpectRect(ScreenRectOf(f.Handle()), all, "window after the change");
    ExpectRect(ScreenRectOf(f.panel1->Handle()), primary, "player after the change");
}

using FullScreenTeardown = HostTest;

TEST_F(FullScreenTeardown, ShowsTheCursorAgainAndNeverTouchesTheSystemKeysAsConfigured) {
    SaverForm& f = Make({"/s"});
    BOOL running = TRUE;
    SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    EXPECT_FALSE(running);
    f.Destroy();
    EXPECT_EQ(CursorCount(), cursorAtStart_);
}

TEST_F(FullScreenTeardown, SystemKeysDisabledTellsTheSystemASaverRunsUntilTeardown) {
    SaverForm& f = Make({"/s"}, [](SaverForm& s) { s.hostArgs.systemKeysDisabled = true; });
    BOOL running = FALSE;
    SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    EXPECT_TRUE(running);
    f.Destroy();
    SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    EXPECT_FALSE(running);
}

TEST_F(FullScreenTeardown, EachWindowChangeHasItsOwnSwitch) {
    SaverForm& f = Make({"/s"}, [](SaverForm& s) {
        s.hostArgs.autoMaximize = false;
        s.hostArgs.autoBorderLess = false;
        s.hostArgs.autoOnTop = false;
        s.hostArgs.autoMouseHide = false;
    });
    EXPECT_TRUE(Style(f.Handle()) & WS_CAPTION);
    EXPECT_FALSE(ExStyle(f.Handle()) & WS_EX_TOPMOST);
    EXPECT_EQ(f.form->GetWindowState(), WindowState::Normal);
    EXPECT_EQ(CursorCount(), cursorAtStart_);
    EXPECT_FALSE(IsWindowVisible(Application.Handle()));
    f.Destroy();
    EXPECT_EQ(CursorCount(), cursorAtStart_);
}

TEST_F(FullScreenTeardown, MainScreenSaverFalseLeavesEverythingAsItWas) {
    SaverForm& f = Make({"/s"}, [](SaverForm& s) { s.hostArgs.mainScreenSaver = false; });
    EXPECT_TRUE(Style(f.Handle()) & WS_CAPTION);
    EXPECT_TRUE(IsWindowVisible(Application.Handle()));
    EXPECT_EQ(CursorCount(), cursorAtStart_);
    EXPECT_FALSE(f.panelSetup->Visible());
}

// ---- preview ----

using PreviewMode = HostTest;

TEST_F(PreviewMode, TheFirstShowMakesTheWindowADisabledScaledChildOfThePreview) {
    FakeDisplayProperties& properties = DisplayProperties();
    SaverForm& f = Make({"/p", properties.PreviewArgument()});
    EXPECT_EQ(ParentOf(f.Handle()), GetDesktopWindow()) << "not embedded before it is shown";
    EXPECT_TRUE(Hooked(f.Handle()));
    EXPECT_FALSE(f.panelSetup->Visible());

    f.form->ShowForm();
    Pump(50);
    EXPECT_EQ(ParentOf(f.Handle()), properties.Preview());
    RECT r = WindowRectIn(f.Handle(), properties.Preview());
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 152);
    EXPECT_EQ(r.bottom - r.top, 112);
    EXPECT_TRUE(Style(f.Handle()) & WS_CHILD);
    EXPECT_FALSE(IsWindowEnabled(f.Handle())) << "takes no input";
    EXPECT_TRUE(IsWindowVisible(f.Handle()));

    // Scaled by 152 : the screen's width, as the form was given the screen's size first.
    const int sw = ScreenWidth();
    EXPECT_EQ(f.save->Left(), MulDiv(200, 152, sw));
    EXPECT_EQ(f.save->Width(), MulDiv(80, 152, sw));
    EXPECT_EQ(f.save->Font().height, std::max(1, MulDiv(11, 152, sw)));
    EXPECT_EQ(f.panelSetup->Width(), MulDiv(417, 152, sw));
    EXPECT_EQ(WindowRectIn(f.save->Handle(), f.panelSetup->Handle()).left, MulDiv(200, 152, sw));

    EXPECT_FALSE(IsWindowVisible(Application.Handle())) << "no taskbar entry";
    EXPECT_EQ(GetForegroundWindow(), properties.Handle());
    EXPECT_FALSE(Application.Terminated());
    EXPECT_EQ(CursorCount(), cursorAtStart_);
}

TEST_F(PreviewMode, AHideOnlyPassesThroughAndShowingAgainEmbedsAgain) {
    FakeDisplayProperties& properties = DisplayProperties();
    SaverForm& f = Make({"/p", properties.PreviewArgument()});
    f.form->ShowForm();
    Pump(20);
    ASSERT_EQ(ParentOf(f.Handle()), properties.Preview());

    ShowWindow(f.Handle(), SW_HIDE);
    EXPECT_FALSE(f.form->Visible()) << "the form's own procedure saw the hide";
    // Out of the preview while hidden (reparenting a visible window shows it again).
    SetWindowLongPtrW(f.Handle(), GWL_STYLE, WS_POPUP);
    ::SetParent(f.Handle(), nullptr);
    ASSERT_EQ(ParentOf(f.Handle()), GetDesktopWindow());
    SendMessageW(f.Handle(), WM_SHOWWINDOW, FALSE, 0);
    EXPECT_EQ(ParentOf(f.Handle()), GetDesktopWindow()) << "a hide does not embed";

    ShowWindow(f.Handle(), SW_SHOWNA);
    EXPECT_EQ(ParentOf(f.Handle()), properties.Preview());
    RECT r = WindowRectIn(f.Handle(), properties.Preview());
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right - r.left, 152);
    EXPECT_EQ(r.bottom - r.top, 112);
    EXPECT_FALSE(IsWindowEnabled(f.Handle()));
}

TEST_F(PreviewMode, TheHookPassesEveryMessageOnWithItsResult) {
    FakeDisplayProperties& properties = DisplayProperties();
    SaverForm& f = Make({"/p", properties.PreviewArgument()});
    ASSERT_TRUE(Hooked(f.Handle()));
    SendMessageW(f.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Changed"));
    EXPECT_EQ(SendMessageW(f.Handle(), WM_GETTEXTLENGTH, 0, 0), 7);
    f.saver->HookOwnerWindow();  // a second hook must not chain the host to itself
    f.form->ShowForm();
    Pump(20);
    EXPECT_EQ(ParentOf(f.Handle()), properties.Preview());
}

TEST_F(PreviewMode, RemovingTheHostRemovesItsHook) {
    FakeDisplayProperties& properties = DisplayProperties();
    SaverForm& f = Make({"/p", properties.PreviewArgument()});
    ASSERT_TRUE(Hooked(f.Handle()));
    delete f.saver;
    f.saver = nullptr;
    EXPECT_FALSE(Hooked(f.Handle()));
    f.form->ShowForm();
    Pump(20);
    EXPECT_EQ(ParentOf(f.Handle()), GetDesktopWindow());
}

TEST_F(PreviewMode, AutoEnableFalseStillHooksButNeverEmbeds) {
    FakeDisplayProperties& properties = DisplayProperties();
    SaverForm& f = Make({"/p", properties.PreviewArgument()}, [](SaverForm& s) { s.hostArgs.autoEnable = false; });
    EXPECT_TRUE(Hooked(f.Handle()));
    f.form->ShowForm();
    Pump(20);
    EXPECT_EQ(ParentOf(f.Handle()), GetDesktopWindow());
    EXPECT_TRUE(IsWindowVisible(Application.Handle()));
}

class PreviewWithoutHandle : public HostTest, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(PreviewWithoutHandle, TheWindowStaysAnOrdinaryWindowWithoutATaskbarEntry) {
    SaverForm& f = Make(GetParam());
    f.form->ShowForm();
    Pump(20);
    EXPECT_EQ(ParentOf(f.Handle()), GetDesktopWindow());
    EXPECT_FALSE(Style(f.Handle()) & WS_CHILD);
    EXPECT_TRUE(IsWindowEnabled(f.Handle()));
    EXPECT_TRUE(IsWindowVisible(f.Handle()));
    EXPECT_FALSE(f.panelSetup->Visible());
    EXPECT_FALSE(IsWindowVisible(Application.Handle()));
    EXPECT_FALSE(Application.Terminated());
}

INSTANTIATE_TEST_SUITE_P(Arguments, PreviewWithoutHandle,
                         ::testing::Values(std::vector<std::string>{"/p"}, std::vector<std::string>{"/p", "-1"},
                                           std::vector<std::string>{"/p", "junk"}));

class PreviewOfAGoneWindow : public HostTest, public ::testing::WithParamInterface<std::string> {};

// The Display control panel has already destroyed the preview window it named.
TEST_P(PreviewOfAGoneWindow, EndsTheRunBeforeAnyWindowShows) {
    SaverForm& f = Make({"/p", GetParam()});
    EXPECT_TRUE(Application.Terminated());
    EXPECT_FALSE(Hooked(f.Handle()));
    EXPECT_FALSE(IsWindowVisible(f.Handle()));
}

INSTANTIATE_TEST_SUITE_P(Handles, PreviewOfAGoneWindow, ::testing::Values("0", "2147483000"));

using NoAutoEnable = HostTest;

TEST_F(NoAutoEnable, NeitherFullScreenNorConfigurationIsApplied) {
    SaverForm& s = Make({"/s"}, [](SaverForm& f) { f.hostArgs.autoEnable = false; });
    EXPECT_TRUE(Style(s.Handle()) & WS_CAPTION);
    EXPECT_EQ(CursorCount(), cursorAtStart_);
    EXPECT_FALSE(Hooked(s.Handle()));
    SaverForm& c = Make({"/c"}, [](SaverForm& f) { f.hostArgs.autoEnable = false; });
    EXPECT_FALSE(c.panelSetup->Visible());
    EXPECT_TRUE(c.panel1->Visible());
}

// ---- placement ----

using Placement = HostTest;

TEST_F(Placement, AHostOffAFormOrASecondOnTheSameFormIsRefusedAndLeavesNothingBehind) {
    Panel panel(nullptr, Layout("Panel", nullptr, 0, 0, 10, 10));
    try {
        TScreenSaver host(&panel);
        ADD_FAILURE() << "a host off a form";
    } catch (const TFormNotOwner& e) {
        EXPECT_STREQ(e.what(), "The TScreenSaver Component does not appear to be on a TForm. What are you trying to do?");
    }
    EXPECT_TRUE(panel.Components().empty());

    SaverForm& f = Make({"/c"});
    try {
        new TScreenSaver(f.form);
        ADD_FAILURE() << "a second host";
    } catch (const TDuplicateComponent& e) {
        EXPECT_STREQ(e.what(), "Why would you want more than 1 TScreenSaver component on a Form?");
    }
    EXPECT_EQ(std::count_if(f.form->Components().begin(), f.form->Components().end(),
                            [](Component* c) { return dynamic_cast<TScreenSaver*>(c) != nullptr; }),
              1);
}

// ---- password change ----

using PasswordChangeMode = HostTest;

TEST_F(PasswordChangeMode, WithoutAUsableHandleNothingIsShownAndTheProgramGoesOn) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{{"/a"}, {"/a", "-1"}, {"/A", "none"}}) {
        SaverForm& f = Make(arguments);
        EXPECT_FALSE(Application.Terminated()) << arguments.size();
        EXPECT_FALSE(f.panelSetup->Visible());
        f.Destroy();
    }
}

TEST_F(PasswordChangeMode, WithAHandleTheSystemsChangeRunsAndTheProgramQuits) {
    FakeDisplayProperties& properties = DisplayProperties();
    SaverForm& f = Make({"/a", HandleArgument(properties.Handle())});
    EXPECT_TRUE(Application.Terminated());
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "a quit request is queued";
    EXPECT_FALSE(f.panelSetup->Visible());
}

TEST_F(PasswordChangeMode, PasswordSettingFalseDoesNothing) {
    SaverForm& f = Make({"/a", HandleArgument(Application.Handle())},
                        [](SaverForm& s) { s.hostArgs.passwordSetting = false; });
    EXPECT_FALSE(Application.Terminated());
    EXPECT_FALSE(f.panelSetup->Visible());
}

}  // namespace
}  // namespace kv::test
