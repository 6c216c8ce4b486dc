#include "engine/events/size_watch.h"

#include "engine/dom/handle_table.h"
#include "engine/events/dispatcher.h"
#include "engine/view/view.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace engine {
namespace {

// Handles, not pointers: an element that goes without detaching its handlers leaves a stale handle,
// which is refused and dropped at the next look.
struct Watch {
    HELEMENT he;
    float width = 0, height = 0;
    bool measured = false;
};

std::vector<Watch>& Watches() {
    static std::vector<Watch> watches;
    return watches;
}

auto Find(const Element& element) {
    auto& watches = Watches();
    return std::find_if(watches.begin(), watches.end(),
                        [&](const Watch& w) { return w.he == element.Handle(); });
}

} // namespace

void WatchSize(Element& element) {
    if (Find(element) == Watches().end()) Watches().push_back({element.Handle()});
}

void UnwatchSize(Element& element) {
    auto it = Find(element);
    if (it != Watches().end()) Watches().erase(it);
}

bool WatchesSizes(const View& view) {
    return std::any_of(Watches().begin(), Watches().end(), [&](const Watch& w) {
        Element* e = ElementFromHandle(w.he);
        return e && ViewOf(*e) == &view;
    });
}

void SendSizeChanges(View& view, const SizeOf& sizeOf) {
    // Measured first, told afterwards: handlers may attach, detach or remove elements.
    std::vector<std::pair<Ref<Element>, HL_SIZE_PARAMS>> changed;
    auto& watches = Watches();
    watches.erase(std::remove_if(watches.begin(), watches.end(),
                                 [](const Watch& w) { return ElementFromHandle(w.he) == nullptr; }),
                  watches.end());
    for (Watch& w : watches) {
        Element& e = *ElementFromHandle(w.he);
        if (ViewOf(e) != &view) continue;
        float width = 0, height = 0;
        sizeOf(e, width, height);
        bool differs = !w.measured || width != w.width || height != w.height;
        w = {w.he, width, height, true};
        if (differs) changed.push_back({&e, {int(std::lround(width)), int(std::lround(height))}});
    }
    for (auto& [element, params] : changed)
        CallElementHandlers(*element, HANDLE_SIZE, &params);
}

} // namespace engine
