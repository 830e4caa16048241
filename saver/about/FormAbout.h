#pragma once
// The About window: product, version and maker, the maker's web link, and a snapshot of the
// machine taken when the window opens. At most one exists; FormAbout refers to it.
#include <memory>
#include <string>

#include "framework/Bevel.h"
#include "framework/Form.h"
#include "framework/StdControls.h"
#include "saver/about/CpuSpeedMeasurement.h"

namespace kv {

class TFormAbout : public Form {
public:
    // ownerWindow: the main window, over which the About window stands centred.
    TFormAbout(Component* owner, HWND ownerWindow);
    ~TFormAbout() override;

    // Creates the About window over owner when none is open, then shows it and brings it forward.
    static void Open(Form& owner);

    Label* Label1;
    Label* Label3;
    Label* Label2;
    Label* Label4;
    Label* Label6;
    Bevel* Bevel1;
    Label* lbOS;
    Label* lbServicePack;
    Label* lbCpu;
    Label* memory1;
    Label* memory2;
    Button* BitBtn1;

    void FormCreate();
    void FormClose(CloseAction& action);
    void Label6Click();
    void BitBtn1Click();
    void ShowMemoryStatus();

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void BuildLayout();
    void ShowCpuSpeed();
    // The processor is measured while the window is already up and answering.
    std::unique_ptr<CpuSpeedMeasurement> measurement_;
};

// The About window that is open, or null while none is.
extern TFormAbout* FormAbout;

// The maker's addresses shown in the About window.
extern const char kMakerEmail[];
extern const char kMakerWebAddress[];

}  // namespace kv
