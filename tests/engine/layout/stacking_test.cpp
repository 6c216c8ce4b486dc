#include "laid_page.h"

#include <gtest/gtest.h>

namespace {

using engine_test::Laid;

constexpr char kAbs[] = "position: absolute; width: 30px; height: 30px; ";

std::string Abs(const std::string& id, int left, int top, const std::string& more = "") {
    return "<div id=" + id + " style='" + kAbs + "left: " + std::to_string(left) + "px; top: " + std::to_string(top) +
           "px; " + more + "'></div>";
}

TEST(Stacking, ZIndexOrdersTheLayersOfAContext) {
    Laid l("<body><div id=ctx style='position: relative; height: 50px'>" + Abs("high", 10, 10, "z-index: 5; width: 20px; height: 20px") +
               Abs("low", 10, 10, "z-index: 2") + Abs("auto", 35, 0) + Abs("neg", 0, 40, "z-index: -1") +
               "<div id=flow style='height: 20px; width: 20px'></div></div></body>",
           200, 100);
    EXPECT_EQ(l.IdAt(15, 15), "high"); // above "low" though before it in the tree
    EXPECT_EQ(l.IdAt(35, 35), "low");
    EXPECT_EQ(l.IdAt(50, 5), "auto");
    EXPECT_EQ(l.IdAt(37, 15), "low"); // 2 over auto
    // Negative layers lie under the in-flow content and under "ctx", a positioned box with z-index auto.
    EXPECT_EQ(l.IdAt(5, 45), "ctx");
    EXPECT_EQ(l.IdAt(5, 65), "neg");
    EXPECT_EQ(l.IdAt(5, 5), "flow");
}

TEST(Stacking, AContextKeepsItsDescendantsTogether) {
    Laid l("<body>"
           "<div id=a style='" + std::string(kAbs) + "left: 0; top: 0; z-index: 1'>" + Abs("a100", 0, 0, "z-index: 100") + "</div>" +
           Abs("b", 10, 10, "z-index: 2") +
           // z-index auto: its child takes part in the root's order
           "<div id=rel style='position: relative; margin-top: 50px; height: 30px'>" + Abs("up", 0, 0, "z-index: 3") + "</div>" +
           Abs("sib", 10, 60, "z-index: 2") +
           // a context's negative child is above the context's own background
           "<div id=c style='" + std::string(kAbs) + "left: 100px; top: 0; z-index: 0'>" + Abs("cneg", 0, 0, "z-index: -1") + "</div>" +
           // z-index on a box that is not positioned changes nothing
           "<div id=static style='z-index: 9; width: 30px; height: 30px; margin-top: 20px'></div>" + Abs("over", 10, 110) +
           "</body>",
           200, 200);
    EXPECT_EQ(l.IdAt(15, 15), "b");
    EXPECT_EQ(l.IdAt(5, 5), "a100");
    EXPECT_EQ(l.IdAt(15, 65), "up");
    EXPECT_EQ(l.IdAt(35, 85), "sib");
    EXPECT_EQ(l.IdAt(105, 5), "cneg");
    EXPECT_EQ(l.IdAt(15, 115), "over");
    EXPECT_EQ(l.IdAt(5, 105), "static");
}

TEST(Stacking, APositionedInlineBlockInALineBesideBlocksIsALayer) {
    Laid l(R"(<body><div style="height: 10px"></div>x<span id=ib style="display: inline-block; position: relative;
      z-index: 1; width: 20px; height: 10px; left: -5px"></span><div id=after style="position: relative; margin-top: -5px; height: 10px"></div></body>)");
    EXPECT_EQ(l.IdAt(2, 13), "ib"); // moved over the "x"
    EXPECT_EQ(l.IdAt(10, 18), "ib"); // z-index 1 over the later box with auto
    EXPECT_EQ(l.IdAt(30, 18), "after");
}

TEST(Stacking, AutoAndZeroShareTreeOrderAndAChangedZIndexTakesEffectWithoutLayout) {
    Laid l("<body>" + Abs("zero", 0, 0, "z-index: 0") + Abs("auto", 10, 10) + Abs("auto2", 50, 0) +
           Abs("zero2", 60, 10, "z-index: 0") + "</body>");
    EXPECT_EQ(l.IdAt(15, 15), "auto");
    EXPECT_EQ(l.IdAt(65, 15), "zero2");
    l.page.Find("#zero").SetAttribute("style", std::u16string(u"position: absolute; width: 30px; height: 30px; left: 0; top: 0; z-index: 1"));
    l.page.view.UpdateStyle();
    EXPECT_FALSE(l.layout.Update(l.page.view.GetDocument(), 200, 100)); // a repaint, not a layout
    EXPECT_EQ(l.IdAt(15, 15), "zero");
}

TEST(Stacking, LayersInsideAScrolledBoxAreClippedAndScrolled) {
    Laid l(R"(<body><div id=list style="height: 20px; overflow: auto"><div style="height: 40px"></div>
      <div id=item style="position: relative; height: 10px"></div></div><div id=below style="height: 30px"></div></body>)");
    // Outside the list the item is hidden, and the box below it is hit.
    EXPECT_EQ(l.IdAt(5, 25), "below");
    EXPECT_EQ(l.IdAt(5, 15), "div");
    auto* list = const_cast<engine::Box*>(l.layout.BoxOf(l.page.Find("#list")));
    ASSERT_TRUE(list && list->scrollable);
    ASSERT_TRUE(l.layout.ScrollTo(*list, 30));
    EXPECT_EQ(l.IdAt(5, 15), "item");
    EXPECT_EQ(l.IdAt(5, 25), "below");
}

} // namespace
