// The C functions that ask where things are: the page's minimal size and an element's boxes.

#include "engine/api/api_support.h"
#include "engine/include/htmlayout.h"
#include "engine/view/view.h"
#include "engine/win32/page_renderer.h"
#include "engine/win32/window_dpi.h"
#include "engine/win32/window_layer.h"

#include <cmath>

using namespace engine;

extern "C" {

UINT HLCALL HTMLayoutGetWindowDpi(HWND hwnd) {
    ApiLock lock(ApiMutex());
    View* view = hwnd ? win32::WindowView(hwnd) : nullptr;
    return view ? static_cast<UINT>(std::lround(view->Scale() * USER_DEFAULT_SCREEN_DPI)) : win32::WindowDpi(hwnd);
}

UINT HLCALL HTMLayoutGetMinWidth(HWND hwnd) {
    ApiLock lock(ApiMutex());
    win32::PageRenderer* renderer = win32::RendererOf(hwnd);
    return renderer ? static_cast<UINT>(std::ceil(renderer->MinWidth())) : 0;
}

UINT HLCALL HTMLayoutGetMinHeight(HWND hwnd, UINT width) {
    ApiLock lock(ApiMutex());
    win32::PageRenderer* renderer = win32::RendererOf(hwnd);
    return renderer ? static_cast<UINT>(std::ceil(renderer->MinHeight(static_cast<float>(width)))) : 0;
}

int HLCALL HTMLayoutGetElementLocation(HELEMENT he, RECT* location, unsigned areas) {
    if (!location) return HL_INVALID_PARAMETER;
    *location = RECT{};
    return WithElement(he, [&](Element& e) {
        View* view = ViewOf(e);
        int width = 0, height = 0;
        win32::PageRenderer* renderer = view ? win32::RendererOf(*view, width, height) : nullptr;
        if (!renderer) return HL_OK;
        RectF border, content;
        if (!renderer->Layout(width, height).Locate(e, border, content)) return HL_OK;
        const RectF& r = (areas & BORDER_BOX) ? border : content;
        *location = RECT{std::lround(r.x), std::lround(r.y), std::lround(r.Right()), std::lround(r.Bottom())};
        return HL_OK;
    });
}

} // extern "C"
