#pragma once
// What painting draws on: filled and rounded rectangles, borders, images and text, under nested clips.
// The window layer draws with GDI+ into a premultiplied bitmap; painting itself knows no platform.

#include "engine/layout/box.h"

#include <array>
#include <cstdint>
#include <string>

namespace engine {

using Radii = std::array<float, 4>; // top-left, top-right, bottom-right, bottom-left

// The part two rectangles share; zero wide or high when they share none.
inline RectF Intersection(const RectF& a, const RectF& b) {
    float left = a.x > b.x ? a.x : b.x, top = a.y > b.y ? a.y : b.y;
    float right = a.Right() < b.Right() ? a.Right() : b.Right(), bottom = a.Bottom() < b.Bottom() ? a.Bottom() : b.Bottom();
    return {left, top, right > left ? right - left : 0, bottom > top ? bottom - top : 0};
}

struct ImageTiling {
    RectF area;       // what the image may cover
    float x = 0, y = 0; // where one copy of the image starts
    float w = 0, h = 0; // the size of one copy
    bool repeatX = false, repeatY = false;
};

// What the copies of the image cover: the area, cut to the one copy along a direction that does not repeat.
inline RectF CoveredArea(const ImageTiling& t) {
    RectF covered = t.area;
    if (!t.repeatX) covered = Intersection(covered, {t.x, covered.y, t.w, covered.h});
    if (!t.repeatY) covered = Intersection(covered, {covered.x, t.y, covered.w, t.h});
    return covered;
}

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void FillRect(const RectF& rect, std::uint32_t argb, const Radii& radii) = 0;
    // A border of one width and colour on every side, following the radii.
    virtual void StrokeRect(const RectF& border, float width, std::uint32_t argb, const Radii& radii) = 0;
    virtual bool ImageSize(const std::u16string& url, int& width, int& height) = 0;
    virtual void DrawImage(const std::u16string& url, const ImageTiling& tiling) = 0;
    virtual void PaintText(const std::u16string& text, const FontSpec& font, float x, float y, std::uint32_t argb,
                          bool underline) = 0;
    virtual void PushClip(const RectF& rect) = 0;
    virtual void PopClip() = 0;
    // What is drawn until the matching EndLayer lands at once, at this opacity (0 to 1): a translucent box
    // shows its children's colours over each other as they are, not their overlaps twice blended.
    virtual void BeginLayer(float opacity) = 0;
    virtual void EndLayer() = 0;
};

// Paints the boxes, scrolling applied, over a viewport; what lies wholly outside the clip is not drawn.
void PaintBoxes(const Box& root, Canvas& canvas, const RectF& viewport, const RectF& clip);

// Where the thumb of a scrolling box's bar lies, in document coordinates before the box's own scrolling.
RectF ScrollbarTrack(const Box& box);
RectF ScrollbarThumb(const Box& box);

} // namespace engine
