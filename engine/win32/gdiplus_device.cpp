#include "engine/win32/gdiplus_device.h"

#include "engine/view/image_variant.h"
#include "engine/view/view.h"
#include "engine/win32/drawing_warm_up.h"
#include "engine/win32/gdiplus_session.h"
#include "engine/win32/raster_font.h"

#include <algorithm>
#include <cmath>

namespace engine::win32 {
namespace {

using Gdiplus::REAL;

Gdiplus::Color ColorOf(std::uint32_t argb) { return Gdiplus::Color(static_cast<Gdiplus::ARGB>(argb)); }

Gdiplus::RectF RectOf(const RectF& r) { return Gdiplus::RectF(r.x, r.y, r.w, r.h); }

void AddRoundRect(Gdiplus::GraphicsPath& path, const Gdiplus::RectF& r, const Radii& radii) {
    auto arc = [&](REAL x, REAL y, REAL radius, REAL start) {
        if (radius > 0) path.AddArc(x, y, radius * 2, radius * 2, start, 90);
        else path.AddLine(x, y, x, y);
    };
    arc(r.X, r.Y, radii[0], 180);
    arc(r.X + r.Width - radii[1] * 2, r.Y, radii[1], 270);
    arc(r.X + r.Width - radii[2] * 2, r.Y + r.Height - radii[2] * 2, radii[2], 0);
    arc(r.X, r.Y + r.Height - radii[3] * 2, radii[3], 90);
    path.CloseFigure();
}

bool Rounded(const Radii& radii) {
    return std::any_of(radii.begin(), radii.end(), [](float r) { return r > 0; });
}

constexpr std::size_t kMaxLayers = 8; // each holds a bitmap the size of the window

bool Whole(float v) { return v == std::floor(v) && std::fabs(v) < 1e6f; }

// A stroke colours its ring and the curves of its corners, all within the larger of its width and radii of
// its edges; antialiasing and the half-pixel offset reach less than two pixels further. A clip inside what
// lies beyond sees nothing of it.
bool InsideStrokeHole(const RectF& border, float width, const Radii& radii, const RectF& clip) {
    const float reach = std::max(width, *std::max_element(radii.begin(), radii.end())) + 2;
    const RectF hole{border.x + reach, border.y + reach, border.w - 2 * reach, border.h - 2 * reach};
    return hole.w > 0 && hole.h > 0 && clip.x >= hole.x && clip.y >= hole.y && clip.Right() <= hole.Right() &&
           clip.Bottom() <= hole.Bottom();
}

PixelClip PixelsOf(const RectF& r) {
    auto edge = [](float v) { return static_cast<int>(std::lround(std::clamp(v, -1e6f, 1e6f))); };
    return {edge(r.x), edge(r.y), edge(r.Right()), edge(r.Bottom())};
}

} // namespace

GdiplusDevice::GdiplusDevice(View& view) : view_(view) {
    WarmUpDrawing();
    EnsureGdiplus();
}

GdiplusDevice::~GdiplusDevice() = default;

void GdiplusDevice::SetTarget(const PixelTarget& pixels) {
    layers_.clear();
    clips_.clear();
    pixels_ = pixels;
    pixels_.clip = pixels_.clip.Intersect({0, 0, pixels_.width, pixels_.height});
    clip_ = {float(pixels_.clip.left), float(pixels_.clip.top), float(pixels_.clip.right - pixels_.clip.left),
             float(pixels_.clip.bottom - pixels_.clip.top)};
    if (pixels_.pixels) graphics_.Attach(pixels_.pixels, pixels_.width, pixels_.height);
}

Gdiplus::Graphics* GdiplusDevice::Gdi(const RectF* within) {
    if (!pixels_.pixels) return nullptr;
    RectF clip = within ? Intersection(clip_, *within) : clip_;
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it)
        if (!it->passThrough) return it->graphics.Get(clip);
    return graphics_.Get(clip);
}

FontMetrics GdiplusDevice::Metrics(const FontSpec& font) { return RasterFontFor(font).Metrics(); }

float GdiplusDevice::TextWidth(const FontSpec& font, std::u16string_view text) {
    return text.empty() ? 0 : RasterFontFor(font).Width(text);
}

// The picture drawn for the view's scale when the page's host holds one, else the plain one (scaled when
// drawn); decoded when first asked for. `factor` is the size of the picture chosen, relative to the plain one.
const DecodedImage* GdiplusDevice::Image(const std::u16string& url, float& factor) {
    std::u16string resolved = view_.ResolveUrl(url);
    factor = ImageVariantFactor(view_.Scale());
    std::u16string chosen = ImageVariantUrl(resolved, factor);
    if (factor > 1 && !view_.Resource(chosen)) {
        chosen = resolved;
        factor = 1;
    }
    auto it = images_.find(chosen);
    if (it != images_.end()) return it->second.get();
    const std::string* bytes = view_.Resource(chosen);
    if (!bytes) return nullptr; // not delivered (yet): no entry, so that a later answer is seen
    auto decoded = DecodeImage(*bytes);
    if (auto old = forgotten_.find(chosen); old != forgotten_.end() && old->second != decoded) imagesReplaced_ = true;
    return images_.emplace(chosen, std::move(decoded)).first->second.get();
}

void GdiplusDevice::ForgetImages() {
    // Kept until the next time, so that a name answered with new bytes is noticed.
    forgotten_ = std::move(images_);
    images_.clear();
}

bool GdiplusDevice::ImageSize(const std::u16string& url, int& width, int& height) {
    float factor = 1;
    const DecodedImage* image = Image(url, factor);
    if (!image) return false;
    float scale = view_.Scale();
    width = scale == factor ? image->width : static_cast<int>(std::lround(image->width * scale / factor));
    height = scale == factor ? image->height : static_cast<int>(std::lround(image->height * scale / factor));
    return true;
}

// At a display scale other than 1 boxes land between pixels (13px at 125 % is 16.25); their edges are put on
// the nearest pixel edge, as a browser does, so that fills, borders and pictures stay sharp and the fast
// whole-pixel paths take them. At 96 DPI lengths are drawn as laid out.
RectF GdiplusDevice::Snapped(const RectF& r) const {
    if (view_.Scale() == 1) return r;
    float left = std::round(r.x), top = std::round(r.y);
    return {left, top, std::round(r.x + r.w) - left, std::round(r.y + r.h) - top};
}

void GdiplusDevice::FillRect(const RectF& given, std::uint32_t argb, const Radii& radii) {
    const RectF rect = Snapped(given);
    if (!pixels_.pixels || rect.w <= 0 || rect.h <= 0 || !(argb >> 24)) return;
    if (Rounded(radii) ? FillRounded(rect, argb, radii) : FillPixels(rect, argb)) return;
    Gdiplus::Graphics* g = Gdi();
    if (!g) return;
    Gdiplus::SolidBrush brush(ColorOf(argb));
    if (!Rounded(radii)) {
        g->FillRectangle(&brush, RectOf(rect));
        return;
    }
    Gdiplus::GraphicsPath path;
    AddRoundRect(path, RectOf(rect), radii);
    g->FillPath(&brush, &path);
}

// A fill of whole pixels covers each of them fully, so it is written directly: far faster than GDI+'s
// blending (a window-sized fill took tens of milliseconds under Wine), with the same result.
bool GdiplusDevice::FillPixels(const RectF& rect, std::uint32_t argb) {
    if (!pixels_.pixels || !Whole(rect.x) || !Whole(rect.y) || !Whole(rect.w) || !Whole(rect.h)) return false;
    PixelClip area = PixelsOf(rect).Intersect(pixels_.clip);
    std::uint32_t color = Premultiplied(argb);
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint32_t* row = pixels_.Row(y);
        if ((argb >> 24) == 0xFF) std::fill(row + area.left, row + std::max(area.left, area.right), color);
        else
            for (int x = area.left; x < area.right; ++x) row[x] = BlendOver(row[x], color, 255);
    }
    return true;
}

// An opaque rounded fill of whole pixels covers all of them fully but in its corners' squares: GDI+ fills
// the same path clipped to those, and the rest is written directly. Through GDI+ alone, the rounded cards
// and caption of a tab switch took milliseconds under Wine.
bool GdiplusDevice::FillRounded(const RectF& rect, std::uint32_t argb, const Radii& radii) {
    if ((argb >> 24) != 0xFF || !Whole(rect.x) || !Whole(rect.y) || !Whole(rect.w) || !Whole(rect.h))
        return false;
    Radii side; // of each corner's square, in whole pixels
    std::transform(radii.begin(), radii.end(), side.begin(), [](float r) { return std::ceil(r); });
    const float bandTop = std::max(side[0], side[1]), bandBottom = std::max(side[3], side[2]);
    if (side[0] + side[1] > rect.w || side[3] + side[2] > rect.w || bandTop + bandBottom > rect.h)
        return false;
    const float left = rect.x, top = rect.y, right = rect.Right(), bottom = rect.Bottom();
    auto fill = [&](const RectF& r) {
        if (r.w > 0 && r.h > 0) FillPixels(r, argb);
    };
    fill({left, top + side[0], side[0], bandTop - side[0]});
    fill({left + side[0], top, rect.w - side[0] - side[1], bandTop});
    fill({right - side[1], top + side[1], side[1], bandTop - side[1]});
    fill({left, top + bandTop, rect.w, rect.h - bandTop - bandBottom});
    fill({left, bottom - bandBottom, side[3], bandBottom - side[3]});
    fill({left + side[3], bottom - bandBottom, rect.w - side[3] - side[2], bandBottom});
    fill({right - side[2], bottom - bandBottom, side[2], bandBottom - side[2]});
    const RectF corners[] = {{left, top, side[0], side[0]},
                             {right - side[1], top, side[1], side[1]},
                             {right - side[2], bottom - side[2], side[2], side[2]},
                             {left, bottom - side[3], side[3], side[3]}};
    const std::uint32_t color = Premultiplied(argb);
    for (int i = 0; i < 4; ++i) {
        const RectF& corner = corners[i];
        if (corner.w <= 0) continue;
        if (const std::vector<bool>* mask = CornerMask(radii[i], i)) {
            const int x0 = static_cast<int>(corner.x), y0 = static_cast<int>(corner.y),
                      n = static_cast<int>(corner.w);
            PixelClip area = PixelClip{x0, y0, x0 + n, y0 + n}.Intersect(pixels_.clip);
            for (int y = area.top; y < area.bottom; ++y)
                for (int x = area.left; x < area.right; ++x)
                    if ((*mask)[static_cast<std::size_t>((y - y0) * n + (x - x0))]) pixels_.Row(y)[x] = color;
            continue;
        }
        Gdiplus::GraphicsPath path;
        AddRoundRect(path, RectOf(rect), radii);
        Gdiplus::SolidBrush brush(ColorOf(argb));
        if (Gdiplus::Graphics* g = Gdi(&corner)) g->FillPath(&brush, &path);
    }
    return true;
}

// GDI+ fills a shape with that radius at every corner once, on a square that keeps the corners apart; a
// corner's pixels depend on nothing but its radius, the shape lying on whole pixels.
const std::vector<bool>* GdiplusDevice::CornerMask(float radius, int corner) {
    auto [it, added] = cornerMasks_.try_emplace({radius, corner});
    if (!added) return it->second ? &*it->second : nullptr;
    const int side = static_cast<int>(std::ceil(radius)), size = 2 * side + 2;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size, 0);
    {
        EnsureGdiplus();
        Gdiplus::Bitmap bitmap(size, size, size * 4, PixelFormat32bppPARGB,
                               reinterpret_cast<BYTE*>(pixels.data()));
        Gdiplus::Graphics g(&bitmap);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        Gdiplus::GraphicsPath path;
        AddRoundRect(path, Gdiplus::RectF(0, 0, REAL(size), REAL(size)),
                     Radii{radius, radius, radius, radius});
        Gdiplus::SolidBrush brush(Gdiplus::Color(0xFFFFFFFF));
        if (g.FillPath(&brush, &path) != Gdiplus::Ok) return nullptr;
    }
    const int ox = corner == 1 || corner == 2 ? size - side : 0, oy = corner >= 2 ? size - side : 0;
    std::vector<bool> mask(static_cast<std::size_t>(side) * side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const std::uint32_t alpha = pixels[static_cast<std::size_t>(oy + y) * size + ox + x] >> 24;
            if (alpha != 0 && alpha != 0xFF) return nullptr; // blended partly: GDI+ must draw it
            mask[static_cast<std::size_t>(y) * side + x] = alpha != 0;
        }
    it->second = std::move(mask);
    return &*it->second;
}

void GdiplusDevice::StrokeRect(const RectF& given, float width, std::uint32_t argb, const Radii& radii) {
    const RectF border = Snapped(given);
    if (!pixels_.pixels || border.w <= 0 || border.h <= 0) return;
    bool whole = Whole(border.x) && Whole(border.y) && Whole(border.w) && Whole(border.h) && Whole(width);
    if (!Rounded(radii) && whole) {
        // Four sides that do not overlap, so that a translucent colour is not laid on twice at the corners.
        if (2 * width >= border.w || 2 * width >= border.h) return void(FillPixels(border, argb));
        FillPixels({border.x, border.y, border.w, width}, argb);
        FillPixels({border.x, border.Bottom() - width, border.w, width}, argb);
        FillPixels({border.x, border.y + width, width, border.h - 2 * width}, argb);
        FillPixels({border.Right() - width, border.y + width, width, border.h - 2 * width}, argb);
        return;
    }
    // NOTE: GDI+ traces the whole path however small the clip: a check box repainted inside a rounded card
    // cost the card's whole border.
    if (InsideStrokeHole(border, width, radii, clip_)) return;
    Gdiplus::Graphics* g = Gdi();
    if (!g) return;
    // The pen runs along the middle of the border.
    Gdiplus::RectF inner(border.x + width / 2, border.y + width / 2, border.w - width, border.h - width);
    Radii inset = radii;
    for (float& r : inset) r = std::max(0.0f, r - width / 2);
    Gdiplus::Pen pen(ColorOf(argb), width);
    if (!Rounded(radii)) {
        g->DrawRectangle(&pen, inner);
        return;
    }
    Gdiplus::GraphicsPath path;
    AddRoundRect(path, inner, inset);
    g->DrawPath(&pen, &path);
}

// Copies at the image's own size on whole pixels need no resampling: blended directly.
bool GdiplusDevice::BlitImage(const DecodedImage& image, const ImageTiling& t) {
    if (!pixels_.pixels || t.w != float(image.width) || t.h != float(image.height) || !Whole(t.x) || !Whole(t.y))
        return false;
    PixelClip area = PixelsOf(CoveredArea(t)).Intersect(pixels_.clip);
    int ox = static_cast<int>(t.x), oy = static_cast<int>(t.y);
    auto wrap = [](int v, int size) { return ((v % size) + size) % size; };
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint32_t* source = image.Row(wrap(y - oy, image.height));
        std::uint32_t* row = pixels_.Row(y);
        for (int x = area.left, sx = wrap(area.left - ox, image.width); x < area.right; ++x) {
            if (std::uint32_t p = source[sx]) row[x] = BlendOver(row[x], p, 255);
            if (++sx == image.width) sx = 0;
        }
    }
    return true;
}

void GdiplusDevice::DrawImage(const std::u16string& url, const ImageTiling& given) {
    ImageTiling t = given;
    if (view_.Scale() != 1) {
        t.area = Snapped(t.area);
        t.x = std::round(t.x);
        t.y = std::round(t.y);
    }
    float factor = 1;
    const DecodedImage* image = Image(url, factor);
    if (!pixels_.pixels || !image || t.w <= 0 || t.h <= 0 || t.area.w <= 0 || t.area.h <= 0) return;
    if (BlitImage(*image, t)) return;
    Gdiplus::Bitmap* bitmap = image->Bitmap();
    if (!bitmap) return;
    if (!t.repeatX && !t.repeatY) {
        if (Gdiplus::Graphics* g = Gdi(&t.area)) g->DrawImage(bitmap, Gdiplus::RectF(t.x, t.y, t.w, t.h));
        return;
    }
    // One brush fill however many copies, so that a tiny image over a huge box costs no more than the box.
    RectF covered = CoveredArea(t);
    Gdiplus::Graphics* g = Gdi();
    if (!g || covered.w <= 0 || covered.h <= 0) return;
    Gdiplus::TextureBrush brush(bitmap, Gdiplus::WrapModeTile);
    brush.ScaleTransform(t.w / float(image->width), t.h / float(image->height));
    brush.TranslateTransform(t.x, t.y, Gdiplus::MatrixOrderAppend);
    g->FillRectangle(&brush, RectOf(covered));
}

void GdiplusDevice::PaintText(const std::u16string& text, const FontSpec& font, float x, float y, std::uint32_t argb,
                             bool underline) {
    if (!pixels_.pixels || !(argb >> 24)) return;
    RasterFont& f = RasterFontFor(font);
    float width = f.Draw(pixels_, text, x, y, argb);
    if (underline) FillPixels({std::round(x), std::round(y + f.Metrics().ascent) + 1, width, 1}, argb);
}

void GdiplusDevice::PushClip(const RectF& given) {
    const RectF rect = Snapped(given);
    clips_.emplace_back(clip_, pixels_.clip);
    clip_ = Intersection(clip_, rect);
    pixels_.clip = pixels_.clip.Intersect(PixelsOf(rect));
}

void GdiplusDevice::PopClip() {
    if (clips_.empty()) return;
    clip_ = clips_.back().first;
    pixels_.clip = clips_.back().second;
    clips_.pop_back();
}

void GdiplusDevice::BeginLayer(float opacity) {
    Layer layer;
    layer.opacity = static_cast<unsigned>(std::lround(std::clamp(opacity, 0.0f, 1.0f) * 255));
    layer.below = pixels_;
    if (layers_.size() >= kMaxLayers) {
        layer.passThrough = true; // deeper translucency is drawn as it comes rather than run out of memory
    } else if (pixels_.pixels && layer.opacity > 0 && !pixels_.clip.Empty()) {
        layer.pixels.assign(static_cast<std::size_t>(pixels_.width) * pixels_.height, 0);
        layer.graphics.Attach(layer.pixels.data(), pixels_.width, pixels_.height);
        pixels_.pixels = layer.pixels.data();
    } else {
        pixels_.pixels = nullptr; // nothing of it can be seen: nothing is drawn
    }
    layers_.push_back(std::move(layer));
}

void GdiplusDevice::EndLayer() {
    if (layers_.empty()) return;
    Layer& layer = layers_.back();
    if (!layer.passThrough && !layer.pixels.empty()) {
        const PixelClip& clip = layer.below.clip;
        for (int y = clip.top; y < clip.bottom; ++y) {
            const std::uint32_t* source = layer.pixels.data() + static_cast<std::size_t>(y) * layer.below.width;
            std::uint32_t* row = layer.below.Row(y);
            for (int x = clip.left; x < clip.right; ++x)
                if (source[x]) row[x] = BlendOver(row[x], source[x], layer.opacity);
        }
    }
    if (!layer.passThrough) pixels_ = layer.below;
    layers_.pop_back();
}

} // namespace engine::win32
