#include "engine/win32/page_renderer.h"

#include "engine/dom/frame_phases.h"
#include "engine/paint/canvas.h"
#include "engine/paint/paint_record.h"
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

// The styles, and the layout's scale, as the view has them now.
void PageRenderer::UpdateStyle() {
    view_.UpdateStyle();
    layout_.SetScale(view_.Scale());
}

PageLayout& PageRenderer::Layout(int width, int height) {
    UpdateStyle();
    if (layout_.Update(view_.GetDocument(), float(width), float(height))) paintDirty_ = true;
    return layout_;
}

float PageRenderer::MinWidth() {
    UpdateStyle();
    paintDirty_ = true; // the boxes are laid out for another width now
    return layout_.MinWidth(view_.GetDocument());
}

float PageRenderer::MinHeight(float width) {
    UpdateStyle();
    paintDirty_ = true; // the boxes are laid out for another width now
    return layout_.MinHeight(view_.GetDocument(), width);
}

// Every paint is recorded first; against the recording of the pixels on the surface it tells what to paint
// again: nothing when a change drew the same, the boxes of a hover, the text that changed, a scrolled box.
bool PageRenderer::Render(int width, int height, bool transparent) {
    Layout(width, height);
    bool resized = surface_.Width() != width || surface_.Height() != height;
    if (!surface_.Resize(width, height)) return false;
    if (!paintDirty_ && !resized && transparent == transparent_) return true;
    RectF viewport{0, 0, float(width), float(height)};
    const Box* root = layout_.Root();
    RectF clip;
    {
        PhaseScope phase(FramePhase::Record);
        PaintRecorder recorder(device_, device_, viewport);
        if (root) PaintBoxes(*root, recorder, viewport, viewport);
        std::vector<PaintItem> painting = recorder.Take();
        bool whole = resized || transparent != transparent_ || device_.TakeImagesReplaced();
        clip = whole ? viewport : ChangedArea(painted_, painting);
        painted_ = std::move(painting);
    }
    paintDirty_ = false;
    transparent_ = transparent;
    int left = std::max(0, static_cast<int>(std::floor(clip.x)));
    int top = std::max(0, static_cast<int>(std::floor(clip.y)));
    int right = std::min(width, static_cast<int>(std::ceil(clip.Right())) + 1);
    int bottom = std::min(height, static_cast<int>(std::ceil(clip.Bottom())) + 1);
    if (clip.w <= 0 || clip.h <= 0 || right <= left || bottom <= top) return true;
    PhaseScope phase(FramePhase::Paint);
    const RECT painted{left, top, right, bottom};
    UnionRect(&damage_, &damage_, &painted);
    std::uint32_t* pixels = surface_.Pixels();
    for (int y = top; y < bottom; ++y)
        std::fill(pixels + static_cast<std::size_t>(y) * width + left, pixels + static_cast<std::size_t>(y) * width + right,
                  transparent ? 0u : 0xFFFFFFFFu);
    device_.SetTarget({pixels, width, height, {left, top, right, bottom}});
    RectF area{float(left), float(top), float(right - left), float(bottom - top)};
    if (root) PaintBoxes(*root, device_, viewport, area);
    device_.SetTarget({});
    return true;
}

RECT PageRenderer::TakeDamage() {
    RECT damage = damage_;
    damage_ = {};
    return damage;
}

} // namespace engine::win32
