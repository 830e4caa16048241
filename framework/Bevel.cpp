#include "framework/Bevel.h"

namespace kv {

void Bevel::Paint(HDC dc) {
    RECT r = BoundsRect();
    DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
}

}  // namespace kv
