#pragma once
// The About dialog (page 192): a picture with four areas that open pages of the maker's web site; a click
// anywhere else on it closes it.
#include "ui/dialog.h"

namespace htmlayout {

class AboutDlg : public dialog {
public:
    explicit AboutDlg(HWND owner) : dialog(owner) {}

protected:
    std::wstring window_title() override { return L"About Tracewipe"; }
    BOOL handle_event(HELEMENT he, HL_BEHAVIOR_EVENT_PARAMS& params) override;
    BOOL on_mouse(HELEMENT he, HELEMENT target, unsigned event_type, POINT pt, unsigned mouseButtons,
                  unsigned keyboardStates) override;
};

} // namespace htmlayout
