#include "saver/player/Letterbox.h"

namespace kv {

void PaintLetterbox(HDC dc, const RECT& client, const PictureRect& p, bool hasPicture) {
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    if (!hasPicture) {
        FillRect(dc, &client, black);
        return;
    }
    RECT bars[] = {
        {0, 0, client.right, p.y},
        {0, p.y + p.height, client.right, client.bottom},
        {0, p.y, p.x, p.y + p.height},
        {p.x + p.width, p.y, client.right, p.y + p.height},
    };
    for (const RECT& bar : bars)
        if (bar.right > bar.left && bar.bottom > bar.top) FillRect(dc, &bar, black);
}

}  // namespace kv
