#pragma once
// Text, images and shapes for layout and painting. Text comes from GDI's antialiased glyphs and images from
// the shared decoder; both, and opaque fills, are written straight into the premultiplied pixels. GDI+
// draws the rest: blended and rounded shapes, scaled and tiled images.

#include "engine/layout/measurer.h"
#include "engine/paint/canvas.h"

#include "engine/win32/gdiplus_include.h"
#include "engine/win32/image_decoder.h"
#include "engine/win32/lazy_graphics.h"
#include "engine/win32/pixel_target.h"

#include <map>
#include <optional>
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

    // Drawing goes to these pixels (32-bit premultiplied, top-down rows) until the next call, within their
    // clip; no pixels stop drawing.
    void SetTarget(const PixelTarget& pixels);
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
        std::vector<std::uint32_t> pixels; // empty when nothing of it can be seen
        LazyGraphics graphics;
        PixelTarget below;
        unsigned opacity = 255;
        bool passThrough = false;
    };

    // What GDI+ draws through, clipped (also to `within` when given); null when nothing may be drawn.
    Gdiplus::Graphics* Gdi(const RectF* within = nullptr);
    const DecodedImage* Image(const std::u16string& url, float& factor);
    RectF Snapped(const RectF& rect) const;
    bool FillPixels(const RectF& rect, std::uint32_t argb);
    bool FillRounded(const RectF& rect, std::uint32_t argb, const Radii& radii);
    // Which pixels of a corner's square GDI+ fills (row by row), for a radius and a corner (0 top-left, then
    // clockwise); null when it covers some only partly, which only GDI+ itself can then blend.
    const std::vector<bool>* CornerMask(float radius, int corner);
    bool BlitImage(const DecodedImage& image, const ImageTiling& t);

    View& view_;
    LazyGraphics graphics_;
    PixelTarget pixels_; // where drawing goes now: the target, or the innermost layer
    RectF clip_;         // the clip as given, for GDI+; pixels_.clip is it in whole pixels
    std::map<std::u16string, std::shared_ptr<const DecodedImage>> images_; // by the URL drawn; null: not decodable
    std::map<std::u16string, std::shared_ptr<const DecodedImage>> forgotten_;
    bool imagesReplaced_ = false;
    std::vector<std::pair<RectF, PixelClip>> clips_;
    std::vector<Layer> layers_;
    std::map<std::pair<float, int>, std::optional<std::vector<bool>>> cornerMasks_;
};

} // namespace engine::win32
