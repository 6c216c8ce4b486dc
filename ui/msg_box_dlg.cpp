#include "ui/msg_box_dlg.h"

#include "ui/element_ops.h"
#include "ui/resource_ids.h"

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

// A message taller than its area makes the box taller by the difference, never wider, so that no line is
// clipped; the page draws the taller card (class "grown").
void MsgBoxDlg::FitMessage() {
    constexpr int kMargin = 12; // above and below the text
    const scoped_element content = FindById(root, L"content"), cell = FindById(root, L"content_cell");
    const scoped_element frame = FindById(root, L"frame"), card = FindById(root, L"card");
    const scoped_element cardEnd = FindById(root, L"card_end"), bottom = FindById(root, L"bottom");
    if (!content || !cell || !frame || !card || !cardEnd || !bottom || !body) return;
    const int area = HeightOf(content);
    const int extra = HeightOf(cell) + 2 * kMargin - area;
    if (area <= 0 || extra <= 0) return;
    const int height = HeightOf(body) + extra;
    RECT bar{};
    HTMLayoutGetElementLocation(bottom, &bar, BORDER_BOX);
    SetPixels(content, "height", area + extra);
    SetPixels(content, "line-height", area + extra);
    SetPixels(bottom, "top", bar.top + extra);
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
