#pragma once
// The message box: a title, a message and two controls that close it (page 191).
#include "ui/dialog.h"

#include <string>
#include <string_view>

namespace htmlayout {

class MsgBoxDlg : public dialog {
public:
    explicit MsgBoxDlg(HWND owner) : dialog(owner) {}

    // Fill both before run(kMsgBoxPageId).
    std::wstring title;
    std::wstring message;

    // Constructs, fills and runs one message box over `owner`; returns the run's result.
    static int Show(HWND owner, std::wstring_view title, std::wstring_view message);

protected:
    void on_init_dialog() override;
    BOOL handle_event(HELEMENT he, HL_BEHAVIOR_EVENT_PARAMS& params) override;

private:
    void FitMessage();

    scoped_element exit_;
    scoped_element msgText_;
    scoped_element headingText_;
    scoped_element closeButton_;
};

// How many CSS pixels a message box grows by, for a message block `cellPixels` high in a text area
// `areaPixels` high, both in the pixels of a window at `dpi`, with a 12 px margin above and below; 0 when
// the message fits.
int MessageGrowth(int areaPixels, int cellPixels, UINT dpi);

} // namespace htmlayout
