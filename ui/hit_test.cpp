#include "ui/hit_test.h"

#include "engine/include/htmlayout.h"
#include "ui/display_scale.h"

namespace htmlayout {

namespace {

constexpr int kResizeBand = 10; // CSS pixels

bool Locate(HELEMENT he, unsigned area, RECT& rc) {
    return he && HTMLayoutGetElementLocation(he, &rc, area) == HL_OK;
}

struct ControlSearch {
    POINT point;
    bool found = false;
};

int HLCALL IsControlAtPoint(HELEMENT he, void* param) {
    auto* search = static_cast<ControlSearch*>(param);
    const wchar_t* behavior = nullptr;
    RECT rc{};
    search->found = HTMLayoutGetStyleAttribute(he, "behavior", &behavior) == HL_OK && behavior && *behavior &&
                    Locate(he, ROOT_RELATIVE | BORDER_BOX, rc) && PtInRect(&rc, search->point);
    return search->found;
}

// A control inside the caption (the caption's close button) stays clickable: the caption moves the window
// only where it holds nothing that reacts to the mouse.
bool ControlAt(HELEMENT caption, POINT p) {
    ControlSearch search{p};
    HTMLayoutSelectElements(caption, "*", IsControlAtPoint, &search);
    return search.found;
}

} // namespace

int HitTest(HWND hwnd, POINT screen, HELEMENT caption, HELEMENT body) {
    POINT p = screen;
    MapWindowPoints(nullptr, hwnd, &p, 1);
    RECT rc{};
    if (Locate(caption, ROOT_RELATIVE | BORDER_BOX, rc) && PtInRect(&rc, p))
        return ControlAt(caption, p) ? HTCLIENT : HTCAPTION;
    RECT b{};
    if (!Locate(body, ROOT_RELATIVE | CONTENT_BOX, b) || PtInRect(&b, p)) return HTCLIENT;
    const int band = ScaledPixels(kResizeBand, DpiOf(hwnd));
    if (p.y < b.top + band) {
        if (p.x < b.left + band) return HTTOPLEFT;
        if (p.x > b.right - band) return HTTOPRIGHT;
    }
    if (p.y > b.bottom - band) {
        if (p.x < b.left + band) return HTBOTTOMLEFT;
        if (p.x > b.right - band) return HTBOTTOMRIGHT;
    }
    if (p.y < b.top) return HTTOP;
    if (p.y > b.bottom) return HTBOTTOM;
    if (p.x < b.left) return HTLEFT;
    if (p.x > b.right) return HTRIGHT;
    return HTCLIENT;
}

} // namespace htmlayout
