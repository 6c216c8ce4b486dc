#pragma once
// Text, images and shapes for layout and painting. Text comes from GDI's antialiased glyphs and images from
// the shared decoder; both, and opaque fills, are written straight into the premultiplied pixels. GDI+
// draws the rest: blended and rounded shapes, scaled and tiled images.

#include "engine/layout/measurer.h"
#include "engine/paint/canvas.h"

#include "engine/win32/gdiplus_include.h"
#include "engine/win32/image_decoder.h"
#include "engine/win32/pixel_target.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace engine {
class View;
}

namespace engine::win32 {

class GdiplusDevice final : public Measurer, public Canvas {
public:
    explicit GdiplusDevice(View& view);
    ~GdiplusDevice() override;

    // Drawing goes to these pixels (32-bit premultiplied, top-down rows) and the graphics over them until the
    // next call, within the clip; a null graphics stops drawing.
    void SetTarget(Gdiplus::Graphics* graphics, const PixelTarget& pixels = {});
    // The page's resources may have changed: images are looked up again.
    void ForgetImages();
    // Whether a name now shows another image than before the last ForgetImages; asking clears it.
    bool TakeImagesReplaced() { return std::exchange(imagesReplaced_, false); }

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
    void BeginLayer(float opacity) override;
    void EndLayer() override;

private:
    // A translucent box is drawn into a bitmap of its own, then laid over what was there.
    struct Layer {
        std::vector<std::uint32_t> pixels;
        std::unique_ptr<Gdiplus::Bitmap> bitmap;
        std::unique_ptr<Gdiplus::Graphics> graphics;
        Gdiplus::Graphics* below = nullptr;
        PixelTarget belowPixels;
        unsigned opacity = 255;
        bool passThrough = false;
    };

    const DecodedImage* Image(const std::u16string& url);
    bool FillPixels(const RectF& rect, std::uint32_t argb);
    bool BlitImage(const DecodedImage& image, const ImageTiling& t);

    View& view_;
    Gdiplus::Graphics* target_ = nullptr;
    PixelTarget pixels_;
    std::map<std::u16string, std::shared_ptr<const DecodedImage>> images_; // null: not decodable
    std::map<std::u16string, std::shared_ptr<const DecodedImage>> forgotten_;
    bool imagesReplaced_ = false;
    std::vector<std::pair<Gdiplus::GraphicsState, PixelClip>> clips_;
    std::vector<Layer> layers_;
};

} // namespace engine::win32
