#include "app/window_placement.h"

#include "ui/display_scale.h"

POINT MainWindowOrigin(int screenWidth, int screenHeight, UINT dpi) {
    // NOTE: 351 and 251 put the page's 702 x 502 body, not the 720 x 510 window, in the middle.
    return POINT{screenWidth / 2 - htmlayout::ScaledPixels(351, dpi), screenHeight / 2 - htmlayout::ScaledPixels(251, dpi)};
}
