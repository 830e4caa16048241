#pragma once
// The setup program's one window: a banner, a progress bar, Install and Close.
#include "framework/Form.h"
#include "framework/StdControls.h"
#include "setup/Image.h"

namespace kv {

class TForm1 : public Form {
public:
    explicit TForm1(Component* owner);

    Image* Image2;
    Label* Label1;
    Label* Label4;
    ProgressBar* pgb1;
    Button* Button1;
    Button* Button2;

    void FormCreate();
    // Writes the embedded saver into the system directory and starts it with -INSTALL.
    void Button1Click();
    void Button2Click();

protected:
    void VisibleChanged() override;

private:
    void BuildLayout();
    void ShowBanner();
    bool AskToReplace();
    void AnimateProgress();
};

}  // namespace kv
