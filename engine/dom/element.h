#pragma once
// An element: tag, attributes, children, its own state bits, the program's handlers, and what the style
// engine keeps on it (computed style, dirty flags, parsed inline and sheet text).

#include "engine/dom/handler_entry.h"
#include "engine/dom/node.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class ComputedStyle;
struct StyleSheet;
struct DeclarationBlock;

// A behavior attached because the element's style names it.
struct StyleBehavior {
    std::string name;
    HandlerEntry handler;
};

struct Attribute {
    std::string name; // lower case
    std::u16string value;
};

class Element final : public Node {
public:
    explicit Element(std::string tag);
    ~Element() override;

    const std::string& Tag() const { return tag_; }
    HELEMENT Handle() const { return handle_; }

    // Attributes. Names are matched without regard to case.
    const std::list<Attribute>& Attributes() const { return attributes_; }
    const std::u16string* GetAttribute(std::string_view name) const;
    bool HasAttribute(std::string_view name) const { return GetAttribute(name) != nullptr; }
    void SetAttribute(std::string_view name, std::u16string value);
    bool RemoveAttribute(std::string_view name);
    const std::u16string* Id() const { return GetAttribute("id"); }
    const std::vector<std::u16string>& Classes() const { return classes_; }
    bool HasClass(std::u16string_view name) const;

    // Children. Insertion refuses a node that would become its own ancestor.
    const std::vector<Ref<Node>>& Children() const { return children_; }
    std::size_t ElementChildCount() const;
    Element* ElementChild(std::size_t n) const;
    Element* FirstElementChild() const;
    Element* LastElementChild() const;
    Element* NextElementSibling() const;
    Element* PreviousElementSibling() const;
    std::size_t ElementIndex() const;
    bool InsertChild(std::size_t index, Ref<Node> child);
    bool AppendChild(Ref<Node> child) { return InsertChild(children_.size(), std::move(child)); }
    void RemoveChild(Node& child);
    void RemoveAllChildren();
    void Detach();
    bool Contains(const Node* node) const; // inclusive

    // Text: the concatenated text of the subtree; setting it replaces every child with one text node.
    std::u16string TextContent() const;
    void SetTextContent(std::u16string text);

    // States owned by the element (checked, disabled, current, expanded ...). Expanded and collapsed
    // exclude each other. Returns whether anything changed.
    unsigned OwnStates() const { return states_; }
    bool ChangeStates(unsigned set, unsigned clear);

    // Handlers attached to this element, in the order attached.
    std::vector<HandlerEntry>& Handlers() { return handlers_; }
    // Behaviors currently attached from the element's style.
    std::vector<StyleBehavior>& StyleBehaviors() { return styleBehaviors_; }
    const std::vector<StyleBehavior>& StyleBehaviors() const { return styleBehaviors_; }

    // Runtime style: set by the program, overrides the cascade.
    const std::vector<std::pair<std::string, std::u16string>>& RuntimeStyle() const { return runtimeStyle_; }
    void SetRuntimeStyle(std::string_view property, const std::u16string* value);

    // Style data the style engine keeps here.
    const ComputedStyle* Style() const { return style_.get(); }
    std::shared_ptr<const ComputedStyle>& StyleSlot() { return style_; }
    bool StyleDirty() const { return styleDirty_; }
    bool SubtreeStyleDirty() const { return subtreeStyleDirty_; }
    bool ChildStyleDirty() const { return childStyleDirty_; }
    void ClearStyleDirty() { styleDirty_ = subtreeStyleDirty_ = childStyleDirty_ = false; }
    // This element and its subtree must be restyled.
    void MarkStyleDirty();
    // This element must be restyled; its descendants follow only if what they inherit changes.
    void MarkOwnStyleDirty();
    std::shared_ptr<const DeclarationBlock>& InlineStyleCache() { return inlineStyle_; }
    std::shared_ptr<const StyleSheet>& Sheet() { return sheet_; }
    std::u16string& QueryBuffer() { return queryBuffer_; }

    // Uses by the program (HTMLayout_UseElement): each keeps the element alive.
    void Use();
    void Unuse();

    // Only the document sets this on its root.
    void SetOwnerDocument(Document* document) { ownerDocument_ = document; }
    Document* RootOwnerDocument() const { return ownerDocument_; }

private:
    void AttributeChanged(std::string_view name);
    void ChildrenChanged();
    void NodeRemoved(Node& node);
    void Renumber(std::size_t from);

    std::string tag_;
    HELEMENT handle_;
    // A list, so that a value the program holds stays put while other attributes come and go.
    std::list<Attribute> attributes_;
    std::vector<std::u16string> classes_;
    std::vector<Ref<Node>> children_;
    unsigned states_ = 0;
    std::vector<HandlerEntry> handlers_;
    std::vector<StyleBehavior> styleBehaviors_;
    std::vector<std::pair<std::string, std::u16string>> runtimeStyle_;
    std::shared_ptr<const ComputedStyle> style_;
    std::shared_ptr<const DeclarationBlock> inlineStyle_;
    std::shared_ptr<const StyleSheet> sheet_;
    std::u16string queryBuffer_;
    bool styleDirty_ = true;
    bool subtreeStyleDirty_ = true;
    bool childStyleDirty_ = false;
    int uses_ = 0;
    Document* ownerDocument_ = nullptr;
};

inline Element* AsElement(Node* node) { return node && node->IsElement() ? static_cast<Element*>(node) : nullptr; }

} // namespace engine
