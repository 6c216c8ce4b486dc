#include "png_image.h"

#include "engine/win32/gdiplus_session.h"
#include "engine/win32/png_encoder.h"

namespace engine_test {

std::string SolidPng(int width, int height, std::uint32_t argb) {
    return RowsPng(width, std::vector<std::uint32_t>(static_cast<std::size_t>(height), argb));
}

std::string RowsPng(int width, const std::vector<std::uint32_t>& rowArgb) {
    engine::win32::EnsureGdiplus();
    const int height = static_cast<int>(rowArgb.size());
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, Gdiplus::Color(static_cast<Gdiplus::ARGB>(rowArgb[y])));
    return engine::win32::EncodePng(bitmap);
}

} // namespace engine_test
