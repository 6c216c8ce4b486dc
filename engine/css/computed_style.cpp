#include "engine/css/computed_style.h"

namespace engine {

std::string ComputedStyle::Behaviors() const {
    const CssValue& v = Get(PropertyId::Behavior);
    return v.type == CssValue::Type::String ? v.text : std::string();
}

void Invalidation::Add(Affects affects) {
    repaint = true;
    if (affects != Affects::Paint) relayout = true;
    if (affects == Affects::Rebuild) rebuild = true;
}

void Invalidation::Merge(const Invalidation& other) {
    repaint |= other.repaint;
    relayout |= other.relayout;
    rebuild |= other.rebuild;
}

Invalidation Compare(const ComputedStyle* before, const ComputedStyle& after) {
    Invalidation result;
    if (!before) {
        result.Add(Affects::Rebuild);
        return result;
    }
    for (std::size_t i = 0; i < kPropertyCount; ++i) {
        auto id = static_cast<PropertyId>(i);
        if (before->Get(id) != after.Get(id)) result.Add(InfoOf(id).affects);
    }
    return result;
}

StyleChange ChangeBetween(const ComputedStyle& before, const ComputedStyle& after) {
    StyleChange change = StyleChange::None;
    for (std::size_t i = 0; i < kPropertyCount; ++i) {
        auto id = static_cast<PropertyId>(i);
        if (before.Get(id) == after.Get(id)) continue;
        if (InfoOf(id).inherited) return StyleChange::Inherited;
        change = StyleChange::Own;
    }
    return change;
}

} // namespace engine
