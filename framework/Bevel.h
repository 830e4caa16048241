#pragma once
// An etched separator line along the top edge of its bounds; no window of its own.
#include "framework/Control.h"

namespace kv {

class Bevel : public GraphicControl {
public:
    Bevel(Component* owner, const ControlArgs& args) : GraphicControl(owner, args) {}
    void Paint(HDC dc) override;
};

}  // namespace kv
