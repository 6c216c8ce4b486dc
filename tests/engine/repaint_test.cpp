// Only what changed is painted again: a poked pixel survives a repaint unless its place really changed.

#include "drawn_page.h"
#include "engine/dom/element.h"
#include "engine/paint/paint_record.h"
#include "png_image.h"

#include <gtest/gtest.h>

namespace {

using namespace engine;
using engine_test::DrawnPage;

constexpr std::uint32_t kPoke = 0x12345678;

TEST(ChangedArea, ComparesItemByItemOrAroundWhatWasInserted) {
    std::vector<PaintItem> before{{{0, 0, 10, 10}, 1}, {{0, 20, 10, 10}, 2}, {{0, 40, 10, 10}, 3}};
    EXPECT_LE(ChangedArea(before, before).w, 0);

    std::vector<PaintItem> hovered = before;
    hovered[0].digest = 7;
    hovered[2] = {{5, 45, 10, 10}, 8};
    RectF both = ChangedArea(before, hovered); // first and last: the middle item lies inside their union anyway
    EXPECT_EQ(both.y, 0);
    EXPECT_EQ(both.Bottom(), 55);
    EXPECT_EQ(both.Right(), 15);

    std::vector<PaintItem> one = before;
    one[1] = {{2, 22, 3, 3}, 9};
    RectF middle = ChangedArea(before, one);
    EXPECT_EQ(middle.y, 20);
    EXPECT_EQ(middle.h, 10);

    std::vector<PaintItem> inserted = before;
    inserted.insert(inserted.begin() + 1, {{50, 50, 5, 5}, 4});
    RectF around = ChangedArea(before, inserted); // the common start and end are left out
    EXPECT_EQ(around.x, 50);
    EXPECT_EQ(around.y, 50);
    EXPECT_EQ(around.w, 5);
    EXPECT_EQ(around.h, 5);
}

TEST(ChangedArea, LeavesOutWhatBothDrawAlikeBetweenTheDifferencesButNotWhatMovedOrSwapped) {
    // A panel switch: the tab's look and the rows change, the card around the rows stays.
    const PaintItem back{{0, 0, 100, 100}, 1}, card{{0, 20, 100, 70}, 2}, footer{{0, 90, 100, 10}, 3};
    std::vector<PaintItem> before{back, {{0, 0, 10, 10}, 4}, card, {{0, 30, 50, 10}, 5}, {{0, 40, 50, 10}, 6}, footer};
    std::vector<PaintItem> after{back, {{0, 0, 10, 10}, 7}, card, {{0, 30, 60, 10}, 8}, footer};
    RectF switched = ChangedArea(before, after);
    EXPECT_EQ(switched.y, 0);
    EXPECT_EQ(switched.Bottom(), 50); // not the card's 90
    EXPECT_EQ(switched.Right(), 60);

    // Two overlapping items drawn in the other order: their overlap comes out otherwise.
    const PaintItem x{{0, 0, 10, 10}, 11}, y{{5, 5, 10, 10}, 12};
    RectF swapped = ChangedArea({back, x, y}, {back, y, x, footer});
    EXPECT_LE(swapped.x, 5);
    EXPECT_GE(swapped.Right(), 10);
    EXPECT_LE(swapped.y, 5);

    // The same digest at another place is another item.
    RectF moved = ChangedArea({{{0, 0, 10, 10}, 21}}, {{{50, 50, 10, 10}, 21}});
    EXPECT_EQ(moved.x, 0);
    EXPECT_EQ(moved.Right(), 60);
}

TEST(Repaint, NewTextPaintsOnlyWhereTheTextIs) {
    DrawnPage d(R"html(<div id=a style="height: 20px; color: black">one</div>
      <div style="height: 20px; background: red"></div><div style="height: 20px">still</div>)html",
                100, 60, false);
    d.Poke(50, 30, kPoke);
    d.Poke(90, 5, kPoke); // beside the text, far past its end
    d.Find("#a").SetTextContent(u"two");
    d.view.UpdateStyle();
    d.Render();
    EXPECT_EQ(d.At(50, 30), kPoke);
    EXPECT_EQ(d.At(90, 5), kPoke);
    // The new text is there: some of its pixels are dark.
    int dark = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) dark += (d.At(x, y) & 0xFF) < 0x80;
    EXPECT_GT(dark, 5);

    // Nothing that draws differently: nothing is painted.
    d.Poke(2, 2, kPoke);
    d.renderer->Invalidate({false, true, false});
    d.Render();
    EXPECT_EQ(d.At(2, 2), kPoke);
}

TEST(Repaint, ScrollingPaintsTheScrolledBoxAndResizingEverything) {
    DrawnPage d(R"html(<div style="height: 20px; overflow: auto"><div style="height: 20px; background: red"></div>
      <div style="height: 20px; background: lime"></div></div><div style="height: 10px; background: black"></div>)html");
    d.Poke(5, 25, kPoke);
    PageLayout& layout = d.renderer->Layout(100, 60);
    layout.ScrollTo(*layout.ScrollerAt(5, 5), 20);
    d.renderer->ScrollChanged();
    d.Render();
    EXPECT_EQ(d.At(5, 5), 0xFF00FF00u);
    EXPECT_EQ(d.At(5, 25), kPoke);

    d.width_ = 90;
    d.Render();
    EXPECT_EQ(d.At(5, 25), 0xFF000000u);
}

TEST(Repaint, AnImageAnsweredAgainWithOtherBytesIsPaintedAgain) {
    DrawnPage d(R"html(<img src="dot.png" style="display: block">)html");
    EXPECT_EQ(d.At(1, 1), 0xFF0000FFu);
    d.view.DataReady(u"dot.png", engine_test::SolidPng(2, 2, 0xFFFF0000));
    d.Render();
    EXPECT_EQ(d.At(1, 1), 0xFFFF0000u);
}

} // namespace
