// Saves the whole selection over and over, every flag off and then every flag on, for the test that ends it
// while it saves. Signals the event named on its command line once the first whole save is written.
// Usage: settings_saver <event name>
#include "settings/clean_item_catalogue.h"
#include "settings/settings_store.h"

#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    HANDLE saved = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
    if (!saved) return 1;
    for (int32_t on = 0;; on ^= 1) {
        for (const auto& e : Catalogue())
            CleanSelection.*(e.flag) = on;
        SaveCleanSelection();
        SaveSettings();
        SetEvent(saved);
    }
}
