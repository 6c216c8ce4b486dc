// The main page's tab control as its behavior drives the engine: selections by scoped selectors, states
// that CSS turns into shown and hidden panels, and expansion events posted after the click.

#include "engine/css/computed_style.h"
#include "engine/events/input.h"
#include "engine_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace engine;

int HLCALL KeepFirst(HELEMENT he, void* param) {
    *static_cast<HELEMENT*>(param) = he;
    return 1;
}

HELEMENT First(HELEMENT root, const std::string& selector) {
    HELEMENT found = nullptr;
    HTMLayoutSelectElements(root, selector.c_str(), KeepFirst, &found);
    return found;
}

std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; text && *text; ++text) out += static_cast<char>(*text);
    return out;
}

// A small tabs behavior written against the C interface only.
struct MiniTabs {
    static void Select(HELEMENT root, HELEMENT tab) {
        unsigned state = 0;
        HTMLayoutGetElementState(tab, &state);
        if (state & STATE_CURRENT) return;
        const wchar_t* name = nullptr;
        HTMLayoutGetAttributeByName(tab, "panel", &name);
        HELEMENT shown = First(root, ":root>[name]:expanded");
        HELEMENT current = First(root, ":root>.strip>[panel]:current");
        HELEMENT panel = First(root, ":root>[name=\"" + Narrow(name) + "\"]");
        if (!panel) return;
        if (shown) {
            HTMLayoutSetAttributeByName(shown, "selected", nullptr);
            HTMLayoutSetElementState(shown, STATE_COLLAPSED, 0, 1);
        }
        if (current) {
            HTMLayoutSetAttributeByName(current, "selected", nullptr);
            HTMLayoutSetElementState(current, 0, STATE_CURRENT, 1);
        }
        HTMLayoutSetAttributeByName(panel, "selected", L"");
        HTMLayoutSetElementState(panel, STATE_EXPANDED, 0, 1);
        HTMLayoutSetAttributeByName(tab, "selected", L"");
        HTMLayoutSetElementState(tab, STATE_CURRENT, 0, 1);
        if (current) HTMLayoutPostEvent(current, ELEMENT_COLLAPSED, current, 0);
        HTMLayoutPostEvent(tab, ELEMENT_EXPANDED, tab, 0);
    }

    static int HLCALL Proc(void*, HELEMENT he, unsigned group, void* params) {
        if (group == HANDLE_INITIALIZATION && static_cast<HL_INITIALIZATION_PARAMS*>(params)->cmd == BEHAVIOR_ATTACH) {
            HELEMENT tab = First(he, ":root>.strip>[panel][selected]");
            if (!tab) return 1;
            const wchar_t* name = nullptr;
            HTMLayoutGetAttributeByName(tab, "panel", &name);
            if (HELEMENT panel = First(he, ":root>[name=\"" + Narrow(name) + "\"]")) {
                HTMLayoutSetElementState(tab, STATE_CURRENT, 0, 1);
                HTMLayoutSetElementState(panel, STATE_EXPANDED, 0, 1);
            }
            return 1;
        }
        if (group != HANDLE_MOUSE) return 0;
        auto& p = *static_cast<HL_MOUSE_PARAMS*>(params);
        if (p.cmd != MOUSE_DOWN) return 0;
        for (HELEMENT e = p.target; e && e != he; HTMLayoutGetParentElement(e, &e)) {
            const wchar_t* panel = nullptr;
            HTMLayoutGetAttributeByName(e, "panel", &panel);
            if (panel) {
                Select(he, e);
                return 1;
            }
        }
        return 0;
    }
};

struct ExpansionLog {
    std::vector<std::string> seen;
    static int HLCALL Proc(void* tag, HELEMENT, unsigned group, void* params) {
        if (group != HANDLE_BEHAVIOR_EVENT) return 0;
        auto& p = *static_cast<HL_BEHAVIOR_EVENT_PARAMS*>(params);
        if (p.cmd == ELEMENT_COLLAPSED || p.cmd == ELEMENT_EXPANDED) {
            const wchar_t* id = nullptr;
            HTMLayoutGetAttributeByName(p.target, "id", &id);
            static_cast<ExpansionLog*>(tag)->seen.push_back(Narrow(id) + (p.cmd == ELEMENT_EXPANDED ? "+" : "-"));
        }
        return 0;
    }
};

constexpr char kPage[] = R"(<style>
  .tabs { behavior: tabs }
  .tabs > [name] { display: none }
  .tabs > [name]:expanded { display: block }
</style>
<div class=tabs id=main>
  <div class=strip><div panel=win id=t_win selected><b id=label>Windows</b></div><div panel=web id=t_web>Web</div>
    <div panel=missing id=t_missing>Nowhere</div></div>
  <div name=win id=p_win>w</div><div name=web id=p_web>b</div>
</div>)";

struct TabsScenario : ::testing::Test {
    ExpansionLog log;
    engine_test::Page page{""};

    void SetUp() override {
        page.host.behaviors["tabs"] = {MiniTabs::Proc, nullptr, HANDLE_MOUSE | HANDLE_BEHAVIOR_EVENT};
        page.view.WindowHandlers().push_back({ExpansionLog::Proc, &log, HANDLE_ALL});
        page.view.LoadHtml(kPage, u"");
    }
    bool Shown(const char* selector) { return !page.Find(selector).Style()->DisplayNone(); }
    void Press(const char* selector) {
        HandleMouse(page.view, &page.Find(selector), {MOUSE_DOWN, 3, 3, MAIN_MOUSE_BUTTON, 0});
        HandleMouse(page.view, &page.Find(selector), {MOUSE_UP, 3, 3, 0, 0});
    }
};

TEST_F(TabsScenario, TheMarkedTabIsCurrentAtAttachWithoutEvents) {
    EXPECT_TRUE(page.Find("#t_win").OwnStates() & STATE_CURRENT);
    EXPECT_TRUE(Shown("#p_win"));
    EXPECT_FALSE(Shown("#p_web"));
    EXPECT_TRUE(log.seen.empty());
}

TEST_F(TabsScenario, AClickSwitchesPanelsAndPostsCollapseThenExpand) {
    Press("#t_web");
    EXPECT_FALSE(Shown("#p_win"));
    EXPECT_TRUE(Shown("#p_web"));
    EXPECT_EQ(log.seen, (std::vector<std::string>{"t_win-", "t_web+"}));
    EXPECT_TRUE(page.Find("#t_web").HasAttribute("selected"));
    EXPECT_FALSE(page.Find("#t_win").HasAttribute("selected"));
    EXPECT_EQ(page.Doc().Focus(), nullptr) << "a program's behavior makes a container, not a Tab stop: its "
                                              "tabs take the focus through their tabindex";

    log.seen.clear();
    Press("#t_web");
    Press("#t_missing");
    EXPECT_TRUE(log.seen.empty()) << "the current tab, or one without a panel, changes nothing";
    Press("#label");
    EXPECT_EQ(log.seen, (std::vector<std::string>{"t_web-", "t_win+"})) << "a press inside a tab selects it";
    EXPECT_TRUE(Shown("#p_win"));
}

} // namespace
