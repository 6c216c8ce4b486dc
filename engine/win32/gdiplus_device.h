#pragma once
// Text, images and shapes with GDI+: measures for layout and draws for painting. Fonts walk the CSS
// family list to one that exists (under Wine often only "DejaVu Sans"); images are decoded from the bytes
// the page's host delivered and kept premultiplied.

#include "engine/layout/measurer.h"
#include "engine/paint/canvas.h"

#include "engine/win32/gdiplus_include.h"

#include <map>
#include <memory>
#include <vector>

namespace engine {
class View;
}

namespace engine::win32 {

class GdiplusDevice final : public Measurer, public Canvas {
public:
    explicit GdiplusDevice(View& view);
    ~GdiplusDevice() override;

    // Drawing goes to this target until the next call; null stops drawing. The pixels, when given, are the
    // target's own (32-bit premultiplied, top-down rows), for fills that need no blending.
    void SetTarget(Gdiplus::Graphics* graphics, std::uint32_t* pixels = nullptr, int width = 0, int height = 0);
    // Images whose bytes were missing are looked for again.
    void ForgetMissingImages();

    FontMetrics Metrics(const FontSpec& font) override;
    float TextWidth(const FontSpec& font, std::u16string_view text) override;
    bool ImageSize(const std::u16string& url, int& width, int& height) override;

    void FillRect(const RectF& rect, std::uint32_t argb, const Radii& radii) override;
    void StrokeRect(const RectF& border, float width, std::uint32_t argb, const Radii& radii) override;
    void DrawImage(const std::u16string& url, const ImageTiling& tiling) override;
    void PaintText(const std::u16string& text, const FontSpec& font, float x, float y, std::uint32_t argb,
                  bool underline) override;
    void PushClip(const RectF& rect) override;
    void PopClip() override;

private:
    struct Font {
        std::unique_ptr<Gdiplus::FontFamily> family;
        std::unique_ptr<Gdiplus::Font> font;
        FontMetrics metrics;
    };
    Font& FontFor(const FontSpec& spec);
    bool FillOpaque(const RectF& rect, std::uint32_t argb);
    Gdiplus::Bitmap* Image(const std::u16string& url);

    View& view_;
    Gdiplus::Graphics* target_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    int pixelsWidth_ = 0, pixelsHeight_ = 0;
    std::unique_ptr<Gdiplus::Bitmap> scratchBitmap_;
    std::unique_ptr<Gdiplus::Graphics> scratch_; // for measuring
    std::unique_ptr<Gdiplus::StringFormat> format_;
    std::map<FontSpec, Font> fonts_;
    std::map<std::pair<FontSpec, std::u16string>, float> widths_; // words repeat; measuring is slow
    std::map<std::u16string, std::unique_ptr<Gdiplus::Bitmap>> images_; // null: not decodable
    std::vector<Gdiplus::GraphicsState> clips_;
};

} // namespace engine::win32
