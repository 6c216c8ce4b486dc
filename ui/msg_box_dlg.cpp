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
// clipped. The card picture has one height: a taller box draws its card with the same fill and edge.
void MsgBoxDlg::FitMessage() {
    constexpr int kMargin = 12; // above and below the text
    const scoped_element content = FindById(root, L"content"), cell = FindById(root, L"content_cell");
    const scoped_element frame = FindById(root, L"frame"), bottom = FindById(root, L"bottom");
    if (!content || !cell || !frame || !bottom || !body) return;
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
    // The body's 1 px edge would move the frame, which is placed inside the body's edge: it goes back.
    SetPixels(frame, "left", -1);
    SetPixels(frame, "top", -1);
    SetPixels(body, "height", height - 2);
    const RECT page = ContentOf(body);
    SetPixels(body, "width", page.right - page.left - 2);
    HTMLayoutSetStyleAttribute(body, "background-image", L"none");
    HTMLayoutSetStyleAttribute(body, "background-color", L"#f4f5f7");
    HTMLayoutSetStyleAttribute(body, "border", L"1px solid #b9c0ca");
}

BOOL MsgBoxDlg::handle_event(HELEMENT he, HL_BEHAVIOR_EVENT_PARAMS& params) {
    if (params.cmd == BUTTON_CLICK) {
        std::wstring id = IdOf(params.target);
        if (id == L"exit" || id == L"close_btn") close();
    }
    return dialog::handle_event(he, params);
}

} // namespace htmlayout
