#pragma once
// GDI+ graphics over premultiplied pixels, made on first need and kept while the pixels stay the same:
// making one cost one to four milliseconds under Wine, and most repaints draw nothing that needs GDI+.

#include "engine/layout/box.h"
#include "engine/win32/gdiplus_include.h"

#include <cstdint>
#include <memory>

namespace engine::win32 {

class LazyGraphics {
public:
    // The pixels to draw on (32-bit premultiplied, top-down rows); graphics made for others are dropped.
    void Attach(std::uint32_t* pixels, int width, int height);
    // The graphics over the pixels, clipped to the rectangle; null when there are no pixels.
    Gdiplus::Graphics* Get(const RectF& clip);

private:
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0, height_ = 0;
    std::unique_ptr<Gdiplus::Bitmap> bitmap_;
    std::unique_ptr<Gdiplus::Graphics> graphics_;
    RectF clip_;
};

} // namespace engine::win32
