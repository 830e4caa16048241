#include "saver/about/FormAbout.h"

#include <shellapi.h>

#include "framework/Application.h"
#include "framework/Text.h"
#include "saver/about/SystemInfo.h"

namespace kv {

TFormAbout* FormAbout = nullptr;
const char kMakerEmail[] = "info@orvantek.example";
const char kMakerWebAddress[] = "http://www.orvantek.example";

namespace {

// Posted by the measurement's thread once the processor's figure is there.
constexpr UINT kCpuMeasuredMessage = WM_APP + 1;

FontSpec TitleFont() {
    FontSpec f;
    // The system substitutes a face of its own where Impact is missing.
    f.name = L"Impact";
    f.height = 32;
    f.bold = true;
    f.charset = ANSI_CHARSET;
    return f;
}

FontSpec LinkFont() {
    FontSpec f;
    f.color = clBlue;
    f.underline = true;
    return f;
}

std::string UserDecimalSeparator() {
    wchar_t sep[8] = L".";
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sep, int(std::size(sep)))) return ".";
    return Narrow(sep);
}

}  // namespace

TFormAbout::TFormAbout(Component* owner, HWND ownerWindow)
    : Form(owner, FormArgs{.name = "FormAbout", .caption = "About", .clientWidth = 292, .clientHeight = 197,
                           .borderStyle = BorderStyle::Single, .minimizeBox = false, .maximizeBox = false,
                           .position = FormPosition::OwnerCenter, .formStyle = FormStyle::StayOnTop,
                           .color = clBtnFace, .ownerWindow = ownerWindow}) {
    BuildLayout();
    OnCreate = [this] { FormCreate(); };
    OnClose = [this](CloseAction& action) { FormClose(action); };
    Label6->OnClick = [this] { Label6Click(); };
    BitBtn1->OnClick = [this] { BitBtn1Click(); };
    // Enter presses the focused Close, Alt+C its mnemonic, Escape this.
    SetCancelButton(BitBtn1);
}

TFormAbout::~TFormAbout() {
    if (FormAbout == this) FormAbout = nullptr;
}

void TFormAbout::BuildLayout() {
    const Label::Options autoSize{.autoSize = true};
    // The button is created first: it is first in the tab order.
    BitBtn1 = new Button(this, {.name = "BitBtn1", .parent = this, .left = 208, .top = 168, .width = 75, .height = 25,
                                .caption = "&Close"});
    Label1 = new Label(this, {.name = "Label1", .parent = this, .left = 8, .top = 0, .caption = "KINOVELA", .font = TitleFont()},
                       autoSize);
    Label3 = new Label(this, {.name = "Label3", .parent = this, .left = 153, .top = 32, .caption = "Version 1.03 [build 208325]"},
                       autoSize);
    Label2 = new Label(this, {.name = "Label2", .parent = this, .left = 8, .top = 48, .caption = "PRODUCT BY : ORVANTEK"}, autoSize);
    Label4 = new Label(this, {.name = "Label4", .parent = this, .left = 8, .top = 64, .caption = kMakerEmail}, autoSize);
    Label6 = new Label(this, {.name = "Label6", .parent = this, .left = 128, .top = 64, .caption = kMakerWebAddress,
                              .font = LinkFont()},
                       {.autoSize = true, .handCursor = true});
    Bevel1 = new Bevel(this, {.name = "Bevel1", .parent = this, .left = 8, .top = 80, .width = 265, .height = 9});
    lbOS = new Label(this, {.name = "lbOS", .parent = this, .left = 8, .top = 88, .caption = "OS"}, autoSize);
    lbServicePack = new Label(this, {.name = "lbServicePack", .parent = this, .left = 8, .top = 104, .caption = "lbServicePack"},
                              autoSize);
    lbCpu = new Label(this, {.name = "lbCpu", .parent = this, .left = 8, .top = 122, .caption = "lbCpu"}, autoSize);
    memory1 = new Label(this, {.name = "memory1", .parent = this, .left = 8, .top = 138, .caption = "memory1"}, autoSize);
    memory2 = new Label(this, {.name = "memory2", .parent = this, .left = 8, .top = 154, .caption = "memory2"}, autoSize);
}

void TFormAbout::Open(Form& owner) {
    // A window that went with its owner's window leaves an object without a window behind.
    if (FormAbout && !FormAbout->Handle()) delete FormAbout;
    if (!FormAbout) {
        FormAbout = new TFormAbout(nullptr, owner.Handle());
        FormAbout->AfterConstruction();
    }
    FormAbout->ShowForm();
    FormAbout->BitBtn1->SetFocus();
}

void TFormAbout::FormCreate() {
    // A probe error ends the filling here; the labels below keep their texts.
    lbOS->SetCaption(TSystemInfo::GetProductName() + " " + TSystemInfo::GetServicePack());
    lbServicePack->SetCaption(TSystemInfo::GetProductID());
    // The figure follows in half a second (ShowCpuSpeed); the line stays empty meanwhile.
    lbCpu->SetCaption("");
    measurement_ = std::make_unique<CpuSpeedMeasurement>(Handle(), kCpuMeasuredMessage);
    ShowMemoryStatus();
}

void TFormAbout::ShowCpuSpeed() {
    if (std::optional<double> mhz = measurement_ ? measurement_->Mhz() : std::nullopt)
        lbCpu->SetCaption(CpuFrequencyText(*mhz, UserDecimalSeparator()));
}

LRESULT TFormAbout::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != kCpuMeasuredMessage) return Form::WndProc(msg, wp, lp);
    ShowCpuSpeed();
    return 0;
}

void TFormAbout::ShowMemoryStatus() {
    PhysicalMemory memory = ReadPhysicalMemory();
    memory1->SetCaption(TotalMemoryText(memory.totalMb));
    memory2->SetCaption(FreeMemoryText(memory.freeMb));
}

void TFormAbout::FormClose(CloseAction& action) {
    action = CloseAction::Free;
    if (FormAbout == this) FormAbout = nullptr;
}

void TFormAbout::Label6Click() {
    ShellExecuteA(Application.Handle(), "open", kMakerWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

void TFormAbout::BitBtn1Click() { Close(); }

}  // namespace kv
