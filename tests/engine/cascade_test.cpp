#include "engine/css/computed_style.h"
#include "engine/css/style_sheet.h"
#include "engine_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace engine;
using engine_test::Page;

std::string Css(const Element& e, PropertyId id) { return e.Style()->Get(id).ToCss(); }

TEST(Cascade, SpecificityThenOrderThenImportance) {
    Page page(R"(<style>
        p { color: red }
        .c { color: green }
        p { color: blue }
        #i { color: #123456 }
        .imp { color: lime !important }
        #i.imp { color: navy }
        div p { margin-left: 5px }
        p { margin-left: 9px }
    </style>
    <p id=a>a</p><p id=b class=c>b</p><p id=i class=c>i</p><p id=j class="imp" style="color: white">j</p>
    <p id=k class=imp style="color: white !important">k</p>
    <div><p id=nested>n</p></div>)");
    EXPECT_EQ(Css(page.Find("#a"), PropertyId::Color), "#0000ff");
    EXPECT_EQ(Css(page.Find("#b"), PropertyId::Color), "#008000");
    EXPECT_EQ(Css(page.Find("#i"), PropertyId::Color), "#123456");
    EXPECT_EQ(Css(page.Find("#j"), PropertyId::Color), "#00ff00") << "important beats the style attribute";
    EXPECT_EQ(Css(page.Find("#k"), PropertyId::Color), "#ffffff") << "an important style attribute wins";
    EXPECT_EQ(Css(page.Find("#nested"), PropertyId::MarginLeft), "5px") << "more specific, though earlier";
}

TEST(Cascade, InheritanceAndRelativeUnits) {
    Page page(R"(<style>
        body { font-size: 20px; color: rgb(10, 20, 30); line-height: 150%; border-color: red }
        div { font-size: 1.5em; padding: 0.5em 2px; width: 50%; border: 2px solid }
        span { font-size: smaller; color: inherit; margin: inherit; border-top-color: currentColor }
        em { font: italic bold 10pt/2 "DejaVu Sans", serif }
    </style>
    <body><div id=d><span id=s>x</span><em id=e>y</em></div><i id=plain>z</i></body>)");
    Element& d = page.Find("#d");
    EXPECT_EQ(Css(d, PropertyId::FontSize), "30px");
    EXPECT_EQ(Css(d, PropertyId::PaddingTop), "15px");
    EXPECT_EQ(Css(d, PropertyId::PaddingLeft), "2px");
    EXPECT_EQ(Css(d, PropertyId::Width), "50%");
    EXPECT_EQ(Css(d, PropertyId::Color), "#0a141e") << "inherited";
    EXPECT_EQ(Css(d, PropertyId::LineHeight), "30px") << "percent of the font size, computed where declared";
    EXPECT_EQ(Css(d, PropertyId::BorderLeftWidth), "2px");
    EXPECT_EQ(Css(d, PropertyId::BorderLeftColor), "#0a141e") << "border colour defaults to the text colour";
    Element& s = page.Find("#s");
    EXPECT_EQ(Css(s, PropertyId::FontSize), "25px");
    EXPECT_EQ(Css(s, PropertyId::MarginLeft), "0px") << "inherit takes the parent's computed value";
    EXPECT_EQ(Css(s, PropertyId::BorderTopWidth), "0px") << "no border style, no width";
    Element& e = page.Find("#e");
    EXPECT_EQ(Css(e, PropertyId::FontStyle), "italic");
    EXPECT_EQ(Css(e, PropertyId::FontWeight), "700");
    EXPECT_NEAR(e.Style()->FontSize(), 13.333, 0.01);
    EXPECT_EQ(Css(e, PropertyId::LineHeight), "2");
    EXPECT_EQ(Css(e, PropertyId::FontFamily), "DejaVu Sans, serif");
    EXPECT_EQ(Css(page.Find("#plain"), PropertyId::FontStyle), "italic") << "from the user-agent sheet";
    EXPECT_EQ(Css(page.Find("#plain"), PropertyId::Display), "inline");
    EXPECT_EQ(Css(d, PropertyId::Display), "block");
}

TEST(Cascade, InvalidAndUnknownDeclarationsAreDropped) {
    Page page(R"(<style>
        #a { color: green; color: nonsense; width: -5px; height: 10px; fancy-thing: 3; margin: 1px 2px 3px 4px 5px }
        #a { background: url(img/back.png) no-repeat right top #fff }
        @media print { #a { color: red } }
        #a { padding: 3px; }} #b { color: red }
        #a:unknown, #a { color: red }
        #a { border: 1px solid red; border-left: none }
    </style><div id=a></div><div id=b></div>)");
    Element& a = page.Find("#a");
    EXPECT_EQ(Css(a, PropertyId::Color), "#008000");
    EXPECT_EQ(Css(a, PropertyId::Width), "auto");
    EXPECT_EQ(Css(a, PropertyId::Height), "10px");
    EXPECT_EQ(Css(a, PropertyId::MarginTop), "0px");
    EXPECT_EQ(Css(a, PropertyId::PaddingRight), "3px");
    EXPECT_EQ(Css(a, PropertyId::BackgroundImage), "url(img/back.png)");
    EXPECT_EQ(Css(a, PropertyId::BackgroundRepeat), "no-repeat");
    EXPECT_EQ(Css(a, PropertyId::BackgroundPositionX), "100%");
    EXPECT_EQ(Css(a, PropertyId::BackgroundPositionY), "0%");
    EXPECT_EQ(Css(a, PropertyId::BackgroundColor), "#ffffff");
    EXPECT_EQ(Css(a, PropertyId::BorderTopWidth), "1px");
    EXPECT_EQ(Css(a, PropertyId::BorderLeftWidth), "0px");
    EXPECT_EQ(Css(page.Find("#b"), PropertyId::Color), "#ff0000") << "a stray brace does not swallow the next rule";
}

TEST(Cascade, RuntimeStyleOverridesEverything) {
    Page page(R"(<style>#a { display: block !important }</style><div id=a style="display:inline !important"></div>)");
    Element& a = page.Find("#a");
    std::u16string none = u"none";
    a.SetRuntimeStyle("display", &none);
    Invalidation change = page.view.UpdateStyle();
    EXPECT_TRUE(a.Style()->DisplayNone());
    EXPECT_TRUE(change.rebuild);
    a.SetRuntimeStyle("display", nullptr);
    page.view.UpdateStyle();
    EXPECT_EQ(Css(a, PropertyId::Display), "inline");
}

TEST(Cascade, StateChangesRestyleOnlyWhatSelectorsLookAt) {
    Page page(R"(<style>
        .tabs > [name] { display: none }
        .tabs > [name]:expanded { display: block }
        .btn { color: black } .btn:hover { color: red } .btn:hover span { color: blue }
    </style>
    <div class=tabs><div id=p name=one></div></div><div class=btn id=b><span id=s>x</span></div><p id=q></p>)");
    Element& p = page.Find("#p");
    EXPECT_TRUE(p.Style()->DisplayNone());
    p.ChangeStates(STATE_EXPANDED, 0);
    Invalidation change = page.view.UpdateStyle();
    EXPECT_FALSE(p.Style()->DisplayNone());
    EXPECT_TRUE(change.relayout);

    page.Doc().SetHover(&page.Find("#s"));
    change = page.view.UpdateStyle();
    EXPECT_EQ(Css(page.Find("#b"), PropertyId::Color), "#ff0000");
    EXPECT_EQ(Css(page.Find("#s"), PropertyId::Color), "#0000ff");
    EXPECT_TRUE(change.repaint);
    EXPECT_FALSE(change.relayout) << "a colour change only repaints";

    // No selector looks at :checked, so checking changes nothing at all.
    page.Find("#q").ChangeStates(STATE_CHECKED, 0);
    EXPECT_FALSE(page.Find("#q").StyleDirty());
    EXPECT_FALSE(page.view.UpdateStyle().Any());
}

// Hover, press and focus restyle the elements whose state changed, never what else they hold: a press on
// one box of a page restyled the whole page before.
TEST(Cascade, HoverPressAndFocusRestyleTheChainNotWhatItHolds) {
    Page page(R"(<style>
        i:active { color: green } b:hover { color: red } i:focus { color: blue } .card:hover .note { color: gray }
    </style>
    <div id=page><div id=panel><div id=row><i id=box>x</i><b id=label>y</b></div><p id=other>z</p></div>
    <div id=side><b id=far>w</b></div><div class=card id=card><em class=note id=note>n</em></div></div>)");
    const ComputedStyle* other = page.Find("#other").Style();
    const ComputedStyle* far = page.Find("#far").Style();

    page.Doc().SetActive(&page.Find("#box"));
    EXPECT_TRUE(page.Find("#page").StyleDirty()) << "the whole chain is pressed";
    EXPECT_FALSE(page.Find("#page").SubtreeStyleDirty());
    EXPECT_FALSE(page.Find("#other").StyleDirty());
    EXPECT_FALSE(page.Find("#side").StyleDirty());
    page.view.UpdateStyle();
    EXPECT_EQ(Css(page.Find("#box"), PropertyId::Color), "#008000");
    EXPECT_EQ(page.Find("#far").Style(), far);

    page.Doc().SetActive(nullptr);
    page.Doc().SetHover(&page.Find("#far"));
    page.view.UpdateStyle();
    EXPECT_EQ(Css(page.Find("#box"), PropertyId::Color), "#000000") << "released";
    EXPECT_EQ(Css(page.Find("#far"), PropertyId::Color), "#ff0000");

    page.Doc().SetHover(&page.Find("#box"));
    EXPECT_FALSE(page.Find("#page").StyleDirty()) << "it stays under the mouse";
    EXPECT_TRUE(page.Find("#far").StyleDirty()) << "left";
    EXPECT_TRUE(page.Find("#panel").StyleDirty()) << "entered";
    EXPECT_FALSE(page.Find("#panel").SubtreeStyleDirty());
    EXPECT_FALSE(page.Find("#label").StyleDirty());
    page.view.UpdateStyle();
    EXPECT_EQ(Css(page.Find("#far"), PropertyId::Color), "#000000");

    page.Doc().SetHover(&page.Find("#card"));
    EXPECT_TRUE(page.Find("#card").SubtreeStyleDirty()) << "a selector looks through the card's hover";
    page.view.UpdateStyle();
    EXPECT_EQ(Css(page.Find("#note"), PropertyId::Color), "#808080");

    page.Doc().SetFocus(&page.Find("#box"));
    EXPECT_TRUE(page.Find("#box").StyleDirty());
    EXPECT_FALSE(page.Find("#row").StyleDirty());
    page.view.UpdateStyle();
    EXPECT_EQ(Css(page.Find("#box"), PropertyId::Color), "#0000ff");
    EXPECT_EQ(page.Find("#other").Style(), other) << "no change reached it";
}

// A state or attribute change restyles the element; its descendants only where a selector looks through
// what changed or what they inherit changed, and its later siblings only where a selector joins it with + or
// ~.
TEST(Cascade, ChangesReachDescendantsAndSiblingsOnlyThroughSelectors) {
    Page page(R"(<style>
        .card:expanded ~ .strip > .item { color: red }
        .box:checked .inner { color: green }
        .box:current { margin-left: 7px }
        .box:disabled { font-weight: bold }
        .inner { margin-left: inherit }
        [open] > i { color: blue }
    </style>
    <p id=before></p><div class=card id=c></div><div class=strip id=strip><span class=item id=i>x</span></div>
    <div class=box id=b><span class=inner id=in>y</span><i id=plain>z</i></div>)");
    Element& card = page.Find("#c");
    card.ChangeStates(STATE_EXPANDED, 0);
    EXPECT_FALSE(page.Find("#before").StyleDirty()) << "an earlier sibling cannot see the card";
    EXPECT_TRUE(page.Find("#strip").SubtreeStyleDirty());
    page.view.UpdateStyle();
    EXPECT_EQ(Css(page.Find("#i"), PropertyId::Color), "#ff0000");

    Element& box = page.Find("#b");
    box.ChangeStates(STATE_CHECKED, 0);
    EXPECT_TRUE(box.SubtreeStyleDirty()) << ":checked is looked at through the box";
    page.view.UpdateStyle();
    EXPECT_EQ(Css(page.Find("#in"), PropertyId::Color), "#008000");

    const ComputedStyle* plainBefore = page.Find("#plain").Style();
    box.ChangeStates(STATE_CURRENT, 0);
    EXPECT_FALSE(box.SubtreeStyleDirty()) << ":current is the box's own";
    page.view.UpdateStyle();
    EXPECT_EQ(Css(page.Find("#in"), PropertyId::MarginLeft), "7px")
        << "an explicit inherit follows the parent";
    EXPECT_EQ(page.Find("#plain").Style(), plainBefore) << "nothing it inherits or matches changed";
    box.ChangeStates(STATE_DISABLED, 0);
    page.view.UpdateStyle();
    EXPECT_EQ(Css(page.Find("#plain"), PropertyId::FontWeight), "700") << "an inherited property follows";

    box.SetAttribute("title", u"t");
    EXPECT_FALSE(box.StyleDirty()) << "no selector tests the attribute";
    box.SetAttribute("open", u"");
    EXPECT_TRUE(page.Find("#b").SubtreeStyleDirty()) << "[open] is looked at through the box";
    page.view.UpdateStyle();
    EXPECT_EQ(Css(page.Find("#plain"), PropertyId::Color), "#0000ff");
}

TEST(Cascade, ParsesPropertyValuesLikeTheProgramSetsThem) {
    std::vector<Declaration> out;
    EXPECT_TRUE(ParsePropertyValue("display", "block", out));
    EXPECT_TRUE(ParsePropertyValue("DISPLAY", "None", out));
    EXPECT_FALSE(ParsePropertyValue("display", "sideways", out));
    EXPECT_FALSE(ParsePropertyValue("no-such-property", "1", out));
    EXPECT_TRUE(ParsePropertyValue("behavior", "tabs", out));
    EXPECT_EQ(out.back().value.text, "tabs");
    EXPECT_TRUE(ParsePropertyValue("color", "#abc", out));
    EXPECT_EQ(out.back().value.color, 0xFFAABBCCu);
    EXPECT_TRUE(ParsePropertyValue("color", "rgba(255, 0, 0, 0.5)", out));
    EXPECT_EQ(out.back().value.color, 0x80FF0000u);
    EXPECT_TRUE(ParsePropertyValue("width", "100", out)) << "unitless lengths are pixels";
}

TEST(Cascade, StyleElementsAddedLaterApply) {
    Page page("<div id=a></div><div id=holder></div>");
    page.Find("#holder").SetTextContent(u"ignored");
    Ref<Element> style(new Element("style"));
    style->SetTextContent(u"#a { width: 42px }");
    page.Find("#holder").AppendChild(Ref<Node>(style.Get()));
    page.view.UpdateStyle();
    EXPECT_EQ(Css(page.Find("#a"), PropertyId::Width), "42px");
    style->Detach();
    page.view.UpdateStyle();
    EXPECT_EQ(Css(page.Find("#a"), PropertyId::Width), "auto");
}

} // namespace
