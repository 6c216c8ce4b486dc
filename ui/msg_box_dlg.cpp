#include "ui/msg_box_dlg.h"

#include "ui/display_scale.h"
#include "ui/element_ops.h"
#include "ui/resource_ids.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace htmlayout {

int MsgBoxDlg::Show(HWND owner, std::wstring_view title, std::wstring_view message) {
    MsgBoxDlg box(owner);
    box.title = title;
    box.message = message;
    return box.run(kMsgBoxPageId);
}

void MsgBoxDlg::on_init_dialog() {
    exit_ = FindById(root, L"exit");
    msgText_ = FindById(root, L"msg_text");
    headingText_ = FindById(root, L"main_heading_text");
    closeButton_ = FindById(root, L"close_btn");
    SetText(headingText_, title);
    SetText(msgText_, message);
    FitMessage();
    dialog::on_init_dialog();
}

namespace {

RECT ContentOf(HELEMENT he) {
    RECT box{};
    HTMLayoutGetElementLocation(he, &box, CONTENT_BOX);
    return box;
}

int HeightOf(HELEMENT he) {
    const RECT box = ContentOf(he);
    return box.bottom - box.top;
}

void SetPixels(HELEMENT he, const char* property, int pixels) {
    HTMLayoutSetStyleAttribute(he, property, (std::to_wstring(pixels) + L"px").c_str());
}

} // namespace

// The page is measured in the window's pixels and styled in CSS pixels: at 144 DPI a text area measured as
// 162 pixels is 108 CSS pixels. The block is rounded up, so that no line is clipped.
int MessageGrowth(int areaPixels, int cellPixels, UINT dpi) {
    constexpr int kMargin = 12; // above and below the text
    if (areaPixels <= 0 || dpi == 0) return 0;
    const double cssPerPixel = double(USER_DEFAULT_SCREEN_DPI) / dpi;
    const int area = static_cast<int>(std::lround(areaPixels * cssPerPixel));
    return std::max(0, static_cast<int>(std::ceil(cellPixels * cssPerPixel)) + 2 * kMargin - area);
}

// A message taller than its area makes the box taller by the difference, never wider, so that no line is
// clipped; the page draws the taller card (class "grown").
void MsgBoxDlg::FitMessage() {
    const scoped_element content = FindById(root, L"content"), cell = FindById(root, L"content_cell");
    const scoped_element frame = FindById(root, L"frame"), card = FindById(root, L"card");
    const scoped_element cardEnd = FindById(root, L"card_end"), bottom = FindById(root, L"bottom");
    if (!content || !cell || !frame || !card || !cardEnd || !bottom || !body) return;
    const UINT dpi = DpiOf(hwnd());
    const int extra = MessageGrowth(HeightOf(content), HeightOf(cell), dpi);
    if (extra <= 0) return;
    auto css = [&](int pixels) { return MulDiv(pixels, USER_DEFAULT_SCREEN_DPI, static_cast<int>(dpi)); };
    const int area = css(HeightOf(content)), height = css(HeightOf(body)) + extra;
    RECT bar{};
    HTMLayoutGetElementLocation(bottom, &bar, BORDER_BOX);
    SetPixels(content, "height", area + extra);
    SetPixels(content, "line-height", area + extra);
    SetPixels(bottom, "top", css(bar.top) + extra);
    SetPixels(frame, "height", height);
    constexpr int kCardEnds = 16; // the height of the card's top and bottom cuts
    SetPixels(card, "height", height - 2 * kCardEnds);
    SetPixels(cardEnd, "top", height - kCardEnds);
    SetPixels(body, "height", height);
    HTMLayoutSetAttributeByName(body, "class", L"grown");
}

BOOL MsgBoxDlg::handle_event(HELEMENT he, HL_BEHAVIOR_EVENT_PARAMS& params) {
    if (params.cmd == BUTTON_CLICK) {
        std::wstring id = IdOf(params.target);
        if (id == L"exit" || id == L"close_btn") close();
    }
    return dialog::handle_event(he, params);
}

} // namespace htmlayout
