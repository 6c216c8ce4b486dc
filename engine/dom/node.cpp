#include "engine/dom/node.h"

#include "engine/dom/element.h"

namespace engine {

Node* Node::NextSibling() const {
    if (!parent_) return nullptr;
    std::size_t i = IndexInParent() + 1;
    return i < parent_->Children().size() ? parent_->Children()[i].Get() : nullptr;
}

Node* Node::PreviousSibling() const {
    if (!parent_) return nullptr;
    std::size_t i = IndexInParent();
    return i > 0 ? parent_->Children()[i - 1].Get() : nullptr;
}

int Node::Depth() const {
    int depth = 0;
    for (const Element* p = parent_; p; p = p->Parent()) ++depth;
    return depth;
}

Document* Node::OwnerDocument() const {
    const Node* top = this;
    while (top->parent_) top = top->parent_;
    return top->IsElement() ? static_cast<const Element*>(top)->RootOwnerDocument() : nullptr;
}

} // namespace engine
