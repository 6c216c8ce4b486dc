#include "engine/dom/handle_table.h"
#include "engine/events/dispatcher.h"
#include "engine/events/input.h"
#include "engine_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace engine;
using engine_test::EventLog;
using engine_test::Page;
using engine_test::Recorder;

constexpr char kPage[] = R"(<body id=body><div id=outer><div id=inner><span id=leaf>x</span></div></div>
  <button id=btn>OK</button><input id=box type=checkbox checked><input id=r1 type=radio name=g checked>
  <input id=r2 type=radio name=g><a id=link href="#">go</a><button id=off disabled>no</button></body>)";

struct Events : ::testing::Test {
    // The recorders outlive the page, whose end detaches them.
    EventLog log;
    Recorder window{"window", &log};
    Recorder outer{"outer", &log};
    Recorder inner{"inner", &log};
    Recorder leaf{"leaf", &log};
    Page page{kPage};

    void SetUp() override {
        page.view.WindowHandlers().push_back({Recorder::Proc, &window, HANDLE_ALL});
        AttachHandler(page.Find("#outer"), {Recorder::Proc, &outer, HANDLE_ALL});
        AttachHandler(page.Find("#inner"), {Recorder::Proc, &inner, HANDLE_BEHAVIOR_EVENT});
        AttachHandler(page.Find("#leaf"), {Recorder::Proc, &leaf, HANDLE_ALL});
        log.entries.clear();
    }

    void Click(Element& target) {
        HandleMouse(page.view, &target, {MOUSE_DOWN, 1, 1, MAIN_MOUSE_BUTTON, 0});
        HandleMouse(page.view, &target, {MOUSE_UP, 1, 1, 0, 0});
    }

    std::vector<std::string> BehaviorEvents() const {
        std::vector<std::string> out;
        for (const auto& e : log.entries)
            if (e.find(":event") != std::string::npos) out.push_back(e);
        return out;
    }
};

TEST_F(Events, SinkFromTheWindowToTheTargetThenBubbleBack) {
    SendBehaviorEvent(page.Find("#leaf"), 0x123, nullptr, 0);
    std::vector<std::string> expected{"window:event291:sink", "outer:event291:sink", "inner:event291:sink",
                                      "leaf:event291:sink",   "leaf:event291",       "inner:event291",
                                      "outer:event291",       "window:event291"};
    EXPECT_EQ(log.entries, expected);
}

TEST_F(Events, AHandledEventStopsAndSubscriptionsFilter) {
    log.handles = [](const std::string& e) { return e == "inner:event5"; };
    EXPECT_TRUE(SendBehaviorEvent(page.Find("#leaf"), 5, nullptr, 0));
    std::vector<std::string> expected{"window:event5:sink", "outer:event5:sink", "inner:event5:sink",
                                      "leaf:event5:sink",   "leaf:event5",       "inner:event5"};
    EXPECT_EQ(log.entries, expected);

    log.entries.clear();
    HL_KEY_PARAMS key{KEY_DOWN, page.Find("#leaf").Handle(), 65, 0};
    DispatchEvent(page.Find("#leaf"), HANDLE_KEY, key.cmd, &key);
    for (const auto& e : log.entries) EXPECT_EQ(e.rfind("inner", 0), std::string::npos) << "inner wants no keys";
}

// Posts two events from inside a handler, and another when the first arrives.
struct Poster {
    EventLog* log;
    Element* target;
    static int HLCALL Proc(void* tag, HELEMENT, unsigned group, void* params) {
        auto& self = *static_cast<Poster*>(tag);
        if (group != HANDLE_BEHAVIOR_EVENT) return 0;
        auto& p = *static_cast<HL_BEHAVIOR_EVENT_PARAMS*>(params);
        if (p.cmd == 7) {
            PostBehaviorEvent(*self.target, 0x90, nullptr, 0);
            PostBehaviorEvent(*self.target, 0x91, nullptr, 0);
            self.log->entries.push_back("posted");
        } else if (p.cmd == 0x90) {
            PostBehaviorEvent(*self.target, 0x92, nullptr, 0);
        }
        return 0;
    }
};

TEST_F(Events, PostedEventsFollowTheDispatchInOrder) {
    Poster poster{&log, &page.Find("#leaf")};
    AttachHandler(page.Find("#outer"), {Poster::Proc, &poster, HANDLE_BEHAVIOR_EVENT});
    log.entries.clear();
    SendBehaviorEvent(page.Find("#leaf"), 7, nullptr, 0);
    auto events = BehaviorEvents();
    // The sending dispatch ends before the posted ones start; one posted later waits for the next round.
    ASSERT_GE(log.entries.size(), 2u);
    EXPECT_EQ(events.back(), "window:event145");
    std::size_t posted = std::find(log.entries.begin(), log.entries.end(), "posted") - log.entries.begin();
    std::size_t end7 = std::find(log.entries.begin(), log.entries.end(), "window:event7") - log.entries.begin();
    std::size_t first144 = std::find(log.entries.begin(), log.entries.end(), "leaf:event144:sink") - log.entries.begin();
    std::size_t first145 = std::find(log.entries.begin(), log.entries.end(), "leaf:event145:sink") - log.entries.begin();
    EXPECT_LT(posted, end7);
    EXPECT_LT(end7, first144);
    EXPECT_LT(first144, first145);
    EXPECT_TRUE(page.view.HasPostedEvents()) << "0x92 waits for the next delivery";
    EXPECT_GE(page.host.postedWaiting, 1);
    page.view.DeliverPostedEvents();
    EXPECT_EQ(BehaviorEvents().back(), "window:event146");
}

// Sends the event again from inside its own handler, without end.
int HLCALL Echo(void* tag, HELEMENT he, unsigned group, void* params) {
    if (group != HANDLE_BEHAVIOR_EVENT || static_cast<HL_BEHAVIOR_EVENT_PARAMS*>(params)->cmd != 9) return 0;
    ++*static_cast<int*>(tag);
    SendBehaviorEvent(*ElementFromHandle(he), 9, nullptr, 0);
    PostBehaviorEvent(*ElementFromHandle(he), 9, nullptr, 0);
    return 0;
}

TEST_F(Events, HandlersThatResendAreBounded) {
    int calls = 0;
    AttachHandler(page.Find("#inner"), {Echo, &calls, HANDLE_BEHAVIOR_EVENT});
    SendBehaviorEvent(page.Find("#inner"), 9, nullptr, 0);
    EXPECT_GT(calls, 1);
    EXPECT_LE(calls, 2 * kMaxDispatchDepth * kMaxDispatchDepth);
    // Each round re-posts what it delivers and more; the queue stays bounded however many rounds run.
    for (int round = 0; round < 3; ++round) page.view.DeliverPostedEvents();
    EXPECT_TRUE(page.view.HasPostedEvents());
    EXPECT_LT(calls, 2000000);
}

TEST_F(Events, RemovingElementsFromAHandlerIsSafe) {
    struct Remover {
        static int HLCALL Proc(void*, HELEMENT he, unsigned group, void*) {
            if (group == HANDLE_BEHAVIOR_EVENT) ElementFromHandle(he)->Detach();
            return 0;
        }
    };
    AttachHandler(page.Find("#inner"), {Remover::Proc, nullptr, HANDLE_BEHAVIOR_EVENT});
    HELEMENT leafHandle = page.Find("#leaf").Handle();
    SendBehaviorEvent(page.Find("#leaf"), 3, nullptr, 0);
    EXPECT_EQ(page.TryFind("#inner"), nullptr);
    EXPECT_EQ(ElementFromHandle(leafHandle), nullptr) << "gone with its subtree once nothing holds it";
}

TEST_F(Events, ButtonsCheckBoxesRadiosAndLinksTurnClicksIntoEvents) {
    Click(page.Find("#btn"));
    EXPECT_EQ(BehaviorEvents(), (std::vector<std::string>{"window:event0:sink", "window:event0"}));
    EXPECT_EQ(page.Doc().Focus(), &page.Find("#btn"));

    log.entries.clear();
    Element& box = page.Find("#box");
    EXPECT_TRUE(box.OwnStates() & STATE_CHECKED) << "from the checked attribute";
    Click(box);
    EXPECT_FALSE(box.OwnStates() & STATE_CHECKED);
    Click(box);
    EXPECT_TRUE(box.OwnStates() & STATE_CHECKED);
    std::vector<std::string> boxEvents{"window:event0", "window:event2", "window:event0", "window:event2"};
    std::vector<std::string> bubbled;
    for (const auto& e : BehaviorEvents())
        if (e.find(":sink") == std::string::npos) bubbled.push_back(e);
    EXPECT_EQ(bubbled, boxEvents);

    Element& r1 = page.Find("#r1");
    Element& r2 = page.Find("#r2");
    Click(r2);
    EXPECT_TRUE(r2.OwnStates() & STATE_CHECKED);
    EXPECT_FALSE(r1.OwnStates() & STATE_CHECKED);

    log.entries.clear();
    Click(page.Find("#link"));
    EXPECT_EQ(BehaviorEvents().back(), "window:event128");

    log.entries.clear();
    Click(page.Find("#off"));
    EXPECT_TRUE(BehaviorEvents().empty()) << "a disabled button does nothing";
    EXPECT_NE(page.Doc().Focus(), &page.Find("#off"));
}

TEST_F(Events, APressThatLeavesTheButtonIsNoClick) {
    HandleMouse(page.view, &page.Find("#btn"), {MOUSE_DOWN, 1, 1, MAIN_MOUSE_BUTTON, 0});
    EXPECT_TRUE(page.Doc().StatesOf(page.Find("#btn")) & STATE_ACTIVE);
    HandleMouse(page.view, &page.Find("#leaf"), {MOUSE_UP, 1, 1, 0, 0});
    EXPECT_TRUE(BehaviorEvents().empty());
    EXPECT_FALSE(page.Doc().StatesOf(page.Find("#btn")) & STATE_ACTIVE);
}

TEST_F(Events, KeysGoToTheFocusAndActivateIt) {
    MoveFocus(page.view, &page.Find("#box"), false);
    HandleKey(page.view, KEY_DOWN, 0x20, 0);
    EXPECT_FALSE(page.Find("#box").OwnStates() & STATE_CHECKED);
    MoveFocus(page.view, &page.Find("#leaf"), false);
    HandleKey(page.view, KEY_DOWN, 0x41, 0);
    EXPECT_NE(std::find(log.entries.begin(), log.entries.end(), "leaf:key0"), log.entries.end());
}

TEST_F(Events, HoverMovesWithEnterAndLeave) {
    HandleMouse(page.view, &page.Find("#leaf"), {MOUSE_MOVE, 5, 5, 0, 0});
    HandleMouse(page.view, &page.Find("#outer"), {MOUSE_MOVE, 6, 6, 0, 0});
    HandleMouse(page.view, nullptr, {MOUSE_LEAVE, 0, 0, 0, 0});
    std::vector<std::string> mine;
    for (const auto& e : log.entries)
        if (e.rfind("leaf:", 0) == 0) mine.push_back(e);
    EXPECT_EQ(mine, (std::vector<std::string>{"leaf:mouse0:sink", "leaf:mouse0", "leaf:mouse2:sink", "leaf:mouse2",
                                               "leaf:mouse1:sink", "leaf:mouse1"}));
    EXPECT_EQ(page.Doc().Hover(), nullptr);
}

TEST(Behaviors, StylesNameBehaviorsThatTheHostSupplies) {
    EventLog log;
    Recorder tabs{"tabs", &log};
    engine_test::TestHost host;
    host.behaviors["tabs"] = {Recorder::Proc, &tabs, HANDLE_MOUSE};
    View view(host);
    view.LoadHtml("<style>.tabs { behavior: tabs } .both { behavior: tabs unknown }</style>"
                  "<div id=a class=tabs></div><div id=b class=both></div><p>plain</p>",
                  u"");
    EXPECT_EQ(log.entries, (std::vector<std::string>{"tabs:attach", "tabs:attach"}));
    EXPECT_EQ(host.behaviorsAsked, (std::vector<std::string>{"tabs", "tabs", "unknown"}));
    Element& a = *view.GetDocument()->Root().FirstElementChild()->NextElementSibling();
    a.SetAttribute("class", u"");
    view.UpdateStyle();
    EXPECT_EQ(log.entries.back(), "tabs:detach") << "a behavior the style no longer names is detached";
    view.LoadHtml("<p>next page</p>", u"");
    EXPECT_EQ(log.entries.back(), "tabs:detach");
}

TEST(Behaviors, EveryImageAndStyleSheetIsRequestedOnce) {
    engine_test::TestHost host;
    host.answers[u"dir/sheet.css"] = "#x { background-image: url(from-sheet.png) }";
    View view(host);
    view.LoadHtml("<link rel=stylesheet href=sheet.css><img src=logo.png><img src=logo.png>"
                  "<div id=x style=\"foreground-image: url('fg.png')\"></div>",
                  u"dir/page.html");
    std::vector<std::u16string> urls;
    for (const auto& r : host.requests) urls.push_back(r.url);
    EXPECT_EQ(urls, (std::vector<std::u16string>{u"dir/sheet.css", u"dir/logo.png", u"dir/fg.png",
                                                  u"dir/from-sheet.png"}));
    EXPECT_EQ(host.requests[1].type, unsigned(HLRT_DATA_IMAGE));

    host.requests.clear();
    View plain(host);
    plain.LoadHtml("<img src=logo.png><img src='c:/abs/x.png'>", u"");
    ASSERT_EQ(host.requests.size(), 2u);
    EXPECT_EQ(host.requests[0].url, u"logo.png") << "no base: the name as the page writes it";
    EXPECT_EQ(host.requests[1].url, u"c:/abs/x.png");
}

} // namespace
