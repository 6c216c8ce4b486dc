#include "engine/css/selector_matcher.h"
#include "engine/dom/utf.h"
#include "engine_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace engine;
using engine_test::Page;

constexpr char kPage[] = R"(
<body id=body>
  <div id=tabs class="tabs main">
    <div id=strip class=strip>
      <span id=t1 panel=one selected>One</span>
      <span id=t2 panel="two words">Two</span>
      <span id=t3 panel='three'>Three</span>
    </div>
    <div id=p1 name=one>first</div>
    <div id=p2 name="two words">second</div>
  </div>
  <input id=box type=checkbox name=item>
  <a id=link href="#">link</a>
  <p id=lang lang=en-GB data-x="alpha beta">text</p>
</body>)";

std::string Ids(const Page& page, std::string_view selector, const Element* scope = nullptr) {
    auto list = ParseSelectorList(selector);
    if (!list) return "invalid";
    std::string ids;
    SelectElements(scope ? *scope : page.Doc().Root(), *list, [&](Element& e) {
        if (const std::u16string* id = e.Id()) {
            if (!ids.empty()) ids += ' ';
            ids += Utf16ToUtf8(*id);
        }
        return false;
    });
    return ids;
}

TEST(Selectors, MatchTheElementsOfAPage) {
    Page page(kPage);
    struct Case {
        const char* selector;
        const char* ids;
    } cases[] = {
        {"span", "t1 t2 t3"},
        {"*#t2", "t2"},
        {".strip", "strip"},
        {".tabs.main", "tabs"},
        {".tabs.other", ""},
        {"[panel]", "t1 t2 t3"},
        {"[panel=one]", "t1"},
        {"[panel='three']", "t3"},
        {"[panel=\"two words\"]", "t2"},
        {"[name='item']", "box"},
        {"[type='checkbox'][name='item']", "box"},
        {"[data-x~=beta]", "lang"},
        {"[lang|=en]", "lang"},
        {"[panel^=tw]", "t2"},
        {"[panel$=ree]", "t3"},
        {"[panel*=wor]", "t2"},
        {"[PANEL=one]", "t1"},
        {"[panel=One]", ""},
        {"div > span", "t1 t2 t3"},
        {"body span", "t1 t2 t3"},
        {"body > span", ""},
        {"#t1 + span", "t2"},
        {"#t1 ~ span", "t2 t3"},
        {"span:first-child", "t1"},
        {"span:last-child", "t3"},
        {".tabs > [name]", "p1 p2"},
        {".tabs>.strip>[panel][selected]", "t1"},
        {"#p1, #t3, #nothing", "t3 p1"},
        {"div div span", "t1 t2 t3"},
        {"p div", ""},
        {":root", ""},
        {"a:link", "link"},
        {"input:enabled", "box"},
    };
    for (const Case& c : cases) EXPECT_EQ(Ids(page, c.selector), c.ids) << c.selector;
}

TEST(Selectors, RootMeansTheScopeOfAQuery) {
    Page page(kPage);
    Element& tabs = page.Find("#tabs");
    EXPECT_EQ(Ids(page, ":root>.strip>[panel]", &tabs), "t1 t2 t3");
    EXPECT_EQ(Ids(page, ":root>[name]", &tabs), "p1 p2");
    EXPECT_EQ(Ids(page, ":root > span", &tabs), "");
    // In a style sheet :root is the document's root element.
    EXPECT_TRUE(Matches(*ParseSelectorList(":root"), page.Doc().Root(), MatchContext{&page.Doc(), nullptr}));
}

TEST(Selectors, StatesChangeWhatMatches) {
    Page page(kPage);
    Element& t2 = page.Find("#t2");
    Element& p2 = page.Find("#p2");
    EXPECT_EQ(Ids(page, ":current"), "");
    t2.ChangeStates(STATE_CURRENT, 0);
    p2.ChangeStates(STATE_EXPANDED, 0);
    EXPECT_EQ(Ids(page, ".strip>[panel]:current"), "t2");
    EXPECT_EQ(Ids(page, "[name]:expanded"), "p2");
    p2.ChangeStates(STATE_COLLAPSED, 0);
    EXPECT_EQ(Ids(page, ":expanded"), "") << "collapsing ends the expanded state";
    EXPECT_EQ(Ids(page, ":collapsed"), "p2");

    page.Find("#box").ChangeStates(STATE_CHECKED | STATE_DISABLED, 0);
    EXPECT_EQ(Ids(page, ":checked"), "box");
    EXPECT_EQ(Ids(page, "input:disabled"), "box");
    EXPECT_EQ(Ids(page, "input:enabled"), "");

    // Hover and active hold for the element and its ancestors; focus for the element only.
    page.Doc().SetHover(&t2);
    EXPECT_EQ(Ids(page, "div:hover"), "tabs strip");
    EXPECT_EQ(Ids(page, "span:hover"), "t2");
    page.Doc().SetFocus(&page.Find("#strip"));
    EXPECT_EQ(Ids(page, ":focus"), "strip");
    page.Doc().SetActive(&t2);
    EXPECT_EQ(Ids(page, "#tabs:active"), "tabs");
}

TEST(Selectors, InvalidSelectorsAreRefused) {
    for (const char* bad : {"", "div >", "> div", "a,,b", "[x", "[x=]", "[=x]", "p::before", ":nth-child(2)",
                            ":unknown", "#", ".", "a ! b", "[x='a' junk]", "div{"}) {
        EXPECT_FALSE(ParseSelectorList(bad).has_value()) << bad;
    }
}

TEST(Selectors, SpecificityCountsIdsThenClassesThenTypes) {
    struct Case {
        const char* selector;
        Specificity specificity;
    } cases[] = {
        {"*", {0, 0, 0}},
        {"li", {0, 0, 1}},
        {"ul li", {0, 0, 2}},
        {".a", {0, 1, 0}},
        {"[x]:hover", {0, 2, 0}},
        {"div.a.b > span", {0, 2, 2}},
        {"#id", {1, 0, 0}},
        {"#id .a li:first-child", {1, 2, 1}},
    };
    for (const Case& c : cases) {
        auto list = ParseSelectorList(c.selector);
        ASSERT_TRUE(list) << c.selector;
        EXPECT_EQ(list->front().specificity, c.specificity) << c.selector;
    }
}

TEST(Selectors, LongDescendantChainsOnDeepTreesStayFast) {
    std::string html;
    for (int i = 0; i < 200; ++i) html += "<div class=a>";
    Page page(html);
    // A selector that nearly matches everywhere: without early failure this is exponential.
    std::string selector;
    for (int i = 0; i < 20; ++i) selector += ".a ";
    selector += ".b";
    EXPECT_EQ(Ids(page, selector), "");
}

} // namespace
