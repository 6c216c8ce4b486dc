#pragma once
// The process-wide record of which clean items (and the two program settings) are selected.
#include <cstdint>

// One 32-bit flag per check box, nonzero meaning selected; the declaration order is part of the
// record's contract and is kept as it is.
struct SelectionRecord {
    // Internet Explorer
    int32_t ie_urls, ie_cookies, ie_browserhistory, ie_autoformsNpwd, ie_cache, ie_index, ie_downloadlocation;
    // Settings tab
    int32_t load_startup, hot_key;
    // Firefox
    int32_t ff_urls, ff_cookies, ff_autoform, ff_pwd, ff_cache, ff_lastsession, ff_downloadhistory;
    // Chrome
    int32_t gc_urls, gc_cookies, gc_pwd, gc_cache, gc_lastsession, gc_downloadhistory;
    // Windows
    int32_t temp_files, recycle_bin, clip_board, os_dialog, media_player, word_pad, ms_paint, recent_doc,
        run_history, window_search, find_comp, network_history, logon_user;
    // Microsoft Edge and Brave, after everything above so that the older order stays as it was
    int32_t me_urls, me_cookies, me_pwd, me_cache, me_lastsession, me_downloadhistory;
    int32_t br_urls, br_cookies, br_pwd, br_cache, br_lastsession, br_downloadhistory;
};
static_assert(sizeof(SelectionRecord) == 47 * sizeof(int32_t));

// Zero-filled at start; filled by the settings store while the main window initialises.
extern SelectionRecord CleanSelection;
