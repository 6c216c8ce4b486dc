#include "engine/win32/raster_font.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <string>

namespace engine::win32 {
namespace {

// What a generic CSS family means here, best first; the last names are what a bare Wine has.
const char* const kSansSerif[] = {"Arial", "Tahoma", "Liberation Sans", "DejaVu Sans"};
const char* const kSerif[] = {"Times New Roman", "Liberation Serif", "DejaVu Serif"};
const char* const kMonospace[] = {"Courier New", "Liberation Mono", "DejaVu Sans Mono"};

int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

std::wstring Widened(const std::string& name) { return std::wstring(name.begin(), name.end()); }

bool FamilyExists(HDC dc, const std::string& name) {
    static std::map<std::string, bool> known; // enumerating fonts is slow under Wine
    if (auto it = known.find(name); it != known.end()) return it->second;
    bool found = false;
    std::wstring wide = Widened(name);
    if (!name.empty() && wide.size() < LF_FACESIZE) {
        LOGFONTW query{};
        query.lfCharSet = DEFAULT_CHARSET;
        std::copy(wide.begin(), wide.end(), query.lfFaceName);
        EnumFontFamiliesExW(dc, &query, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
    }
    return known[name] = found;
}

std::string LowerAscii(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

template <std::size_t N>
std::string FirstExisting(HDC dc, const char* const (&names)[N]) {
    for (const char* name : names)
        if (FamilyExists(dc, name)) return name;
    return {};
}

std::string GenericFamily(HDC dc, const std::string& name) {
    std::string lower = LowerAscii(name);
    if (lower == "serif") return FirstExisting(dc, kSerif);
    if (lower == "monospace") return FirstExisting(dc, kMonospace);
    if (lower == "sans-serif" || lower == "cursive" || lower == "fantasy" || lower == "system-ui")
        return FirstExisting(dc, kSansSerif);
    return {};
}

// The first family of the CSS list that exists, then any sans-serif face at all; empty leaves the choice to
// the font mapper.
std::string FaceFor(HDC dc, const std::string& families) {
    std::size_t start = 0;
    while (start <= families.size()) {
        std::size_t comma = families.find(',', start);
        std::string name = families.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        name.erase(0, name.find_first_not_of(" \t\"'"));
        name.erase(name.find_last_not_of(" \t\"'") + 1);
        if (std::string generic = GenericFamily(dc, name); !generic.empty()) return generic;
        if (FamilyExists(dc, name)) return name;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return FirstExisting(dc, kSansSerif);
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

// Calls back with each code point of the text; a lone surrogate stands for itself.
template <typename Each>
void ForEachCodePoint(std::u16string_view text, Each each) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        each(c);
    }
}

class ScreenDc {
public:
    ScreenDc() : dc_(CreateCompatibleDC(nullptr)) {}
    ~ScreenDc() { DeleteDC(dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

constexpr MAT2 kIdentity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
constexpr int kGrayLevels = 64; // GGO_GRAY8_BITMAP gives 0..64
constexpr std::size_t kMaxGlyphBytes = 16 << 20;
constexpr std::size_t kMaxFonts = 256;

} // namespace

RasterFont::RasterFont(const FontSpec& spec, HDC dc) : dc_(dc) {
    LOGFONTW lf{};
    lf.lfHeight = -std::max(1L, std::lround(std::min(spec.size, 2000.0f)));
    lf.lfWeight = std::clamp(spec.weight, 1, 1000);
    lf.lfItalic = spec.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    std::wstring face = Widened(FaceFor(dc, spec.families));
    std::copy_n(face.begin(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1), lf.lfFaceName);
    font_ = CreateFontIndirectW(&lf);
    TEXTMETRICW tm{};
    HGDIOBJ previous = SelectObject(dc_, font_);
    if (font_ && GetTextMetricsW(dc_, &tm)) metrics_ = {float(tm.tmAscent), float(tm.tmDescent)};
    SelectObject(dc_, previous);
    if (metrics_.ascent + metrics_.descent <= 0) metrics_ = {spec.size * 0.8f, spec.size * 0.2f};
}

RasterFont::~RasterFont() {
    if (font_) DeleteObject(font_);
}

const RasterFont::Glyph& RasterFont::GlyphOf(char32_t c) {
    if (auto it = glyphs_.find(c); it != glyphs_.end()) return it->second;
    if (glyphBytes_ > kMaxGlyphBytes) { // huge text in many characters: start over rather than grow
        glyphs_.clear();
        glyphBytes_ = 0;
    }
    Glyph& g = glyphs_[c];
    if (!font_ || c < 0x20 || c > 0x10FFFF) return g; // control characters take no room
    HGDIOBJ previous = SelectObject(dc_, font_);
    GLYPHMETRICS gm{};
    DWORD size = GetGlyphOutlineW(dc_, static_cast<UINT>(c), GGO_GRAY8_BITMAP, &gm, 0, nullptr, &kIdentity);
    if (size == GDI_ERROR) {
        if (GetGlyphOutlineW(dc_, static_cast<UINT>(c), GGO_METRICS, &gm, 0, nullptr, &kIdentity) != GDI_ERROR)
            g.advance = gm.gmCellIncX;
    } else {
        g.advance = gm.gmCellIncX;
        std::vector<BYTE> gray(size);
        if (size > 0 &&
            GetGlyphOutlineW(dc_, static_cast<UINT>(c), GGO_GRAY8_BITMAP, &gm, size, gray.data(), &kIdentity) != GDI_ERROR) {
            int width = static_cast<int>(gm.gmBlackBoxX), height = static_cast<int>(gm.gmBlackBoxY);
            int pitch = (width + 3) & ~3; // rows are DWORD-aligned
            if (width > 0 && height > 0 && static_cast<std::size_t>(pitch) * height <= gray.size()) {
                g.left = gm.gmptGlyphOrigin.x;
                g.top = gm.gmptGlyphOrigin.y;
                g.width = width;
                g.height = height;
                g.coverage.resize(static_cast<std::size_t>(width) * height);
                glyphBytes_ += g.coverage.size();
                for (int y = 0; y < height; ++y)
                    for (int x = 0; x < width; ++x)
                        g.coverage[static_cast<std::size_t>(y) * width + x] =
                            static_cast<std::uint8_t>(std::min(255, gray[static_cast<std::size_t>(y) * pitch + x] * 255 / kGrayLevels));
            }
        }
    }
    SelectObject(dc_, previous);
    return g;
}

float RasterFont::Width(std::u16string_view text) {
    int width = 0;
    ForEachCodePoint(text, [&](char32_t c) { width += GlyphOf(c).advance; });
    return float(width);
}

float RasterFont::Draw(const PixelTarget& target, std::u16string_view text, float x, float y, std::uint32_t argb) {
    std::uint32_t color = Premultiplied(argb);
    int pen = static_cast<int>(std::lround(x));
    int baseline = static_cast<int>(std::lround(y + metrics_.ascent));
    const PixelClip& clip = target.clip;
    ForEachCodePoint(text, [&](char32_t c) {
        const Glyph& g = GlyphOf(c);
        int left = pen + g.left, top = baseline - g.top;
        int x0 = std::max(left, clip.left), x1 = std::min(left + g.width, clip.right);
        int y0 = std::max(top, clip.top), y1 = std::min(top + g.height, clip.bottom);
        for (int py = y0; py < y1; ++py) {
            const std::uint8_t* cover = g.coverage.data() + static_cast<std::size_t>(py - top) * g.width;
            std::uint32_t* row = target.Row(py);
            for (int px = x0; px < x1; ++px)
                if (unsigned c = cover[px - left]) row[px] = BlendOver(row[px], color, c);
        }
        pen += g.advance;
    });
    return float(pen) - std::lround(x);
}

RasterFont& RasterFontFor(const FontSpec& spec) {
    static ScreenDc dc;
    static std::map<FontSpec, std::unique_ptr<RasterFont>> fonts;
    if (fonts.size() >= kMaxFonts && !fonts.count(spec)) fonts.clear(); // no caller keeps a font between calls
    auto& font = fonts[spec];
    if (!font) font = std::make_unique<RasterFont>(spec, dc.Get());
    return *font;
}

} // namespace engine::win32
