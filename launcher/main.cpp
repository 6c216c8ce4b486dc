#include "launcher/hot_key_test_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return CHotKeyTestApp(instance).Run(); }
