#include "ui/behavior.h"

#include "ui/tabs.h"

#include <cstring>

namespace htmlayout {

namespace {

// Constant-initialised, so that behaviors constructed before anything else still find it empty.
behavior* gHead = nullptr;

} // namespace

behavior::behavior(unsigned subscription, const char* name)
    : event_handler(subscription), next(gHead), name(name) {
    gHead = this;
}

event_handler* behavior::find(const char* name, HELEMENT he) {
    if (!name) return nullptr;
    // NOTE: the built-in behaviors are looked up through this table, a reference in use, so the linker keeps
    // their objects in every program that links the library; the chain holds any other behavior.
    static behavior* const builtIn[] = {&tabs_behavior};
    for (behavior* b : builtIn)
        if (std::strcmp(b->name, name) == 0) return b->attach(he);
    for (behavior* b = gHead; b; b = b->next)
        if (std::strcmp(b->name, name) == 0) return b->attach(he);
    return nullptr;
}

} // namespace htmlayout
