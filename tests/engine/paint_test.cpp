#include "engine/events/input.h"
#include "drawn_page.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using namespace engine;

using Drawn = engine_test::DrawnPage;

std::string Hex(std::uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(v));
    return text;
}

unsigned Alpha(std::uint32_t v) { return v >> 24; }

TEST(Paint, BackgroundsBordersAndCorners) {
    Drawn d(R"html(<div style="height: 20px; background: rgba(255, 0, 0, 0.5)"></div>
      <div style="height: 20px; background: white; border: 3px solid #0000ff"></div>
      <div style="width: 20px; height: 16px; background: black; border-radius: 8px"></div>)html");
    // Premultiplied: half-transparent red is half red.
    EXPECT_EQ(Hex(d.At(50, 10)), "80800000");
    EXPECT_EQ(Hex(d.At(1, 21)), "FF0000FF");
    EXPECT_EQ(Hex(d.At(50, 30)), "FFFFFFFF");
    // A rounded corner leaves its corner transparent, the middle filled.
    EXPECT_EQ(Alpha(d.At(0, 46)), 0u);
    EXPECT_EQ(Hex(d.At(10, 54)), "FF000000");
    EXPECT_EQ(Alpha(d.At(30, 54)), 0u);
}

TEST(Paint, ImagesWithAlphaAndRepeat) {
    Drawn d(R"html(<img src="half.png" style="display: block"><img src="missing.png" style="display: block; width: 5px; height: 5px">
      <div style="height: 10px; background: url(dot.png) no-repeat 4px 0"></div>
      <div style="height: 10px; background: url(dot.png) repeat-x"></div>)html");
    EXPECT_EQ(Hex(d.At(1, 1)), "80008000");
    // The missing image keeps its place and paints nothing.
    EXPECT_EQ(Alpha(d.At(1, 6)), 0u);
    EXPECT_EQ(Hex(d.At(5, 10)), "FF0000FF");
    EXPECT_EQ(Alpha(d.At(1, 10)), 0u);
    EXPECT_EQ(Hex(d.At(97, 20)), "FF0000FF");
    EXPECT_EQ(Alpha(d.At(97, 23)), 0u);
}

TEST(Paint, TextFindsAFontThatExists) {
    Drawn d(R"html(<p style="margin: 0; font: 20px Tahoma, 'No Such Font'; color: black">HHHH</p>)html", 100, 30, false);
    int dark = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) dark += (d.At(x, y) & 0xFF) < 0x40;
    EXPECT_GT(dark, 40);
    const Box* p = d.renderer->Layout(100, 30).BoxOf(*d.view.GetDocument()->FirstElementByTag("p"));
    ASSERT_TRUE(p && p->fragments.size() == 1);
    EXPECT_GT(p->fragments[0].rect.w, 20);
}

TEST(Paint, HoverRepaintsWhatTheStyleChanged) {
    Drawn d(R"html(<style>#b { height: 20px; background: red } #b:hover { background: blue }</style><div id=b></div>)html");
    EXPECT_EQ(Hex(d.At(5, 5)), "FFFF0000");
    Element* target = d.renderer->Layout(100, 60).HitTest(5, 5);
    ASSERT_NE(target, nullptr);
    HandleMouse(d.view, target, {MOUSE_MOVE, 5, 5, 0, 0});
    d.Render();
    EXPECT_EQ(Hex(d.At(5, 5)), "FF0000FF");
    HandleMouse(d.view, nullptr, {MOUSE_LEAVE, 0, 0, 0, 0});
    d.Render();
    EXPECT_EQ(Hex(d.At(5, 5)), "FFFF0000");
}

TEST(Paint, ScrolledContentIsClippedToItsBox) {
    Drawn d(R"html(<div id=list style="height: 20px; overflow: auto"><div style="height: 20px; background: red"></div>
      <div style="height: 20px; background: lime"></div></div><div style="height: 10px; background: black"></div>)html");
    EXPECT_EQ(Hex(d.At(5, 5)), "FFFF0000");
    EXPECT_EQ(Hex(d.At(5, 25)), "FF000000"); // the overflow does not cover what follows
    PageLayout& layout = d.renderer->Layout(100, 60);
    Box* list = layout.ScrollerAt(5, 5);
    ASSERT_NE(list, nullptr);
    layout.ScrollTo(*list, 20);
    d.renderer->ScrollChanged();
    d.Render();
    EXPECT_EQ(Hex(d.At(5, 5)), "FF00FF00");
    EXPECT_NE(Alpha(d.At(95, 15)), 0u); // the scrollbar
}

TEST(Paint, InlineBackgroundsPaddingAndBordersPerLine) {
    auto page = [](const std::string& padding) {
        return R"html(<p style="margin: 10px 0 0; font-size: 10px"><span style="background: #f00; padding: )html" + padding +
               R"html(; border-left: 2px solid #00f; border-right: 4px solid #0f0">ab<br>cd</span></p>)html";
    };
    Drawn d(page("3px 6px"));
    const Box* p = d.renderer->Layout(100, 60).BoxOf(*d.view.GetDocument()->FirstElementByTag("p"));
    ASSERT_TRUE(p && p->pieces.size() == 2);
    const RectF first = p->pieces[0].border, second = p->pieces[1].border;
    int y1 = int(first.y + first.h / 2), y2 = int(second.y + second.h / 2);
    // The first line starts with the left border and its padding; it ends without the right ones.
    EXPECT_EQ(Hex(d.At(1, y1)), "FF0000FF");
    EXPECT_EQ(Hex(d.At(4, y1)), "FFFF0000");
    EXPECT_EQ(Hex(d.At(int(first.Right()) - 1, int(first.y) + 1)), "FFFF0000");
    EXPECT_EQ(Alpha(d.At(int(first.Right()) + 1, y1)), 0u);
    // The second line begins without them and ends with the right border.
    EXPECT_EQ(Hex(d.At(1, int(second.Bottom()) - 1)), "FFFF0000");
    EXPECT_EQ(Hex(d.At(int(second.Right()) - 2, y2)), "FF00FF00");
    // The vertical padding reaches over the paragraph's top and leaves its height alone.
    EXPECT_EQ(Hex(d.At(4, 8)), "FFFF0000");
    EXPECT_EQ(Alpha(d.At(4, 5)), 0u);
    Drawn flat(page("0 6px"));
    const Box* flatP = flat.renderer->Layout(100, 60).BoxOf(*flat.view.GetDocument()->FirstElementByTag("p"));
    ASSERT_NE(flatP, nullptr);
    EXPECT_EQ(p->border.h, flatP->border.h);
}

TEST(Paint, NestedInlineElementsPaintOuterFirst) {
    Drawn d(R"html(<p style="margin: 5px 0; font-size: 10px"><span style="background: #f00; padding: 0 10px"><span
      style="background: #00f">ab</span></span></p>)html");
    EXPECT_EQ(Hex(d.At(5, 10)), "FFFF0000");
    EXPECT_EQ(Hex(d.At(11, 10)), "FF0000FF");
}

TEST(Paint, ZIndexOrdersPositionedBoxes) {
    Drawn d(R"html(<div style="position: relative; z-index: 0; height: 40px; background: #fff">
      <div style="position: absolute; left: 0; top: 0; width: 30px; height: 30px; background: #f00; z-index: 2"></div>
      <div style="position: absolute; left: 10px; top: 10px; width: 30px; height: 30px; background: #00f; z-index: 1"></div>
      <div style="position: absolute; left: 50px; top: 0; width: 30px; height: 30px; background: #0f0; z-index: -1"></div>
      <div style="height: 20px; background: #000; margin-left: 60px"></div></div>)html");
    EXPECT_EQ(Hex(d.At(15, 15)), "FFFF0000");
    EXPECT_EQ(Hex(d.At(35, 35)), "FF0000FF");
    // Under the in-flow content, above the background of its stacking context.
    EXPECT_EQ(Hex(d.At(55, 5)), "FF00FF00");
    EXPECT_EQ(Hex(d.At(65, 5)), "FF000000");
    EXPECT_EQ(Hex(d.At(65, 25)), "FF00FF00");
}

TEST(Paint, EmptyAndHugeSizesDrawNothingAndDoNotFail) {
    Drawn d(R"html(<div style="width: 10000000px; height: 10000000px; background: url(dot.png)"></div>)html", 50, 50);
    EXPECT_EQ(Hex(d.At(10, 10)), "FF0000FF");
    EXPECT_FALSE(d.renderer->Render(0, 0, true));
    EXPECT_FALSE(d.renderer->Render(0, 100, true));
    d.Render();
}

TEST(Paint, TranslucentBoxesLandOnceWithAllTheyHold) {
    Drawn d(R"html(<div style="opacity: 0.5; height: 10px; background: black">
        <div style="width: 10px; height: 10px; background: red"></div>
        <div style="position: absolute; left: 50px; top: 0; width: 10px; height: 10px; background: blue"></div></div>
      <div style="opacity: 0; height: 10px; background: black"></div>
      <div style="opacity: 0.5; height: 10px; background: black; position: relative; z-index: 2"></div>)html",
            100, 60, false);
    EXPECT_EQ(Hex(d.At(5, 5)), "FFFF7F7F");  // red over black in the layer, then half over white
    EXPECT_EQ(Hex(d.At(30, 5)), "FF7F7F7F");
    EXPECT_EQ(Hex(d.At(55, 5)), "FF7F7FFF"); // the positioned child fades with its translucent parent
    EXPECT_EQ(Hex(d.At(5, 15)), "FFFFFFFF"); // opacity 0: nothing
    EXPECT_EQ(Hex(d.At(5, 25)), "FF7F7F7F");
}

} // namespace
