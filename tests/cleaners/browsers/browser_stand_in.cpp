#include <windows.h>

// Runs until it is ended; gives up by itself after a minute so that a failed test leaves nothing behind.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Sleep(60 * 1000);
    return 3;
}
