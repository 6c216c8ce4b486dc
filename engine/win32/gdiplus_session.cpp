#include "engine/win32/gdiplus_session.h"

#include "engine/win32/gdiplus_include.h"

namespace engine::win32 {

// Never shut down: the drawing warm-up may still be inside GDI+ on a pool thread when a short-lived process
// runs its exit handlers, and the system frees it all with the process anyway.
void EnsureGdiplus() {
    [[maybe_unused]] static const bool started = [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
}

} // namespace engine::win32
