#include "engine/win32/drawing_warm_up.h"

#include "engine/win32/gdiplus_include.h"
#include "engine/win32/gdiplus_session.h"
#include "engine/win32/image_decoder.h"

#include <mutex>

namespace engine::win32 {
namespace {

void CALLBACK WarmUp(PTP_CALLBACK_INSTANCE, void*) {
    LoadImageCodecs();
    EnsureGdiplus();
    Gdiplus::Bitmap bitmap(1, 1, PixelFormat32bppPARGB);
    Gdiplus::Graphics graphics(&bitmap);
    graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
}

} // namespace

void WarmUpDrawing() {
    static std::once_flag once;
    // Without a pool thread the first drawing simply does this itself.
    std::call_once(once, [] { TrySubmitThreadpoolCallback(WarmUp, nullptr, nullptr); });
}

} // namespace engine::win32
