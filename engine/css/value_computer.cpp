#include "engine/css/value_computer.h"

#include "engine/css/style_sheet.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace engine {
namespace {

constexpr float kMediumFontSize = 16;

const std::array<CssValue, kPropertyCount>& Initials() {
    static const auto initials = [] {
        std::array<CssValue, kPropertyCount> out;
        for (std::size_t i = 0; i < kPropertyCount; ++i) {
            auto id = static_cast<PropertyId>(i);
            std::vector<Declaration> parsed;
            ParsePropertyValue(InfoOf(id).name, InfoOf(id).initial, parsed);
            if (!parsed.empty()) out[i] = parsed.front().value;
        }
        // Computed once more against themselves: "medium" becomes pixels and so on.
        ComputedStyle base;
        base.Set(PropertyId::FontSize) = CssValue::Length(kMediumFontSize, Unit::Px);
        base.Set(PropertyId::Color) = CssValue::Color(0xFF000000);
        for (std::size_t i = 0; i < kPropertyCount; ++i) {
            auto id = static_cast<PropertyId>(i);
            if (id != PropertyId::FontSize && id != PropertyId::Color) out[i] = ComputeValue(id, &out[i], nullptr, base, 1);
        }
        out[static_cast<std::size_t>(PropertyId::FontSize)] = base.Get(PropertyId::FontSize);
        out[static_cast<std::size_t>(PropertyId::Color)] = base.Get(PropertyId::Color);
        return out;
    }();
    return initials;
}

// Device pixels: `fontSize` is in them already, every absolute unit is multiplied by the scale.
float ToPixels(float n, Unit unit, float fontSize, float scale) {
    switch (unit) {
    case Unit::Em: return n * fontSize;
    case Unit::Ex: return n * fontSize / 2;
    case Unit::Rem: return n * kMediumFontSize * scale;
    case Unit::Pt: return n * 96 / 72 * scale;
    case Unit::Pc: return n * 16 * scale;
    case Unit::In: return n * 96 * scale;
    case Unit::Cm: return n * 96 / 2.54f * scale;
    case Unit::Mm: return n * 96 / 25.4f * scale;
    default: return n * scale;
    }
}

// The initial values are CSS pixels (a root's 16 px font, a medium border); an element sees them scaled.
CssValue ScaledInitial(PropertyId id, float scale) {
    CssValue v = InitialValue(id);
    if (scale != 1 && v.type == CssValue::Type::Length && v.unit == Unit::Px) v.number *= scale;
    return v;
}

CssValue FontSize(const CssValue& v, float parentSize, float scale) {
    struct Named {
        const char* name;
        float px;
    };
    static constexpr Named kSizes[] = {{"xx-small", 9},  {"x-small", 10},  {"small", 13},   {"medium", 16},
                                       {"large", 18},    {"x-large", 24},  {"xx-large", 32}};
    if (v.type == CssValue::Type::Keyword) {
        if (v.text == "larger") return CssValue::Length(parentSize * 1.2f, Unit::Px);
        if (v.text == "smaller") return CssValue::Length(parentSize / 1.2f, Unit::Px);
        for (const Named& s : kSizes)
            if (v.text == s.name) return CssValue::Length(s.px * scale, Unit::Px);
    }
    if (v.type == CssValue::Type::Length) {
        float px = v.unit == Unit::Percent ? parentSize * v.number / 100 : ToPixels(v.number, v.unit, parentSize, scale);
        return CssValue::Length(std::clamp(px, 0.0f, 10000.0f * scale), Unit::Px);
    }
    return CssValue::Length(parentSize, Unit::Px);
}

CssValue FontWeight(const CssValue& v, float parentWeight) {
    if (v.type == CssValue::Type::Number) return v;
    if (v.text == "bold") return CssValue::Number(700);
    if (v.text == "bolder") return CssValue::Number(parentWeight < 400 ? 400 : parentWeight < 600 ? 700 : 900);
    if (v.text == "lighter") return CssValue::Number(parentWeight < 600 ? 100 : parentWeight < 800 ? 400 : 700);
    return CssValue::Number(400);
}

CssValue Position(const CssValue& v, float fontSize, float scale) {
    if (v.type == CssValue::Type::Length && v.unit != Unit::Percent)
        return CssValue::Length(ToPixels(v.number, v.unit, fontSize, scale), Unit::Px);
    if (v.type != CssValue::Type::Keyword) return v;
    if (v.text == "center") return CssValue::Length(50, Unit::Percent);
    if (v.text == "right" || v.text == "bottom") return CssValue::Length(100, Unit::Percent);
    return CssValue::Length(0, Unit::Percent);
}

bool IsBorderWidth(PropertyId id) {
    return id == PropertyId::BorderTopWidth || id == PropertyId::BorderRightWidth ||
           id == PropertyId::BorderBottomWidth || id == PropertyId::BorderLeftWidth;
}

// Scaled, a border is whole device pixels, at least one where it has any width: 1px at 150 % is one pixel
// rather than one and a half, half of it blended into a blur. At 96 DPI it stays as written.
float DevicePixelBorder(float pixels, float scale) {
    if (scale == 1 || pixels <= 0) return pixels;
    return std::max(1.0f, std::floor(pixels + 0.001f));
}

bool IsPosition(PropertyId id) {
    return id == PropertyId::BackgroundPositionX || id == PropertyId::BackgroundPositionY ||
           id == PropertyId::ForegroundPositionX || id == PropertyId::ForegroundPositionY;
}

} // namespace

const CssValue& InitialValue(PropertyId id) { return Initials()[static_cast<std::size_t>(id)]; }

CssValue ComputeValue(PropertyId id, const CssValue* specified, const ComputedStyle* parent, const ComputedStyle& self,
                      float scale) {
    const PropertyInfo& info = InfoOf(id);
    bool inherit = specified ? specified->type == CssValue::Type::Inherit : info.inherited;
    if (inherit) return parent ? parent->Get(id) : ScaledInitial(id, scale);
    if (!specified || specified->type == CssValue::Type::Initial)
        return info.initial == "currentcolor" ? self.Get(PropertyId::Color) : ScaledInitial(id, scale);
    const CssValue& v = *specified;
    float parentFontSize = parent ? parent->FontSize() : kMediumFontSize * scale;
    if (id == PropertyId::FontSize) return FontSize(v, parentFontSize, scale);
    if (id == PropertyId::FontWeight)
        return FontWeight(v, parent ? parent->Get(PropertyId::FontWeight).number : 400);
    if (v.IsKeyword("currentcolor")) {
        if (id == PropertyId::Color) return parent ? parent->Get(id) : ScaledInitial(id, scale);
        return self.Get(PropertyId::Color);
    }
    if (IsPosition(id)) return Position(v, self.FontSize(), scale);
    if (IsBorderWidth(id) && v.type == CssValue::Type::Keyword) {
        float css = v.text == "thin" ? 1.0f : v.text == "thick" ? 5.0f : 3.0f;
        return CssValue::Length(DevicePixelBorder(css * scale, scale), Unit::Px);
    }
    if (IsBorderWidth(id) && v.type == CssValue::Type::Length && v.unit != Unit::Percent) {
        float pixels = ToPixels(v.number, v.unit, self.FontSize(), scale);
        return CssValue::Length(DevicePixelBorder(pixels, scale), Unit::Px);
    }
    if (v.type == CssValue::Type::Length) {
        if (v.unit == Unit::Percent) {
            if (id == PropertyId::LineHeight) return CssValue::Length(self.FontSize() * v.number / 100, Unit::Px);
            return v;
        }
        return CssValue::Length(ToPixels(v.number, v.unit, self.FontSize(), scale), Unit::Px);
    }
    return v;
}

void ZeroHiddenBorders(ComputedStyle& style) {
    static constexpr std::pair<PropertyId, PropertyId> kSides[] = {
        {PropertyId::BorderTopStyle, PropertyId::BorderTopWidth},
        {PropertyId::BorderRightStyle, PropertyId::BorderRightWidth},
        {PropertyId::BorderBottomStyle, PropertyId::BorderBottomWidth},
        {PropertyId::BorderLeftStyle, PropertyId::BorderLeftWidth}};
    for (auto [styleId, widthId] : kSides) {
        const CssValue& s = style.Get(styleId);
        if (s.IsKeyword("none") || s.IsKeyword("hidden")) style.Set(widthId) = CssValue::Length(0, Unit::Px);
    }
}

} // namespace engine
