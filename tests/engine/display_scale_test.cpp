// Pages at a display scale other than 96 DPI: CSS pixels times the scale everywhere, and the pictures drawn
// for that scale.
#include "drawn_page.h"
#include "layout/laid_page.h"
#include "png_image.h"

#include "engine/events/input.h"
#include "engine/paint/canvas.h"
#include "engine/view/image_variant.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

using namespace engine;
using engine_test::Laid;
using engine_test::Rect;

constexpr char kBoxes[] = R"(<body>
  <div id=a style="margin: 10px; border: 2px solid red; padding: 3px; height: 20px; border-radius: 6px"></div>
  <div id=b style="width: 50%; height: 2em; margin-left: 1rem"></div>
  <p id=p style="margin: 0; width: 60px; line-height: 20px">one two three</p>
  <div id=c style="position: absolute; left: 100px; top: 4pt; width: 8px; height: 8px"></div></body>)";

float Px(const Element& e, PropertyId id) { return e.Style()->Get(id).number; }

TEST(DisplayScale, LengthsTextBordersAndRadiiAreCssPixelsTimesTheScale) {
    // 72, 120, 144, 192 and 288 DPI; the viewport is in device pixels, as a window's client area is.
    for (float scale : {0.75f, 1.25f, 1.5f, 2.0f, 3.0f}) {
        SCOPED_TRACE(scale);
        Laid l(kBoxes);
        l.page.view.SetScale(scale);
        l.Relayout(200 * scale, 100 * scale);
        // Borders are whole device pixels, at least one.
        const float border = std::max(1.0f, std::floor(2 * scale));
        EXPECT_EQ(Rect(l.Border("#a")), Rect({10 * scale, 10 * scale, 180 * scale, 26 * scale + 2 * border}));
        EXPECT_EQ(Rect(l.Content("#a")), Rect({13 * scale + border, 13 * scale + border, 174 * scale - 2 * border, 20 * scale}));
        Element& a = l.page.Find("#a");
        EXPECT_FLOAT_EQ(Px(a, PropertyId::BorderTopLeftRadius), 6 * scale);
        EXPECT_FLOAT_EQ(Px(a, PropertyId::BorderTopWidth), border);
        // Percentages stay percentages of what is already scaled; em follows the scaled font; rem the
        // scaled 16px root default.
        const float belowA = 46 * scale + 2 * border; // with a's margins
        EXPECT_EQ(Rect(l.Border("#b")), Rect({16 * scale, belowA, 100 * scale, 20 * scale}));
        EXPECT_FLOAT_EQ(l.page.Find("#p").Style()->FontSize(), 10 * scale);
        EXPECT_EQ(Rect(l.Border("#c")), Rect({100 * scale, 4 * 96 / 72.0f * scale, 8 * scale, 8 * scale}));
        // The same words wrap the same way: 60px hold 12 glyphs at any scale.
        EXPECT_EQ(Rect(l.Border("#p")), Rect({0, belowA + 20 * scale, 60 * scale, 40 * scale}));
    }
}

TEST(DisplayScale, TheRootDefaultsAndBorderKeywordsScaleToo) {
    engine_test::Page page(R"(<style>html { font-size: initial } h1 { font-size: x-large }</style>
      <body><div id=d style="border: thin solid; border-top-style: none">x</div>
      <div id=m style="border: medium solid"></div><h1 id=h>x</h1></body>)");
    page.view.SetScale(2);
    page.view.UpdateStyle();
    EXPECT_FLOAT_EQ(page.Doc().Root().Style()->FontSize(), 32);
    EXPECT_FLOAT_EQ(page.Find("#h").Style()->FontSize(), 48);
    EXPECT_FLOAT_EQ(Px(page.Find("#d"), PropertyId::BorderLeftWidth), 2);
    EXPECT_FLOAT_EQ(Px(page.Find("#d"), PropertyId::BorderTopWidth), 0);
    EXPECT_FLOAT_EQ(Px(page.Find("#m"), PropertyId::BorderLeftWidth), 6);
}

TEST(DisplayScale, AClickAtTheScaledPlaceFindsTheElementAndAChangeBackRestoresTheLayout) {
    Laid l(kBoxes);
    std::string before = l.layout.Dump();
    l.page.view.SetScale(1.5);
    l.Relayout(300, 150);
    // "c" covers CSS (100..108, 5.33..13.33): device (150..162, 8..20).
    EXPECT_EQ(l.IdAt(151, 9), "c");
    EXPECT_EQ(l.IdAt(161, 19), "c");
    EXPECT_NE(l.IdAt(105, 9), "c"); // where it lies at 96 DPI
    l.page.view.SetScale(1);
    l.Relayout();
    EXPECT_EQ(l.layout.Dump(), before);
}

TEST(DisplayScale, TheScrollbarIsScaledAndSoIsWhereItIsHit) {
    constexpr char kList[] = R"(<body><div id=list style="height: 30px; overflow: auto; border: 1px solid">
        <div id=i1 style="height: 20px"></div><div id=i2 style="height: 20px"></div></div></body>)";
    for (float scale : {0.75f, 1.5f, 3.0f}) {
        SCOPED_TRACE(scale);
        Laid l(kList);
        l.page.view.SetScale(scale);
        l.layout.SetScale(scale);
        l.Relayout(200 * scale, 100 * scale);
        const Box* list = l.layout.BoxOf(l.page.Find("#list"));
        ASSERT_TRUE(list && list->scrollable);
        const float bar = std::round(12 * scale), border = std::max(1.0f, std::floor(scale));
        const float barLeft = 200 * scale - border - bar;
        EXPECT_EQ(Rect(ScrollbarTrack(*list)), Rect({barLeft, border, bar, 30 * scale}));
        EXPECT_EQ(Rect(l.Border("#i1")), Rect({border, border, barLeft - border, 20 * scale}));
        EXPECT_EQ(l.IdAt(barLeft + 1, 5 * scale), "list");
        EXPECT_EQ(l.IdAt(barLeft - 1, 5 * scale), "i1");
    }
}

TEST(DisplayScale, ABadScaleIsIgnored) {
    Laid l(kBoxes);
    std::string before = l.layout.Dump();
    for (float bad : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) l.page.view.SetScale(bad);
    EXPECT_FLOAT_EQ(l.page.view.Scale(), 1);
    l.Relayout();
    EXPECT_EQ(l.layout.Dump(), before);
}

TEST(ImageVariant, TheNearestFactorNotSmallerAndItsName) {
    EXPECT_FLOAT_EQ(ImageVariantFactor(0.75f), 1);
    EXPECT_FLOAT_EQ(ImageVariantFactor(1), 1);
    EXPECT_FLOAT_EQ(ImageVariantFactor(120 / 96.0f), 1.25f);
    EXPECT_FLOAT_EQ(ImageVariantFactor(1.3f), 1.5f);
    EXPECT_FLOAT_EQ(ImageVariantFactor(144 / 96.0f), 1.5f);
    EXPECT_FLOAT_EQ(ImageVariantFactor(1.75f), 2);
    EXPECT_FLOAT_EQ(ImageVariantFactor(2.5f), 3);
    EXPECT_FLOAT_EQ(ImageVariantFactor(4), 3);
    EXPECT_EQ(ImageVariantUrl(u"logo.png", 1), u"logo.png");
    EXPECT_EQ(ImageVariantUrl(u"logo.png", 1.25f), u"logo_x125.png");
    EXPECT_EQ(ImageVariantUrl(u"art.v2/txt-msg-bg.png", 3), u"art.v2/txt-msg-bg_x300.png");
    EXPECT_EQ(ImageVariantUrl(u"res:art.v2\\logo", 2), u"res:art.v2\\logo_x200");
}

TEST(DisplayScale, ThePictureDrawnForTheScaleIsAskedForAndThePlainOneOnlyWhenItIsMissing) {
    engine_test::Page page(R"html(<body><div style="background-image: url(logo.png)"></div><img src="mark.png"></body>)html");
    page.host.answers[u"logo_x150.png"] = "bytes";
    page.host.requests.clear();
    page.view.SetScale(1.5);
    std::vector<std::u16string> asked;
    for (const auto& r : page.host.requests) asked.push_back(r.url);
    EXPECT_NE(std::find(asked.begin(), asked.end(), u"logo_x150.png"), asked.end());
    EXPECT_EQ(std::find(asked.begin(), asked.end(), u"logo.png"), asked.end()) << "asked at 96 DPI only";
    EXPECT_NE(std::find(asked.begin(), asked.end(), u"mark_x150.png"), asked.end());
    EXPECT_EQ(std::count(asked.begin(), asked.end(), u"mark.png"), 0) << "asked once already, at 96 DPI";
}

TEST(DisplayScale, TheDeviceDrawsThePictureForTheScaleUnscaledElseThePlainOneEnlarged) {
    engine_test::DrawnPage page(R"html(<div id=v style="width: 2px; height: 2px; background-image: url(dot.png)"></div>
      <div id=p style="width: 4px; height: 4px; background-image: url(half.png)"></div>)html", 20, 20);
    page.answers[u"dot_x200.png"] = engine_test::SolidPng(4, 4, 0xFFFF0000); // red where the plain one is blue
    page.view.SetScale(2);
    page.Render();
    EXPECT_EQ(page.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(page.At(3, 3), 0xFFFF0000u);
    // No half_x200.png: the 4 x 4 plain picture covers the 8 x 8 box below.
    EXPECT_NE(page.At(1, 5) >> 24, 0u);
    EXPECT_NE(page.At(6, 11) >> 24, 0u);
    EXPECT_EQ(page.At(9, 5) >> 24, 0u);
}

// At 144 DPI the 2px ring is 3 device pixels on each side, in full colour: a box whose CSS place falls between
// device pixels must not smear it over four half-covered ones.
TEST(DisplayScale, TheFocusRingIsItsCssWidthInWholeSharpDevicePixels) {
    constexpr std::uint32_t kAccent = 0xFF1A6BD6, kWhite = 0xFFFFFFFF;
    engine_test::DrawnPage page(R"html(<style>:focus-visible { outline-style: solid; outline-width: 2px; outline-color: #1a6bd6 }</style>
      <body style="margin: 0; background: white"><button id=b style="position: absolute; left: 13px; top: 7px;
        width: 41px; height: 21px; margin: 0; padding: 0; border: 0; background: white"></button></body>)html",
                                120, 60, false);
    page.view.SetScale(1.5);
    engine::HandleKey(page.view, KEY_DOWN, 0x09, 0); // Tab: the keyboard's focus, with its ring
    page.Render();
    for (int y : {20, 30}) {
        std::string row;
        for (int x = 0; x < 120; ++x) {
            std::uint32_t p = page.At(x, y);
            row += p == kAccent ? 'R' : p == kWhite ? '.' : '?';
        }
        EXPECT_EQ(std::count(row.begin(), row.end(), 'R'), 6) << row;
        EXPECT_EQ(std::count(row.begin(), row.end(), '?'), 0) << "blended, not sharp: " << row;
        EXPECT_NE(row.find("RRR"), std::string::npos) << row;
    }
}

} // namespace

