#include "engine/win32/gdiplus_device.h"

#include "engine/view/view.h"
#include "engine/win32/gdiplus_session.h"

#include <objbase.h>

#include <algorithm>
#include <cmath>

namespace engine::win32 {
namespace {

using Gdiplus::REAL;

constexpr std::size_t kMaxCachedWidths = 20000;

Gdiplus::Color ColorOf(std::uint32_t argb) { return Gdiplus::Color(static_cast<Gdiplus::ARGB>(argb)); }

Gdiplus::RectF RectOf(const RectF& r) { return Gdiplus::RectF(r.x, r.y, r.w, r.h); }

const WCHAR* WideOf(const std::u16string& s) { return reinterpret_cast<const WCHAR*>(s.c_str()); }

std::unique_ptr<Gdiplus::FontFamily> Generic(const Gdiplus::FontFamily* family) {
    if (!family || family->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return std::unique_ptr<Gdiplus::FontFamily>(family->Clone());
}

std::unique_ptr<Gdiplus::FontFamily> FamilyNamed(const std::string& name) {
    if (name == "sans-serif") return Generic(Gdiplus::FontFamily::GenericSansSerif());
    if (name == "serif") return Generic(Gdiplus::FontFamily::GenericSerif());
    if (name == "monospace") return Generic(Gdiplus::FontFamily::GenericMonospace());
    std::wstring wide(name.begin(), name.end());
    auto family = std::make_unique<Gdiplus::FontFamily>(wide.c_str());
    if (family->GetLastStatus() != Gdiplus::Ok || !family->IsAvailable()) return nullptr;
    return family;
}

// The first family of the list that exists; then any sans-serif font at all.
std::unique_ptr<Gdiplus::FontFamily> FamilyFor(const std::string& families) {
    std::size_t start = 0;
    while (start <= families.size()) {
        std::size_t comma = families.find(',', start);
        std::string name = families.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        name.erase(0, name.find_first_not_of(" \"'"));
        name.erase(name.find_last_not_of(" \"'") + 1);
        if (!name.empty())
            if (auto family = FamilyNamed(name)) return family;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (auto family = FamilyNamed("DejaVu Sans")) return family;
    return FamilyNamed("sans-serif");
}

std::unique_ptr<Gdiplus::Bitmap> Decode(const std::string& bytes) {
    if (bytes.empty()) return nullptr;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory) return nullptr;
    if (void* p = GlobalLock(memory)) {
        std::copy(bytes.begin(), bytes.end(), static_cast<char*>(p));
        GlobalUnlock(memory);
    }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    std::unique_ptr<Gdiplus::Bitmap> result;
    {
        Gdiplus::Bitmap decoded(stream);
        UINT w = decoded.GetWidth(), h = decoded.GetHeight();
        if (decoded.GetLastStatus() == Gdiplus::Ok && w > 0 && h > 0) {
            // A copy that no longer needs the stream, in the format that draws fastest.
            result = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(w), static_cast<INT>(h), PixelFormat32bppPARGB);
            Gdiplus::Graphics g(result.get());
            g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
            g.DrawImage(&decoded, 0, 0, static_cast<INT>(w), static_cast<INT>(h));
            if (result->GetLastStatus() != Gdiplus::Ok) result.reset();
        }
    }
    stream->Release();
    return result;
}

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

} // namespace

GdiplusDevice::GdiplusDevice(View& view) : view_(view) {
    EnsureGdiplus();
    scratchBitmap_ = std::make_unique<Gdiplus::Bitmap>(1, 1, PixelFormat32bppPARGB);
    scratch_ = std::make_unique<Gdiplus::Graphics>(scratchBitmap_.get());
    format_.reset(Gdiplus::StringFormat::GenericTypographic()->Clone());
    format_->SetFormatFlags(format_->GetFormatFlags() | Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                            Gdiplus::StringFormatFlagsNoWrap);
}

GdiplusDevice::~GdiplusDevice() = default;

void GdiplusDevice::SetTarget(Gdiplus::Graphics* graphics, std::uint32_t* pixels, int width, int height) {
    target_ = graphics;
    pixels_ = graphics ? pixels : nullptr;
    pixelsWidth_ = width;
    pixelsHeight_ = height;
    clips_.clear();
    if (!target_) return;
    target_->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    target_->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    target_->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    target_->SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBilinear);
}

void GdiplusDevice::ForgetMissingImages() {
    for (auto it = images_.begin(); it != images_.end();) it = it->second ? std::next(it) : images_.erase(it);
}

GdiplusDevice::Font& GdiplusDevice::FontFor(const FontSpec& spec) {
    auto it = fonts_.find(spec);
    if (it != fonts_.end()) return it->second;
    Font f;
    f.family = FamilyFor(spec.families);
    INT style = (spec.weight >= 600 ? Gdiplus::FontStyleBold : 0) | (spec.italic ? Gdiplus::FontStyleItalic : 0);
    if (f.family) {
        f.font = std::make_unique<Gdiplus::Font>(f.family.get(), spec.size, style, Gdiplus::UnitPixel);
        REAL em = f.family->GetEmHeight(style);
        if (em > 0) {
            f.metrics.ascent = spec.size * f.family->GetCellAscent(style) / em;
            f.metrics.descent = spec.size * f.family->GetCellDescent(style) / em;
        }
    }
    if (f.metrics.ascent + f.metrics.descent <= 0) f.metrics = {spec.size * 0.8f, spec.size * 0.2f};
    return fonts_.emplace(spec, std::move(f)).first->second;
}

FontMetrics GdiplusDevice::Metrics(const FontSpec& font) { return FontFor(font).metrics; }

float GdiplusDevice::TextWidth(const FontSpec& font, std::u16string_view text) {
    Font& f = FontFor(font);
    if (!f.font || text.empty()) return 0;
    auto key = std::make_pair(font, std::u16string(text));
    if (auto it = widths_.find(key); it != widths_.end()) return it->second;
    Gdiplus::RectF bounds;
    scratch_->MeasureString(WideOf(key.second), static_cast<INT>(key.second.size()), f.font.get(), Gdiplus::PointF(0, 0),
                            format_.get(), &bounds);
    if (widths_.size() > kMaxCachedWidths) widths_.clear();
    widths_.emplace(std::move(key), bounds.Width);
    return bounds.Width;
}

Gdiplus::Bitmap* GdiplusDevice::Image(const std::u16string& url) {
    std::u16string resolved = view_.ResolveUrl(url);
    auto it = images_.find(resolved);
    if (it != images_.end()) return it->second.get();
    const std::string* bytes = view_.Resource(resolved);
    if (!bytes) return nullptr; // not delivered (yet): no entry, so that a later answer is seen
    return images_.emplace(resolved, Decode(*bytes)).first->second.get();
}

bool GdiplusDevice::ImageSize(const std::u16string& url, int& width, int& height) {
    Gdiplus::Bitmap* image = Image(url);
    if (!image) return false;
    width = static_cast<int>(image->GetWidth());
    height = static_cast<int>(image->GetHeight());
    return true;
}

void GdiplusDevice::FillRect(const RectF& rect, std::uint32_t argb, const Radii& radii) {
    if (!target_ || rect.w <= 0 || rect.h <= 0) return;
    Gdiplus::SolidBrush brush(ColorOf(argb));
    if (!Rounded(radii)) {
        if (!FillOpaque(rect, argb)) target_->FillRectangle(&brush, RectOf(rect));
        return;
    }
    Gdiplus::GraphicsPath path;
    AddRoundRect(path, RectOf(rect), radii);
    target_->FillPath(&brush, &path);
}

// An opaque fill of whole pixels overwrites them, which is far faster written directly than through
// GDI+'s blending (a window-sized fill took tens of milliseconds under Wine).
bool GdiplusDevice::FillOpaque(const RectF& rect, std::uint32_t argb) {
    if (!pixels_ || (argb >> 24) != 0xFF || !clips_.empty()) return false;
    if (rect.x != std::floor(rect.x) || rect.y != std::floor(rect.y) || rect.w != std::floor(rect.w) ||
        rect.h != std::floor(rect.h))
        return false;
    Gdiplus::Rect clip;
    target_->GetClipBounds(&clip);
    int left = std::max({0, static_cast<int>(rect.x), clip.X});
    int top = std::max({0, static_cast<int>(rect.y), clip.Y});
    int right = std::min({pixelsWidth_, static_cast<int>(rect.Right()), clip.X + clip.Width});
    int bottom = std::min({pixelsHeight_, static_cast<int>(rect.Bottom()), clip.Y + clip.Height});
    for (int y = top; y < bottom; ++y)
        std::fill_n(pixels_ + static_cast<std::size_t>(y) * pixelsWidth_ + left, std::max(0, right - left), argb);
    return true;
}

void GdiplusDevice::StrokeRect(const RectF& border, float width, std::uint32_t argb, const Radii& radii) {
    if (!target_ || border.w <= 0 || border.h <= 0) return;
    // The pen runs along the middle of the border.
    Gdiplus::RectF inner(border.x + width / 2, border.y + width / 2, border.w - width, border.h - width);
    Radii inset = radii;
    for (float& r : inset) r = std::max(0.0f, r - width / 2);
    Gdiplus::Pen pen(ColorOf(argb), width);
    if (!Rounded(radii)) {
        target_->DrawRectangle(&pen, inner);
        return;
    }
    Gdiplus::GraphicsPath path;
    AddRoundRect(path, inner, inset);
    target_->DrawPath(&pen, &path);
}

void GdiplusDevice::DrawImage(const std::u16string& url, const ImageTiling& t) {
    Gdiplus::Bitmap* image = Image(url);
    if (!target_ || !image || t.w <= 0 || t.h <= 0 || t.area.w <= 0 || t.area.h <= 0) return;
    if (!t.repeatX && !t.repeatY) {
        Gdiplus::GraphicsState state = target_->Save();
        target_->IntersectClip(RectOf(t.area));
        target_->DrawImage(image, Gdiplus::RectF(t.x, t.y, t.w, t.h));
        target_->Restore(state);
        return;
    }
    // One brush fill however many copies, so that a tiny image over a huge box costs no more than the box.
    float left = t.repeatX ? t.area.x : std::max(t.area.x, t.x);
    float top = t.repeatY ? t.area.y : std::max(t.area.y, t.y);
    float right = t.repeatX ? t.area.Right() : std::min(t.area.Right(), t.x + t.w);
    float bottom = t.repeatY ? t.area.Bottom() : std::min(t.area.Bottom(), t.y + t.h);
    if (right <= left || bottom <= top) return;
    Gdiplus::TextureBrush brush(image, Gdiplus::WrapModeTile);
    brush.ScaleTransform(t.w / image->GetWidth(), t.h / image->GetHeight());
    brush.TranslateTransform(t.x, t.y, Gdiplus::MatrixOrderAppend);
    target_->FillRectangle(&brush, Gdiplus::RectF(left, top, right - left, bottom - top));
}

void GdiplusDevice::PaintText(const std::u16string& text, const FontSpec& font, float x, float y, std::uint32_t argb,
                             bool underline) {
    Font& f = FontFor(font);
    if (!target_ || !f.font || !(argb >> 24)) return;
    Gdiplus::SolidBrush brush(ColorOf(argb));
    target_->DrawString(WideOf(text), static_cast<INT>(text.size()), f.font.get(), Gdiplus::PointF(x, y),
                        format_.get(), &brush);
    if (underline) {
        float baseline = y + f.metrics.ascent + 1;
        Gdiplus::Pen pen(ColorOf(argb), 1);
        target_->DrawLine(&pen, x, baseline, x + TextWidth(font, text), baseline);
    }
}

void GdiplusDevice::PushClip(const RectF& rect) {
    if (!target_) return;
    clips_.push_back(target_->Save());
    target_->IntersectClip(RectOf(rect));
}

void GdiplusDevice::PopClip() {
    if (!target_ || clips_.empty()) return;
    target_->Restore(clips_.back());
    clips_.pop_back();
}

} // namespace engine::win32
