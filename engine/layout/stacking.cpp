#include "engine/layout/stacking.h"

#include "engine/css/computed_style.h"

#include <algorithm>

namespace engine {
namespace {

bool HasZIndex(const Box& b) { return b.style && b.style->Get(PropertyId::ZIndex).type == CssValue::Type::Number; }

void Collect(const Box& b, float dy, std::vector<RectF>& clips, std::vector<Layer>& out) {
    for (const auto& childPtr : b.children) {
        const Box& child = *childPtr;
        if (child.positioned) {
            int z = HasZIndex(child) ? static_cast<int>(child.style->Get(PropertyId::ZIndex).number) : 0;
            out.push_back({&child, z, dy, clips});
        }
        // A context of its own, even in flow (a translucent box), keeps what it holds together.
        if (FormsStackingContext(child) || !child.holdsPositioned) continue;
        if (child.clips) {
            RectF clip = child.PaddingBox();
            clip.y -= dy;
            clips.push_back(clip);
        }
        Collect(child, dy + child.scrollY, clips, out);
        if (child.clips) clips.pop_back();
    }
}

} // namespace

float OpacityOf(const Box& box) {
    if (!box.style) return 1;
    return std::clamp(box.style->Get(PropertyId::Opacity).number, 0.0f, 1.0f);
}

bool FormsStackingContext(const Box& box) {
    return !box.parent || (box.positioned && HasZIndex(box)) || OpacityOf(box) < 1;
}

std::vector<Layer> LayersOf(const Box& context) {
    std::vector<Layer> layers;
    std::vector<RectF> clips;
    Collect(context, context.scrollY, clips, layers);
    auto byZ = [](const Layer& a, const Layer& b) { return a.z < b.z; };
    if (!std::is_sorted(layers.begin(), layers.end(), byZ)) std::stable_sort(layers.begin(), layers.end(), byZ);
    return layers;
}

} // namespace engine
