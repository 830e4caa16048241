#include "tests/win/host/HostTestKit.h"

#include "framework/Application.h"

namespace kv::test {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

}  // namespace

// ---- the form ----

ControlArgs Layout(const std::string& name, WinControl* parent, int left, int top, int width, int height, bool visible) {
    ControlArgs args;
    args.name = name;
    args.parent = parent;
    args.left = left;
    args.top = top;
    args.width = width;
    args.height = height;
    args.visible = visible;
    return args;
}

void SaverForm::Create(const std::vector<std::string>& arguments, const std::function<void(SaverForm&)>& adjust) {
    std::vector<std::string> commandLine{"KINOVELA.SCR"};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    Application.SetArguments(commandLine);

    form = new Form(nullptr, FormArgs{.name = "FormMain", .caption = "KINOVELA", .clientWidth = 417, .clientHeight = 368});
    panel1 = new Panel(form, Layout("Panel1", form, 0, 0, 417, 368));
    gradient = new OtherPanel(form, Layout("GradientPanel1", form, 0, 0, 100, 20));
    panelSetup = new Panel(form, Layout("PanelSetup", form, 8, 12, 417, 345, false));
    ControlArgs saveArgs = Layout("Save", panelSetup, 200, 300, 80, 24);
    saveArgs.caption = "Save";
    save = new Button(form, saveArgs);
    hostArgs = {.configurationBoxStyle = cbsPanel, .configurationBoxPanel = panelSetup, .systemKeysDisabled = false};
    if (adjust) adjust(*this);
    saver = new TScreenSaver(form, hostArgs, "ScreenSaver1");
    form->AfterConstruction();
}

void SaverForm::Destroy() {
    delete form;
    form = nullptr;
    saver = nullptr;
}

// ---- Display Properties ----

FakeDisplayProperties::FakeDisplayProperties() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterWindowClass({.name = L"KVTestDisplayProperties"});
    RegisterWindowClass({.name = L"KVTestPreview"});
    window_ = CreateWindowExW(0, L"KVTestDisplayProperties", L"Display Properties", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              120, 80, 400, 300, nullptr, nullptr, instance, static_cast<WindowTarget*>(this));
    preview_ = CreateWindowExW(0, L"KVTestPreview", L"", WS_CHILD | WS_VISIBLE, 40, 50, 152, 112, window_, nullptr,
                               instance, nullptr);
}

FakeDisplayProperties::~FakeDisplayProperties() {
    if (window_) DestroyWindow(window_);
}

std::string FakeDisplayProperties::PreviewArgument() const { return HandleArgument(preview_); }

LRESULT FakeDisplayProperties::HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ENABLE && !wp) ++disables_;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// ---- small helpers ----

int CursorCount() {
    int count = ShowCursor(TRUE);
    ShowCursor(FALSE);
    return count - 1;
}

void SetCursorCount(int count) {
    int now = CursorCount();
    while (now < count) now = ShowCursor(TRUE);
    while (now > count) now = ShowCursor(FALSE);
}

bool CursorShowing() {
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    return GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING);
}

std::string HandleArgument(HWND hwnd) { return std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(hwnd))); }

std::wstring StandIn(const std::wstring& name) { return WinePath(KINOVELA_STANDINS_DIR L"/" + name); }

// ---- registry ----

DesktopValueKeeper::DesktopValueKeeper(std::wstring name) : name_(std::move(name)) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return;
    ScopedKey key(opened);
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), name_.c_str(), nullptr, &type_, nullptr, &size) != ERROR_SUCCESS) return;
    data_.resize(size);
    existed_ = RegQueryValueExW(key.Get(), name_.c_str(), nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
}

DesktopValueKeeper::~DesktopValueKeeper() {
    if (existed_)
        Set(type_, data_.data(), static_cast<DWORD>(data_.size()));
    else
        Delete();
}

void DesktopValueKeeper::Set(DWORD type, const BYTE* data, DWORD size) {
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    ScopedKey key(created);
    ASSERT_EQ(RegSetValueExW(key.Get(), name_.c_str(), 0, type, data, size), ERROR_SUCCESS);
}

void DesktopValueKeeper::SetDword(DWORD value) { Set(REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value); }

void DesktopValueKeeper::SetString(const std::wstring& value) {
    Set(REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void DesktopValueKeeper::SetBinary(const std::vector<BYTE>& value) {
    Set(REG_BINARY, value.data(), static_cast<DWORD>(value.size()));
}

void DesktopValueKeeper::Delete() {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
    ScopedKey key(opened);
    RegDeleteValueW(key.Get(), name_.c_str());
}

// ---- fixture ----

void HostTest::SetUpTestSuite() {
    static bool initialized = false;
    if (initialized) return;
    Application.Initialize();
    Application.SetTitle("KINOVELA");
    initialized = true;
}

void HostTest::SetUp() {
    ForgetQuitRequest();
    ShowWindow(Application.Handle(), SW_SHOWNOACTIVATE);
    cursorAtStart_ = CursorCount();
}

void HostTest::TearDown() {
    for (auto& f : forms_)
        if (f->form) f->Destroy();
    forms_.clear();
    displayProperties_.reset();
    Pump(20);
    ForgetQuitRequest();
    SetCursorCount(cursorAtStart_);
    ShowWindow(Application.Handle(), SW_SHOWNOACTIVATE);
}

SaverForm& HostTest::Make(const std::vector<std::string>& arguments, const std::function<void(SaverForm&)>& adjust) {
    forms_.push_back(std::make_unique<SaverForm>());
    forms_.back()->Create(arguments, adjust);
    return *forms_.back();
}

FakeDisplayProperties& HostTest::DisplayProperties() {
    if (!displayProperties_) displayProperties_ = std::make_unique<FakeDisplayProperties>();
    return *displayProperties_;
}

}  // namespace kv::test
