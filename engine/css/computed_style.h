#pragma once
// The computed value of every property for one element: lengths in pixels (percentages kept for layout),
// colours resolved, keywords normalised. Layout and paint read only this.

#include "engine/css/css_value.h"
#include "engine/css/properties.h"

#include <array>

namespace engine {

class ComputedStyle {
public:
    const CssValue& Get(PropertyId id) const { return values_[static_cast<std::size_t>(id)]; }
    CssValue& Set(PropertyId id) { return values_[static_cast<std::size_t>(id)]; }

    float FontSize() const { return Get(PropertyId::FontSize).number; }
    bool DisplayNone() const { return Get(PropertyId::Display).IsKeyword("none"); }
    // The behavior names, space-separated; empty for none.
    std::string Behaviors() const;
    // Some property that children do not inherit was said to inherit: it follows every change of the parent.
    bool InheritsOtherThanInherited() const { return inheritsOther_; }
    void SetInheritsOtherThanInherited() { inheritsOther_ = true; }

  private:
    std::array<CssValue, kPropertyCount> values_;
    bool inheritsOther_ = false;
};

// How a style changed, as its children see it.
enum class StyleChange { None, Own, Inherited };

// What a change of style asks of the layer above: repaint, lay out again, or rebuild the boxes.
struct Invalidation {
    bool repaint = false;
    bool relayout = false;
    bool rebuild = false;

    void Add(Affects affects);
    void Merge(const Invalidation& other);
    bool Any() const { return repaint || relayout || rebuild; }
};

// Which of the two styles' differences matter, by the properties' table.
Invalidation Compare(const ComputedStyle* before, const ComputedStyle& after);
StyleChange ChangeBetween(const ComputedStyle& before, const ComputedStyle& after);

} // namespace engine
