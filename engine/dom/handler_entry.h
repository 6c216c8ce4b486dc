#pragma once
// An event handler attached to an element or a window: the program's dispatcher and its object.

#include "engine/include/htmlayout_dom.h"

namespace engine {

struct HandlerEntry {
    ElementEventProc proc = nullptr;
    void* tag = nullptr;
    unsigned subscription = HANDLE_ALL;

    bool Wants(unsigned group) const { return group == HANDLE_INITIALIZATION || (subscription & group) != 0; }
    bool SameAs(ElementEventProc p, void* t) const { return proc == p && tag == t; }
};

} // namespace engine
