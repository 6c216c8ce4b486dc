#include "engine/css/value_parser.h"

#include "engine/dom/ascii.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace engine {
namespace {

struct NamedColor {
    std::string_view name;
    std::uint32_t argb;
};

constexpr NamedColor kNamedColors[] = {
    {"transparent", 0x00000000}, {"black", 0xFF000000},   {"white", 0xFFFFFFFF},  {"red", 0xFFFF0000},
    {"green", 0xFF008000},       {"blue", 0xFF0000FF},    {"yellow", 0xFFFFFF00}, {"gray", 0xFF808080},
    {"grey", 0xFF808080},        {"silver", 0xFFC0C0C0},  {"maroon", 0xFF800000}, {"purple", 0xFF800080},
    {"fuchsia", 0xFFFF00FF},     {"lime", 0xFF00FF00},    {"olive", 0xFF808000},  {"navy", 0xFF000080},
    {"teal", 0xFF008080},        {"aqua", 0xFF00FFFF},    {"orange", 0xFFFFA500}, {"darkgray", 0xFFA9A9A9},
    {"lightgray", 0xFFD3D3D3},   {"darkblue", 0xFF00008B}, {"darkred", 0xFF8B0000}, {"darkgreen", 0xFF006400},
};

struct UnitName {
    std::string_view name;
    Unit unit;
};

constexpr UnitName kUnits[] = {{"px", Unit::Px}, {"em", Unit::Em}, {"ex", Unit::Ex}, {"rem", Unit::Rem},
                               {"pt", Unit::Pt}, {"pc", Unit::Pc}, {"in", Unit::In}, {"cm", Unit::Cm},
                               {"mm", Unit::Mm}, {"dip", Unit::Px}};

bool IsSpace(const Token& t) { return t.Is(TokenType::Whitespace); }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = AsciiLower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::optional<std::uint32_t> HexColor(const std::string& hex) {
    std::vector<int> d;
    for (char c : hex) {
        int v = HexDigit(c);
        if (v < 0) return std::nullopt;
        d.push_back(v);
    }
    auto pair = [&](std::size_t i) { return static_cast<std::uint32_t>(d[i] * 16 + d[i + 1]); };
    auto one = [&](std::size_t i) { return static_cast<std::uint32_t>(d[i] * 17); };
    switch (d.size()) {
    case 3: return 0xFF000000u | one(0) << 16 | one(1) << 8 | one(2);
    case 4: return one(3) << 24 | one(0) << 16 | one(1) << 8 | one(2);
    case 6: return 0xFF000000u | pair(0) << 16 | pair(2) << 8 | pair(4);
    case 8: return pair(6) << 24 | pair(0) << 16 | pair(2) << 8 | pair(4);
    default: return std::nullopt;
    }
}

// A colour channel (0..255 or a percentage), or the alpha (0..1 or a percentage).
std::uint32_t Channel(const Token& t, bool alpha) {
    double v = t.Is(TokenType::Percentage) ? t.number * 255 / 100 : alpha ? t.number * 255 : t.number;
    if (std::isnan(v)) v = 0;
    return static_cast<std::uint32_t>(std::clamp(v, 0.0, 255.0) + 0.5);
}

std::optional<std::uint32_t> FunctionColor(TokenRange range) {
    const Token& f = range.First();
    if (f.text != "rgb" && f.text != "rgba") return std::nullopt;
    std::vector<const Token*> args;
    std::size_t i = range.begin + 1;
    for (; i < range.end && !(*range.tokens)[i].Is(TokenType::RightParen); ++i) {
        const Token& t = (*range.tokens)[i];
        if (IsSpace(t) || t.Is(TokenType::Comma) || t.IsDelim('/')) continue;
        if (!t.Is(TokenType::Number) && !t.Is(TokenType::Percentage)) return std::nullopt;
        args.push_back(&t);
    }
    if (args.size() != 3 && args.size() != 4) return std::nullopt;
    std::uint32_t a = args.size() == 4 ? Channel(*args[3], true) : 255;
    return a << 24 | Channel(*args[0], false) << 16 | Channel(*args[1], false) << 8 | Channel(*args[2], false);
}

std::optional<CssValue> ParseLength(const Token& t, bool allowNegative) {
    if (t.number < 0 && !allowNegative) return std::nullopt;
    if (!std::isfinite(t.number)) return std::nullopt;
    auto n = static_cast<float>(std::clamp(t.number, -1e7, 1e7));
    if (t.Is(TokenType::Percentage)) return CssValue::Length(n, Unit::Percent);
    // Unitless lengths are taken as pixels, as the pages of this engine's family write them.
    if (t.Is(TokenType::Number)) return CssValue::Length(n, Unit::Px);
    if (t.Is(TokenType::Dimension))
        for (const UnitName& u : kUnits)
            if (u.name == t.unit) return CssValue::Length(n, u.unit);
    return std::nullopt;
}

std::optional<CssValue> ParseFontFamily(TokenRange range) {
    std::string out;
    std::string current;
    auto flush = [&]() {
        if (current.empty()) return false;
        if (!out.empty()) out += ", ";
        out += current;
        current.clear();
        return true;
    };
    for (std::size_t i = range.begin; i < range.end; ++i) {
        const Token& t = (*range.tokens)[i];
        if (t.Is(TokenType::Comma)) {
            if (!flush()) return std::nullopt;
        } else if (t.Is(TokenType::Ident) || t.Is(TokenType::String)) {
            if (!current.empty()) current += ' ';
            current += t.text;
        } else if (!IsSpace(t)) {
            return std::nullopt;
        }
    }
    if (!flush()) return std::nullopt;
    return CssValue::String(out);
}

std::optional<CssValue> ParseNames(TokenRange range) {
    std::string names;
    for (std::size_t i = range.begin; i < range.end; ++i) {
        const Token& t = (*range.tokens)[i];
        if (IsSpace(t)) continue;
        if (!t.Is(TokenType::Ident)) return std::nullopt;
        if (!names.empty()) names += ' ';
        names += t.text;
    }
    if (EqualsNoCase(names, "none")) return CssValue::Keyword("none");
    return CssValue::String(names);
}

} // namespace

TokenRange Trim(TokenRange r) {
    while (r.begin < r.end && IsSpace((*r.tokens)[r.begin])) ++r.begin;
    while (r.end > r.begin && IsSpace((*r.tokens)[r.end - 1])) --r.end;
    return r;
}

std::vector<TokenRange> Components(TokenRange range) {
    std::vector<TokenRange> out;
    std::size_t i = range.begin;
    while (i < range.end) {
        const Token& t = (*range.tokens)[i];
        if (IsSpace(t)) {
            ++i;
            continue;
        }
        std::size_t start = i++;
        if (t.Is(TokenType::Function) || t.Is(TokenType::LeftParen)) {
            int depth = 1;
            for (; i < range.end && depth > 0; ++i) {
                const Token& u = (*range.tokens)[i];
                if (u.Is(TokenType::Function) || u.Is(TokenType::LeftParen)) ++depth;
                if (u.Is(TokenType::RightParen)) --depth;
            }
        }
        out.push_back({range.tokens, start, i});
    }
    return out;
}

std::optional<std::uint32_t> ParseColor(TokenRange range) {
    range = Trim(range);
    if (range.Empty()) return std::nullopt;
    const Token& t = range.First();
    if (t.Is(TokenType::Function)) return FunctionColor(range);
    if (range.end - range.begin != 1) return std::nullopt;
    if (t.Is(TokenType::Hash)) return HexColor(t.text);
    if (t.Is(TokenType::Ident))
        for (const NamedColor& c : kNamedColors)
            if (EqualsNoCase(c.name, t.text)) return c.argb;
    return std::nullopt;
}

std::optional<CssValue> ParseValue(PropertyId property, TokenRange range) {
    range = Trim(range);
    if (range.Empty()) return std::nullopt;
    const PropertyInfo& info = InfoOf(property);
    const Token& t = range.First();
    bool single = range.end - range.begin == 1;
    if (single && t.IsIdent("inherit")) return CssValue{CssValue::Type::Inherit};
    if (single && t.IsIdent("initial")) return CssValue{CssValue::Type::Initial};
    if (info.grammar == Grammar::FontFamily) return ParseFontFamily(range);
    if (info.grammar == Grammar::Names) return ParseNames(range);
    if (info.grammar == Grammar::Color) {
        if (single && t.IsIdent("currentcolor")) return CssValue::Keyword("currentcolor");
        if (auto c = ParseColor(range)) return CssValue::Color(*c);
        return std::nullopt;
    }
    if (info.grammar == Grammar::Image && t.Is(TokenType::Function) && t.text == "url") {
        // url("...") with a quoted address
        for (std::size_t i = range.begin + 1; i < range.end; ++i)
            if ((*range.tokens)[i].Is(TokenType::String)) return CssValue::Url((*range.tokens)[i].text);
        return std::nullopt;
    }
    if (!single) return std::nullopt;
    if (t.Is(TokenType::Ident)) {
        if (info.grammar == Grammar::AnyIdent || HasKeyword(info, t.text)) return CssValue::Keyword(AsciiLower(t.text));
        return std::nullopt;
    }
    switch (info.grammar) {
    case Grammar::Length: return ParseLength(t, true);
    case Grammar::LengthNonNeg: return ParseLength(t, false);
    case Grammar::Image:
        if (t.Is(TokenType::Url)) return CssValue::Url(t.text);
        return std::nullopt;
    case Grammar::Number:
        if (t.Is(TokenType::Number) && std::isfinite(t.number)) return CssValue::Number(static_cast<float>(t.number));
        return std::nullopt;
    case Grammar::Integer:
        if (t.Is(TokenType::Number) && std::isfinite(t.number) && t.number == std::floor(t.number))
            return CssValue::Number(static_cast<float>(std::clamp(t.number, -1e7, 1e7)));
        return std::nullopt;
    case Grammar::FontWeight:
        if (t.Is(TokenType::Number) && t.number >= 1 && t.number <= 1000) return CssValue::Number(static_cast<float>(t.number));
        return std::nullopt;
    case Grammar::LineHeight:
        if (t.Is(TokenType::Number) && t.number >= 0 && std::isfinite(t.number))
            return CssValue::Number(static_cast<float>(std::min(t.number, 1e4)));
        return ParseLength(t, false);
    default: return std::nullopt;
    }
}

} // namespace engine
