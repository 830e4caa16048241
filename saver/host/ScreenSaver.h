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

// Raised only while a form is being edited, never at run time.
class TFormNotOwner : public Exception {
public:
    using Exception::Exception;
};
class TDuplicateComponent : public Exception {
public:
    using Exception::Exception;
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
    // Owned by the form it acts on; the last one constructed names that form for the handlers.
    explicit TScreenSaver(Component* owner, std::string name = {});
    // Restores Display Properties, the system keys, the cursor and the window procedure.
    ~TScreenSaver() override;

    bool AutoEnable() const { return autoEnable_; }
    void SetAutoEnable(bool v) { autoEnable_ = v; }
    bool AutoMaximize() const { return autoMaximize_; }
    void SetAutoMaximize(bool v) { autoMaximize_ = v; }
    bool AutoBorderLess() const { return autoBorderLess_; }
    void SetAutoBorderLess(bool v) { autoBorderLess_ = v; }
    bool AutoOnTop() const { return autoOnTop_; }
    void SetAutoOnTop(bool v) { autoOnTop_ = v; }
    bool AutoMouseHide() const { return autoMouseHide_; }
    void SetAutoMouseHide(bool v) { autoMouseHide_ = v; }
    bool PreviewWindow() const { return previewWindow_; }
    void SetPreviewWindow(bool v) { previewWindow_ = v; }
    bool MainScreenSaver() const { return mainScreenSaver_; }
    void SetMainScreenSaver(bool v) { mainScreenSaver_ = v; }
    bool ConfigurationBox() const { return configurationBox_; }
    void SetConfigurationBox(bool v) { configurationBox_ = v; }
    TConfigBoxStyle ConfigurationBoxStyle() const { return configurationBoxStyle_; }
    void SetConfigurationBoxStyle(TConfigBoxStyle v) { configurationBoxStyle_ = v; }
    Panel* ConfigurationBoxPanel() const { return configurationBoxPanel_; }
    void SetConfigurationBoxPanel(Panel* v) { configurationBoxPanel_ = v; }
    const std::string& ConfigurationBoxMessage() const { return configurationBoxMessage_; }
    void SetConfigurationBoxMessage(const std::string& v) { configurationBoxMessage_ = v; }
    bool SystemKeysDisabled() const { return systemKeysDisabled_; }
    void SetSystemKeysDisabled(bool v) { systemKeysDisabled_ = v; }
    bool PasswordSetting() const { return passwordSetting_; }
    void SetPasswordSetting(bool v) { passwordSetting_ = v; }

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

    bool autoEnable_ = true;
    bool autoMaximize_ = true;
    bool autoBorderLess_ = true;
    bool autoOnTop_ = true;
    HWND previewParent_ = nullptr;  // the preview window once embedded
    bool previewWindow_ = true;
    bool mainScreenSaver_ = true;
    bool configurationBox_ = true;
    TConfigBoxStyle configurationBoxStyle_ = cbsMessageDlg;
    Panel* configurationBoxPanel_ = nullptr;
    std::string configurationBoxMessage_;
    bool systemKeysDisabled_ = true;
    bool passwordSetting_ = true;
    bool autoMouseHide_ = true;
    HWND hookedWindow_ = nullptr;  // the window whose message hook is ours
    bool runningFromHook_ = false;
    bool coversMonitors_ = false;  // follows display changes of the form
    Form* form_ = nullptr;  // the form this instance named as OwnerForm
};

}  // namespace kv
