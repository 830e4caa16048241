// The window framework under Wine: the error report, the creation order, key preview, quit.
#include <gtest/gtest.h>

#include <string>

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/StdControls.h"
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

class Framework : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Application.Initialize();
        Application.SetTitle("KINOVELA");
    }
};

TEST_F(Framework, AnExceptionFromAHandlerShowsTheErrorBoxAndTheProgramGoesOn) {
    auto* form = Application.CreateForm<TestForm>();
    form->ShowForm();
    int clicks = 0;
    form->button->OnClick = [&] {
        ++clicks;
        if (clicks == 1) throw Exception("Disk not ready");
        if (clicks == 2) throw Exception("Already stopped.");
    };
    test::BoxAnswerer boxes(L"KINOVELA");
    SendMessageW(form->button->Handle(), BM_CLICK, 0, 0);
    SendMessageW(form->button->Handle(), BM_CLICK, 0, 0);
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
    EXPECT_EQ(clicks, 3);  // the handler still runs after the failures
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
    PostMessageW(form->button->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    Application.ProcessMessages();
    EXPECT_EQ(seen, "form39;button39;");
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

}  // namespace
