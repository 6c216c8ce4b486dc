#include "ui/hit_test.h"

#include "engine/include/htmlayout.h"

namespace htmlayout {

namespace {

constexpr int kResizeBand = 10;

bool Locate(HELEMENT he, unsigned area, RECT& rc) {
    return he && HTMLayoutGetElementLocation(he, &rc, area) == HL_OK;
}

} // namespace

int HitTest(HWND hwnd, POINT screen, HELEMENT caption, HELEMENT body) {
    POINT p = screen;
    MapWindowPoints(nullptr, hwnd, &p, 1);
    RECT rc{};
    if (Locate(caption, ROOT_RELATIVE | BORDER_BOX, rc) && PtInRect(&rc, p)) return HTCAPTION;
    RECT b{};
    if (!Locate(body, ROOT_RELATIVE | CONTENT_BOX, b) || PtInRect(&b, p)) return HTCLIENT;
    if (p.y < b.top + kResizeBand) {
        if (p.x < b.left + kResizeBand) return HTTOPLEFT;
        if (p.x > b.right - kResizeBand) return HTTOPRIGHT;
    }
    if (p.y > b.bottom - kResizeBand) {
        if (p.x < b.left + kResizeBand) return HTBOTTOMLEFT;
        if (p.x > b.right - kResizeBand) return HTBOTTOMRIGHT;
    }
    if (p.y < b.top) return HTTOP;
    if (p.y > b.bottom) return HTBOTTOM;
    if (p.x < b.left) return HTLEFT;
    if (p.x > b.right) return HTRIGHT;
    return HTCLIENT;
}

} // namespace htmlayout
