#pragma once
// A painting recorded instead of drawn: what each drawing call would cover and a digest of what it would
// draw. Two recordings of one page tell where they differ, so a change repaints only that area, whether it
// came from a style, a layout, new text or scrolling.

#include "engine/layout/measurer.h"
#include "engine/paint/canvas.h"

#include <cstddef>
#include <vector>

namespace engine {

struct PaintItem {
    RectF area;          // what the call may touch, clipped
    std::size_t digest;  // of the call and everything it draws with
};

class PaintRecorder final : public Canvas {
public:
    // Text is measured with the measurer; image sizes come from the canvas that really draws.
    PaintRecorder(Measurer& measurer, Canvas& drawing, const RectF& viewport);

    std::vector<PaintItem> Take() { return std::move(items_); }

    void FillRect(const RectF& rect, std::uint32_t argb, const Radii& radii) override;
    void StrokeRect(const RectF& border, float width, std::uint32_t argb, const Radii& radii) override;
    bool ImageSize(const std::u16string& url, int& width, int& height) override;
    void DrawImage(const std::u16string& url, const ImageTiling& tiling) override;
    void PaintText(const std::u16string& text, const FontSpec& font, float x, float y, std::uint32_t argb,
                  bool underline) override;
    void PushClip(const RectF& rect) override;
    void PopClip() override;
    void BeginLayer(float opacity) override { layers_.push_back(opacity); }
    void EndLayer() override {
        if (!layers_.empty()) layers_.pop_back();
    }

private:
    void Add(const RectF& area, std::size_t digest);

    Measurer& measurer_;
    Canvas& drawing_;
    std::vector<RectF> clips_;
    std::vector<float> layers_; // opacities that what is drawn now lands through
    std::vector<PaintItem> items_;
};

// The smallest rectangle holding every item of either recording that is not part of the longest run of
// items both draw alike in the same order; empty (w = 0) when both draw the same.
RectF ChangedArea(const std::vector<PaintItem>& before, const std::vector<PaintItem>& after);

} // namespace engine
