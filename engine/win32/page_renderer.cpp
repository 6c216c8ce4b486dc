#include "engine/win32/page_renderer.h"

#include "engine/paint/canvas.h"
#include "engine/view/view.h"

namespace engine::win32 {

PageRenderer::PageRenderer(View& view) : view_(view), device_(view), layout_(device_) {}

void PageRenderer::Invalidate(const Invalidation& what) {
    if (what.relayout || what.rebuild) layout_.Invalidate();
    if (what.Any()) paintDirty_ = true;
}

PageLayout& PageRenderer::Layout(int width, int height) {
    view_.UpdateStyle();
    if (layout_.Update(view_.GetDocument(), float(width), float(height))) paintDirty_ = true;
    return layout_;
}

float PageRenderer::MinWidth() {
    view_.UpdateStyle();
    paintDirty_ = true;
    return layout_.MinWidth(view_.GetDocument());
}

float PageRenderer::MinHeight(float width) {
    view_.UpdateStyle();
    paintDirty_ = true;
    return layout_.MinHeight(view_.GetDocument(), width);
}

bool PageRenderer::Render(int width, int height, bool transparent) {
    Layout(width, height);
    bool resized = surface_.Width() != width || surface_.Height() != height;
    if (!surface_.Resize(width, height)) return false;
    if (!paintDirty_ && !resized) return true;
    paintDirty_ = false;
    Gdiplus::Bitmap target(width, height, width * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(surface_.Pixels()));
    Gdiplus::Graphics graphics(&target);
    graphics.Clear(Gdiplus::Color(transparent ? 0 : 0xFFFFFFFF));
    device_.SetTarget(&graphics);
    if (const Box* root = layout_.Root()) PaintBoxes(*root, device_, {0, 0, float(width), float(height)});
    device_.SetTarget(nullptr);
    return true;
}

} // namespace engine::win32
