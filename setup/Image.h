#pragma once
// A picture drawn by its parent, unscaled from the control's top-left corner; what passes the
// control's edges is cut off.
#include "framework/Control.h"
#include "setup/JpegPicture.h"

namespace kv {

class Image : public GraphicControl {
public:
    Image(Component* owner, const ControlArgs& args) : GraphicControl(owner, args) {}
    void SetPicture(Picture picture);
    const Picture& GetPicture() const { return picture_; }
    void Paint(HDC dc) override;

private:
    Picture picture_;
};

}  // namespace kv
