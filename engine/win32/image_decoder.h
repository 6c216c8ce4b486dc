#pragma once
// Images decoded into premultiplied pixels, once per distinct content for the whole process: the pages of
// the main window and of every dialog share most of their images, and a page shown again decodes nothing.

#include "engine/win32/gdiplus_include.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace engine::win32 {

struct DecodedImage {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;        // premultiplied ARGB, top-down rows of `width`
    std::unique_ptr<Gdiplus::Bitmap> bitmap; // over `pixels`, for scaled and tiled drawing
};

// Loads the PNG codec now rather than with the first image (a few milliseconds under Wine).
void LoadImageCodecs();

// Null when the bytes are no image that PNG or GDI+ decoding understands, or one too large to hold.
std::shared_ptr<const DecodedImage> DecodeImage(std::string_view bytes);

} // namespace engine::win32
