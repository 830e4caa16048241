#pragma once
// What the host tests share besides the Windows test kit: a form laid out like the saver's main
// window with the host on it, a Display Properties window of our own, the cursor counter, and a
// keeper that puts registry values back.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Form.h"
#include "framework/Scoped.h"
#include "framework/StdControls.h"
#include "saver/host/ScreenSaver.h"
#include "tests/win/support/WinTestKit.h"

namespace kv::test {

// A panel kind other than the plain one, as the gradient panels are.
class OtherPanel : public CustomPanel {
public:
    using CustomPanel::CustomPanel;
};

ControlArgs Layout(const std::string& name, WinControl* parent, int left, int top, int width, int height,
                   bool visible = true);

// The main window's shape: PanelSetup (hidden, 417 x 345) with a button in it, the video panel
// Panel1, a panel of another kind, and ScreenSaver1 configured as the program configures it.
struct SaverForm {
    Form* form = nullptr;
    Panel* panelSetup = nullptr;
    Panel* panel1 = nullptr;
    OtherPanel* gradient = nullptr;
    Button* save = nullptr;
    TScreenSaver* saver = nullptr;
    // The host's properties; adjust may change them before the host is made.
    ScreenSaverArgs hostArgs;

    // Builds the form with the given command line; adjust runs before the host is made.
    void Create(const std::vector<std::string>& arguments, const std::function<void(SaverForm&)>& adjust);
    HWND Handle() const { return form->Handle(); }
    // Destroys the form, and with it the host (its teardown).
    void Destroy();
};

// A top-level "Display Properties" window of this thread with a 152 x 112 preview child.
class FakeDisplayProperties : private WindowTarget {
public:
    FakeDisplayProperties();
    ~FakeDisplayProperties();
    HWND Handle() const { return window_; }
    HWND Preview() const { return preview_; }
    std::string PreviewArgument() const;
    int DisableCount() const { return disables_; }

private:
    LRESULT HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override;
    HWND window_ = nullptr;
    HWND preview_ = nullptr;
    int disables_ = 0;
};

// The thread's cursor display counter (visible while not negative).
int CursorCount();
void SetCursorCount(int count);
bool CursorShowing();

std::string HandleArgument(HWND hwnd);
// A stand-in of the build, as the system directory's copy is made from it.
std::wstring StandIn(const std::wstring& name);

// Sets HKCU\Control Panel\Desktop values and puts the old ones back.
class DesktopValueKeeper {
public:
    explicit DesktopValueKeeper(std::wstring name);
    ~DesktopValueKeeper();
    void SetDword(DWORD value);
    void SetString(const std::wstring& value);
    void SetBinary(const std::vector<BYTE>& value);
    void Delete();

private:
    void Set(DWORD type, const BYTE* data, DWORD size);
    std::wstring name_;
    bool existed_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};

// The application, the title and a clean state for every test.
class HostTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    SaverForm& Make(const std::vector<std::string>& arguments, const std::function<void(SaverForm&)>& adjust = {});

    int cursorAtStart_ = 0;
    // The Display Properties window of the test; it outlives the forms embedded in it.
    FakeDisplayProperties& DisplayProperties();

    std::vector<std::unique_ptr<SaverForm>> forms_;
    std::unique_ptr<FakeDisplayProperties> displayProperties_;
};

}  // namespace kv::test
