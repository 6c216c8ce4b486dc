#include "app/window_placement.h"

#include "ui/display_scale.h"

#include <algorithm>

POINT MainWindowOrigin(int screenWidth, int screenHeight, UINT dpi) {
    // NOTE: 351 and 251 put the page's 702 x 502 body, not the 720 x 510 window, in the middle.
    // A window larger than the screen (200 % on 1280 x 1024) starts at its top-left corner, so that its caption,
    // the only place to drag it by, stays on the screen.
    return POINT{std::max(0, screenWidth / 2 - htmlayout::ScaledPixels(351, dpi)),
                 std::max(0, screenHeight / 2 - htmlayout::ScaledPixels(251, dpi))};
}
