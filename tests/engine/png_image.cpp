#include "png_image.h"

#include "engine/win32/gdiplus_session.h"
#include "engine/win32/png_encoder.h"

namespace engine_test {

std::string SolidPng(int width, int height, std::uint32_t argb) {
    engine::win32::EnsureGdiplus();
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, Gdiplus::Color(static_cast<Gdiplus::ARGB>(argb)));
    return engine::win32::EncodePng(bitmap);
}

} // namespace engine_test
