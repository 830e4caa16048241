// The window framework under Wine: the error report, the creation order, key preview, quit,
// the window routing and the message hook.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/StdControls.h"
#include "framework/SystemDirectory.h"
#include "framework/Text.h"
#include "tests/win/support/WinTestKit.h"

using namespace kv;

namespace {

class TestForm : public Form {
public:
    explicit TestForm(Component* owner)
        : Form(owner, FormArgs{.caption = "Framework test", .clientWidth = 200, .clientHeight = 100, .keyPreview = true}) {
        button = new Button(this, {.name = "Button", .parent = this, .left = 10, .top = 10, .width = 80, .height = 24, .caption = "Go"});
        OnCreate = [this] { order += "create;"; };
    }
    Button* button;
    std::string order;
};

class Recorder : public Component {
public:
    Recorder(Component* owner, std::string& order) : Component(owner, "Recorder"), order_(order) {}
    void Loaded() override { order_ += "loaded;"; }

private:
    std::string& order_;
};

class LoadedFirstForm : public TestForm {
public:
    explicit LoadedFirstForm(Component* owner) : TestForm(owner) { new Recorder(this, order); }
};

// What the program writes with OutputDebugString, as a debugger would see it.
class DebugOutput {
public:
    DebugOutput() : handler_(AddVectoredExceptionHandler(1, Note)) { current_ = this; }
    ~DebugOutput() {
        RemoveVectoredExceptionHandler(handler_);
        current_ = nullptr;
    }
    // The lines that start with prefix.
    std::vector<std::string> Lines(const std::string& prefix) const {
        std::vector<std::string> lines;
        for (const std::string& line : lines_)
            if (line.rfind(prefix, 0) == 0) lines.push_back(line);
        return lines;
    }

private:
    static LONG CALLBACK Note(EXCEPTION_POINTERS* info) {
        const EXCEPTION_RECORD& r = *info->ExceptionRecord;
        if (current_ && r.ExceptionCode == DBG_PRINTEXCEPTION_C && r.NumberParameters >= 2)
            current_->lines_.push_back(reinterpret_cast<const char*>(r.ExceptionInformation[1]));
        return EXCEPTION_CONTINUE_SEARCH;
    }
    static inline DebugOutput* current_ = nullptr;
    void* handler_;
    std::vector<std::string> lines_;
};

class Framework : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Application.Initialize();
        Application.SetTitle("KINOVELA");
    }
};

TEST_F(Framework, AnExceptionFromAHandlerGoesToTheDebuggerAndToTheErrorBoxWhileBoxesShow) {
    auto* form = Application.CreateForm<TestForm>();
    form->ShowForm();
    int clicks = 0;
    form->button->OnClick = [&] {
        ++clicks;
        if (clicks == 1) throw Exception("Disk not ready");
        if (clicks == 2) throw Exception("Already stopped.");
        if (clicks == 3) throw Exception("Not in a box");
    };
    DebugOutput output;
    test::BoxAnswerer boxes(L"KINOVELA");
    SendMessageW(form->button->Handle(), BM_CLICK, 0, 0);
    SendMessageW(form->button->Handle(), BM_CLICK, 0, 0);
    // A run that shows no boxes (the full-screen saver).
    Application.SetErrorBoxes(false);
    SendMessageW(form->button->Handle(), BM_CLICK, 0, 0);
    Application.SetErrorBoxes(true);
    boxes.Stop();
    SendMessageW(form->button->Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes.Count(), 2);
    const test::BoxAnswerer::Box& first = boxes.Boxes()[0];
    const test::BoxAnswerer::Box& second = boxes.Boxes()[1];

    EXPECT_EQ(first.title, L"KINOVELA");
    EXPECT_EQ(first.message, L"Disk not ready.");
    EXPECT_TRUE(first.hasOk);
    EXPECT_FALSE(first.hasCancel);
    EXPECT_TRUE(first.hasIcon);
    EXPECT_EQ(second.message, L"Already stopped.");
    EXPECT_EQ(output.Lines("KINOVELA: "), (std::vector<std::string>{"KINOVELA: Disk not ready\n",
                                                                     "KINOVELA: Already stopped.\n",
                                                                     "KINOVELA: Not in a box\n"}));
    EXPECT_EQ(clicks, 4);  // the handler still runs after the failures
    delete form;
}

TEST_F(Framework, ComponentsAreLoadedBeforeTheFormsCreationHandler) {
    auto* form = Application.CreateForm<LoadedFirstForm>();
    EXPECT_EQ(form->order, "loaded;create;");
    delete form;
}

TEST_F(Framework, KeyPreviewGivesTheFormTheKeyBeforeTheFocusedControl) {
    auto* form = Application.CreateForm<TestForm>();
    form->ShowForm();
    std::string seen;
    form->OnFormKeyDown = [&](WORD& key, ShiftState) { seen += "form" + std::to_string(key) + ";"; };
    form->button->OnKeyDown = [&](WORD& key, ShiftState) { seen += "button" + std::to_string(key) + ";"; };
    PostMessageW(form->button->Handle(), WM_KEYDOWN, VK_DELETE, 0);
    Application.ProcessMessages();
    EXPECT_EQ(seen, "form46;button46;");
    delete form;
}

TEST_F(Framework, SettingACheckBoxFromCodeRunsItsClickOnlyWhenTheStateChanges) {
    auto* form = Application.CreateForm<TestForm>();
    auto* box = new CheckBox(form, {.parent = form, .left = 10, .top = 40, .width = 80, .height = 17});
    auto* th = new RadioButton(form, {.parent = form, .left = 10, .top = 60, .width = 40, .height = 17, .caption = "TH"});
    auto* en = new RadioButton(form, {.parent = form, .left = 60, .top = 60, .width = 40, .height = 17, .caption = "EN"});
    int boxClicks = 0, thClicks = 0, enClicks = 0;
    box->OnClick = [&] { ++boxClicks; };
    th->OnClick = [&] { ++thClicks; };
    en->OnClick = [&] { ++enClicks; };
    box->SetChecked(false);
    box->SetChecked(true);
    box->SetChecked(true);
    th->SetChecked(true);
    en->SetChecked(true);
    EXPECT_EQ(boxClicks, 1);
    EXPECT_EQ(thClicks, 1);
    EXPECT_EQ(enClicks, 1);
    EXPECT_FALSE(th->Checked());  // one group: selecting EN cleared TH
    EXPECT_TRUE(en->Checked());
    delete form;
}

TEST_F(Framework, TheDialogKeyboardMovesTheFocusInTabOrderAndPressesTheButtons) {
    auto* form = Application.CreateForm<TestForm>();
    auto* panel = new Panel(form, {.parent = form, .left = 10, .top = 40, .width = 150, .height = 50});
    auto* box = new CheckBox(form, {.parent = panel, .left = 5, .top = 5, .width = 80, .height = 17});
    auto* close = new SpeedButton(form, {.parent = form, .left = 100, .top = 10, .width = 60, .height = 24});
    int closes = 0;
    close->OnClick = [&] { ++closes; };
    form->SetCancelButton(close);
    form->ShowForm();
    form->button->SetFocus();

    test::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), box->Handle()) << "Tab goes into the panel";
    test::PressKey(VK_SPACE);
    EXPECT_TRUE(box->Checked());
    test::PressKey(VK_RETURN);
    EXPECT_EQ(closes, 0) << "Enter on a check box presses nothing";
    test::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), close->Handle());
    test::PressKey(VK_RETURN);
    EXPECT_EQ(closes, 1) << "Enter presses the focused button";
    test::PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), box->Handle()) << "Shift+Tab goes back";
    test::PressKey(VK_ESCAPE);
    EXPECT_EQ(closes, 2) << "Escape presses the cancel button";

    // Left and come back to, the window gives the keyboard to the control that had it.
    auto* other = Application.CreateForm<TestForm>();
    other->ShowForm();
    form->ShowForm();
    EXPECT_EQ(GetFocus(), box->Handle());

    form->SetDialogKeys(false);
    test::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), box->Handle()) << "a window with key rules of its own";
    delete other;
    delete form;
}

TEST_F(Framework, ScalingMovesResizesAndShrinksTheFontsOfEveryChild) {
    auto* form = Application.CreateForm<TestForm>();
    auto* panel = new Panel(form, {.parent = form, .left = 100, .top = 40, .width = 200, .height = 100});
    auto* inner = new Label(form, {.parent = panel, .left = 20, .top = 10, .width = 60, .height = 20, .caption = "x"});
    form->ScaleBy(1, 2);
    EXPECT_EQ(panel->Left(), 50);
    EXPECT_EQ(panel->Width(), 100);
    EXPECT_EQ(inner->Left(), 10);
    EXPECT_EQ(inner->Height(), 10);
    EXPECT_EQ(inner->Font().height, 6);  // 11 / 2 rounded
    EXPECT_EQ(form->button->Font().height, 6);
    delete form;
}

TEST_F(Framework, AQuitRequestMetWhilePumpingIsKeptForTheRunsOwnLoopAndEndsThePumping) {
    PostQuitMessage(5);
    Application.ProcessMessages();
    EXPECT_TRUE(Application.Terminated());
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the request was swallowed";
    EXPECT_EQ(quit.wParam, 5u);

    const DWORD start = GetTickCount();
    EXPECT_FALSE(Application.PumpUntil([] { return false; }, 3000));
    EXPECT_LT(GetTickCount() - start, 1000u) << "the pumping went on past the request";
    EXPECT_TRUE(Application.QuitRequestQueued());
    test::ForgetQuitRequest();
    EXPECT_FALSE(Application.QuitRequestQueued());
}

TEST_F(Framework, OnlyTheWindowsOfOurControlsNameAControl) {
    auto* form = Application.CreateForm<TestForm>();
    EXPECT_EQ(WinControl::FromHandle(form->Handle()), form);
    EXPECT_EQ(WinControl::FromHandle(form->button->Handle()), form->button) << "a subclassed standard control";
    // A window of someone else's procedure that keeps a pointer in its user data.
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form->Handle(), nullptr, nullptr, nullptr);
    SetWindowLongPtrW(other, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    EXPECT_EQ(WinControl::FromHandle(other), nullptr);
    EXPECT_EQ(WinControl::FromHandle(GetDesktopWindow()), nullptr);
    EXPECT_EQ(WinControl::FromHandle(nullptr), nullptr);
    delete form;
    EXPECT_EQ(WinControl::FromHandle(other), nullptr) << "a destroyed window";
}

TEST_F(Framework, AMessageHookSeesTheMessagesFirstTakesWhatItAnswersAndPassesTheRestOn) {
    auto* form = Application.CreateForm<TestForm>();
    constexpr UINT kAsk = WM_APP + 77;
    std::vector<UINT> seen;
    form->SetMessageHook([&](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        seen.push_back(msg);
        if (msg != kAsk) return false;
        result = 42;
        return true;
    });
    EXPECT_EQ(SendMessageW(form->Handle(), kAsk, 0, 0), 42);
    SendMessageW(form->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Hooked"));
    EXPECT_EQ(GetWindowTextLengthW(form->Handle()), 6) << "the window still handled what the hook passed on";
    EXPECT_NE(std::find(seen.begin(), seen.end(), UINT(WM_SETTEXT)), seen.end());

    form->SetMessageHook(nullptr);
    EXPECT_FALSE(form->HasMessageHook());
    EXPECT_EQ(SendMessageW(form->Handle(), kAsk, 0, 0), 0);
    delete form;
}

TEST_F(Framework, TheSystemDirectoryEndsInABackslashOrIsNothingWhenTheBufferIsTooSmall) {
    std::optional<std::string> folder = SystemDirectory(MAX_PATH);
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->back(), '\\');
    const DWORD attributes = GetFileAttributesA(folder->c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(SystemDirectory(unsigned(folder->size()) - 1)) << "no room for the terminating zero";
}

}  // namespace
