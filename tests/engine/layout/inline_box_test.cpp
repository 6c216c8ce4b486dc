#include "laid_page.h"

#include <gtest/gtest.h>

namespace {

using engine_test::Laid;
using engine_test::Rect;

bool Has(const std::string& dump, const std::string& line) { return dump.find(line) != std::string::npos; }

TEST(InlineBox, EdgesTakeRoomInTheLineAndPaddingLeavesItsHeight) {
    Laid l(R"(<body><p id=p style="margin: 0">ab <span id=s style="padding: 2px 4px; border: 1px solid; margin: 0 3px">cd</span> ef</p></body>)");
    std::string dump = l.layout.Dump();
    // Margin 3, border 1 and padding 4 on each side of "cd".
    EXPECT_TRUE(Has(dump, "\"cd\" 23,0 10x10")) << dump;
    EXPECT_TRUE(Has(dump, "\"ef\" 46,0 10x10")) << dump;
    EXPECT_EQ(Rect(l.Border("#s")), "18,-3 20x16");
    EXPECT_EQ(Rect(l.Content("#s")), "23,0 10x10");
    EXPECT_EQ(Rect(l.Border("#p")), "0,0 200x10");
    // Padding and border are the element's, even where they reach out of the line.
    EXPECT_EQ(l.IdAt(20, 5), "s");
    EXPECT_EQ(l.IdAt(35, 5), "s");
    EXPECT_EQ(l.IdAt(25, -2), "s");
    EXPECT_EQ(l.IdAt(12, 5), "p");
    EXPECT_EQ(l.IdAt(16, 5), "p"); // the margin
}

TEST(InlineBox, PiecesOnEachLineWithTheSideEdgesAtTheEnds) {
    Laid l(R"(<body><p style="margin: 0; width: 50px"><span id=s style="border-left: 2px solid; border-right: 3px solid; padding: 0 1px">aaa bbb ccc</span></p>
      <p style="margin: 0; width: 30px">aa bb<b id=b style="padding-right: 5px">cc</b></p></body>)");
    std::string dump = l.layout.Dump();
    // "ccc" with the end edge does not fit after "bbb": only the first piece has the left edge.
    EXPECT_TRUE(Has(dump, "\"aaa bbb\" 3,0 35x10")) << dump;
    EXPECT_TRUE(Has(dump, "<span> 0,0 38x10")) << dump;
    EXPECT_TRUE(Has(dump, "\"ccc\" 0,10 15x10")) << dump;
    EXPECT_TRUE(Has(dump, "<span> 0,10 19x10")) << dump;
    EXPECT_EQ(Rect(l.Border("#s")), "0,0 38x20");
    // No line ends inside a word that runs on into an element: "bbcc" and its padding go down together.
    EXPECT_TRUE(Has(dump, "\"aa\" 0,20 10x10")) << dump;
    EXPECT_TRUE(Has(dump, "\"bb\" 0,30 10x10")) << dump;
    EXPECT_TRUE(Has(dump, "\"cc\" 10,30 10x10")) << dump;
    EXPECT_EQ(Rect(l.Border("#b")), "10,30 15x10");
}

TEST(InlineBox, ABlockInsideSplitsTheElementWithoutItsInnerEdges) {
    Laid l(R"(<body><div><span id=s style="border: 1px solid; padding: 0 2px 0 6px">aa<div id=d>bb</div>cc</span></div>
      <div id=empty><span></span> <i> </i></div><div id=padded><span id=pad style="padding: 0 5px"></span></div></body>)");
    std::string dump = l.layout.Dump();
    EXPECT_TRUE(Has(dump, "\"aa\" 7,0 10x10")) << dump;
    EXPECT_TRUE(Has(dump, "<span> 0,-1 17x12")) << dump;
    EXPECT_EQ(Rect(l.Border("#d")), "0,10 200x10");
    EXPECT_TRUE(Has(dump, "\"cc\" 0,20 10x10")) << dump;
    EXPECT_TRUE(Has(dump, "<span> 0,19 13x12")) << dump;
    // Empty elements make no line unless their edges take room.
    EXPECT_EQ(Rect(l.layout.BoxOf(l.page.Find("#empty"))->border), "0,30 200x0");
    EXPECT_EQ(Rect(l.layout.BoxOf(l.page.Find("#padded"))->border), "0,30 200x10");
    EXPECT_EQ(Rect(l.Border("#pad")), "0,30 10x10");
}

TEST(InlineBox, NestedElementsPaintOuterFirstAndHitInnerFirst) {
    Laid l(R"(<body><p style="margin: 0"><span id=o style="padding: 4px 10px">a<span id=i style="padding: 0 3px">b</span></span></p></body>)");
    std::string dump = l.layout.Dump();
    EXPECT_LT(dump.find("<span> 0,-4"), dump.find("<span> 15,0")) << dump;
    EXPECT_EQ(Rect(l.Border("#i")), "15,0 11x10");
    EXPECT_EQ(l.IdAt(16, 5), "i");
    EXPECT_EQ(l.IdAt(30, 5), "o");
    EXPECT_EQ(l.IdAt(16, -2), "o");
    // An element that holds only other elements is found too.
    Laid only(R"(<body><p style="margin: 0">a <b id=b><i>xy</i></b></p></body>)");
    EXPECT_EQ(Rect(only.Border("#b")), "10,0 10x10");
}

TEST(InlineBox, MinimalWidthKeepsGluedWordsAndEdgesTogether) {
    Laid l(R"(<body><p style="margin: 0">aa bb<b style="padding-left: 4px">ccc</b> d</p></body>)");
    EXPECT_EQ(l.layout.MinWidth(l.page.view.GetDocument()), 29);
}

TEST(InlineBox, DeepNestingSplitByABlockLaysOutWithoutFailing) {
    std::string deep;
    for (int i = 0; i < 200; ++i) deep += "<span style='padding: 0 1px'>w ";
    deep += "<div>block</div>end";
    Laid l("<body><div id=outer style='width: 100px'>" + deep + "</div></body>");
    const engine::Box* outer = l.layout.BoxOf(l.page.Find("#outer"));
    ASSERT_NE(outer, nullptr);
    ASSERT_EQ(outer->children.size(), 3u); // the lines before the block, the block, the line after it
    // Every element open at the block goes on after it without its start edge, and ends there with its end edge.
    const engine::Box& after = *outer->children[2];
    EXPECT_EQ(after.pieces.size(), 200u);
    ASSERT_EQ(after.fragments.size(), 1u);
    EXPECT_EQ(Rect(after.fragments[0].rect).substr(0, 2), "0,");
    EXPECT_EQ(after.pieces.front().border.w, 215); // "end" and the 200 end edges
}

// Images 20x20 ("sq") and 10x40 ("tall") in 10px text: ascent 7.5, descent 2.5.
struct Aligned : Laid {
    explicit Aligned(const std::string& body) : Laid(body) {
        metrics.images[u"sq.png"] = {20, 20};
        metrics.images[u"tall.png"] = {10, 40};
        Relayout();
    }
};

TEST(VerticalAlign, AroundTheBaseline) {
    Aligned l(R"(<body><div id=row><img id=ref src=sq.png><img id=sub src=sq.png style="vertical-align: sub"><img
      id=len src=sq.png style="vertical-align: 5px"><img id=pct src=sq.png style="vertical-align: -50%"></div>
      <div id=big style="font-size: 30px"><img id=ref2 src=sq.png><img id=sup src=sq.png style="vertical-align: super"><img
      id=mid src=sq.png style="vertical-align: middle"></div></body>)");
    // Baseline at 25: raised 5px the highest, -50% of a 10px line height lowers by 5.
    EXPECT_EQ(Rect(l.Border("#ref")), "0,5 20x20");
    EXPECT_EQ(Rect(l.Border("#sub")), "20,7 20x20");
    EXPECT_EQ(Rect(l.Border("#len")), "40,0 20x20");
    EXPECT_EQ(Rect(l.Border("#pct")), "60,10 20x20");
    EXPECT_EQ(Rect(l.Border("#row")), "0,0 200x30");
    // 30px text: super raises by 10, middle centres the box 7.5 above the baseline at 60.
    EXPECT_EQ(Rect(l.Border("#ref2")), "0,40 20x20");
    EXPECT_EQ(Rect(l.Border("#sup")), "20,30 20x20");
    EXPECT_EQ(Rect(l.Border("#mid")), "40,42 20x20"); // 42.5
    EXPECT_EQ(Rect(l.Border("#big")), "0,30 200x37"); // 37.5: the strut's descent
}

TEST(VerticalAlign, AgainstTheLineAndTheText) {
    Aligned l(R"(<body><div id=t>x<img id=top src=tall.png style="vertical-align: top"></div>
      <div id=b>x<img id=bottom src=tall.png style="vertical-align: bottom"></div>
      <div id=tt>x<img id=ttop src=tall.png style="vertical-align: text-top"></div>
      <div id=tb>x<img id=tbottom src=tall.png style="vertical-align: text-bottom"></div>
      <div id=both>x<img id=base src=sq.png><img id=top2 src=tall.png style="vertical-align: top"><img
        id=small src=sq.png style="vertical-align: bottom"></div></body>)");
    std::string dump = l.layout.Dump();
    // The line grows below a box at its top, above one at its bottom; the text keeps its baseline in step.
    EXPECT_EQ(Rect(l.Border("#top")), "5,0 10x40");
    EXPECT_TRUE(Has(dump, "\"x\" 0,0 5x10")) << dump;
    EXPECT_EQ(Rect(l.Border("#bottom")), "5,40 10x40");
    EXPECT_TRUE(Has(dump, "\"x\" 0,70 5x10")) << dump;
    EXPECT_EQ(Rect(l.Border("#ttop")), "5,80 10x40");
    EXPECT_TRUE(Has(dump, "\"x\" 0,80 5x10")) << dump;
    EXPECT_EQ(Rect(l.Border("#tbottom")), "5,120 10x40");
    EXPECT_TRUE(Has(dump, "\"x\" 0,150 5x10")) << dump;
    EXPECT_EQ(Rect(l.Border("#t")), "0,0 200x40");
    // A box at the bottom that fits takes no room: 20 above the baseline, 2.5 below, then 17.5 for "top2".
    EXPECT_EQ(Rect(l.Border("#base")), "5,160 20x20");
    EXPECT_EQ(Rect(l.Border("#top2")), "25,160 10x40");
    EXPECT_EQ(Rect(l.Border("#small")), "35,180 20x20");
    EXPECT_EQ(Rect(l.Border("#both")), "0,160 200x40");
}

TEST(TextIndent, FirstLineOfTheElementOnly) {
    Laid l(R"(<body><p style="margin: 0; width: 30px; text-indent: 10px">aa bb cc</p>
      <p style="margin: 0; width: 100px; text-indent: 10%">x</p><p style="margin: 0; text-indent: 2em">y</p>
      <p style="margin: 0; text-indent: -5px">z</p>
      <div style="text-indent: 10px"><div>first</div>later</div></body>)");
    std::string dump = l.layout.Dump();
    EXPECT_TRUE(Has(dump, "\"aa\" 10,0 10x10")) << dump;
    EXPECT_TRUE(Has(dump, "\"bb cc\" 0,10 25x10")) << dump;
    EXPECT_TRUE(Has(dump, "\"x\" 10,20 5x10")) << dump;
    EXPECT_TRUE(Has(dump, "\"y\" 20,30 5x10")) << dump;
    EXPECT_TRUE(Has(dump, "\"z\" -5,40 5x10")) << dump;
    // Inherited by the inner block; the text after it is not the first line of the outer one.
    EXPECT_TRUE(Has(dump, "\"first\" 10,50 25x10")) << dump;
    EXPECT_TRUE(Has(dump, "\"later\" 0,60 25x10")) << dump;
}

TEST(TextAlign, JustifyStretchesTheSpacesOfFullLines) {
    Laid l(R"(<body><p style="margin: 0; width: 61px; text-align: justify">aa <span id=s>bb cc</span> dd ee ff<br>gg hh ii</p></body>)");
    std::string dump = l.layout.Dump();
    // 6px left over on the first line go 2px to each of its three spaces.
    EXPECT_TRUE(Has(dump, "\"aa\" 0,0 10x10")) << dump;
    EXPECT_TRUE(Has(dump, "\"bb\" 17,0 10x10")) << dump;
    EXPECT_TRUE(Has(dump, "\"cc\" 34,0 10x10")) << dump;
    EXPECT_TRUE(Has(dump, "\"dd\" 51,0 10x10")) << dump;
    EXPECT_EQ(Rect(l.Border("#s")), "17,0 27x10");
    // The line before the break and the last line keep their spaces.
    EXPECT_TRUE(Has(dump, "\"ee ff\" 0,10 25x10")) << dump;
    EXPECT_TRUE(Has(dump, "\"gg hh ii\" 0,20 40x10")) << dump;
}

} // namespace
