#pragma once
// The screen-saver host: reads the switch of the command line and turns its form into the
// full-screen saver, the configuration dialog or the Display control panel's preview, runs the
// password change, and guards every close with the system's screen-saver password.
#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Component.h"
#include "framework/Exception.h"

namespace kv {

class Form;
class Panel;

enum TConfigBoxStyle : uint8_t { cbsMessageDlg = 0, cbsPanel = 1 };

// The host's placement rules, checked when it is constructed: it sits on a form, once.
class TFormNotOwner : public Exception {
public:
    using Exception::Exception;
};
class TDuplicateComponent : public Exception {
public:
    using Exception::Exception;
};

// The host's properties, as the form's layout gives them; each mode handler is gated by one.
struct ScreenSaverArgs {
    bool autoEnable = true;
    bool autoMaximize = true;
    bool autoBorderLess = true;
    bool autoOnTop = true;
    bool autoMouseHide = true;
    bool previewWindow = true;
    bool mainScreenSaver = true;
    bool configurationBox = true;
    TConfigBoxStyle configurationBoxStyle = cbsMessageDlg;
    Panel* configurationBoxPanel = nullptr;
    std::string configurationBoxMessage = "This screen saver has no options that you can set.";
    bool systemKeysDisabled = true;
    bool passwordSetting = true;
};

// One window message as the hook sees it, before the window's own handling.
struct WindowMessage {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
};

class TScreenSaver : public Component {
public:
    // owner must be a form (else TFormNotOwner) without another host (else TDuplicateComponent).
    TScreenSaver(Component* owner, const ScreenSaverArgs& args = {}, std::string name = {});
    // Restores Display Properties, the system keys, the cursor and the window procedure.
    ~TScreenSaver() override;

    // The form the handlers act on: the owner.
    Form* OwnerForm() const { return ownerForm_; }

    bool AutoEnable() const { return args_.autoEnable; }
    bool AutoMaximize() const { return args_.autoMaximize; }
    bool AutoBorderLess() const { return args_.autoBorderLess; }
    bool AutoOnTop() const { return args_.autoOnTop; }
    bool AutoMouseHide() const { return args_.autoMouseHide; }
    bool PreviewWindow() const { return args_.previewWindow; }
    bool MainScreenSaver() const { return args_.mainScreenSaver; }
    bool ConfigurationBox() const { return args_.configurationBox; }
    TConfigBoxStyle ConfigurationBoxStyle() const { return args_.configurationBoxStyle; }
    Panel* ConfigurationBoxPanel() const { return args_.configurationBoxPanel; }
    const std::string& ConfigurationBoxMessage() const { return args_.configurationBoxMessage; }
    bool SystemKeysDisabled() const { return args_.systemKeysDisabled; }
    bool PasswordSetting() const { return args_.passwordSetting; }

    // The switch letter of the first argument: "S", "P", "A", "C", ... or "".
    std::string RunModeLetter() const;
    void ExecuteRunMode();
    void EmbedInPreview();
    void ShowConfiguration();
    void ChangePassword();
    void StartSaver();
    // Asked by the form before every close: true when it may close.
    bool VerifyPassword();

    // After the form's layout is read, before its creation handler: applies the run mode.
    void OwnerLoaded();
    void Loaded() override { OwnerLoaded(); }

    // Sees the owner window's messages through the framework's message hook.
    void HookOwnerWindow();
    void OwnerWindowProc(WindowMessage& message);
    void UnhookOwnerWindow();

private:
    // Spreads the full-screen window over every monitor, the picture over the primary one.
    void CoverMonitors();

    ScreenSaverArgs args_;
    Form* ownerForm_;
    HWND previewParent_ = nullptr;  // the preview window once embedded
    HWND hookedWindow_ = nullptr;  // the window whose message hook is ours
    bool runningFromHook_ = false;
    bool coversMonitors_ = false;  // follows display changes of the form
};

}  // namespace kv
