#include "engine/paint/paint_record.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string_view>

namespace engine {
namespace {

RectF Union(const RectF& a, const RectF& b) {
    if (a.w <= 0 || a.h <= 0) return b;
    if (b.w <= 0 || b.h <= 0) return a;
    float left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    return {left, top, std::max(a.Right(), b.Right()) - left, std::max(a.Bottom(), b.Bottom()) - top};
}

// Folds values into a digest (the boost hash_combine step).
class Digest {
public:
    explicit Digest(int kind) { Add(kind); }
    template <typename T>
    Digest& Add(const T& value) {
        Mix(std::hash<T>{}(value));
        return *this;
    }
    Digest& Add(const RectF& r) { return Add(r.x).Add(r.y).Add(r.w).Add(r.h); }
    Digest& Add(const Radii& radii) {
        for (float r : radii) Add(r);
        return *this;
    }
    std::size_t Value() const { return value_; }

private:
    void Mix(std::size_t v) { value_ ^= v + 0x9e3779b9 + (value_ << 6) + (value_ >> 2); }
    std::size_t value_ = 0;
};

enum Kind { kFill, kStroke, kImage, kText };

} // namespace

PaintRecorder::PaintRecorder(Measurer& measurer, Canvas& drawing, const RectF& viewport)
    : measurer_(measurer), drawing_(drawing), clips_{viewport} {}

void PaintRecorder::Add(const RectF& area, std::size_t digest) {
    RectF visible = Intersection(area, clips_.back());
    if (visible.w <= 0 || visible.h <= 0) return;
    // The visible part, the whole area and the layers are part of the digest: the same call clipped
    // otherwise, a rounded fill whose corners lie elsewhere, or one seen through another opacity draws otherwise.
    Digest full(0);
    full.Add(visible).Add(area).Add(digest);
    for (float opacity : layers_) full.Add(opacity);
    items_.push_back({visible, full.Value()});
}

void PaintRecorder::FillRect(const RectF& rect, std::uint32_t argb, const Radii& radii) {
    Add(rect, Digest(kFill).Add(argb).Add(radii).Value());
}

void PaintRecorder::StrokeRect(const RectF& border, float width, std::uint32_t argb, const Radii& radii) {
    Add(border, Digest(kStroke).Add(width).Add(argb).Add(radii).Value());
}

bool PaintRecorder::ImageSize(const std::u16string& url, int& width, int& height) {
    return drawing_.ImageSize(url, width, height);
}

void PaintRecorder::DrawImage(const std::u16string& url, const ImageTiling& t) {
    int w = 0, h = 0;
    drawing_.ImageSize(url, w, h); // a different image under the same name draws differently
    Add(CoveredArea(t), Digest(kImage).Add(url).Add(w).Add(h).Add(t.x).Add(t.y).Add(t.w).Add(t.h).Add(t.area).Add(t.repeatX)
                     .Add(t.repeatY).Value());
}

void PaintRecorder::PaintText(const std::u16string& text, const FontSpec& font, float x, float y, std::uint32_t argb,
                             bool underline) {
    FontMetrics m = measurer_.Metrics(font);
    float width = measurer_.TextWidth(font, text);
    float overhang = std::ceil(font.size / 3) + 1; // italics and wide glyphs reach past their advance
    RectF area{x - overhang, y - 1, width + 2 * overhang, m.ascent + m.descent + 3};
    Add(area, Digest(kText).Add(std::u16string_view(text)).Add(font.families).Add(font.size).Add(font.weight)
                  .Add(font.italic).Add(x).Add(y).Add(argb).Add(underline).Value());
}

void PaintRecorder::PushClip(const RectF& rect) { clips_.push_back(Intersection(clips_.back(), rect)); }

void PaintRecorder::PopClip() {
    if (clips_.size() > 1) clips_.pop_back();
}

namespace {

// Items drawn alike: the same call, clipped to the same place. The place is compared as well as the digest,
// so that two digests that happen to collide still tell different items apart.
bool DrawnAlike(const PaintItem& a, const PaintItem& b) {
    return a.digest == b.digest && a.area.x == b.area.x && a.area.y == b.area.y && a.area.w == b.area.w &&
           a.area.h == b.area.h;
}

} // namespace

// A pixel outside the area is covered by the same items in the same order in both recordings, so it comes
// out the same: only the items outside the longest run common to both (in order) are painted again. A hover
// here and one far below do not repaint everything between, nor does a switch of panels repaint the card,
// headings and footer the two panels share between what differs.
RectF ChangedArea(const std::vector<PaintItem>& before, const std::vector<PaintItem>& after) {
    std::size_t prefix = 0, limit = std::min(before.size(), after.size());
    while (prefix < limit && DrawnAlike(before[prefix], after[prefix])) ++prefix;
    std::size_t suffix = 0;
    while (suffix < limit - prefix && DrawnAlike(before[before.size() - 1 - suffix], after[after.size() - 1 - suffix]))
        ++suffix;
    const std::size_t n = before.size() - prefix - suffix, m = after.size() - prefix - suffix;
    const PaintItem* b = before.data() + prefix;
    const PaintItem* a = after.data() + prefix;
    RectF changed;
    // A page records tens of items; a recording far larger than any page is taken around its differences.
    constexpr std::size_t kMostCells = std::size_t{1} << 16;
    if ((n + 1) * (m + 1) > kMostCells) {
        for (std::size_t i = 0; i < n; ++i) changed = Union(changed, b[i].area);
        for (std::size_t j = 0; j < m; ++j) changed = Union(changed, a[j].area);
        return changed;
    }
    // common[i * (m + 1) + j]: the length of the longest common run of b[i..] and a[j..].
    std::vector<std::uint16_t> common((n + 1) * (m + 1), 0);
    auto at = [&](std::size_t i, std::size_t j) -> std::uint16_t& { return common[i * (m + 1) + j]; };
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            at(i, j) = DrawnAlike(b[i], a[j]) ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
    std::size_t i = 0, j = 0;
    while (i < n && j < m) {
        if (DrawnAlike(b[i], a[j])) {
            ++i;
            ++j;
        } else if (at(i + 1, j) >= at(i, j + 1)) {
            changed = Union(changed, b[i++].area);
        } else {
            changed = Union(changed, a[j++].area);
        }
    }
    for (; i < n; ++i) changed = Union(changed, b[i].area);
    for (; j < m; ++j) changed = Union(changed, a[j].area);
    return changed;
}

} // namespace engine
