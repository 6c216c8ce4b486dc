#pragma once
// A host that records what the engine asks of it, and small helpers to build pages in tests.

#include "engine/view/view.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace engine_test {

struct Request {
    std::u16string url;
    unsigned type;
};

class TestHost : public engine::Host {
public:
    void RequestData(engine::View& view, const std::u16string& url, unsigned type, engine::Element*) override;
    bool FindBehavior(engine::View&, engine::Element&, const std::string& name, engine::HandlerEntry& handler) override;
    void PostedEventsWaiting(engine::View&) override { ++postedWaiting; }

    std::vector<Request> requests;
    std::map<std::u16string, std::string> answers; // answered at once when asked
    std::map<std::string, engine::HandlerEntry> behaviors;
    std::vector<std::string> behaviorsAsked;
    int postedWaiting = 0;
};

// The first element under the document's root that matches a selector, or null.
engine::Element* FirstMatch(engine::Document& doc, std::string_view selector);

// A view with a page loaded through a test host.
struct Page {
    explicit Page(std::string_view html);
    engine::Element& Find(std::string_view selector) const; // first match; fails the test when none
    engine::Element* TryFind(std::string_view selector) const;
    engine::Document& Doc() const { return *view.GetDocument(); }

    TestHost host;
    engine::View view{host};
};

// Records the events a handler sees as "name:event:phase" strings.
struct EventLog {
    std::vector<std::string> entries;
    std::function<bool(const std::string& entry)> handles; // which entries the handler reports handled
};

struct Recorder {
    std::string name;
    EventLog* log;
    static int HLCALL Proc(void* tag, HELEMENT he, unsigned group, void* params);
};

} // namespace engine_test
