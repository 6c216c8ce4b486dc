#pragma once
// Event dispatch, a miniature of the DOM's: the path is built once, the event sinks from the window
// handlers and the root down to the target, then bubbles back up and out to the window handlers; the first
// handler that reports it handled stops it. Posted events are delivered once the outermost dispatch is over.

#include "engine/dom/handler_entry.h"

#include <functional>

namespace engine {

class Element;
class View;

// Calls one handler for one element.
bool CallHandler(const HandlerEntry& handler, Element& element, unsigned group, void* params);
// Attaches and detaches handlers of an element, telling them (initialization group).
void AttachHandler(Element& element, const HandlerEntry& handler);
bool DetachHandler(Element& element, ElementEventProc proc, void* tag);

// Dispatches an event whose record starts with its cmd. `prepare` runs before each handler is called, with
// the element whose handler runs (null for the window handlers), to fill element-relative fields.
bool DispatchEvent(Element& target, unsigned group, unsigned& cmd, void* params,
                   const std::function<void(Element*)>& prepare = {});
// The handlers of one element only, in the order attached (method calls, timers).
bool CallElementHandlers(Element& element, unsigned group, void* params);

bool SendBehaviorEvent(Element& he, unsigned code, Element* source, unsigned reason);
void PostBehaviorEvent(Element& he, unsigned code, Element* source, unsigned reason);
// The element's box scrolled (vertically; cmd is SCROLL_*) to the position.
bool SendScrollEvent(Element& element, unsigned cmd, int position);

// Nested dispatches deeper than this are refused: handlers that send events from handlers cannot recurse
// without end.
constexpr int kMaxDispatchDepth = 32;

} // namespace engine
