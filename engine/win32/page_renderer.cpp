#include "engine/win32/page_renderer.h"

#include "engine/paint/canvas.h"
#include "engine/view/view.h"

#include <algorithm>
#include <cmath>

namespace engine::win32 {

PageRenderer::PageRenderer(View& view) : view_(view), device_(view), layout_(device_) {}

void PageRenderer::Invalidate(const Invalidation& what) {
    if (what.relayout || what.rebuild) {
        layout_.Invalidate();
        device_.ForgetImages(); // an image may have arrived, or the page with its resources changed
    }
    if (what.Any()) paintDirty_ = true;
}

PageLayout& PageRenderer::Layout(int width, int height) {
    view_.UpdateStyle();
    if (layout_.Update(view_.GetDocument(), float(width), float(height))) paintDirty_ = fullPaint_ = true;
    return layout_;
}

float PageRenderer::MinWidth() {
    view_.UpdateStyle();
    paintDirty_ = fullPaint_ = true;
    return layout_.MinWidth(view_.GetDocument());
}

float PageRenderer::MinHeight(float width) {
    view_.UpdateStyle();
    paintDirty_ = fullPaint_ = true;
    return layout_.MinHeight(view_.GetDocument(), width);
}

bool PageRenderer::Render(int width, int height, bool transparent) {
    Layout(width, height);
    RectF restyled = layout_.TakeRestyledArea();
    bool resized = surface_.Width() != width || surface_.Height() != height;
    if (!surface_.Resize(width, height)) return false;
    if (!paintDirty_ && !resized) return true;
    RectF viewport{0, 0, float(width), float(height)};
    // A restyle alone repaints only the boxes it touched; anything else repaints everything.
    RectF clip = fullPaint_ || resized || restyled.w <= 0 ? viewport : restyled;
    paintDirty_ = fullPaint_ = false;
    int left = std::max(0, static_cast<int>(std::floor(clip.x)));
    int top = std::max(0, static_cast<int>(std::floor(clip.y)));
    int right = std::min(width, static_cast<int>(std::ceil(clip.Right())) + 1);
    int bottom = std::min(height, static_cast<int>(std::ceil(clip.Bottom())) + 1);
    std::uint32_t* pixels = surface_.Pixels();
    for (int y = top; y < bottom; ++y)
        std::fill(pixels + static_cast<std::size_t>(y) * width + left, pixels + static_cast<std::size_t>(y) * width + right,
                  transparent ? 0u : 0xFFFFFFFFu);
    Gdiplus::Bitmap target(width, height, width * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(pixels));
    Gdiplus::Graphics graphics(&target);
    Gdiplus::RectF area(float(left), float(top), float(right - left), float(bottom - top));
    graphics.SetClip(area);
    device_.SetTarget(&graphics, {pixels, width, height, {left, top, right, bottom}});
    if (const Box* root = layout_.Root()) PaintBoxes(*root, device_, viewport, {area.X, area.Y, area.Width, area.Height});
    device_.SetTarget(nullptr);
    return true;
}

} // namespace engine::win32
