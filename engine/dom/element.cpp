#include "engine/dom/element.h"

#include "engine/dom/ascii.h"
#include "engine/dom/document.h"
#include "engine/dom/handle_table.h"

#include <algorithm>

namespace engine {
namespace {

std::vector<std::u16string> SplitClasses(const std::u16string& text) {
    std::vector<std::u16string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] <= u' ') ++i;
        std::size_t start = i;
        while (i < text.size() && text[i] > u' ') ++i;
        if (i > start) out.emplace_back(text, start, i - start);
    }
    return out;
}

} // namespace

Element::Element(std::string tag) : Node(true), tag_(std::move(tag)), handle_(RegisterHandle(this)) {}

Element::~Element() {
    UnregisterHandle(handle_);
    // Children still used elsewhere live on, detached.
    for (auto& child : children_) child->parent_ = nullptr;
}

const std::u16string* Element::GetAttribute(std::string_view name) const {
    for (const auto& a : attributes_)
        if (EqualsNoCase(a.name, name)) return &a.value;
    return nullptr;
}

void Element::SetAttribute(std::string_view name, std::u16string value) {
    auto it = std::find_if(attributes_.begin(), attributes_.end(),
                           [&](const Attribute& a) { return EqualsNoCase(a.name, name); });
    if (it != attributes_.end()) {
        if (it->value == value) return;
        it->value = std::move(value);
    } else {
        attributes_.push_back({AsciiLower(name), std::move(value)});
    }
    AttributeChanged(name);
}

bool Element::RemoveAttribute(std::string_view name) {
    auto it = std::find_if(attributes_.begin(), attributes_.end(),
                           [&](const Attribute& a) { return EqualsNoCase(a.name, name); });
    if (it == attributes_.end()) return false;
    attributes_.erase(it);
    AttributeChanged(name);
    return true;
}

bool Element::HasClass(std::u16string_view name) const {
    return std::find(classes_.begin(), classes_.end(), name) != classes_.end();
}

void Element::AttributeChanged(std::string_view name) {
    if (EqualsNoCase(name, "class")) {
        const std::u16string* value = GetAttribute("class");
        classes_ = value ? SplitClasses(*value) : std::vector<std::u16string>{};
    } else if (EqualsNoCase(name, "style")) {
        inlineStyle_.reset();
    }
    if (Document* doc = OwnerDocument())
        doc->AttributeChanged(*this, name);
    else
        MarkStyleDirty();
}

std::size_t Element::ElementChildCount() const {
    return static_cast<std::size_t>(
        std::count_if(children_.begin(), children_.end(), [](const Ref<Node>& n) { return n->IsElement(); }));
}

Element* Element::ElementChild(std::size_t n) const {
    for (const auto& child : children_)
        if (child->IsElement() && n-- == 0) return static_cast<Element*>(child.Get());
    return nullptr;
}

Element* Element::FirstElementChild() const { return ElementChild(0); }

Element* Element::LastElementChild() const {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it)
        if ((*it)->IsElement()) return static_cast<Element*>(it->Get());
    return nullptr;
}

Element* Element::NextElementSibling() const {
    for (Node* n = NextSibling(); n; n = n->NextSibling())
        if (n->IsElement()) return static_cast<Element*>(n);
    return nullptr;
}

Element* Element::PreviousElementSibling() const {
    for (Node* n = PreviousSibling(); n; n = n->PreviousSibling())
        if (n->IsElement()) return static_cast<Element*>(n);
    return nullptr;
}

std::size_t Element::ElementIndex() const {
    std::size_t index = 0;
    for (Element* e = PreviousElementSibling(); e; e = e->PreviousElementSibling()) ++index;
    return index;
}

bool Element::Contains(const Node* node) const {
    for (; node; node = node->Parent())
        if (node == this) return true;
    return false;
}

bool Element::InsertChild(std::size_t index, Ref<Node> child) {
    if (!child) return false;
    if (child->IsElement() && static_cast<Element*>(child.Get())->Contains(this)) return false;
    if (child->parent_) static_cast<Element*>(child->parent_)->RemoveChild(*child);
    index = std::min(index, children_.size());
    child->parent_ = this;
    children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(index), child);
    Renumber(index);
    if (child->IsElement()) static_cast<Element*>(child.Get())->MarkStyleDirty();
    if (Document* doc = OwnerDocument()) doc->NodeInserted(*child);
    ChildrenChanged();
    return true;
}

void Element::RemoveChild(Node& child) {
    if (child.parent_ != this) return;
    std::size_t index = child.index_;
    Ref<Node> keep = children_[index]; // the document may still look at it while forgetting it
    NodeRemoved(child);
    children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(index));
    child.parent_ = nullptr;
    child.index_ = 0;
    Renumber(index);
    ChildrenChanged();
}

void Element::Renumber(std::size_t from) {
    for (std::size_t i = from; i < children_.size(); ++i) children_[i]->index_ = i;
}

void Element::RemoveAllChildren() {
    if (children_.empty()) return;
    for (auto& child : children_) NodeRemoved(*child);
    std::vector<Ref<Node>> gone;
    gone.swap(children_);
    for (auto& child : gone) child->parent_ = nullptr;
    ChildrenChanged();
}

void Element::Detach() {
    if (Parent()) Parent()->RemoveChild(*this);
}

void Element::NodeRemoved(Node& node) {
    if (Document* doc = OwnerDocument()) doc->NodeRemoved(node);
}

void Element::ChildrenChanged() {
    if (Document* doc = OwnerDocument())
        doc->ChildrenChanged(*this);
    else
        MarkStyleDirty();
}

std::u16string Element::TextContent() const {
    std::u16string out;
    for (const auto& child : children_) {
        if (child->IsElement())
            out += static_cast<const Element*>(child.Get())->TextContent();
        else
            out += static_cast<const Text*>(child.Get())->Data();
    }
    return out;
}

void Element::SetTextContent(std::u16string text) {
    RemoveAllChildren();
    if (!text.empty()) AppendChild(Ref<Node>(new Text(std::move(text))));
}

bool Element::ChangeStates(unsigned set, unsigned clear) {
    unsigned next = (states_ & ~clear) | set;
    // A panel is either expanded or collapsed: whichever is set now wins.
    if (set & STATE_EXPANDED) next &= ~STATE_COLLAPSED;
    if (set & STATE_COLLAPSED) next &= ~STATE_EXPANDED;
    unsigned changed = next ^ states_;
    if (!changed) return false;
    states_ = next;
    if (Document* doc = OwnerDocument())
        doc->StatesChanged(*this, changed);
    else
        MarkStyleDirty();
    return true;
}

void Element::SetRuntimeStyle(std::string_view property, const std::u16string* value) {
    auto it = std::find_if(runtimeStyle_.begin(), runtimeStyle_.end(),
                           [&](const auto& p) { return EqualsNoCase(p.first, property); });
    if (it != runtimeStyle_.end()) {
        if (value && it->second == *value) return;
        if (value)
            it->second = *value;
        else
            runtimeStyle_.erase(it);
    } else {
        if (!value) return;
        runtimeStyle_.emplace_back(AsciiLower(property), *value);
    }
    MarkStyleDirty();
}

void Element::MarkStyleDirty() {
    subtreeStyleDirty_ = true;
    MarkOwnStyleDirty();
}

void Element::MarkOwnStyleDirty() {
    styleDirty_ = true;
    for (Element* p = Parent(); p && !p->childStyleDirty_; p = p->Parent()) p->childStyleDirty_ = true;
}

void Element::Use() {
    if (uses_++ == 0) AddRef();
}

void Element::Unuse() {
    // A use too many is ignored rather than freeing what the tree still holds.
    if (uses_ > 0 && --uses_ == 0) Release();
}

} // namespace engine
