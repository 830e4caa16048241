#pragma once
// The setup program's one window: a banner, a progress bar, Install and Close.
#include <string>
#include <vector>

#include "framework/Form.h"
#include "framework/StdControls.h"
#include "setup/Image.h"
#include "setup/InstallRules.h"

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
    // Writes the embedded saver into the system directory; the bar then runs, and at its end
    // the saver starts with -INSTALL.
    void Button1Click();
    void Button2Click();
    // A close while the bar runs finishes the install first.
    void FormCloseQuery(bool& canClose);

protected:
    void VisibleChanged() override;

private:
    void BuildLayout();
    void ShowBanner();
    bool AskToReplace();
    bool Animating() const { return animationTimer_->Enabled(); }
    void AnimationTick();
    // The steps after the bar's run: start the installed saver, Install is done.
    void FinishInstall();

    // The bar's run is driven by a timer, so that the window keeps painting and answering.
    const ProgressAnimation animation_;
    const std::vector<int> positions_ = animation_.Positions();
    Timer* animationTimer_ = nullptr;
    size_t step_ = 0;
    std::string installing_;  // the target while the bar runs
};

}  // namespace kv
