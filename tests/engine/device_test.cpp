// The window layer's own drawing: GDI glyphs kept per font, and images decoded once per content.

#include "drawn_page.h"
#include "engine/win32/gdiplus_device.h"
#include "engine/win32/gdiplus_session.h"
#include "engine/win32/image_decoder.h"
#include "engine/win32/png_encoder.h"
#include "engine/win32/raster_font.h"
#include "engine_test_support.h"
#include "png_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using namespace engine::win32;

struct Pixels {
    Pixels(int w, int h, std::uint32_t fill = 0) : width(w), height(h), background(fill), data(std::size_t(w) * h, fill) {}
    PixelTarget Target(PixelClip clip) { return {data.data(), width, height, clip}; }
    PixelTarget Target() { return Target({0, 0, width, height}); }
    std::uint32_t At(int x, int y) const { return data[std::size_t(y) * width + x]; }
    int Inked(int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += At(x, y) != background;
        return n;
    }
    int width, height;
    std::uint32_t background;
    std::vector<std::uint32_t> data;
};

engine::FontSpec Font(const std::string& families = "Tahoma, sans-serif", float size = 14) {
    engine::FontSpec spec;
    spec.families = families;
    spec.size = size;
    return spec;
}

unsigned MaxAlpha(const Pixels& p) {
    unsigned most = 0;
    for (std::uint32_t v : p.data) most = std::max(most, unsigned(v >> 24));
    return most;
}

TEST(RasterFont, MeasuresWhatItDrawsAndKeepsWithinTheClip) {
    RasterFont& font = RasterFontFor(Font());
    EXPECT_GT(font.Metrics().ascent, 0);
    EXPECT_GT(font.Metrics().descent, 0);
    float word = font.Width(u"Wide"), letters = font.Width(u"W") + font.Width(u"i") + font.Width(u"d") + font.Width(u"e");
    EXPECT_GT(word, 0);
    EXPECT_EQ(word, letters);
    EXPECT_EQ(font.Width(u""), 0);
    EXPECT_EQ(font.Width(u"\t\r\n"), 0); // control characters take no room
    // A surrogate pair is one character; a lone surrogate does not swallow its neighbour.
    EXPECT_EQ(font.Width(u"\U0001F600"), font.Width(std::u16string(1, char16_t(0xD83D)) + u"x") - font.Width(u"x"));

    Pixels whole(80, 30);
    float drawn = font.Draw(whole.Target(), u"Wide", 2, 4, 0xFF000000);
    EXPECT_EQ(drawn, word);
    EXPECT_EQ(MaxAlpha(whole), 255u);
    EXPECT_GT(whole.Inked(2, 4, 2 + int(word), 4 + int(font.Metrics().ascent + font.Metrics().descent)), 20);

    Pixels clipped(80, 30);
    font.Draw(clipped.Target({10, 0, 20, 30}), u"Wide", 2, 4, 0xFF000000);
    EXPECT_GT(clipped.Inked(10, 0, 20, 30), 0);
    EXPECT_EQ(clipped.Inked(0, 0, 10, 30) + clipped.Inked(20, 0, 80, 30), 0);

    // Text drawn far outside the target touches nothing; an absurd size is drawn at a size GDI can make.
    Pixels outside(20, 20);
    font.Draw(outside.Target(), u"Wide", -5000, 9000, 0xFF000000);
    EXPECT_EQ(outside.Inked(0, 0, 20, 20), 0);
    RasterFont& huge = RasterFontFor(Font("serif", 1e9f));
    EXPECT_GT(huge.Metrics().ascent, 100);
    huge.Draw(outside.Target(), u"W", -100, -100, 0xFF000000);
}

TEST(RasterFont, BlendsTranslucentColoursPremultiplied) {
    Pixels half(60, 30);
    RasterFontFor(Font()).Draw(half.Target(), u"M", 2, 2, 0x80FF0000);
    EXPECT_GE(MaxAlpha(half), 0x7Fu);
    EXPECT_LE(MaxAlpha(half), 0x80u);
    for (std::uint32_t v : half.data) EXPECT_LE((v >> 16) & 0xFF, v >> 24) << "not premultiplied";

    Pixels onWhite(60, 30, 0xFFFFFFFF);
    RasterFontFor(Font()).Draw(onWhite.Target(), u"M", 2, 2, 0xFF0000FF);
    EXPECT_EQ(MaxAlpha(onWhite), 255u);
    EXPECT_TRUE(std::any_of(onWhite.data.begin(), onWhite.data.end(), [](std::uint32_t v) { return v == 0xFF0000FF; }));
}

TEST(RasterFont, UnknownFamiliesFallBackToAFaceThatDraws) {
    RasterFont& font = RasterFontFor(Font("No Such Family, 'Nor This One'"));
    EXPECT_GT(font.Width(u"abc"), 0);
    Pixels p(40, 30);
    font.Draw(p.Target(), u"abc", 0, 0, 0xFF000000);
    EXPECT_GT(p.Inked(0, 0, 40, 30), 0);
    // Bold is wider than regular in the same family.
    engine::FontSpec bold = Font();
    bold.weight = 700;
    EXPECT_GT(RasterFontFor(bold).Width(u"Wide words"), RasterFontFor(Font()).Width(u"Wide words"));
}

TEST(ImageDecoder, PngsDecodePremultipliedAndOncePerContent) {
    auto translucent = DecodeImage(engine_test::SolidPng(3, 2, 0x80FF0000));
    ASSERT_TRUE(translucent);
    EXPECT_EQ(translucent->width, 3);
    EXPECT_EQ(translucent->height, 2);
    EXPECT_EQ(translucent->Pixel(2, 1), 0x80800000u);
    ASSERT_TRUE(translucent->Bitmap());

    auto opaque = DecodeImage(engine_test::SolidPng(2, 2, 0xFF00FF00));
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->Pixel(1, 1), 0xFF00FF00u);

    // The same bytes, delivered again, are the same image; other bytes of the same size are not.
    EXPECT_EQ(DecodeImage(engine_test::SolidPng(3, 2, 0x80FF0000)), translucent);
    auto other = DecodeImage(engine_test::SolidPng(3, 2, 0x800000FF));
    ASSERT_TRUE(other);
    EXPECT_NE(other, translucent);
    EXPECT_EQ(other->Pixel(0, 0), 0x80000080u);
}

// A window frame's middle is one row many times over: that run is held once, and the image draws at its own
// size, tiled and scaled exactly as the rows it stands for.
TEST(ImageDecoder, RunsOfEqualRowsAreHeldOnceAndDrawnInTheirPlaces) {
    constexpr std::uint32_t red = 0xFFFF0000, blue = 0xFF0000FF;
    const std::vector<std::uint32_t> rows{red, blue, blue, blue, blue, red, blue, blue};
    const std::string png = engine_test::RowsPng(3, rows);
    auto image = DecodeImage(png);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels.size(), 4u * 3) << "red, blue, red, blue: a run again after another is a row again";
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 3; ++x) ASSERT_EQ(image->Pixel(x, y), rows[y]) << x << "," << y;

    engine_test::DrawnPage d(R"html(<img src="rows.png" style="display: block">
        <div style="background: url(rows.png); width: 9px; height: 16px"></div>
        <img src="rows.png" style="display: block; width: 6px; height: 16px">)html",
                             20, 60);
    d.view.DataReady(u"rows.png", png);
    d.Render();
    for (int y = 0; y < 16; ++y) {
        if (y < 8) {
            EXPECT_EQ(d.At(1, y), rows[y]) << "own size, row " << y;
        }
        for (int x = 0; x < 9; ++x) ASSERT_EQ(d.At(x, 8 + y), rows[y % 8]) << "tiled, " << x << "," << y;
    }
    // Scaled twice: GDI+ draws the rows laid out again. Rows 1-4 are blue whatever the filter; row 5 is red.
    for (int y = 24 + 4; y < 24 + 8; ++y) EXPECT_EQ(d.At(2, y), blue) << "scaled, " << y;
    EXPECT_GT((d.At(2, 24 + 10) >> 16) & 0xFF, 0x40u) << "the second red row, scaled";
}

TEST(ImageDecoder, OtherFormatsGoThroughGdiplus) {
    EnsureGdiplus();
    Gdiplus::Bitmap bitmap(4, 3, PixelFormat24bppRGB);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) bitmap.SetPixel(x, y, Gdiplus::Color(255, 10, 20, 30));
    std::string bmp = EncodeImage(bitmap, L"image/bmp");
    ASSERT_FALSE(bmp.empty());
    auto image = DecodeImage(bmp);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->Pixel(3, 2), 0xFF0A141Eu);
}

// A device drawing into pixels of its own, as the renderer sets it up.
struct Device {
    explicit Device(int w = 20, int h = 10) : pixels(w, h) { device.SetTarget(pixels.Target()); }
    Pixels pixels;
    engine_test::TestHost host;
    engine::View view{host};
    GdiplusDevice device{view};
};

TEST(GdiplusDevice, LayersLandOnceAtTheirOpacity) {
    Device d;
    const engine::Radii square{};
    d.device.FillRect({0, 0, 20, 10}, 0xFFFFFFFF, square);
    d.device.BeginLayer(0.5f);
    d.device.FillRect({0, 0, 10, 10}, 0xFF0000FF, square);
    d.device.FillRect({5, 0, 10, 10}, 0xFF0000FF, square); // overlaps the first: no darker where they meet
    d.device.EndLayer();
    EXPECT_EQ(d.pixels.At(2, 5), 0xFF7F7FFFu);
    EXPECT_EQ(d.pixels.At(7, 5), 0xFF7F7FFFu);
    EXPECT_EQ(d.pixels.At(17, 5), 0xFFFFFFFFu);

    // Nested layers multiply; an invisible one draws nothing, even through a clip pushed inside it.
    d.device.BeginLayer(0.5f);
    d.device.BeginLayer(0.5f);
    d.device.FillRect({15, 0, 5, 10}, 0xFF000000, square);
    d.device.EndLayer();
    d.device.EndLayer();
    EXPECT_EQ(d.pixels.At(17, 5), 0xFFBFBFBFu);
    d.device.BeginLayer(0);
    d.device.PushClip({0, 0, 5, 5});
    d.device.FillRect({0, 0, 20, 10}, 0xFF000000, square);
    d.device.PopClip();
    d.device.EndLayer();
    EXPECT_EQ(d.pixels.At(2, 5), 0xFF7F7FFFu);
    d.device.EndLayer(); // unbalanced: ignored

    // Translucency nested a thousand deep neither runs out of memory nor loses the balance of layers.
    for (int i = 0; i < 1000; ++i) d.device.BeginLayer(0.99f);
    d.device.FillRect({0, 0, 20, 10}, 0xFF000000, square);
    for (int i = 0; i < 1000; ++i) d.device.EndLayer();
    EXPECT_EQ(d.pixels.At(2, 5) >> 24, 0xFFu);
    EXPECT_LT(d.pixels.At(2, 5) & 0xFF, 0x7Fu);
}

// An opaque rounded fill is written directly but for its corners; every pixel must come out as GDI+ alone
// draws the shape, also where the clip cuts through a corner.
TEST(GdiplusDevice, RoundedFillsMatchGdiplusPixelForPixel) {
    const engine::RectF rect{3, 2, 40, 30};
    const engine::Radii radii{6, 0, 3.5f, 10};
    const std::uint32_t colour = 0xFF1A6BD6;
    Device d(50, 40);
    d.device.PushClip({0, 0, 41, 36});
    d.device.FillRect(rect, colour, radii);
    d.device.PopClip();

    EnsureGdiplus();
    Pixels expected(50, 40);
    {
        Gdiplus::Bitmap bitmap(50, 40, 50 * 4, PixelFormat32bppPARGB,
                               reinterpret_cast<BYTE*>(expected.data.data()));
        Gdiplus::Graphics g(&bitmap);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        g.SetClip(Gdiplus::RectF(0, 0, 41, 36));
        Gdiplus::GraphicsPath path;
        path.AddArc(rect.x, rect.y, 12.0f, 12.0f, 180, 90);
        path.AddLine(rect.Right(), rect.y, rect.Right(), rect.y);
        path.AddArc(rect.Right() - 7, rect.Bottom() - 7, 7.0f, 7.0f, 0, 90);
        path.AddArc(rect.x, rect.Bottom() - 20, 20.0f, 20.0f, 90, 90);
        path.CloseFigure();
        Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
        g.FillPath(&brush, &path);
    }
    int differing = 0;
    for (std::size_t i = 0; i < expected.data.size(); ++i)
        differing += expected.data[i] != d.pixels.data[i];
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(d.pixels.At(20, 15), 0xFF1A6BD6u) << "the middle is filled";
    EXPECT_EQ(d.pixels.At(3, 2), 0u) << "outside the top-left arc";
    EXPECT_EQ(d.pixels.At(42, 2), 0u) << "beyond the clip";
}

// A rounded border repainted through a small clip anywhere (its ring, its corners' curves, just inside them
// or in its middle) comes out exactly as the whole border draws it there.
TEST(GdiplusDevice, RoundedStrokesThroughSmallClipsMatchTheWholeStroke) {
    const engine::RectF border{3, 2, 44, 36};
    const engine::Radii radii{16, 2, 6.5f, 0}; // the top-left curve runs five pixels inside both edges
    const float width = 1.5f;
    Device whole(50, 40);
    whole.device.StrokeRect(border, width, 0xFF1A6BD6, radii);
    ASSERT_GT(whole.pixels.Inked(0, 0, 50, 40), 100);
    int differing = 0;
    for (int top = 0; top + 3 <= 40; top += 2)
        for (int left = 0; left + 3 <= 50; left += 2) {
            Device part(50, 40);
            part.device.SetTarget(part.pixels.Target({left, top, left + 3, top + 3}));
            part.device.StrokeRect(border, width, 0xFF1A6BD6, radii);
            for (int y = top; y < top + 3; ++y)
                for (int x = left; x < left + 3; ++x) differing += part.pixels.At(x, y) != whole.pixels.At(x, y);
        }
    EXPECT_EQ(differing, 0);
}

// The CRC of a PNG chunk, so that a doctored header still reads as valid.
std::uint32_t Crc(const std::string& bytes, std::size_t from, std::size_t to) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = from; i < to; ++i) {
        crc ^= static_cast<unsigned char>(bytes[i]);
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
    }
    return ~crc;
}

void PutBigEndian(std::string& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

TEST(ImageDecoder, BadBytesAndEnormousImagesGiveNoImage) {
    EXPECT_FALSE(DecodeImage(""));
    EXPECT_FALSE(DecodeImage("not an image at all"));
    std::string png = engine_test::SolidPng(8, 8, 0xFF123456);
    EXPECT_FALSE(DecodeImage(png.substr(0, 40))); // cut off inside the pixel data
    EXPECT_FALSE(DecodeImage(png.substr(0, 8)));  // the signature alone

    // A valid header claiming 60000 x 60000 pixels: refused before anything is allocated.
    std::string huge = png;
    PutBigEndian(huge, 16, 60000);
    PutBigEndian(huge, 20, 60000);
    PutBigEndian(huge, 29, Crc(huge, 12, 29));
    EXPECT_FALSE(DecodeImage(huge));
}

} // namespace
