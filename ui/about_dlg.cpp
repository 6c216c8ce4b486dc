#include "ui/about_dlg.h"

#include "ui/element_ops.h"
#include "ui/maker_site.h"

#include <array>

namespace htmlayout {

namespace {

// The four areas of the picture; each opens the maker's page that its id names.
constexpr std::array<const wchar_t*, 4> kLinkIds{L"product", L"website", L"support", L"contact"};

bool IsLink(const std::wstring& id) {
    for (const wchar_t* link : kLinkIds)
        if (id == link) return true;
    return false;
}

// Whether `target` is a link area or lies inside one: a press anywhere in an area must not close the dialog.
bool InLinkArea(HELEMENT target) {
    for (scoped_element e(target); e;) {
        if (IsLink(IdOf(e))) return true;
        HELEMENT parent = nullptr;
        HTMLayoutGetParentElement(e, &parent);
        e = scoped_element(parent);
    }
    return false;
}

} // namespace

BOOL AboutDlg::handle_event(HELEMENT he, HL_BEHAVIOR_EVENT_PARAMS& params) {
    if (params.cmd == BUTTON_CLICK || params.cmd == HYPERLINK_CLICK) {
        std::wstring id = IdOf(params.target);
        if (IsLink(id)) OpenMakerSitePage(id);
    }
    return dialog::handle_event(he, params);
}

// The areas open their pages through their click events alone: opening them here too would open each page
// once for the press, once for the release and once for the click.
BOOL AboutDlg::on_mouse(HELEMENT, HELEMENT target, unsigned event_type, POINT, unsigned, unsigned) {
    if (event_type != MOUSE_UP && event_type != MOUSE_DOWN) return FALSE;
    if (!InLinkArea(target)) close();
    return FALSE;
}

} // namespace htmlayout
