#pragma once
// One CSS value, declared or computed.

#include <cstdint>
#include <string>

namespace engine {

enum class Unit : std::uint8_t { None, Px, Em, Ex, Rem, Pt, Pc, In, Cm, Mm, Percent };

struct CssValue {
    enum class Type : std::uint8_t { Empty, Keyword, Length, Number, Color, Url, String, Inherit, Initial };

    Type type = Type::Empty;
    Unit unit = Unit::None;
    float number = 0;
    std::uint32_t color = 0; // 0xAARRGGBB
    std::string text;        // keyword (lower case), URL, or text

    static CssValue Keyword(std::string k) { return {Type::Keyword, Unit::None, 0, 0, std::move(k)}; }
    static CssValue Length(float n, Unit u) { return {Type::Length, u, n, 0, {}}; }
    static CssValue Number(float n) { return {Type::Number, Unit::None, n, 0, {}}; }
    static CssValue Color(std::uint32_t argb) { return {Type::Color, Unit::None, 0, argb, {}}; }
    static CssValue Url(std::string u) { return {Type::Url, Unit::None, 0, 0, std::move(u)}; }
    static CssValue String(std::string s) { return {Type::String, Unit::None, 0, 0, std::move(s)}; }

    bool IsKeyword(const char* k) const { return type == Type::Keyword && text == k; }
    bool IsPercent() const { return type == Type::Length && unit == Unit::Percent; }
    bool operator==(const CssValue& o) const {
        return type == o.type && unit == o.unit && number == o.number && color == o.color && text == o.text;
    }
    bool operator!=(const CssValue& o) const { return !(*this == o); }

    // The value as CSS text, as the program reads a style attribute back.
    std::string ToCss() const;
};

} // namespace engine
