#pragma once
// A node of the document tree: an element or a run of text.

#include "engine/dom/ref.h"

#include <cstddef>
#include <string>

namespace engine {

class Document;
class Element;

class Node : public RefCounted {
public:
    bool IsElement() const { return isElement_; }
    Element* Parent() const { return parent_; }
    Node* NextSibling() const;
    Node* PreviousSibling() const;
    std::size_t IndexInParent() const { return index_; }
    // Number of ancestors; the root has depth 0.
    int Depth() const;
    // The document whose tree holds this node, or null for a detached node.
    Document* OwnerDocument() const;

protected:
    explicit Node(bool isElement) : isElement_(isElement) {}

private:
    friend class Element;
    bool isElement_;
    Element* parent_ = nullptr;
    std::size_t index_ = 0; // kept by the parent, so that sibling steps cost nothing on wide trees
};

class Text final : public Node {
public:
    explicit Text(std::u16string data) : Node(false), data_(std::move(data)) {}
    const std::u16string& Data() const { return data_; }

private:
    std::u16string data_;
};

} // namespace engine
