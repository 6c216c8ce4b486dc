#pragma once
// What the engine needs from whoever shows a page: data, named behaviors, and a word when posted events
// wait or styles changed. The window layer implements it over the program's notification callback.

#include "engine/css/computed_style.h"
#include "engine/dom/handler_entry.h"

#include <string>

namespace engine {

class Element;
class View;

// What a reader of the page (assistive technology) is told of an element.
enum class Announcement { Focus, State, Name, Value };

class Host {
public:
    virtual ~Host() = default;
    // Asks for a page, image or style sheet; the answer may come at once or later (View::DataReady).
    virtual void RequestData(View& view, const std::u16string& url, unsigned dataType, Element* initiator) = 0;
    // A handler for a behavior name the engine does not provide itself; false when there is none.
    virtual bool FindBehavior(View& view, Element& element, const std::string& name, HandlerEntry& handler) = 0;
    // Data arrived for a request.
    virtual void DataArrived(View&, const std::u16string& /*url*/, unsigned /*dataType*/) {}
    // A page is loaded and styled.
    virtual void DocumentComplete(View&) {}
    // Posted events wait: View::DeliverPostedEvents should be called soon.
    virtual void PostedEventsWaiting(View&) {}
    // Styles changed; the boxes must follow.
    virtual void Invalidated(View&, const Invalidation&) {}
    // Where an element's top-left corner lies in the document, for element-relative mouse positions.
    virtual void ElementOrigin(View&, Element&, int& x, int& y) { x = y = 0; }
    // The element took the focus, or its states, text or value changed.
    virtual void Announce(View&, Element&, Announcement) {}
};

} // namespace engine
