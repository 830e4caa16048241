#include "setup/Form1.h"

#include <utility>

#include "framework/Application.h"
#include "framework/FileExists.h"
#include "framework/Scoped.h"
#include "framework/SystemDirectory.h"
#include "setup/InstallRules.h"
#include "setup/Installer.h"
#include "setup/QuestionBox.h"

namespace kv {
namespace {

constexpr char kBannerResource[] = "BANNER";
constexpr char kWebAddress[] = "orvantek.example";

FontSpec MakeFont(Color color, int height, bool bold = false) {
    FontSpec f;
    f.color = color;
    f.height = height;
    f.bold = bold;
    return f;
}

Picture DecodeBanner() {
    const EmbeddedFile banner = FindEmbeddedFile(RT_RCDATA, kBannerResource);
    return DecodeJpeg(static_cast<const uint8_t*>(banner.data), banner.size);
}

// A visual style draws every bar in its own colour and ignores the one set; the classic look
// keeps ours. uxtheme.dll comes with Windows XP, so it is asked for at run time.
void UseClassicLook(HWND control) {
    ScopedLibrary uxtheme(LoadSystemLibrary("uxtheme.dll"));
    if (!uxtheme) return;
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    auto setWindowTheme = EntryPoint<SetWindowThemeFn>(uxtheme.Get(), "SetWindowTheme");
    // Empty names would be refused; a blank matches no style.
    if (!setWindowTheme || FAILED(setWindowTheme(control, L" ", L" "))) return;
    // The style took the classic sunken edge away; it comes back with the classic look.
    SetWindowLongPtrW(control, GWL_EXSTYLE, GetWindowLongPtrW(control, GWL_EXSTYLE) | WS_EX_STATICEDGE);
    SetWindowPos(control, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

TForm1::TForm1(Component* owner)
    : Form(owner, FormArgs{.name = "Form1", .caption = "KINOVELA SETUP", .clientWidth = 469, .clientHeight = 184,
                           .borderStyle = BorderStyle::Single, .minimizeBox = false, .maximizeBox = false,
                           .position = FormPosition::ScreenCenter, .formStyle = FormStyle::StayOnTop,
                           .color = clBtnFace}) {
    BuildLayout();
    ShowBanner();
    Button1->OnClick = [this] { Button1Click(); };
    Button2->OnClick = [this] { Button2Click(); };
    SetCancelButton(Button2);
    OnCreate = [this] { FormCreate(); };
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    animationTimer_ = new Timer(this, "AnimationTimer", animation_.pauseMs, false);
    animationTimer_->OnTimer = [this] { AnimationTick(); };
}

void TForm1::BuildLayout() {
    // Drawn in this order: the labels lie over the banner.
    Image2 = new Image(this, {.name = "Image2", .parent = this, .width = 465, .height = 121});
    Label1 = new Label(this, {.name = "Label1", .parent = this, .left = 176, .top = 8, .caption = "KINOVELA 1.02 SETUP",
                              .font = MakeFont(clWhite, 16, true)},
                       {.autoSize = true});
    Label4 = new Label(this, {.name = "Label4", .parent = this, .left = 328, .top = 72,
                              .caption = std::string("website : ") + kWebAddress, .font = MakeFont(clBlue, 11)},
                       {.autoSize = true});
    pgb1 = new ProgressBar(this, {.name = "pgb1", .parent = this, .left = 2, .top = 128, .width = 465, .height = 16}, false);
    Button1 = new Button(this, {.name = "Button1", .parent = this, .left = 304, .top = 152, .width = 75, .height = 25,
                                .caption = "Install"});
    Button2 = new Button(this, {.name = "Button2", .parent = this, .left = 392, .top = 152, .width = 75, .height = 25,
                                .caption = "Close"});
    SetIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
}

void TForm1::ShowBanner() {
    // The banner only decorates: without it the window still installs.
    Application.Guard([this] { Image2->SetPicture(DecodeBanner()); });
}

void TForm1::FormCreate() {
    // Posted: the bar turns green once the message loop runs.
    UseClassicLook(pgb1->Handle());
    pgb1->SetBarColor(Rgb(0, 128, 0));
}

void TForm1::VisibleChanged() {
    Form::VisibleChanged();
    // Install, first in the tab order, takes the keyboard: Space installs.
    if (Visible()) Button1->SetFocus();
}

void TForm1::Button1Click() {
    if (Animating()) return;  // this install is under way
    const std::string target = InstalledSaverTarget();
    if (FileExists(target) && !AskToReplace()) return;
    ReplaceWholeFile(target, FindEmbeddedSaver());
    // The bar follows the write; it does not measure it.
    installing_ = target;
    step_ = 0;
    pgb1->SetMax(animation_.max);
    pgb1->SetPosition(positions_[step_]);
    animationTimer_->SetEnabled(true);
}

void TForm1::AnimationTick() {
    if (++step_ < positions_.size()) {
        pgb1->SetPosition(positions_[step_]);
        return;
    }
    FinishInstall();
}

void TForm1::FinishInstall() {
    animationTimer_->SetEnabled(false);
    pgb1->SetPosition(animation_.restPosition);
    // A saver that does not start leaves Install ready for another try.
    StartInstalledSaver(std::exchange(installing_, {}));
    // The keyboard moves on first: a disabled button would keep it from every control.
    Button2->SetFocus();
    Button1->SetEnabled(false);
    Button2->SetCaption("Finish");
}

void TForm1::Button2Click() { Close(); }

void TForm1::FormCloseQuery(bool&) {
    if (Animating()) FinishInstall();
}

bool TForm1::AskToReplace() { return AskYesNo(Handle(), OverwriteQuestion(), "Information", MB_ICONINFORMATION); }

}  // namespace kv
