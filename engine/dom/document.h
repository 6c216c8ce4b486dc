#pragma once
// A document: the tree under its root element, and the states that belong to the document rather than to
// an element (which element is hovered, pressed, focused).

#include "engine/dom/element.h"
#include "engine/view/host.h"

#include <string>
#include <utility>
#include <vector>

namespace engine {

class View;

// The focus shown to the user: the focus while the keyboard moves it, not after a mouse press. Engine-only,
// beside the interface's state bits.
constexpr unsigned kStateFocusVisible = 0x10000000;

// A part of a selector left of its subject: when a state or attribute it tests changes in an element the
// part may match, the element's descendants may match differently (or its later siblings and theirs, where
// the part is joined by + or ~). Empty names match any element.
struct OuterTest {
    unsigned states = 0;
    std::vector<std::string> attributes; // "id" and "class" included
    bool siblings = false;
    std::string tag;
    std::u16string id;
    std::u16string className;

    bool MayMatch(const Element& element) const;
};

// What the document's style sheets look at, so that changes nothing looks at restyle nothing.
struct StyleDependencies {
    unsigned states = 0;                 // state bits some selector tests
    bool siblings = false;               // some selector looks at siblings or position among them
    std::vector<std::string> attributes; // attribute names some selector tests, "id" and "class" included
    std::vector<OuterTest> outer;
};

class Document {
public:
    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    Element& Root() const { return *root_; }
    Element* FirstElementByTag(std::string_view tag) const;

    Element* Hover() const { return hover_.Get(); }
    Element* Active() const { return active_.Get(); }
    Element* Focus() const { return focus_.Get(); }
    // Each returns whether anything changed.
    bool SetHover(Element* element);
    bool SetActive(Element* element);
    bool SetFocus(Element* element);
    bool FocusVisible() const { return focusVisible_; }
    void SetFocusVisible(bool visible);
    // The element's own bits with hover and active (which also hold for ancestors) and focus.
    unsigned StatesOf(const Element& element) const;

    StyleDependencies& Dependencies() { return dependencies_; }
    bool SheetsDirty() const { return sheetsDirty_; }
    void SetSheetsDirty(bool dirty) { sheetsDirty_ = dirty; }

    // The tree changed shape since the last look (boxes must be rebuilt).
    bool TakeTreeChanged() { return std::exchange(treeChanged_, false); }

    View* OwnerView() const { return view_; }
    // Changes are told to the host's readers from then on; not while the page is first built.
    void StartAnnouncing() { announcing_ = true; }
    void SetOwnerView(View* view) { view_ = view; }

    // Called by elements of this document as they change.
    void StatesChanged(Element& element, unsigned changed);
    void ChildrenChanged(Element& parent);
    void AttributeChanged(Element& element, std::string_view name);
    void NodeInserted(Node& node);
    void NodeRemoved(Node& node);

private:
    void Announce(Element& element, Announcement what);
    // Hover and active hold for an element and its ancestors: a chain.
    bool MoveChain(Ref<Element>& slot, Element* element, unsigned state);
    void ChainChanged(Element* before, Element* after, unsigned state);
    // Marks what a change of states or of an attribute (lower case; empty for none) may restyle.
    void RestyleAround(Element& element, unsigned states, const std::string& attribute);

    Ref<Element> root_;
    Ref<Element> hover_;
    Ref<Element> active_;
    Ref<Element> focus_;
    StyleDependencies dependencies_;
    bool sheetsDirty_ = true;
    bool focusVisible_ = false;
    bool announcing_ = false;
    bool treeChanged_ = true;
    View* view_ = nullptr;
};

} // namespace engine
