#include "ui/msg_box_dlg.h"

#include "ui/element_ops.h"
#include "ui/resource_ids.h"

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
    dialog::on_init_dialog();
}

BOOL MsgBoxDlg::handle_event(HELEMENT he, HL_BEHAVIOR_EVENT_PARAMS& params) {
    if (params.cmd == BUTTON_CLICK) {
        std::wstring id = IdOf(params.target);
        if (id == L"exit" || id == L"close_btn") close();
    }
    return dialog::handle_event(he, params);
}

} // namespace htmlayout
