#include "engine/events/focus_navigation.h"

#include "engine/css/computed_style.h"
#include "engine/dom/document.h"
#include "engine/dom/tree_walk.h"
#include "engine/dom/utf.h"
#include "engine/events/builtin_behaviors.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <optional>
#include <utility>
#include <vector>

namespace engine {
namespace {

std::optional<int> TabIndex(const Element& e) {
    const std::u16string* text = e.GetAttribute("tabindex");
    if (!text) return std::nullopt;
    std::string narrow = Utf16ToUtf8(*text);
    int value = 0;
    const char* first = narrow.data();
    const char* last = first + narrow.size();
    first = std::find_if(first, last, [](char c) { return c != ' '; });
    if (first != last && *first == '+') ++first;
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end == first) return std::nullopt;
    return value;
}

// Where an element stands in the Tab order: positive tabindex values first, by value; then everything
// else; document order breaks ties. None for an element Tab skips.
using TabKey = std::pair<int, long>;

std::optional<TabKey> TabKeyOf(const Element& e, long documentIndex) {
    if (!IsFocusable(e) || IsHidden(e)) return std::nullopt;
    std::optional<int> index = TabIndex(e);
    if (index && *index < 0) return std::nullopt;
    return TabKey{index && *index > 0 ? *index : INT_MAX, documentIndex};
}

} // namespace

// A program's own behavior makes a container (tabs, a list), not a stop: the container gives the focus to
// a child with a tabindex. A progress bar takes no input.
bool IsFocusable(const Element& e) {
    if (IsDisabled(e)) return false;
    const std::string& tag = e.Tag();
    unsigned control = ControlTypeOf(e);
    bool builtin = control != CTL_NO && control != CTL_UNKNOWN && control != CTL_PROGRESS;
    return e.HasAttribute("tabindex") || builtin || tag == "button" || tag == "input" || tag == "select" ||
           tag == "textarea" || (tag == "a" && e.HasAttribute("href"));
}

bool IsHidden(const Element& element) {
    if (const ComputedStyle* style = element.Style()) {
        const CssValue& visibility = style->Get(PropertyId::Visibility);
        if (visibility.IsKeyword("hidden") || visibility.IsKeyword("collapse")) return true;
    }
    for (const Element* e = &element; e; e = e->Parent())
        if (e->Style() && e->Style()->DisplayNone()) return true;
    return false;
}

Element* NextInTabOrder(Document& document, const Element* from, bool backward) {
    std::vector<std::pair<TabKey, Element*>> order;
    // An element outside the order (tabindex -1, hidden) stands where it is in the document, among the
    // elements without a positive tabindex.
    std::optional<TabKey> fromKey;
    long position = 0;
    ForEachElement(document.Root(), [&](Element& e) {
        long here = position++;
        std::optional<TabKey> key = TabKeyOf(e, here);
        if (key) order.push_back({*key, &e});
        if (&e == from) fromKey = key ? *key : TabKey{INT_MAX, here};
    });
    if (order.empty()) return nullptr;
    std::sort(order.begin(), order.end());
    if (!fromKey) return backward ? order.back().second : order.front().second;
    auto byKey = [](const std::pair<TabKey, Element*>& entry, const TabKey& key) {
        return entry.first < key;
    };
    auto at = std::lower_bound(order.begin(), order.end(), *fromKey, byKey);
    if (backward) return at == order.begin() ? order.back().second : std::prev(at)->second;
    if (at != order.end() && at->first == *fromKey) ++at;
    return at == order.end() ? order.front().second : at->second;
}

} // namespace engine
