#pragma once
// Named behaviors: a page's CSS "behavior: name" gets the registered object of that name as its handler.
#include "ui/event_handler.h"

namespace htmlayout {

class behavior : public event_handler {
public:
    // Puts the object at the head of the registry; behaviors are static objects that live for the whole run.
    behavior(unsigned subscription, const char* name);

    // The handler for `he` of the first behavior named exactly `name`, or none.
    static event_handler* find(const char* name, HELEMENT he);

    behavior* const next;
    const char* const name;
};

} // namespace htmlayout
