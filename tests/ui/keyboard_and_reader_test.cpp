// The main page by keyboard alone and as a screen reader sees it: Tab's stops, the tab strips' keys and the
// focus ring; the accessible tree read through oleacc (AccessibleObjectFromWindow, as assistive technology
// asks), its default actions, a client holding an object whose element is gone, and WinEvents on Tab.
#include "page_window.h"
#include "support/accessible_tree.h"
#include "support/real_input.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using ui_test::Has;

constexpr RECT kArea{40, 40, 742, 542};

using Node = testing_support::AccessibleNode;
using testing_support::AccessibleName;
using testing_support::ChildId;
using testing_support::ReadAccessible;

struct Reader : ::testing::Test {
    Reader() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~Reader() override {
        for (IAccessible* a : held) a->Release();
        CoUninitialize();
    }

    ui_test::PageWindow window{L"MAIN_SKIN", kArea};
    std::vector<IAccessible*> held; // released at the end

    IAccessible* Client() {
        IAccessible* root = testing_support::ClientObject(window.hwnd(), held);
        EXPECT_NE(root, nullptr);
        return root;
    }
    std::vector<Node> Walk(IAccessible* a) { return testing_support::WalkAccessible(a, held); }
    static const Node* Named(const std::vector<Node>& nodes, const std::wstring& name, long role) {
        return testing_support::FindAccessible(nodes, name, role);
    }

    void Focus() {
        SetForegroundWindow(window.hwnd());
        SetFocus(window.hwnd());
        ui_test::Settle(50);
    }
    // The object a VARIANT answer carries, held until the end; null when it carries none.
    IAccessible* ObjectOf(VARIANT& answer) {
        IAccessible* object = nullptr;
        if (answer.vt != VT_DISPATCH || !answer.pdispVal) return nullptr;
        answer.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object));
        answer.pdispVal->Release();
        VariantInit(&answer);
        if (object) held.push_back(object);
        return object;
    }
    std::wstring Focused() { return htmlayout::IdOf(htmlayout::FindFirst(htmlayout::RootOf(window.hwnd()), L":focus")); }
};

TEST_F(Reader, TabWalksEveryStopInVisualOrderAndFiveHundredPressesMeetNoDeadStop) {
    Focus();
    const std::vector<std::wstring> stops{L"about", L"movetray", L"minimize", L"exit", L"main_panel_window",
                                          L"windows_cleaning", L"company_logo_bottom", L"btn_cleanAll",
                                          L"btn_QuickClean"};
    std::vector<std::wstring> seen;
    for (int i = 0; i < 500; ++i) {
        window.Key(VK_TAB);
        seen.push_back(Focused());
        ASSERT_FALSE(seen.back().empty()) << "press " << i + 1 << " left the focus nowhere";
        ASSERT_EQ(seen.back(), stops[static_cast<std::size_t>(i) % stops.size()]) << "press " << i + 1;
    }
}

TEST_F(Reader, TabStripsAreOneStopArrowsMoveAndSpaceOpensASubTabWhoseBoxesTabReaches) {
    Focus();
    for (int i = 0; i < 5; ++i) window.Key(VK_TAB);
    ASSERT_EQ(Focused(), L"main_panel_window");
    window.Key(VK_RIGHT);
    EXPECT_EQ(Focused(), L"main_panel_browser") << "arrows move along the main strip";
    ui_test::Settle(50);
    RECT strip{};
    GetWindowRect(window.hwnd(), &strip);
    strip.bottom = strip.top + 140;
    testing_support::SaveScreenshot(ui_test::ScreenshotFolder(), "focus_ring_main_tab", strip);
    EXPECT_TRUE(Has(window.Find(L"main_panel_browser"), STATE_CURRENT)) << "and show the tab they reach";
    window.Key(VK_TAB);
    EXPECT_EQ(Focused(), L"browser_ie") << "the sub-strip is the next stop";
    window.Key(VK_END);
    EXPECT_EQ(Focused(), L"browser_brave");
    EXPECT_FALSE(Has(window.Find(L"browser_brave"), STATE_CURRENT)) << "a sub-tab waits for Space or Enter";
    window.Key(VK_HOME);
    window.Key(VK_DOWN);
    EXPECT_EQ(Focused(), L"browser_firefox");
    window.Key(VK_SPACE);
    EXPECT_TRUE(Has(window.Find(L"p_firefox"), STATE_EXPANDED)) << "Space opens it";
    window.Key(VK_TAB);
    EXPECT_EQ(Focused(), L"ff_cache") << "its first box is the next stop";
    window.Key(VK_SPACE);
    EXPECT_TRUE(Has(window.Find(L"ff_cache"), STATE_CHECKED)) << "Space ticks a box";
    htmlayout::Show(window.Find(L"pannel_guide"), false); // as the program does once a sub-tab shows
    htmlayout::Show(window.Find(L"win_tab_msg"), false);
    ui_test::Settle(50);
    RECT rc{};
    GetWindowRect(window.hwnd(), &rc);
    testing_support::SaveScreenshot(ui_test::ScreenshotFolder(), "focus_ring", rc);
}

TEST_F(Reader, TheRingShowsForTheKeyboardsFocusAndNotAfterAMouseClick) {
    Focus();
    window.Click(L"btn_cleanAll");
    EXPECT_EQ(Focused(), L"btn_cleanAll");
    int matches = 0;
    HTMLayoutElementMatches(window.Find(L"btn_cleanAll"), ":focus-visible", &matches);
    EXPECT_FALSE(matches) << "a click focuses without the ring";
    window.Key(VK_TAB);
    HTMLayoutElementMatches(window.Find(L"btn_QuickClean"), ":focus-visible", &matches);
    EXPECT_TRUE(matches) << "Tab shows it";
}

TEST_F(Reader, EveryBoxIsFoundByItsLabelWithItsStateAndTogglesByItsDefaultAction) {
    IAccessible* client = Client();
    ASSERT_NE(client, nullptr);
    VARIANT role;
    ASSERT_EQ(client->get_accRole(ChildId(CHILDID_SELF), &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_CLIENT);
    std::vector<Node> start = Walk(client);
    ASSERT_NE(Named(start, L"Windows History", ROLE_SYSTEM_PAGETAB), nullptr);
    EXPECT_TRUE(Named(start, L"Windows History", ROLE_SYSTEM_PAGETAB)->state & STATE_SYSTEM_SELECTED);
    EXPECT_NE(Named(start, L"About", ROLE_SYSTEM_PUSHBUTTON), nullptr) << "a button without text is named by its title";
    EXPECT_NE(Named(start, L"Clean Now", ROLE_SYSTEM_PUSHBUTTON), nullptr);
    EXPECT_NE(Named(start, L"Quellbyte", ROLE_SYSTEM_LINK), nullptr);
    EXPECT_EQ(Named(start, L"Cache", ROLE_SYSTEM_CHECKBUTTON), nullptr) << "a hidden panel's boxes are not read";

    // Each main tab, then each of its sub-tabs, opened through their default actions; every box read there.
    htmlayout::SetStates(window.Find(L"me_cookies"), STATE_CHECKED, 0);
    int boxes = 0;
    std::vector<std::wstring> labels;
    for (const wchar_t* mainTab : {L"Windows History", L"Browser History", L"Settings"}) {
        std::vector<Node> shown = Walk(client);
        const Node* tab = Named(shown, mainTab, ROLE_SYSTEM_PAGETAB);
        ASSERT_NE(tab, nullptr) << mainTab;
        EXPECT_EQ(tab->object->accDoDefaultAction(ChildId(CHILDID_SELF)), S_OK);
        ui_test::Settle(20);
        std::vector<Node> subTabs;
        for (const Node& n : Walk(client))
            if (n.role == ROLE_SYSTEM_PAGETAB && n.name != L"Windows History" && n.name != L"Browser History" &&
                n.name != L"Settings" && n.name != L"Store")
                subTabs.push_back(n);
        if (subTabs.empty()) subTabs.push_back(*tab);
        for (const Node& sub : subTabs) {
            sub.object->accDoDefaultAction(ChildId(CHILDID_SELF));
            ui_test::Settle(20);
            for (const Node& n : Walk(client)) {
                if (n.role != ROLE_SYSTEM_CHECKBUTTON) continue;
                ++boxes;
                labels.push_back(n.name);
            }
        }
    }
    EXPECT_GE(boxes, 35) << "the 33 items' boxes and the two settings";
    for (const wchar_t* label : {L"TEMP Files / folders", L"Run History", L"MS Paint History",
                                 L"Auto Complete Forms & Passwords", L"Load at Window Startup"})
        EXPECT_NE(std::find(labels.begin(), labels.end(), label), labels.end()) << label;

    // The Edge sub-tab: a ticked box reads checked, a disabled one unavailable and deaf to its action.
    for (const wchar_t* tab : {L"Browser History", L"Microsoft Edge History"}) {
        std::vector<Node> shown = Walk(client);
        const Node* node = Named(shown, tab, ROLE_SYSTEM_PAGETAB);
        ASSERT_NE(node, nullptr) << tab;
        node->object->accDoDefaultAction(ChildId(CHILDID_SELF));
    }
    ui_test::Settle(20);
    std::vector<Node> edge = Walk(client);
    const Node* cookies = Named(edge, L"Cookies", ROLE_SYSTEM_CHECKBUTTON);
    const Node* password = Named(edge, L"Password", ROLE_SYSTEM_CHECKBUTTON);
    const Node* cache = Named(edge, L"Cache", ROLE_SYSTEM_CHECKBUTTON);
    std::wstring names;
    for (const Node& n : edge) names += n.name + L" | ";
    ASSERT_TRUE(cookies && password && cache) << std::string(names.begin(), names.end());
    EXPECT_TRUE(cookies->state & STATE_SYSTEM_CHECKED);
    EXPECT_FALSE(cache->state & STATE_SYSTEM_CHECKED);
    EXPECT_TRUE(password->state & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(password->object->accDoDefaultAction(ChildId(CHILDID_SELF)), S_FALSE);
    EXPECT_FALSE(Has(window.Find(L"me_pwd"), STATE_CHECKED)) << "a disabled box does nothing";
    EXPECT_EQ(cache->object->accDoDefaultAction(ChildId(CHILDID_SELF)), S_OK);
    EXPECT_TRUE(Has(window.Find(L"me_cache"), STATE_CHECKED)) << "the default action ticks the box";
    EXPECT_TRUE(ReadAccessible(cache->object).state & STATE_SYSTEM_CHECKED);

    // Where it is: the element's own rectangle on the screen, and the hit test there finds it again (with the
    // guidance hidden, as the program hides it once a sub-tab is chosen).
    htmlayout::Show(window.Find(L"pannel_guide"), false);
    htmlayout::Show(window.Find(L"brow_tab_msg"), false);
    ui_test::Settle(20);
    LONG x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(cache->object->accLocation(&x, &y, &w, &h, ChildId(CHILDID_SELF)), S_OK);
    POINT corner = window.ScreenPoint(L"me_cache", 0, 0);
    EXPECT_EQ(x, corner.x);
    EXPECT_EQ(y, corner.y);
    EXPECT_GT(w, 100);
    EXPECT_EQ(h, 28);
    VARIANT hit;
    ASSERT_EQ(client->accHitTest(x + 40, y + 10, &hit), S_OK);
    ASSERT_EQ(hit.vt, VT_DISPATCH);
    IAccessible* hitBox = nullptr;
    hit.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&hitBox));
    hit.pdispVal->Release();
    ASSERT_NE(hitBox, nullptr);
    held.push_back(hitBox);
    EXPECT_EQ(AccessibleName(hitBox), L"Cache");
    VARIANT next;
    ASSERT_EQ(hitBox->accNavigate(NAVDIR_NEXT, ChildId(CHILDID_SELF), &next), S_OK);
    ASSERT_EQ(next.vt, VT_DISPATCH);
    IAccessible* nextBox = nullptr;
    next.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&nextBox));
    next.pdispVal->Release();
    ASSERT_NE(nextBox, nullptr);
    held.push_back(nextBox);
    EXPECT_EQ(AccessibleName(nextBox), L"Password");
}

// At 144 DPI (as WM_DPICHANGED brings it) a reader finds a control where the scaled page shows it, and the
// keyboard's ring around it is 3 device pixels of the accent colour.
TEST_F(Reader, AtOneAndAHalfTimesTheLocationAndHitTestAreScaledAndTheRingIsThreePixels) {
    IAccessible* client = Client();
    ASSERT_NE(client, nullptr);
    std::vector<Node> nodes = Walk(client);
    const Node* cleanAll = Named(nodes, L"Clean All", ROLE_SYSTEM_PUSHBUTTON);
    ASSERT_NE(cleanAll, nullptr);
    LONG x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(cleanAll->object->accLocation(&x, &y, &w, &h, ChildId(CHILDID_SELF)), S_OK);
    const RECT at96{x - kArea.left, y - kArea.top, w, h}; // offset in the window, and size

    RECT scaled{kArea.left, kArea.top, kArea.left + (kArea.right - kArea.left) * 3 / 2,
                kArea.top + (kArea.bottom - kArea.top) * 3 / 2};
    SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&scaled));
    ui_test::Settle(50);
    ASSERT_EQ(cleanAll->object->accLocation(&x, &y, &w, &h, ChildId(CHILDID_SELF)), S_OK);
    EXPECT_NEAR(x - kArea.left, at96.left * 3 / 2, 1);
    EXPECT_NEAR(y - kArea.top, at96.top * 3 / 2, 1);
    EXPECT_NEAR(w, at96.right * 3 / 2, 1);
    EXPECT_NEAR(h, at96.bottom * 3 / 2, 1);
    POINT corner = window.ScreenPoint(L"btn_cleanAll", 0, 0);
    EXPECT_EQ(x, corner.x);
    EXPECT_EQ(y, corner.y);
    // The far corner lies beyond the button's place at 96 DPI: only the scaled hit test finds it there.
    VARIANT hit;
    ASSERT_EQ(client->accHitTest(x + w - 2, y + h - 2, &hit), S_OK);
    IAccessible* found = ObjectOf(hit);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(AccessibleName(found), L"Clean All");

    Focus();
    for (int i = 0; i < 8; ++i) window.Key(VK_TAB);
    ASSERT_EQ(Focused(), L"btn_cleanAll");
    ui_test::Settle(100);
    testing_support::SaveScreenshot(ui_test::ScreenshotFolder(), "dpi144_focus_ring",
                                    RECT{x - 12, y - 12, x + w + 12, y + h + 12});
    // Across the ring's left side, half-way down: three pixels of the accent colour, and none beside them.
    HDC screen = GetDC(nullptr);
    std::wstring row;
    for (LONG px = x - 2; px < x + 6; ++px) row += GetPixel(screen, px, y + h / 2) == RGB(0x1a, 0x6b, 0xd6) ? L'R' : L'.';
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(row, L"..RRR...");
}

TEST_F(Reader, SpatialNavigationFollowsTheRectanglesAndATabListAnswersItsSelectedTab) {
    IAccessible* client = Client();
    ASSERT_NE(client, nullptr);
    std::vector<Node> nodes = Walk(client);
    auto strip = std::find_if(nodes.begin(), nodes.end(), [](const Node& n) { return n.role == ROLE_SYSTEM_PAGETABLIST; });
    ASSERT_NE(strip, nodes.end());
    auto selected = [&] {
        VARIANT v;
        EXPECT_EQ(strip->object->get_accSelection(&v), S_OK);
        IAccessible* tab = ObjectOf(v);
        return tab ? AccessibleName(tab) : std::wstring(L"<none>");
    };
    EXPECT_EQ(selected(), L"Windows History");
    auto go = [&](const Node* from, LONG direction) {
        VARIANT v;
        HRESULT hr = from->object->accNavigate(direction, ChildId(CHILDID_SELF), &v);
        IAccessible* to = ObjectOf(v);
        return hr == S_OK && to ? AccessibleName(to) : std::wstring(L"<none>");
    };
    const Node* windows = Named(nodes, L"Windows History", ROLE_SYSTEM_PAGETAB);
    const Node* browser = Named(nodes, L"Browser History", ROLE_SYSTEM_PAGETAB);
    ASSERT_TRUE(windows && browser);
    EXPECT_EQ(go(windows, NAVDIR_RIGHT), L"Browser History");
    EXPECT_EQ(go(browser, NAVDIR_LEFT), L"Windows History");
    EXPECT_EQ(go(windows, NAVDIR_LEFT), L"<none>") << "nothing lies left of the first tab";
    EXPECT_EQ(go(windows, NAVDIR_UP), L"<none>");

    ASSERT_EQ(browser->object->accDoDefaultAction(ChildId(CHILDID_SELF)), S_OK);
    EXPECT_EQ(selected(), L"Browser History");
    std::vector<Node> browserTabs = Walk(client);
    const Node* edge = Named(browserTabs, L"Microsoft Edge History", ROLE_SYSTEM_PAGETAB);
    ASSERT_NE(edge, nullptr);
    edge->object->accDoDefaultAction(ChildId(CHILDID_SELF));
    ui_test::Settle(20);
    std::vector<Node> boxes = Walk(client);
    const Node* cache = Named(boxes, L"Cache", ROLE_SYSTEM_CHECKBUTTON);
    const Node* password = Named(boxes, L"Password", ROLE_SYSTEM_CHECKBUTTON);
    ASSERT_TRUE(cache && password);
    EXPECT_EQ(go(cache, NAVDIR_DOWN), L"Password");
    EXPECT_EQ(go(password, NAVDIR_UP), L"Cache");
    VARIANT none;
    EXPECT_EQ(cache->object->get_accSelection(&none), DISP_E_MEMBERNOTFOUND) << "a box selects nothing";
}

TEST_F(Reader, AnObjectKeptAfterItsPageIsGoneAnswersGone) {
    IAccessible* client = Client();
    ASSERT_NE(client, nullptr);
    std::vector<Node> nodes = Walk(client);
    const Node* exit = Named(nodes, L"Exit", ROLE_SYSTEM_PUSHBUTTON);
    ASSERT_NE(exit, nullptr);
    static const char kOther[] = "<html><body><p>another page</p></body></html>";
    HTMLayoutLoadHtml(window.hwnd(), reinterpret_cast<const unsigned char*>(kOther), sizeof kOther - 1);
    BSTR name = nullptr;
    EXPECT_EQ(exit->object->get_accName(ChildId(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(exit->object->accDoDefaultAction(ChildId(CHILDID_SELF)), CO_E_OBJNOTCONNECTED);
    LONG count = 0;
    EXPECT_EQ(client->get_accChildCount(&count), CO_E_OBJNOTCONNECTED) << "the old page's client object too";
    IAccessible* fresh = Client();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 0) << "a paragraph is read through its window, not as a control";
}

// A client-area WinEvent as an out-of-context hook in this process sees it.
struct SeenEvent {
    DWORD event;
    HWND hwnd;
    LONG child;
};
std::vector<SeenEvent> gEvents;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) gEvents.push_back({event, hwnd, child});
}

// The client-area events from `first` to `last` that this process raises while `act` runs, and in the
// `settleMs` after it.
std::vector<SeenEvent> EventsDuring(DWORD first, DWORD last, const std::function<void()>& act, DWORD settleMs = 200) {
    gEvents.clear();
    HWINEVENTHOOK hook =
        SetWinEventHook(first, last, nullptr, OnEvent, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    EXPECT_NE(hook, nullptr);
    act();
    ui_test::Settle(settleMs);
    if (hook) UnhookWinEvent(hook);
    return gEvents;
}

TEST_F(Reader, AnOutOfContextHookSeesTheFocusMoveOnTabAndTheEventNamesTheControl) {
    const std::vector<SeenEvent> focusEvents = EventsDuring(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, [&] {
        Focus();
        window.Key(VK_TAB);
        window.Key(VK_TAB);
    });
    ASSERT_GE(focusEvents.size(), 2u);
    EXPECT_EQ(focusEvents.back().hwnd, window.hwnd());
    IAccessible* object = nullptr;
    VARIANT child;
    ASSERT_EQ(AccessibleObjectFromEvent(window.hwnd(), static_cast<DWORD>(OBJID_CLIENT), focusEvents.back().child,
                                        &object, &child),
              S_OK);
    ASSERT_NE(object, nullptr);
    held.push_back(object);
    BSTR name = nullptr;
    ASSERT_EQ(object->get_accName(child, &name), S_OK);
    EXPECT_STREQ(name, L"Move to Tray") << "the second stop";
    SysFreeString(name);
    VARIANT focus;
    IAccessible* client = Client();
    ASSERT_EQ(client->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.vt, VT_DISPATCH);
    if (focus.vt == VT_DISPATCH) focus.pdispVal->Release();
}

TEST_F(Reader, StateAndNameChangesAreAnnouncedForTheElementThatChanged) {
    const std::vector<SeenEvent> changes = EventsDuring(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_VALUECHANGE, [&] {
        htmlayout::SetStates(window.Find(L"clip_board"), STATE_CHECKED, 0);
        htmlayout::SetText(window.Find(L"pannel_guide_text"),
                           L"Select \"Browser History\" options you want to clean...");
    });
    auto nameOf = [&](DWORD event) {
        for (const SeenEvent& seen : changes) {
            if (seen.event != event) continue;
            IAccessible* object = nullptr;
            VARIANT id;
            if (AccessibleObjectFromEvent(window.hwnd(), static_cast<DWORD>(OBJID_CLIENT), seen.child, &object,
                                          &id) != S_OK)
                return std::wstring(L"<no object>");
            held.push_back(object);
            BSTR name = nullptr;
            object->get_accName(id, &name);
            std::wstring text = name ? name : L"";
            SysFreeString(name);
            return text;
        }
        return std::wstring(L"<no event>");
    };
    EXPECT_EQ(nameOf(EVENT_OBJECT_STATECHANGE), L"Clipboard");
    EXPECT_EQ(nameOf(EVENT_OBJECT_NAMECHANGE), L"Select \"Browser History\" options you want to clean...");
}

TEST(ProgressReader, TheProgressBarReadsItsValueAsAPercentage) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        ui_test::PageWindow dialog{117, RECT{60, 60, 500, 484}};
        HTMLayoutSetAttributeByName(dialog.Find(L"progress_bar"), "value", L"80");
        IAccessible* client = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(dialog.hwnd(), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                             reinterpret_cast<void**>(&client)),
                  S_OK);
        VARIANT target;
        IAccessible* bar = nullptr;
        LONG count = 0;
        client->get_accChildCount(&count);
        for (LONG i = 1; i <= count && !bar; ++i) {
            VARIANT role;
            if (client->get_accRole(ChildId(i), &role) == S_OK && role.lVal == ROLE_SYSTEM_PROGRESSBAR) {
                target = ChildId(i);
                bar = client;
            }
        }
        ASSERT_NE(bar, nullptr);
        const std::vector<SeenEvent> changes = EventsDuring(
            EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE,
            [&] { HTMLayoutSetAttributeByName(dialog.Find(L"progress_bar"), "value", L"81"); }, 100);
        EXPECT_EQ(changes.size(), 1u) << "a new value is announced";
        BSTR value = nullptr;
        EXPECT_EQ(bar->get_accValue(target, &value), S_OK);
        EXPECT_STREQ(value, L"81%");
        SysFreeString(value);
        client->Release();
    }
    CoUninitialize();
}

} // namespace
