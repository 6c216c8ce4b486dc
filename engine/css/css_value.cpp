#include "engine/css/css_value.h"

#include <cstdio>

namespace engine {
namespace {

const char* UnitName(Unit u) {
    switch (u) {
    case Unit::Px: return "px";
    case Unit::Em: return "em";
    case Unit::Ex: return "ex";
    case Unit::Rem: return "rem";
    case Unit::Pt: return "pt";
    case Unit::Pc: return "pc";
    case Unit::In: return "in";
    case Unit::Cm: return "cm";
    case Unit::Mm: return "mm";
    case Unit::Percent: return "%";
    case Unit::None: break;
    }
    return "";
}

std::string FormatNumber(float n) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(n));
    return buffer;
}

} // namespace

std::string CssValue::ToCss() const {
    switch (type) {
    case Type::Keyword:
    case Type::String: return text;
    case Type::Length: return FormatNumber(number) + UnitName(unit);
    case Type::Number: return FormatNumber(number);
    case Type::Url: return "url(" + text + ")";
    case Type::Inherit: return "inherit";
    case Type::Initial: return "initial";
    case Type::Color: {
        char buffer[40];
        unsigned a = color >> 24, r = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, b = color & 0xFF;
        if (a == 255)
            std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", r, g, b);
        else
            std::snprintf(buffer, sizeof buffer, "rgba(%u,%u,%u,%g)", r, g, b, a / 255.0);
        return buffer;
    }
    case Type::Empty: break;
    }
    return {};
}

} // namespace engine
