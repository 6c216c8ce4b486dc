#pragma once
// A page turned into pixels: styles brought up to date, boxes laid out for the size, and painted into a
// premultiplied bitmap. Only what a change asks for is redone, and only pixels that come out otherwise are
// painted again.

#include "engine/css/computed_style.h"
#include "engine/layout/page_layout.h"
#include "engine/paint/paint_record.h"
#include "engine/win32/dib_surface.h"
#include "engine/win32/gdiplus_device.h"

namespace engine::win32 {

class PageRenderer {
public:
    explicit PageRenderer(View& view);

    void Invalidate(const Invalidation& what);
    // Ready boxes for the size without painting (hit tests, locations, minimal sizes).
    PageLayout& Layout(int width, int height);
    float MinWidth();
    float MinHeight(float width);
    // Lays out and paints as needed; false when there is nothing to show (an empty or too large size).
    bool Render(int width, int height, bool transparent);
    // The pixels painted since the last call; empty when none changed.
    RECT TakeDamage();
    // The box whose scrolling changed must be painted again.
    void ScrollChanged() { paintDirty_ = true; }

    const DibSurface& Surface() const { return surface_; }
    GdiplusDevice& Device() { return device_; }

private:
    void UpdateStyle();

    View& view_;
    GdiplusDevice device_;
    PageLayout layout_;
    DibSurface surface_;
    std::vector<PaintItem> painted_; // the recording of what the surface shows
    bool paintDirty_ = true;
    bool transparent_ = false;
    RECT damage_{};
};

} // namespace engine::win32
