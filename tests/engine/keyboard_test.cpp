// Keys that no handler takes: Tab walks the focus, Space and Enter click controls, Enter presses the
// default button. Size events after a layout.

#include "engine/dom/handle_table.h"
#include "engine/events/dispatcher.h"
#include "engine/events/input.h"
#include "engine/events/size_watch.h"
#include "engine_test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <utility>

namespace {

using namespace engine;
using engine_test::EventLog;
using engine_test::Page;
using engine_test::Recorder;

constexpr unsigned kTab = 0x09, kEnter = 0x0D, kSpace = 0x20;

std::string IdOf(const Element* e) {
    const std::u16string* id = e ? e->Id() : nullptr;
    return id ? std::string(id->begin(), id->end()) : "<none>";
}

constexpr char kTabPage[] =
    R"(<style>.gone { display: none } .ghost { visibility: hidden } .shown { visibility: visible }</style>
<body><button id=a>a</button><input id=t3 type=checkbox tabindex=3><a id=plain>no href</a>
<a id=link href="#">link</a><button id=minus tabindex=-1>m</button><button id=off disabled>d</button>
<div class=gone><div><button id=deep>in display:none</button></div></div>
<div class=ghost><button id=ghost>hidden</button><button id=back class=shown>visible again</button></div>
<div disabled><button id=underdisabled>u</button></div>
<div id=t1 tabindex=1>one</div><div id=t3b tabindex="3">three</div><span id=bad tabindex=x>bad</span>
<button id=z>z</button></body>)";

// Records focus changes with how they came.
struct FocusLog {
    std::vector<std::string> entries;
    static int HLCALL Proc(void* tag, HELEMENT, unsigned group, void* params) {
        if (group != HANDLE_FOCUS) return 0;
        auto& p = *static_cast<HL_FOCUS_PARAMS*>(params);
        if (p.cmd & SINKING) return 0;
        static_cast<FocusLog*>(tag)->entries.push_back(std::string(p.cmd == FOCUS_GOT ? "got " : "lost ") +
                                                       IdOf(ElementFromHandle(p.target)) +
                                                       (p.byMouseClick ? " by mouse" : " by key"));
        return 0;
    }
};

struct TabOrder : ::testing::Test {
    FocusLog focus;
    Page page{kTabPage};

    void SetUp() override { page.view.WindowHandlers().push_back({FocusLog::Proc, &focus, HANDLE_FOCUS}); }

    std::string Focused() const { return IdOf(page.Doc().Focus()); }
    std::vector<std::string> Walk(int steps, unsigned keys = 0) {
        std::vector<std::string> seen;
        for (int i = 0; i < steps; ++i) {
            EXPECT_TRUE(HandleKey(page.view, KEY_DOWN, kTab, keys));
            seen.push_back(Focused());
        }
        return seen;
    }
};

TEST_F(TabOrder, PositiveTabindexFirstThenDocumentOrderWrappingAround) {
    EXPECT_EQ(Walk(9), (std::vector<std::string>{"t1", "t3", "t3b", "a", "link", "back", "bad", "z", "t1"}));
}

TEST_F(TabOrder, ShiftTabWalksBackward) {
    EXPECT_EQ(Walk(9, SHIFT_KEY_PRESSED),
              (std::vector<std::string>{"z", "bad", "back", "link", "a", "t3b", "t3", "t1", "z"}));
}

TEST_F(TabOrder, FromAnElementOutsideTheOrderItsPlaceInTheDocumentCounts) {
    MoveFocus(page.view, &page.Find("#minus"), true);
    EXPECT_EQ(Walk(1), std::vector<std::string>{"back"});
    MoveFocus(page.view, &page.Find("#minus"), true);
    EXPECT_EQ(Walk(1, SHIFT_KEY_PRESSED), std::vector<std::string>{"link"});
}

TEST_F(TabOrder, AnElementHiddenLaterIsSkipped) {
    page.Find("#a").SetAttribute("class", u"gone");
    MoveFocus(page.view, &page.Find("#t3b"), false);
    EXPECT_EQ(Walk(1), std::vector<std::string>{"link"}) << "styles are brought up to date first";
}

TEST_F(TabOrder, FocusEventsFollowMarkedAsByKeyboard) {
    MoveFocus(page.view, &page.Find("#z"), true);
    focus.entries.clear();
    Walk(1);
    EXPECT_EQ(focus.entries, (std::vector<std::string>{"lost z by key", "got t1 by key"}));
    EXPECT_TRUE(page.Doc().StatesOf(page.Find("#t1")) & STATE_FOCUS);
    EXPECT_FALSE(page.Doc().StatesOf(page.Find("#z")) & STATE_FOCUS);
}

TEST_F(TabOrder, OnlyAPlainOrShiftedKeyDownMoves) {
    MoveFocus(page.view, &page.Find("#a"), false);
    for (unsigned keys : {unsigned(CONTROL_KEY_PRESSED), unsigned(ALT_KEY_PRESSED)})
        EXPECT_FALSE(HandleKey(page.view, KEY_DOWN, kTab, keys));
    EXPECT_FALSE(HandleKey(page.view, KEY_UP, kTab, 0));
    EXPECT_EQ(Focused(), "a");
}

TEST(TabOrderEmpty, APageWithNothingFocusableLeavesTabAlone) {
    Page page{"<body><p>text</p><div tabindex=-1>out of order</div></body>"};
    EXPECT_FALSE(HandleKey(page.view, KEY_DOWN, kTab, 0));
    EXPECT_EQ(page.Doc().Focus(), nullptr);
}

constexpr char kControls[] = R"(<body id=body><input id=name type=text><input id=box type=checkbox>
<input id=r1 type=radio name=g checked><input id=r2 type=radio name=g><a id=link href="#">go</a>
<button id=btn>b</button><div id=plain tabindex=0>plain</div><button id=ok role=default-button>OK</button></body>)";

struct Keyboard : ::testing::Test {
    EventLog log;
    Recorder window{"window", &log};
    Page page{kControls};

    void SetUp() override {
        page.view.WindowHandlers().push_back({Recorder::Proc, &window, HANDLE_BEHAVIOR_EVENT});
    }

    // The behavior events that bubbled out, with the id of their target and why they came.
    std::vector<std::string> Clicks() {
        std::vector<std::string> out;
        for (const auto& e : log.entries)
            if (e.find(":sink") == std::string::npos) out.push_back(e);
        return out;
    }
    bool Press(const char* selector, unsigned key) {
        MoveFocus(page.view, selector ? &page.Find(selector) : nullptr, false);
        log.entries.clear();
        return HandleKey(page.view, KEY_DOWN, key, 0);
    }
};

TEST_F(Keyboard, SpaceAndEnterClickEveryKindOfControl) {
    Element& box = page.Find("#box");
    EXPECT_TRUE(Press("#box", kSpace));
    EXPECT_TRUE(box.OwnStates() & STATE_CHECKED);
    EXPECT_TRUE(Press("#box", kEnter));
    EXPECT_FALSE(box.OwnStates() & STATE_CHECKED);
    EXPECT_EQ(Clicks(), (std::vector<std::string>{"window:event0", "window:event2"}));

    EXPECT_TRUE(Press("#r2", kEnter));
    EXPECT_TRUE(page.Find("#r2").OwnStates() & STATE_CHECKED);
    EXPECT_FALSE(page.Find("#r1").OwnStates() & STATE_CHECKED);

    EXPECT_TRUE(Press("#link", kSpace));
    EXPECT_EQ(Clicks(), std::vector<std::string>{"window:event128"});
    EXPECT_TRUE(Press("#btn", kEnter));
    EXPECT_EQ(Clicks(), std::vector<std::string>{"window:event0"})
        << "the focused button, not the default one";
}

// Records the target and reason of button clicks.
struct ClickLog {
    std::vector<std::string> entries;
    static int HLCALL Proc(void* tag, HELEMENT, unsigned group, void* params) {
        auto& p = *static_cast<HL_BEHAVIOR_EVENT_PARAMS*>(params);
        if (group != HANDLE_BEHAVIOR_EVENT || p.cmd != BUTTON_CLICK) return 0;
        static_cast<ClickLog*>(tag)->entries.push_back(IdOf(ElementFromHandle(p.target)) + " reason " +
                                                       std::to_string(p.reason));
        return 0;
    }
};

TEST_F(Keyboard, EnterElsewherePressesTheDefaultButton) {
    ClickLog clicks;
    page.view.WindowHandlers().push_back({ClickLog::Proc, &clicks, HANDLE_BEHAVIOR_EVENT});
    EXPECT_TRUE(Press("#plain", kEnter));
    EXPECT_TRUE(Press(nullptr, kEnter)) << "with no focus at all";
    EXPECT_EQ(clicks.entries, (std::vector<std::string>{"ok reason 1", "ok reason 1"}));
    EXPECT_EQ(page.Doc().Focus(), nullptr) << "the default button is pressed, not focused";

    clicks.entries.clear();
    EXPECT_FALSE(Press("#name", kEnter)) << "a text field keeps its Enter";
    EXPECT_FALSE(Press("#plain", kSpace)) << "Space is no Enter";
    page.Find("#ok").ChangeStates(STATE_DISABLED, 0);
    EXPECT_FALSE(Press("#plain", kEnter));
    page.Find("#ok").ChangeStates(0, STATE_DISABLED);
    std::u16string none = u"none";
    page.Find("#ok").SetRuntimeStyle("display", &none);
    EXPECT_FALSE(Press("#plain", kEnter)) << "a hidden default button is not pressed";
    EXPECT_TRUE(clicks.entries.empty());
}

TEST(KeyboardDefault, OnlyAPageWithADefaultButtonTakesEnterAndAnyElementWillDo) {
    EventLog log;
    Recorder window{"window", &log};
    Page page{"<body><div id=plain tabindex=0>x</div><div id=ok>OK</div></body>"};
    page.view.WindowHandlers().push_back({Recorder::Proc, &window, HANDLE_BEHAVIOR_EVENT});
    MoveFocus(page.view, &page.Find("#plain"), false);
    EXPECT_FALSE(HandleKey(page.view, KEY_DOWN, kEnter, 0));
    page.Find("#ok").SetAttribute("role", u"default-button");
    EXPECT_TRUE(HandleKey(page.view, KEY_DOWN, kEnter, 0));
    EXPECT_EQ(log.entries.back(), "window:event0");
}

// Size events through the real watch list, with sizes a test decides.
struct Sizes : ::testing::Test {
    EventLog log;
    Recorder inner{"inner", &log};
    Page page{"<body><div id=outer><div id=inner></div></div><div id=other></div></body>"};
    std::map<const Element*, std::pair<float, float>> sizes;

    void Measure() {
        SendSizeChanges(page.view, [&](const Element& e, float& w, float& h) {
            auto it = sizes.find(&e);
            if (it != sizes.end()) std::tie(w, h) = it->second;
        });
    }
};

int HLCALL RecordSize(void* tag, HELEMENT he, unsigned group, void* params) {
    if (group != HANDLE_SIZE) return 0;
    auto& p = *static_cast<HL_SIZE_PARAMS*>(params);
    static_cast<std::vector<std::string>*>(tag)->push_back(
        IdOf(ElementFromHandle(he)) + " " + std::to_string(p.width) + "x" + std::to_string(p.height));
    return 0;
}

TEST_F(Sizes, OnlyElementsWhoseSizeChangedAreTold) {
    std::vector<std::string> seen;
    Element& outerEl = page.Find("#outer");
    Element& innerEl = page.Find("#inner");
    AttachHandler(outerEl, {RecordSize, &seen, HANDLE_SIZE});
    AttachHandler(innerEl, {RecordSize, &seen, HANDLE_ALL});
    AttachHandler(page.Find("#other"), {RecordSize, &seen, HANDLE_MOUSE});
    sizes[&outerEl] = {100, 50};
    sizes[&innerEl] = {80, 20};
    Measure();
    EXPECT_EQ(seen, (std::vector<std::string>{"outer 100x50", "inner 80x20"}))
        << "the first look tells the size";
    seen.clear();
    sizes[&innerEl] = {80.4f, 21};
    sizes[&page.Find("#other")] = {5, 5};
    Measure();
    EXPECT_EQ(seen, std::vector<std::string>{"inner 80x21"}) << "once, to the element alone, never bubbled";
    Measure();
    EXPECT_EQ(seen.size(), 1u) << "nothing changed since";
    sizes.erase(&outerEl);
    Measure();
    EXPECT_EQ(seen.back(), "outer 0x0") << "no box any more";
}

TEST_F(Sizes, DetachedOrDestroyedElementsAreNoLongerWatched) {
    std::vector<std::string> seen;
    Element& innerEl = page.Find("#inner");
    EXPECT_FALSE(WatchesSizes(page.view));
    AttachHandler(innerEl, {RecordSize, &seen, HANDLE_SIZE});
    AttachHandler(innerEl, {Recorder::Proc, &inner, HANDLE_SIZE});
    EXPECT_TRUE(WatchesSizes(page.view));
    DetachHandler(innerEl, RecordSize, &seen);
    EXPECT_TRUE(WatchesSizes(page.view)) << "another handler still wants sizes";
    DetachHandler(innerEl, Recorder::Proc, &inner);
    EXPECT_FALSE(WatchesSizes(page.view));

    AttachHandler(innerEl, {RecordSize, &seen, HANDLE_SIZE});
    Measure();
    EXPECT_EQ(seen, std::vector<std::string>{"inner 0x0"});
    page.Find("#outer").Detach(); // the subtree goes, its handlers still attached
    sizes[&page.Find("#other")] = {5, 5};
    Measure();
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_FALSE(WatchesSizes(page.view));
}

// Removes the other watched element while its size event waits.
struct Remover {
    Element* victim;
    int calls = 0;
    static int HLCALL Proc(void* tag, HELEMENT, unsigned group, void*) {
        auto& self = *static_cast<Remover*>(tag);
        if (group != HANDLE_SIZE) return 0;
        ++self.calls;
        if (self.victim) std::exchange(self.victim, nullptr)->Detach();
        return 0;
    }
};

TEST_F(Sizes, AHandlerMayRemoveAnotherWatchedElement) {
    Element& outerEl = page.Find("#outer");
    Element& otherEl = page.Find("#other");
    Remover remover{&otherEl};
    AttachHandler(outerEl, {Remover::Proc, &remover, HANDLE_SIZE});
    AttachHandler(otherEl, {Remover::Proc, &remover, HANDLE_SIZE});
    Measure();
    EXPECT_EQ(remover.calls, 2) << "both were measured before either was told";
}

} // namespace

namespace {

int HLCALL IgnoreAll(void*, HELEMENT, unsigned, void*) { return 0; }

constexpr char kRingPage[] = R"(<style>:focus-visible { outline-style: solid; outline-width: 2px; outline-color: #ff0000 }
.list { behavior: list }</style><body><button id=a>a</button><div class=list id=list><div id=item>item</div></div>
<progress id=bar value=5></progress><button id=b>b</button></body>)";

struct FocusRing : ::testing::Test {
    Page page{kRingPage};

    FocusRing() {
        page.host.behaviors["list"] = {IgnoreAll, nullptr, HANDLE_MOUSE};
        page.view.LoadHtml(kRingPage, u"");
    }
    bool Ringed(const char* selector) {
        page.view.UpdateStyle();
        return page.Find(selector).Style()->Get(PropertyId::OutlineStyle).IsKeyword("solid");
    }
    void Tab() { HandleKey(page.view, KEY_DOWN, kTab, 0); }
};

TEST_F(FocusRing, ShowsOnTheKeyboardsFocusOnlyAndAMousePressHidesItUntilTheNextKey) {
    Tab();
    EXPECT_EQ(IdOf(page.Doc().Focus()), "a");
    EXPECT_TRUE(Ringed("#a"));
    HandleMouse(page.view, &page.Find("#b"), {MOUSE_DOWN, 2, 2, MAIN_MOUSE_BUTTON, 0});
    HandleMouse(page.view, &page.Find("#b"), {MOUSE_UP, 2, 2, 0, 0});
    EXPECT_EQ(IdOf(page.Doc().Focus()), "b");
    EXPECT_FALSE(Ringed("#b")) << "a click focuses without the ring";
    EXPECT_FALSE(Ringed("#a")) << "and the ring left the element before";
    Tab();
    EXPECT_EQ(IdOf(page.Doc().Focus()), "a") << "wraps around";
    EXPECT_TRUE(Ringed("#a"));
    EXPECT_FALSE(Ringed("#b"));
}

TEST_F(FocusRing, AProgramsBehaviorAndAProgressBarAreNoTabStops) {
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        Tab();
        seen.push_back(IdOf(page.Doc().Focus()));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "a", "b"}));
    EXPECT_FALSE(page.Find("#list").StyleBehaviors().empty()) << "the behavior is attached all the same";
}

} // namespace
