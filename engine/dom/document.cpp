#include "engine/dom/document.h"

#include "engine/dom/ascii.h"
#include "engine/view/view.h"

#include <algorithm>
#include <vector>

namespace engine {
namespace {

Element* FindByTag(const Element& from, std::string_view tag) {
    for (const auto& child : from.Children()) {
        Element* e = AsElement(child.Get());
        if (!e) continue;
        if (e->Tag() == tag) return e;
        if (Element* found = FindByTag(*e, tag)) return found;
    }
    return nullptr;
}

bool HoldsStyleSheet(const Element& e) {
    if (e.Tag() == "style" || e.Tag() == "link") return true;
    for (const auto& child : e.Children())
        if (const Element* c = AsElement(child.Get()); c && HoldsStyleSheet(*c)) return true;
    return false;
}

std::vector<Element*> InclusiveAncestors(Element* e) {
    std::vector<Element*> chain;
    for (; e; e = e->Parent()) chain.push_back(e);
    return chain;
}

} // namespace

Document::Document() : root_(new Element("html")) { root_->SetOwnerDocument(this); }

Document::~Document() { root_->SetOwnerDocument(nullptr); }

Element* Document::FirstElementByTag(std::string_view tag) const {
    return root_->Tag() == tag ? root_.Get() : FindByTag(*root_, tag);
}

void Document::ChainChanged(Element* before, Element* after, unsigned state) {
    if (!(dependencies_.states & state)) return;
    // Only elements that enter or leave the chain change; the common ancestors keep their state.
    auto a = InclusiveAncestors(before);
    auto b = InclusiveAncestors(after);
    while (!a.empty() && !b.empty() && a.back() == b.back()) {
        a.pop_back();
        b.pop_back();
    }
    // Each of them is restyled as any state change restyles, not with all it holds: a press would otherwise
    // restyle the whole page.
    for (Element* e : a) RestyleAround(*e, state, {});
    for (Element* e : b) RestyleAround(*e, state, {});
}

bool Document::MoveChain(Ref<Element>& slot, Element* element, unsigned state) {
    if (slot.Get() == element) return false;
    Ref<Element> before = slot;
    slot = element;
    ChainChanged(before.Get(), element, state);
    return true;
}

bool Document::SetHover(Element* element) { return MoveChain(hover_, element, STATE_HOVER); }

bool Document::SetActive(Element* element) { return MoveChain(active_, element, STATE_ACTIVE); }

bool Document::SetFocus(Element* element) {
    if (focus_.Get() == element) return false;
    Ref<Element> before = focus_;
    focus_ = element;
    const unsigned states = STATE_FOCUS | kStateFocusVisible;
    if (dependencies_.states & states) {
        if (before) RestyleAround(*before, states, {});
        if (element) RestyleAround(*element, states, {});
    }
    if (element) Announce(*element, Announcement::Focus);
    return true;
}

void Document::Announce(Element& element, Announcement what) {
    if (view_ && announcing_) view_->GetHost().Announce(*view_, element, what);
}

void Document::SetFocusVisible(bool visible) {
    if (focusVisible_ == visible) return;
    focusVisible_ = visible;
    if ((dependencies_.states & kStateFocusVisible) && focus_) RestyleAround(*focus_, kStateFocusVisible, {});
}

unsigned Document::StatesOf(const Element& element) const {
    unsigned states = element.OwnStates();
    if (hover_ && element.Contains(hover_.Get())) states |= STATE_HOVER;
    if (active_ && element.Contains(active_.Get())) states |= STATE_ACTIVE;
    if (focus_.Get() == &element) states |= focusVisible_ ? unsigned(STATE_FOCUS) | kStateFocusVisible : unsigned(STATE_FOCUS);
    return states;
}

bool OuterTest::MayMatch(const Element& element) const {
    const std::u16string* ownId = element.Id();
    return (tag.empty() || tag == element.Tag()) && (id.empty() || (ownId && *ownId == id)) &&
           (className.empty() || element.HasClass(className));
}

// A change restyles the element; its subtree and its later siblings' only where a selector looks through
// what changed of it.
void Document::RestyleAround(Element& element, unsigned states, const std::string& attribute) {
    element.MarkOwnStyleDirty();
    // A part that names the element by id or class may have matched the value it had before.
    bool renamed = attribute == "id" || attribute == "class";
    for (const OuterTest& test : dependencies_.outer) {
        bool tested = (test.states & states) ||
                      (!attribute.empty() && std::find(test.attributes.begin(), test.attributes.end(),
                                                       attribute) != test.attributes.end());
        if (!tested || (!renamed && !test.MayMatch(element))) continue;
        if (!test.siblings) {
            element.MarkStyleDirty();
            continue;
        }
        for (Node* next = element.NextSibling(); next; next = next->NextSibling())
            if (next->IsElement()) static_cast<Element*>(next)->MarkStyleDirty();
    }
}

void Document::StatesChanged(Element& element, unsigned changed) {
    if (changed & dependencies_.states) RestyleAround(element, changed, {});
    if (changed & (STATE_CHECKED | STATE_DISABLED | STATE_CURRENT | STATE_EXPANDED | STATE_COLLAPSED))
        Announce(element, Announcement::State);
}

void Document::ChildrenChanged(Element& parent) {
    Announce(parent, Announcement::Name); // its text is its name, or part of its parent's
    if (parent.Tag() == "style") sheetsDirty_ = true;
    // New element children are dirty already; siblings may now match differently.
    if (dependencies_.siblings) parent.MarkStyleDirty();
    treeChanged_ = true;
}

void Document::NodeInserted(Node& node) {
    if (node.IsElement() && HoldsStyleSheet(static_cast<Element&>(node))) sheetsDirty_ = true;
}

void Document::AttributeChanged(Element& element, std::string_view name) {
    if (element.Tag() == "link" || (element.Tag() == "style" && name == "media")) sheetsDirty_ = true;
    std::string lower = AsciiLower(name);
    if (lower == "value") Announce(element, Announcement::Value);
    if (lower == "title") Announce(element, Announcement::Name);
    const std::vector<std::string>& tested = dependencies_.attributes;
    if (std::find(tested.begin(), tested.end(), lower) != tested.end())
        RestyleAround(element, 0, lower);
    else if (lower == "style")
        element.MarkOwnStyleDirty();
}

void Document::NodeRemoved(Node& node) {
    if (!node.IsElement()) return;
    auto& removed = static_cast<Element&>(node);
    if (HoldsStyleSheet(removed)) sheetsDirty_ = true;
    if (hover_ && removed.Contains(hover_.Get())) SetHover(removed.Parent());
    if (active_ && removed.Contains(active_.Get())) SetActive(nullptr);
    if (focus_ && removed.Contains(focus_.Get())) SetFocus(nullptr);
}

} // namespace engine
