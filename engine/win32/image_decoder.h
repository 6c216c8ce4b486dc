#pragma once
// Images decoded into premultiplied pixels, once per distinct content for the whole process: the pages of
// the main window and of every dialog share most of their images, and a page shown again decodes nothing.

#include "engine/win32/gdiplus_include.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace engine::win32 {

class DecodedImage {
  public:
    int width = 0, height = 0;
    // Premultiplied ARGB, top-down rows of `width`; after `ShareRepeatedRows`, a run of equal rows is held once.
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint32_t> rowStart; // each row's first pixel in `pixels`

    void ShareRepeatedRows();
    const std::uint32_t* Row(int y) const { return pixels.data() + rowStart[static_cast<std::size_t>(y)]; }
    std::uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
    // Every row in its place, for scaled and tiled drawing; made when first asked for. Null if GDI+ fails.
    Gdiplus::Bitmap* Bitmap() const;

  private:
    mutable std::once_flag made_;
    mutable std::vector<std::uint32_t> whole_; // the rows laid out again, when some are shared
    mutable std::unique_ptr<Gdiplus::Bitmap> bitmap_;
};

// Loads the PNG codec now rather than with the first image (a few milliseconds under Wine).
void LoadImageCodecs();

// Null when the bytes are no image that PNG or GDI+ decoding understands, or one too large to hold.
std::shared_ptr<const DecodedImage> DecodeImage(std::string_view bytes);

} // namespace engine::win32
