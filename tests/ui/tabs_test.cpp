// The tabs behavior on a page of its own, reached through the registry when the page names it: clicks and
// keys as the mouse and keyboard send them (Ctrl combinations from real key presses), the activate-child
// event and the script method.
#include "page_window.h"
#include "support/real_input.h"
#include "ui/behavior.h"
#include "ui/tabs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ui_test::Has;
using Events = std::vector<std::wstring>;

struct Tabs : ::testing::Test {
    ui_test::PageWindow window{9001, RECT{60, 60, 520, 320}};

    // The tab of the main strip that is current, and the panel that shows.
    std::wstring Current(const wchar_t* strip = L"main") const {
        htmlayout::scoped_element root = window.Find(strip);
        return htmlayout::IdOf(htmlayout::FindFirst(root, L"[panel]:current"));
    }
    std::wstring Shown(const wchar_t* tabs = L"main") const {
        return htmlayout::IdOf(htmlayout::FindFirst(window.Find(tabs), L":root>[name]:expanded"));
    }
    Events TakeEvents() { return std::exchange(window.expansions, {}); }
    void RealKeys(const char* keys) {
        SetForegroundWindow(window.hwnd());
        ASSERT_TRUE(testing_support::PressKeys(window.hwnd(), keys));
        ui_test::Settle(200);
    }
};

TEST_F(Tabs, TheMarkedTabIsCurrentAtAttachWithoutEventsAndUnknownBehaviorsAttachNothing) {
    EXPECT_EQ(Current(), L"t1");
    EXPECT_EQ(Shown(), L"p1");
    EXPECT_TRUE(Has(window.Find(L"strip"), STATE_CURRENT)) << "the strip is current too";
    EXPECT_TRUE(Has(window.Find(L"t1"), STATE_CURRENT));
    EXPECT_TRUE(window.expansions.empty());
    EXPECT_EQ(Current(L"sub"), L"") << "a strip of another class gets no initial selection";
    EXPECT_EQ(htmlayout::behavior::find("no-such-behavior", window.Find(L"odd")), nullptr);
    EXPECT_EQ(htmlayout::behavior::find("Tabs", nullptr), nullptr) << "names are compared exactly";
    EXPECT_EQ(htmlayout::behavior::find("tabs", nullptr), &htmlayout::tabs_behavior);
}

TEST_F(Tabs, AClickSelectsTheTabAndTheCurrentTabClickedAgainPostsNothing) {
    window.Click(L"t3");
    EXPECT_EQ(Current(), L"t3");
    EXPECT_EQ(Shown(), L"p3");
    EXPECT_TRUE(Has(window.Find(L"p1"), STATE_COLLAPSED));
    EXPECT_TRUE(htmlayout::HasAttribute(window.Find(L"t3"), "selected"));
    EXPECT_FALSE(htmlayout::HasAttribute(window.Find(L"t1"), "selected"));
    EXPECT_EQ(TakeEvents(), (Events{L"t1-", L"t3+"}));

    window.Click(L"t3");
    EXPECT_TRUE(TakeEvents().empty());
    EXPECT_EQ(Current(), L"t3");

    // A tab whose panel the page lacks changes nothing.
    window.Click(L"xgone");
    EXPECT_EQ(Current(L"other"), L"x1");
    EXPECT_EQ(Shown(L"other"), L"px1");
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(Tabs, KeysMoveBetweenEnabledTabsWithoutWrappingAround) {
    window.Click(L"t1"); // the tab control takes the focus; t1 is current already
    window.Key(VK_RIGHT);
    EXPECT_EQ(Current(), L"t3") << "the disabled second tab is skipped";
    window.Key(VK_END);
    EXPECT_EQ(Current(), L"t4") << "the last tab is disabled: End stops at the last enabled one";
    window.Key(VK_RIGHT);
    EXPECT_EQ(Current(), L"t4") << "no wrap-around";
    window.Key(VK_HOME);
    EXPECT_EQ(Current(), L"t1");
    window.Key(VK_LEFT);
    EXPECT_EQ(Current(), L"t1");
    EXPECT_EQ(TakeEvents(), (Events{L"t1-", L"t3+", L"t3-", L"t4+", L"t4-", L"t1+"}));
}

TEST_F(Tabs, CtrlTabMovesForwardAndCtrlShiftTabBackFromRealKeyPresses) {
    window.Click(L"t1");
    RealKeys("ctrl+Tab");
    EXPECT_EQ(Current(), L"t3");
    RealKeys("ctrl+Tab");
    EXPECT_EQ(Current(), L"t4");
    RealKeys("ctrl+Tab");
    EXPECT_EQ(Current(), L"t4") << "no wrap-around";
    RealKeys("ctrl+shift+Tab");
    EXPECT_EQ(Current(), L"t3");
    RealKeys("ctrl+shift+Tab");
    EXPECT_EQ(Current(), L"t1");
    RealKeys("Tab");
    EXPECT_EQ(Current(), L"t1") << "Tab alone is not the behavior's";
}

TEST_F(Tabs, TheActivateChildEventAndTheSelectMethodSelectTabs) {
    htmlayout::scoped_element t4 = window.Find(L"t4");
    int handled = 0;
    HTMLayoutSendEvent(t4, ACTIVATE_CHILD, t4, 0, &handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(Current(), L"t4");

    htmlayout::value panel(L"p3");
    HL_SCRIPT_PARAMS call{METHOD_SCRIPT_CALL, "select", &panel.raw(), 1, {}};
    EXPECT_EQ(HTMLayoutCallBehaviorMethod(window.Find(L"main"), reinterpret_cast<HL_METHOD_PARAMS*>(&call)), HL_OK);
    EXPECT_EQ(Current(), L"t3");
    HL_SCRIPT_PARAMS other{METHOD_SCRIPT_CALL, "choose", &panel.raw(), 1, {}};
    EXPECT_NE(HTMLayoutCallBehaviorMethod(window.Find(L"main"), reinterpret_cast<HL_METHOD_PARAMS*>(&other)), HL_OK);
    ui_test::Settle(20);
    EXPECT_EQ(TakeEvents(), (Events{L"t1-", L"t4+", L"t4-", L"t3+"}));
}

TEST_F(Tabs, AStripOfAnotherClassSwitchesByClickAndEveryTabCanBeChosenAgain) {
    window.Click(L"s1t");
    EXPECT_EQ(Shown(L"sub"), L"s1");
    window.Click(L"s2t");
    EXPECT_EQ(Shown(L"sub"), L"s2");
    EXPECT_EQ(Current(L"sub"), L"s2t") << "one current tab per strip";
    window.Click(L"s1t");
    EXPECT_EQ(Shown(L"sub"), L"s1");
    EXPECT_EQ(TakeEvents(), (Events{L"s1t+", L"s1t-", L"s2t+", L"s2t-", L"s1t+"}));
    window.Key(VK_RIGHT);
    EXPECT_EQ(Current(L"sub"), L"s1t") << "keys belong to class strip strips only";
}

} // namespace
