#include "engine/events/dispatcher.h"

#include "engine/events/size_watch.h"
#include "engine/view/view.h"

#include <algorithm>
#include <vector>

namespace engine {
namespace {

int gDepth = 0;

// Counts the nesting; when the outermost dispatch ends, the events posted meanwhile are delivered.
class DispatchScope {
public:
    explicit DispatchScope(View* view) : view_(view) {
        if (view) alive_ = view->Liveness();
        ++gDepth;
    }
    ~DispatchScope() {
        if (--gDepth == 0 && view_ && !alive_.expired() && view_->HasPostedEvents()) view_->DeliverPostedEvents();
    }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

private:
    View* view_;
    std::weak_ptr<void> alive_;
};

bool StillAttached(const std::vector<HandlerEntry>& handlers, const HandlerEntry& h) {
    return std::any_of(handlers.begin(), handlers.end(),
                       [&](const HandlerEntry& e) { return e.SameAs(h.proc, h.tag); });
}

// Calls the handlers of a list that want the group; a handler detached meanwhile by another is skipped.
bool CallList(std::vector<HandlerEntry>& live, Element& element, unsigned group, void* params) {
    std::vector<HandlerEntry> snapshot = live;
    for (const HandlerEntry& h : snapshot)
        if (h.Wants(group) && StillAttached(live, h) && CallHandler(h, element, group, params)) return true;
    return false;
}

} // namespace

bool CallHandler(const HandlerEntry& handler, Element& element, unsigned group, void* params) {
    return handler.proc && handler.proc(handler.tag, element.Handle(), group, params) != 0;
}

void AttachHandler(Element& element, const HandlerEntry& handler) {
    element.Handlers().push_back(handler);
    if (handler.subscription & HANDLE_SIZE) WatchSize(element);
    HL_INITIALIZATION_PARAMS init{BEHAVIOR_ATTACH};
    CallHandler(handler, element, HANDLE_INITIALIZATION, &init);
}

bool DetachHandler(Element& element, ElementEventProc proc, void* tag) {
    auto& list = element.Handlers();
    auto it = std::find_if(list.begin(), list.end(), [&](const HandlerEntry& h) { return h.SameAs(proc, tag); });
    if (it == list.end()) return false;
    HandlerEntry handler = *it;
    list.erase(it);
    if (std::none_of(list.begin(), list.end(), [](const HandlerEntry& h) { return (h.subscription & HANDLE_SIZE) != 0; }))
        UnwatchSize(element);
    HL_INITIALIZATION_PARAMS init{BEHAVIOR_DETACH};
    CallHandler(handler, element, HANDLE_INITIALIZATION, &init);
    return true;
}

bool CallElementHandlers(Element& element, unsigned group, void* params) {
    if (gDepth >= kMaxDispatchDepth) return false;
    Ref<Element> keep(&element);
    DispatchScope scope(ViewOf(element));
    return CallList(element.Handlers(), element, group, params);
}

bool DispatchEvent(Element& target, unsigned group, unsigned& cmd, void* params,
                   const std::function<void(Element*)>& prepare) {
    if (gDepth >= kMaxDispatchDepth) return false;
    View* view = ViewOf(target);
    DispatchScope scope(view);
    // The path holds its elements, so handlers may remove them from the tree meanwhile.
    std::vector<Ref<Element>> path;
    for (Element* e = &target; e; e = e->Parent()) path.emplace_back(e);
    auto windowList = view ? view->SharedWindowHandlers() : std::make_shared<std::vector<HandlerEntry>>();
    std::vector<HandlerEntry>& window = *windowList;
    Element& root = *path.back();

    unsigned code = cmd;
    auto call = [&](std::vector<HandlerEntry>& list, Element& element, Element* he) {
        if (prepare) prepare(he);
        return CallList(list, element, group, params);
    };
    cmd = code | SINKING;
    bool handled = call(window, root, nullptr);
    for (auto it = path.rbegin(); !handled && it != path.rend(); ++it) handled = call((*it)->Handlers(), **it, it->Get());
    cmd = code;
    for (auto it = path.begin(); !handled && it != path.end(); ++it) handled = call((*it)->Handlers(), **it, it->Get());
    if (!handled) handled = call(window, root, nullptr);
    return handled;
}

bool SendBehaviorEvent(Element& he, unsigned code, Element* source, unsigned reason) {
    HL_BEHAVIOR_EVENT_PARAMS params{code, source ? source->Handle() : he.Handle(), he.Handle(), reason};
    return DispatchEvent(he, HANDLE_BEHAVIOR_EVENT, params.cmd, &params);
}

void PostBehaviorEvent(Element& he, unsigned code, Element* source, unsigned reason) {
    if (View* view = ViewOf(he)) view->Post({&he, source ? source : &he, code, reason});
}

bool SendScrollEvent(Element& element, unsigned cmd, int position) {
    HL_SCROLL_PARAMS params{cmd, element.Handle(), position, 1};
    return DispatchEvent(element, HANDLE_SCROLL, params.cmd, &params);
}

} // namespace engine
