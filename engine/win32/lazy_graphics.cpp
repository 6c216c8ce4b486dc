#include "engine/win32/lazy_graphics.h"

#include "engine/win32/gdiplus_session.h"

namespace engine::win32 {

void LazyGraphics::Attach(std::uint32_t* pixels, int width, int height) {
    if (pixels == pixels_ && width == width_ && height == height_) return;
    graphics_.reset();
    bitmap_.reset();
    pixels_ = pixels;
    width_ = width;
    height_ = height;
}

Gdiplus::Graphics* LazyGraphics::Get(const RectF& clip) {
    if (!pixels_ || width_ <= 0 || height_ <= 0) return nullptr;
    if (!graphics_) {
        EnsureGdiplus();
        bitmap_ = std::make_unique<Gdiplus::Bitmap>(width_, height_, width_ * 4, PixelFormat32bppPARGB,
                                                    reinterpret_cast<BYTE*>(pixels_));
        graphics_ = std::make_unique<Gdiplus::Graphics>(bitmap_.get());
        graphics_->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics_->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        graphics_->SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBilinear);
        clip_ = {};
    }
    if (clip.x != clip_.x || clip.y != clip_.y || clip.w != clip_.w || clip.h != clip_.h || clip.w <= 0) {
        graphics_->SetClip(Gdiplus::RectF(clip.x, clip.y, clip.w, clip.h));
        clip_ = clip;
    }
    return graphics_.get();
}

} // namespace engine::win32
