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
    // NOTE: naming the built-in behaviors here keeps the linker from leaving their objects, and with them
    // their registration, out of a program that links the library.
    static behavior* const builtIn[] = {&tabs_behavior};
    static_cast<void>(builtIn);
    for (behavior* b = gHead; b; b = b->next)
        if (name && std::strcmp(b->name, name) == 0) return b->attach(he);
    return nullptr;
}

} // namespace htmlayout
