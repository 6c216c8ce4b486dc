// A deterministic mutation run: tens of thousands of mangled pages and style sheets go through the parsers,
// the cascade, behaviors, queries and input. Nothing may crash, hang or leak handles.

#include "engine/css/selector_matcher.h"
#include "engine/css/style_sheet.h"
#include "engine/events/input.h"
#include "engine/html/html_parser.h"
#include "engine_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace engine;

constexpr char kSeedPage[] = R"(<html><head><style>
.tabs { behavior: tabs } .tabs > [name] { display:none } .tabs > [name]:expanded { display:block }
.strip > [panel]:current { background: url(tab-on.png) no-repeat; color: #fff }
#main_div { font: bold 12px/1.5 Tahoma, "DejaVu Sans"; border: 1px solid rgba(0,0,0,.5) }
input[type=checkbox]:checked + label { color: green } a:hover { text-decoration: underline }
</style></head><body id=body>
<div id=main_div class="tabs"><div class=strip><span panel=one selected id=t1>One &amp; all</span>
<span panel=two id=t2>Two</span></div><div name=one id=p1><input type=checkbox id=temp_files checked>
<label>Temp</label><progress id=bar max=100></progress></div><div name=two id=p2><a href="#" id=lnk>go</a>
<button id=btn role='default-button'>Clean</button><img src="logo.png"></div></div>
<!-- comment --><p style="margin:2px; color: red !important">text &lt;b&gt; &#x41;</p></body></html>)";

constexpr char kSeedSheet[] = R"(body { margin: 0; font-size: 12px; background: #fff url(bg.png) repeat-x 0 0 }
div > span.a[title='x y'], #id:hover ~ p { padding: 1px 2px 3px; border-top: 2px dashed blue !important }
@media screen { p { color: red } } .b:first-child:expanded { width: 50%; height: calc(1px) }
a[href^="http"]::after { content: "x" } ul li + li { font: italic 1.2em "Fancy Font", serif; z-index: 3 })";

// Characters that matter to the parsers, so that mutations hit their edge cases often.
constexpr char kAlphabet[] = "<>/=\"' \n&;#{}[]:.,()!-*+~@\\%x1aZ\x80\xC3\xFF\0";

class Mutator {
public:
    explicit Mutator(std::uint32_t seed) : state_(seed) {}

    std::uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    std::size_t Below(std::size_t n) { return n ? Next() % n : 0; }

    std::string Mangle(std::string text) {
        int edits = 1 + static_cast<int>(Below(6));
        for (int i = 0; i < edits; ++i) {
            std::size_t at = Below(text.size() + 1);
            std::size_t length = Below(std::min<std::size_t>(40, text.size() - at + 1));
            switch (Below(6)) {
            case 0: text.erase(at, length); break;
            case 1: text.insert(at, text.substr(Below(text.size()), length)); break;
            case 2: text.insert(at, 1, kAlphabet[Below(sizeof kAlphabet - 1)]); break;
            case 3:
                if (!text.empty()) text[Below(text.size())] = kAlphabet[Below(sizeof kAlphabet - 1)];
                break;
            case 4: text.resize(at); break;
            default: text.insert(at, std::string(Below(200), kAlphabet[Below(sizeof kAlphabet - 1)]));
            }
        }
        return text;
    }

private:
    std::uint32_t state_;
};

int HLCALL StateSetter(void*, HELEMENT he, unsigned group, void* params) {
    // A behavior that changes states at attach and on every click, as the tabs behavior does.
    if (group == HANDLE_INITIALIZATION && static_cast<HL_INITIALIZATION_PARAMS*>(params)->cmd == BEHAVIOR_ATTACH)
        HTMLayoutSetElementState(he, STATE_EXPANDED, 0, 1);
    if (group == HANDLE_MOUSE) HTMLayoutPostEvent(he, ELEMENT_EXPANDED, he, 0);
    return 0;
}

TEST(Mutation, MangledPagesAndSheetsNeverBreakTheEngine) {
    constexpr int kPages = 12000;
    constexpr int kSheets = 20000;
    auto start = std::chrono::steady_clock::now();
    Mutator m(0x5EED1234);
    engine_test::TestHost host;
    host.behaviors["tabs"] = {StateSetter, nullptr, HANDLE_ALL};
    host.answers[u"logo.png"] = "\x89PNG";
    const char* queries[] = {"[panel]", ":root > body", ".strip>[panel]:current", "#temp_files", "div div span"};

    std::size_t elementsSeen = 0;
    for (int i = 0; i < kPages; ++i) {
        std::string page = m.Mangle(kSeedPage);
        View view(host);
        view.LoadHtml(page, u"");
        Document& doc = *view.GetDocument();
        std::vector<Ref<Element>> all;
        SelectElements(doc.Root(), *ParseSelectorList("*"), [&](Element& e) {
            all.emplace_back(&e);
            return false;
        });
        elementsSeen += all.size();
        if (all.empty()) continue;
        Element& target = *all[m.Below(all.size())];
        HandleMouse(view, &target, {MOUSE_DOWN, 1, 1, MAIN_MOUSE_BUTTON, 0});
        HandleMouse(view, all[m.Below(all.size())].Get(), {MOUSE_UP, 1, 1, 0, 0});
        HandleKey(view, KEY_DOWN, 0x20, 0);
        all[m.Below(all.size())]->ChangeStates(STATE_CHECKED | STATE_CURRENT, STATE_DISABLED);
        if (i % 4 == 0) view.SetElementHtml(*all[m.Below(all.size())], m.Mangle(kSeedPage).substr(0, 300));
        auto selector = ParseSelectorList(queries[i % 5]);
        if (selector) SelectElements(doc.Root(), *selector, [](Element&) { return false; });
        view.UpdateStyle();
        view.DeliverPostedEvents();
    }
    for (int i = 0; i < kSheets; ++i) {
        auto sheet = ParseStyleSheet(m.Mangle(kSeedSheet));
        for (const StyleRule& rule : sheet->rules) {
            ASSERT_FALSE(rule.selectors.empty());
            ASSERT_TRUE(rule.block);
        }
        ParseDeclarations(m.Mangle("color: red; margin: 1px 2px; background: url(x.png) no-repeat"));
        ParseSelectorList(m.Mangle("div.tabs > [name='x']:expanded, #a + b ~ c"));
    }
    EXPECT_GT(elementsSeen, static_cast<std::size_t>(kPages) * 5) << "the mutations left pages to work on";
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("[ mutation ] %d pages, %d sheets in %.2f s\n", kPages, kSheets, seconds);
}

TEST(Mutation, HugeInputsStayBounded) {
    std::string nested;
    for (int i = 0; i < 20000; ++i) nested += "<div class=a><span>";
    std::string sheet;
    for (int i = 0; i < 2000; ++i) sheet += "div > span.a:hover, ";
    sheet += "p { color: red } ";
    for (int i = 0; i < 50000; ++i) sheet += "{[(";
    engine_test::TestHost host;
    View view(host);
    view.LoadHtml("<style>" + sheet + "</style>" + nested, u"");
    EXPECT_NE(view.GetDocument(), nullptr);
    EXPECT_GE(ParseStyleSheet(sheet)->rules.size(), 1u);
}

} // namespace
