#include "engine_window.h"
#include "support/test_folder.h"

#include <gtest/gtest.h>

#include <thread>

#include <string>
#include <vector>

namespace {

using engine_test::EngineWindow;

// Records behavior events as "id:code" in the bubbling phase; handles the codes listed.
struct EventSink {
    std::vector<std::wstring> seen;
    std::vector<unsigned> handles;
    unsigned sinking = 0;

    static int HLCALL Proc(void* tag, HELEMENT, unsigned group, void* params) {
        auto& self = *static_cast<EventSink*>(tag);
        if (group != HANDLE_BEHAVIOR_EVENT) return 0;
        auto& p = *static_cast<HL_BEHAVIOR_EVENT_PARAMS*>(params);
        if (p.cmd & SINKING) {
            ++self.sinking;
            return 0;
        }
        const wchar_t* id = nullptr;
        HTMLayoutGetAttributeByName(p.target, "id", &id);
        self.seen.push_back(std::wstring(id ? id : L"?") + L":" + std::to_wstring(p.cmd));
        for (unsigned h : self.handles)
            if (h == p.cmd) return 1;
        return 0;
    }
};

TEST(WindowApi, LoadDataIsAskedForEveryImageByTheNameThePageUses) {
    EngineWindow window;
    window.Load("<style>#a { background: url(tab-bg.png) } #b { background-image: url(TAB-BG.png) }</style>"
                "<img src=logo.png><div id=a></div><div id=b></div><img src=logo.png>",
                L"");
    EXPECT_EQ(window.loadRequests, (std::vector<std::wstring>{L"logo.png", L"tab-bg.png", L"TAB-BG.png"}));
}

TEST(WindowApi, AttachBehaviorIsAskedForNamedBehaviors) {
    EngineWindow window;
    EventSink tabs;
    window.behaviors["tabs"] = {EventSink::Proc, &tabs};
    window.Load("<style>.tabs { behavior:tabs }</style><div class=tabs id=t><b id=in>x</b></div>"
                "<a href=# id=l>link</a><div style='behavior: other'></div>");
    EXPECT_EQ(window.behaviorRequests, (std::vector<std::string>{"tabs", "other"}))
        << "built-in names (the link's hyperlink) are the engine's own";
    int handled = 0;
    HTMLayoutSendEvent(window.Find("#in"), 0x92, nullptr, 0, &handled);
    EXPECT_EQ(tabs.seen, (std::vector<std::wstring>{L"in:146"}));
    HL_SCRIPT_PARAMS call{METHOD_SCRIPT_CALL, "select", nullptr, 0, {}};
    EXPECT_EQ(HTMLayoutCallBehaviorMethod(window.Find("#t"), reinterpret_cast<HL_METHOD_PARAMS*>(&call)),
              HL_NOT_HANDLED);
}

TEST(WindowApi, WindowHandlersSeeEventsSinkingAndBubblingAndPostedOnesInOrder) {
    EngineWindow window;
    window.Load("<div id=outer><span id=inner>x</span></div>");
    EventSink sink;
    ASSERT_EQ(HTMLayoutWindowAttachEventHandler(window.Hwnd(), EventSink::Proc, &sink, HANDLE_ALL), HL_OK);
    HELEMENT inner = window.Find("#inner");
    int handled = 1;
    HTMLayoutSendEvent(inner, BUTTON_CLICK, nullptr, 0, &handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(sink.sinking, 1u);
    HTMLayoutPostEvent(inner, ELEMENT_COLLAPSED, inner, 0);
    HTMLayoutPostEvent(window.Find("#outer"), ELEMENT_EXPANDED, window.Find("#outer"), 0);
    EXPECT_EQ(sink.seen.size(), 1u) << "posted events wait";
    HTMLayoutDeliverPostedEvents(window.Hwnd());
    EXPECT_EQ(sink.seen, (std::vector<std::wstring>{L"inner:0", L"inner:144", L"outer:145"}));

    sink.handles = {BUTTON_CLICK};
    HTMLayoutSendEvent(inner, BUTTON_CLICK, nullptr, 0, &handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(HTMLayoutWindowDetachEventHandler(window.Hwnd(), EventSink::Proc, &sink), HL_OK);
    HTMLayoutSendEvent(inner, BUTTON_CLICK, nullptr, 0, &handled);
    EXPECT_EQ(sink.seen.size(), 4u);
    EXPECT_EQ(HTMLayoutWindowDetachEventHandler(window.Hwnd(), EventSink::Proc, &sink), HL_INVALID_PARAMETER);
}

// Releases the window's page from inside a handler, as a dialog closed from its own button would.
struct Closer {
    HWND hwnd;
    static int HLCALL Proc(void* tag, HELEMENT, unsigned group, void*) {
        if (group == HANDLE_BEHAVIOR_EVENT) HTMLayoutReleaseWindow(static_cast<Closer*>(tag)->hwnd);
        return 0;
    }
};

TEST(WindowApi, APageReleasedDuringItsOwnDispatchIsNoCrash) {
    EngineWindow window;
    window.Load("<div id=a><b id=b>x</b></div>");
    Closer closer{window.Hwnd()};
    HTMLayoutWindowAttachEventHandler(window.Hwnd(), Closer::Proc, &closer, HANDLE_ALL);
    HELEMENT b = window.Find("#b");
    HTMLayoutAttachEventHandler(b, Closer::Proc, &closer);
    HTMLayoutPostEvent(b, 0x91, b, 0);
    int handled = 0;
    EXPECT_EQ(HTMLayoutSendEvent(b, BUTTON_CLICK, nullptr, 0, &handled), HL_OK);
    HELEMENT root = reinterpret_cast<HELEMENT>(1);
    EXPECT_EQ(HTMLayoutGetRootElement(window.Hwnd(), &root), HL_INVALID_WINDOW);
    EXPECT_EQ(HTMLayoutSetElementState(b, 0x80, 0, TRUE), HL_INVALID_HANDLE);
}

TEST(WindowApi, LoadFileAsksTheProgramFirstThenReadsTheFile) {
    testing_support::TestFolder folder;
    std::wstring path = folder.Write(L"page.html", "<p id=p>from file</p><img src=pic.png>");
    EngineWindow window;
    ASSERT_TRUE(HTMLayoutLoadFile(window.Hwnd(), path.c_str()));
    EXPECT_NE(window.Find("#p"), nullptr);
    ASSERT_EQ(window.loadRequests.size(), 2u);
    EXPECT_EQ(window.loadRequests[0], path);
    EXPECT_EQ(window.loadRequests[1], folder.Path() + L"\\pic.png");

    window.answers[L"res:page"] = "<p id=q>from the program</p>";
    ASSERT_TRUE(HTMLayoutLoadFile(window.Hwnd(), L"res:page"));
    EXPECT_NE(window.Find("#q"), nullptr);
    EXPECT_FALSE(HTMLayoutLoadFile(window.Hwnd(), L"C:\\no\\such\\page.html"));
}

// A script method that calls itself again on its element, as a behavior calling into another might.
int HLCALL SelfCaller(void* tag, HELEMENT he, unsigned group, void* params) {
    if (group != HANDLE_METHOD_CALL) return 0;
    ++*static_cast<int*>(tag);
    HTMLayoutCallBehaviorMethod(he, static_cast<HL_METHOD_PARAMS*>(params));
    return 1;
}

TEST(WindowApi, ScriptCallCyclesEnd) {
    EngineWindow window;
    window.Load("<div id=a></div>");
    int calls = 0;
    HTMLayoutAttachEventHandlerEx(window.Find("#a"), SelfCaller, &calls, HANDLE_METHOD_CALL);
    HL_SCRIPT_PARAMS call{METHOD_SCRIPT_CALL, "select", nullptr, 0, {}};
    EXPECT_EQ(HTMLayoutCallBehaviorMethod(window.Find("#a"), reinterpret_cast<HL_METHOD_PARAMS*>(&call)), HL_OK);
    EXPECT_GT(calls, 1);
    EXPECT_LE(calls, 64);
}

TEST(WindowApi, AWorkerThreadMayChangeStatesWhileThePageIsInUse) {
    EngineWindow window;
    window.Load("<style>button:disabled { color: gray } .x { color: red }</style>"
                "<div id=list><button id=btn_Clean>Clean</button></div>");
    HELEMENT button = window.Find("#btn_Clean");
    HELEMENT list = window.Find("#list");
    std::thread worker([button] {
        for (int i = 0; i < 3000; ++i) HTMLayoutSetElementState(button, i % 2 ? 0x80 : 0, i % 2 ? 0 : 0x80, TRUE);
    });
    for (int i = 0; i < 3000; ++i) {
        HTMLayoutSetAttributeByName(list, "class", i % 2 ? L"x" : nullptr);
        int handled = 0;
        HTMLayoutSendEvent(button, BUTTON_CLICK, nullptr, 0, &handled);
        const char html[] = "<span>t</span>";
        if (i % 100 == 0) HTMLayoutSetElementHtml(window.Find("#list"), reinterpret_cast<const unsigned char*>(html), 14);
    }
    worker.join();
    EXPECT_NE(window.Root(), nullptr);
}

TEST(WindowApi, BadArgumentsAreRefused) {
    EXPECT_EQ(HTMLayoutGetRootElement(reinterpret_cast<HWND>(0x1234), nullptr), HL_INVALID_PARAMETER);
    HELEMENT root = nullptr;
    EXPECT_EQ(HTMLayoutGetRootElement(reinterpret_cast<HWND>(0x1234), &root), HL_INVALID_WINDOW);
    EXPECT_FALSE(HTMLayoutDataReady(reinterpret_cast<HWND>(0x1234), L"x", nullptr, 0));
    EngineWindow window;
    EXPECT_FALSE(HTMLayoutLoadHtml(window.Hwnd(), nullptr, 10));
    EXPECT_TRUE(HTMLayoutLoadHtml(window.Hwnd(), nullptr, 0));
    EXPECT_NE(window.Root(), nullptr) << "an empty page still has its root";
}

} // namespace
