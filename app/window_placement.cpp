#include "app/window_placement.h"

POINT MainWindowOrigin(int screenWidth, int screenHeight) {
    // NOTE: 351 and 251 put the page's 702 x 502 body, not the 720 x 510 window, in the middle.
    return POINT{screenWidth / 2 - 351, screenHeight / 2 - 251};
}
