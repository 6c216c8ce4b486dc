#include "engine_test_support.h"

#include "engine/css/selector_matcher.h"
#include "engine/dom/utf.h"

#include <gtest/gtest.h>

namespace engine_test {

using namespace engine;

void TestHost::RequestData(View& view, const std::u16string& url, unsigned type, Element*) {
    requests.push_back({url, type});
    auto it = answers.find(url);
    if (it != answers.end()) view.DataReady(url, it->second);
}

bool TestHost::FindBehavior(View&, Element&, const std::string& name, HandlerEntry& handler) {
    behaviorsAsked.push_back(name);
    auto it = behaviors.find(name);
    if (it == behaviors.end()) return false;
    handler = it->second;
    return true;
}

Page::Page(std::string_view html) { view.LoadHtml(html, u""); }

Element* FirstMatch(Document& doc, std::string_view selector) {
    auto list = ParseSelectorList(selector);
    if (!list) return nullptr;
    Element* found = nullptr;
    SelectElements(doc.Root(), *list, [&](Element& e) {
        found = &e;
        return true;
    });
    return found;
}

Element* Page::TryFind(std::string_view selector) const { return FirstMatch(Doc(), selector); }

Element& Page::Find(std::string_view selector) const {
    Element* e = TryFind(selector);
    if (!e) {
        ADD_FAILURE() << "no element matches " << selector;
        return Doc().Root();
    }
    return *e;
}

int HLCALL Recorder::Proc(void* tag, HELEMENT, unsigned group, void* params) {
    auto& r = *static_cast<Recorder*>(tag);
    std::string entry;
    unsigned cmd = 0;
    switch (group) {
    case HANDLE_INITIALIZATION:
        entry = static_cast<HL_INITIALIZATION_PARAMS*>(params)->cmd == BEHAVIOR_ATTACH ? "attach" : "detach";
        break;
    case HANDLE_MOUSE: cmd = static_cast<HL_MOUSE_PARAMS*>(params)->cmd; entry = "mouse" + std::to_string(cmd & ~SINKING); break;
    case HANDLE_KEY: cmd = static_cast<HL_KEY_PARAMS*>(params)->cmd; entry = "key" + std::to_string(cmd & ~SINKING); break;
    case HANDLE_FOCUS: cmd = static_cast<HL_FOCUS_PARAMS*>(params)->cmd; entry = "focus" + std::to_string(cmd & ~SINKING); break;
    case HANDLE_BEHAVIOR_EVENT:
        cmd = static_cast<HL_BEHAVIOR_EVENT_PARAMS*>(params)->cmd;
        entry = "event" + std::to_string(cmd & ~SINKING);
        break;
    case HANDLE_METHOD_CALL: entry = "method"; break;
    default: entry = "group" + std::to_string(group);
    }
    entry = r.name + ":" + entry + ((cmd & SINKING) ? ":sink" : "");
    r.log->entries.push_back(entry);
    return r.log->handles && r.log->handles(entry);
}

} // namespace engine_test

