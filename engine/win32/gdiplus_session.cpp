#include "engine/win32/gdiplus_session.h"

#include "engine/win32/gdiplus_include.h"

namespace engine::win32 {

// Never shut down: images shared by every page of the process hold GDI+ bitmaps until its exit handlers run,
// and the system frees it all with the process anyway.
void EnsureGdiplus() {
    [[maybe_unused]] static const bool started = [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
}

} // namespace engine::win32
