#include "layout/laid_page.h"

#include <gtest/gtest.h>

namespace {

using namespace engine;
using engine_test::Laid;
using engine_test::Rect;

TEST(Layout, BlockFlowWithBoxModel) {
    Laid l(R"(<body>
      <div id=a style="margin: 10px; border: 2px solid red; padding: 3px; height: 20px"></div>
      <div id=b style="width: 50%; margin: 4px auto; box-sizing: border-box; padding: 0 10px"></div>
      <div id=c style="width: 500px; max-width: 120px; min-height: 7px"></div>
      <div id=d style="width: 10px; min-width: 30px; margin-top: 6px"></div>
      <div id=e style="display: none; height: 50px"></div>
      <div id=f style="height: 50%"></div></body>)");
    // Sibling margins collapse to the larger: 10 after a, then 4 before b.
    EXPECT_EQ(Rect(l.Border("#a")), "10,10 180x30");
    EXPECT_EQ(Rect(l.Border("#b")), "50,50 100x0");
    EXPECT_EQ(Rect(l.Border("#c")), "0,54 120x7");
    EXPECT_EQ(Rect(l.Border("#d")), "0,67 30x0");
    RectF border, content;
    EXPECT_FALSE(l.layout.Locate(l.page.Find("#e"), border, content));
    // The body's height is auto, so a percentage height is too.
    EXPECT_EQ(Rect(l.Border("#f")), "0,67 200x0");
    ASSERT_TRUE(l.layout.Locate(l.page.Find("#a"), border, content));
    EXPECT_EQ(Rect(content), "15,15 170x20");
}

TEST(Layout, NegativeMarginsCollapseWithPositiveOnes) {
    Laid l(R"(<body><div style="height: 10px; margin-bottom: 8px"></div><div id=a style="height: 10px; margin-top: -3px"></div>
      <div id=b style="height: 10px; margin-top: -4px"></div><div id=c style="height: 10px; margin: -2px 0 -6px"></div>
      <div id=d style="height: 10px"></div></body>)");
    EXPECT_EQ(Rect(l.Border("#a")), "0,15 200x10");
    EXPECT_EQ(Rect(l.Border("#b")), "0,21 200x10");
    EXPECT_EQ(Rect(l.Border("#c")), "0,29 200x10");
    EXPECT_EQ(Rect(l.Border("#d")), "0,33 200x10");
}

TEST(Layout, ContentOverflowingItsBoxIsStillHit) {
    Laid l(R"(<body><div id=short style="height: 5px"><div id=tall style="height: 30px; width: 20px"></div></div>
      <p id=p style="margin: 0; width: 10px; white-space: nowrap">a <b id=b>long</b> line</p>
      <div id=clip style="height: 5px; overflow: hidden"><div id=hidden style="height: 30px"></div></div></body>)");
    EXPECT_EQ(l.IdAt(5, 20), "tall");
    EXPECT_EQ(l.IdAt(30, 25), "none"); // below the body, beside "tall"
    EXPECT_EQ(l.IdAt(12, 6), "b");
    EXPECT_EQ(l.IdAt(50, 6), "p");
    EXPECT_EQ(l.IdAt(5, 17), "hidden");
    EXPECT_EQ(l.IdAt(5, 35), "none"); // clipped
}

TEST(Layout, InlineTextWrapsAndAligns) {
    Laid l(R"(<body><p id=p style="width: 60px; margin: 0; text-align: center">one two three <b id=b>four</b><br>five</p>
      <p id=q style="margin: 0; line-height: 20px; white-space: nowrap">a very long line that never wraps</p></body>)");
    std::string dump = l.layout.Dump();
    // 60px holds 12 glyphs: "one two" (7) fits, "three four" (10) fits, "five" follows the break.
    EXPECT_NE(dump.find("\"one two\" 13,0 35x10"), std::string::npos) << dump;
    EXPECT_NE(dump.find("\"three\" 5,10 25x10"), std::string::npos) << dump;
    EXPECT_NE(dump.find("\"four\" 35,10 20x10"), std::string::npos) << dump;
    EXPECT_NE(dump.find("\"five\" 20,20 20x10"), std::string::npos) << dump;
    EXPECT_EQ(Rect(l.Border("#p")), "0,0 60x30");
    EXPECT_EQ(Rect(l.Border("#b")), "35,10 20x10");
    // Half the leading above and below the 10px glyphs.
    EXPECT_NE(dump.find("\"a very long line that never wraps\" 0,35 165x10"), std::string::npos) << dump;
    EXPECT_EQ(l.IdAt(40, 12), "b");
    EXPECT_EQ(l.IdAt(10, 12), "p");
}

TEST(Layout, InlineContentBesideBlocksTakesNoEdgesOfItsParent) {
    Laid l("<body style='padding: 10px'><div style='height: 5px'></div>\n <button id=a style='margin-right: 8px'>ab</button><button>cd</button></body>");
    EXPECT_EQ(Rect(l.Border("#a")), "10,15 10x10");
    EXPECT_EQ(Rect(l.Border("body")), "0,0 200x37"); // 37.5: the line is 10 above its baseline, 2.5 below
}

TEST(Layout, InlineBlocksShrinkAndSitOnTheBaseline) {
    Laid l(R"(<body><div id=row>ab <span id=ib style="display: inline-block; padding: 2px; border: 1px solid">x y</span>
      <img id=img src="pic.png"> <img id=missing src="none.png" style="width: 8px; height: 9px"></div></body>)");
    l.metrics.images[u"pic.png"] = {16, 24};
    l.Relayout();
    // The line is as tall as the image; everything stands on the baseline at y 24.
    EXPECT_EQ(Rect(l.Border("#ib")), "15,8 21x16");
    EXPECT_EQ(Rect(l.Border("#img")), "41,0 16x24");
    EXPECT_EQ(Rect(l.Border("#missing")), "62,15 8x9");
    EXPECT_EQ(Rect(l.Border("#row")), "0,0 200x26");
    EXPECT_EQ(l.IdAt(20, 12), "ib");
    EXPECT_EQ(l.IdAt(45, 5), "img");
}

TEST(Layout, AbsoluteBoxesUseTheNearestPositionedAncestor) {
    Laid l(R"(<body><div id=pos style="position: relative; margin: 20px; height: 100px; padding: 5px">
        <div style="margin: 7px"><div id=tl style="position: absolute; left: 3px; top: 4px; width: 10px; height: 10px"></div>
        <div id=br style="position: absolute; right: 0; bottom: 0">xyz</div>
        <div id=fill style="position: absolute; left: 10px; right: 10px; top: 0; bottom: 0"></div>
        text</div></div>
      <div id=rel style="position: relative; left: 5px; top: -5px; height: 10px"></div><div id=after style="height: 1px"></div></body>)");
    EXPECT_EQ(Rect(l.Border("#tl")), "23,24 10x10");
    EXPECT_EQ(Rect(l.Border("#br")), "165,120 15x10");
    EXPECT_EQ(Rect(l.Border("#fill")), "30,20 140x110");
    // In flow the absolute boxes take no room: the text is the div's only content.
    EXPECT_EQ(Rect(l.Border("#pos")), "20,20 160x110");
    // A relative shift moves the box, not the flow after it.
    EXPECT_EQ(Rect(l.Border("#rel")), "5,145 200x10");
    EXPECT_EQ(Rect(l.Border("#after")), "0,160 200x1");
    EXPECT_EQ(l.IdAt(25, 25), "tl");
}

TEST(Layout, OverflowScrollsAndClips) {
    Laid l(R"(<body><div id=list style="height: 30px; overflow: auto; border: 1px solid">
        <div id=i1 style="height: 20px"></div><div id=i2 style="height: 20px"></div><div id=i3 style="height: 20px"></div></div>
      <div id=hid style="height: 10px; overflow: hidden"><div id=big style="height: 100px"></div></div>
      <div id=fits style="height: 30px; overflow: auto"><div style="height: 5px"></div></div></body>)");
    const Box* list = l.layout.BoxOf(l.page.Find("#list"));
    ASSERT_TRUE(list && list->scrollable);
    EXPECT_EQ(list->MaxScroll(), 30);
    // The scrollbar takes its width from the content.
    EXPECT_EQ(Rect(l.Border("#i1")), "1,1 186x20");
    EXPECT_FALSE(l.layout.BoxOf(l.page.Find("#fits"))->scrollable);

    EXPECT_EQ(l.IdAt(10, 25), "i2");
    EXPECT_EQ(l.IdAt(195, 25), "list"); // the scrollbar
    EXPECT_EQ(l.layout.ScrollerAt(10, 25), list);
    ASSERT_TRUE(l.layout.ScrollTo(const_cast<Box&>(*list), 500));
    EXPECT_EQ(list->scrollY, 30);
    EXPECT_FALSE(l.layout.ScrollTo(const_cast<Box&>(*list), 31));
    EXPECT_EQ(l.IdAt(10, 25), "i3");
    EXPECT_EQ(Rect(l.Border("#i3")), "1,11 186x20");
    // Clipped content is not hit outside its box.
    EXPECT_EQ(l.IdAt(10, 50), "fits");

    // The offset survives a rebuild, and is clamped when the content shrinks.
    l.layout.Invalidate();
    l.layout.Update(l.page.view.GetDocument(), 200, 100);
    EXPECT_EQ(l.layout.BoxOf(l.page.Find("#list"))->scrollY, 30);
    l.page.Find("#i3").Detach();
    l.page.view.UpdateStyle();
    l.layout.Invalidate();
    l.layout.Update(l.page.view.GetDocument(), 200, 100);
    EXPECT_EQ(l.layout.BoxOf(l.page.Find("#list"))->scrollY, 10);
}

TEST(Layout, MinimalSizeOfThePage) {
    Laid l(R"(<body style="margin: 4px"><div style="width: 120px; padding: 0 5px"></div><p>wordy words</p></body>)");
    EXPECT_EQ(l.layout.MinWidth(l.page.view.GetDocument()), 138);
    Laid text(R"(<body><p style="margin: 0">aaaa bbbb cccc</p></body>)");
    EXPECT_EQ(text.layout.MinWidth(text.page.view.GetDocument()), 20);
    // At the narrowest width each word takes a line.
    EXPECT_EQ(text.layout.MinHeight(text.page.view.GetDocument(), 20), 30);
    EXPECT_EQ(text.layout.MinHeight(text.page.view.GetDocument(), 200), 10);
}

TEST(Layout, BadInputLaysOutWithoutFailing) {
    std::string deep;
    for (int i = 0; i < 3000; ++i) deep += "<div style='padding-left: 1px'>";
    deep += "deep";
    Laid nested("<body>" + deep + "</body>", 100, 100);
    EXPECT_NE(nested.layout.Root(), nullptr);

    Laid huge(R"(<body><div id=h style="width: 10000000px; height: 10000000px"></div><div id=z style="width: 0; height: 0">text</div></body>)",
              0, 0);
    EXPECT_EQ(Rect(huge.Border("#h")), "0,0 10000000x10000000");
    EXPECT_EQ(huge.IdAt(-1, -1), "none");
    Laid empty("", 0, 0);
    EXPECT_EQ(empty.IdAt(0, 0), "none"); // an empty page has no height
}

} // namespace
