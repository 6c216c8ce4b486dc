#include "engine/css/shorthands.h"

#include "engine/dom/ascii.h"

#include <array>
#include <functional>

namespace engine {
namespace {

using P = PropertyId;
using Sides = std::array<P, 4>; // top, right, bottom, left

constexpr Sides kMargin{P::MarginTop, P::MarginRight, P::MarginBottom, P::MarginLeft};
constexpr Sides kPadding{P::PaddingTop, P::PaddingRight, P::PaddingBottom, P::PaddingLeft};
constexpr Sides kBorderWidth{P::BorderTopWidth, P::BorderRightWidth, P::BorderBottomWidth, P::BorderLeftWidth};
constexpr Sides kBorderStyle{P::BorderTopStyle, P::BorderRightStyle, P::BorderBottomStyle, P::BorderLeftStyle};
constexpr Sides kBorderColor{P::BorderTopColor, P::BorderRightColor, P::BorderBottomColor, P::BorderLeftColor};
constexpr Sides kRadius{P::BorderTopLeftRadius, P::BorderTopRightRadius, P::BorderBottomRightRadius,
                        P::BorderBottomLeftRadius};

struct Builder {
    std::vector<Declaration> declarations;
    bool important;
    void Add(P property, CssValue value) { declarations.push_back({property, std::move(value), important}); }
    void AddInitial(P property) { Add(property, CssValue{CssValue::Type::Initial}); }
};

bool Box(const Sides& sides, TokenRange value, Builder& b) {
    auto parts = Components(value);
    if (parts.empty() || parts.size() > 4) return false;
    static constexpr std::size_t kPick[4][4] = {{0, 0, 0, 0}, {0, 1, 0, 1}, {0, 1, 2, 1}, {0, 1, 2, 3}};
    for (std::size_t side = 0; side < 4; ++side) {
        auto v = ParseValue(sides[side], parts[kPick[parts.size() - 1][side]]);
        if (!v) return false;
        b.Add(sides[side], *v);
    }
    return true;
}

// Components in any order, each taken by the first of the properties that accepts it and is still unset;
// unset properties return to their initial values.
bool AnyOrder(std::initializer_list<P> properties, TokenRange value, Builder& b) {
    std::vector<P> props(properties);
    std::vector<std::optional<CssValue>> set(props.size());
    for (const TokenRange& part : Components(value)) {
        bool taken = false;
        for (std::size_t i = 0; i < props.size() && !taken; ++i) {
            if (set[i]) continue;
            if (auto v = ParseValue(props[i], part)) {
                set[i] = *v;
                taken = true;
            }
        }
        if (!taken) return false;
    }
    for (std::size_t i = 0; i < props.size(); ++i) set[i] ? b.Add(props[i], *set[i]) : b.AddInitial(props[i]);
    return true;
}

bool Border(std::initializer_list<std::size_t> sides, TokenRange value, Builder& b) {
    for (std::size_t side : sides)
        if (!AnyOrder({kBorderWidth[side], kBorderStyle[side], kBorderColor[side]}, value, b)) return false;
    return true;
}

bool IsVerticalKeyword(const TokenRange& r) { return r.First().IsIdent("top") || r.First().IsIdent("bottom"); }
bool IsHorizontalKeyword(const TokenRange& r) { return r.First().IsIdent("left") || r.First().IsIdent("right"); }

bool Position(P x, P y, const std::vector<TokenRange>& parts, Builder& b) {
    if (parts.empty() || parts.size() > 2) return false;
    if (parts.size() == 1) {
        // One value places its own axis; the other is centred.
        bool vertical = IsVerticalKeyword(parts[0]);
        auto v = ParseValue(vertical ? y : x, parts[0]);
        if (!v) return false;
        b.Add(x, vertical ? CssValue::Keyword("center") : *v);
        b.Add(y, vertical ? *v : CssValue::Keyword("center"));
        return true;
    }
    TokenRange first = parts[0], second = parts[1];
    if (IsVerticalKeyword(first) || IsHorizontalKeyword(second)) std::swap(first, second);
    auto vx = ParseValue(x, first);
    auto vy = ParseValue(y, second);
    if (!vx || !vy) return false;
    b.Add(x, *vx);
    b.Add(y, *vy);
    return true;
}

bool Background(TokenRange value, Builder& b) {
    std::vector<TokenRange> position;
    std::optional<CssValue> color, image, repeat;
    for (const TokenRange& part : Components(value)) {
        if (!color)
            if (auto v = ParseValue(P::BackgroundColor, part)) {
                color = v;
                continue;
            }
        if (!image)
            if (auto v = ParseValue(P::BackgroundImage, part)) {
                image = v;
                continue;
            }
        if (!repeat)
            if (auto v = ParseValue(P::BackgroundRepeat, part)) {
                repeat = v;
                continue;
            }
        position.push_back(part);
    }
    color ? b.Add(P::BackgroundColor, *color) : b.AddInitial(P::BackgroundColor);
    image ? b.Add(P::BackgroundImage, *image) : b.AddInitial(P::BackgroundImage);
    repeat ? b.Add(P::BackgroundRepeat, *repeat) : b.AddInitial(P::BackgroundRepeat);
    if (position.empty()) {
        b.AddInitial(P::BackgroundPositionX);
        b.AddInitial(P::BackgroundPositionY);
        return true;
    }
    return Position(P::BackgroundPositionX, P::BackgroundPositionY, position, b);
}

bool Font(TokenRange value, Builder& b) {
    auto parts = Components(value);
    std::size_t i = 0;
    std::optional<CssValue> style, weight;
    for (; i < parts.size(); ++i) {
        if (parts[i].First().IsIdent("normal")) continue;
        if (!style)
            if (auto v = ParseValue(P::FontStyle, parts[i])) {
                style = v;
                continue;
            }
        if (!weight && !parts[i].First().Is(TokenType::Dimension))
            if (auto v = ParseValue(P::FontWeight, parts[i])) {
                weight = v;
                continue;
            }
        break;
    }
    if (i >= parts.size()) return false;
    auto size = ParseValue(P::FontSize, parts[i++]);
    if (!size) return false;
    std::optional<CssValue> lineHeight;
    if (i + 1 < parts.size() && parts[i].First().IsDelim('/')) {
        lineHeight = ParseValue(P::LineHeight, parts[i + 1]);
        if (!lineHeight) return false;
        i += 2;
    }
    if (i >= parts.size()) return false;
    auto family = ParseValue(P::FontFamily, {value.tokens, parts[i].begin, value.end});
    if (!family) return false;
    style ? b.Add(P::FontStyle, *style) : b.AddInitial(P::FontStyle);
    weight ? b.Add(P::FontWeight, *weight) : b.AddInitial(P::FontWeight);
    b.Add(P::FontSize, *size);
    lineHeight ? b.Add(P::LineHeight, *lineHeight) : b.AddInitial(P::LineHeight);
    b.Add(P::FontFamily, *family);
    return true;
}

bool Pair(P first, P second, TokenRange value, Builder& b) {
    auto parts = Components(value);
    if (parts.empty() || parts.size() > 2) return false;
    auto a = ParseValue(first, parts[0]);
    auto c = ParseValue(second, parts.back());
    if (!a || !c) return false;
    b.Add(first, *a);
    b.Add(second, *c);
    return true;
}

struct Shorthand {
    std::string_view name;
    std::function<bool(TokenRange, Builder&)> expand;
    std::vector<P> longhands; // for inherit and initial
};

const std::vector<Shorthand>& Shorthands() {
    auto sides = [](const Sides& s) { return std::vector<P>(s.begin(), s.end()); };
    auto all = [&](std::initializer_list<Sides> groups) {
        std::vector<P> out;
        for (const Sides& g : groups) out.insert(out.end(), g.begin(), g.end());
        return out;
    };
    static const std::vector<Shorthand> kShorthands{
        {"margin", [](TokenRange v, Builder& b) { return Box(kMargin, v, b); }, sides(kMargin)},
        {"padding", [](TokenRange v, Builder& b) { return Box(kPadding, v, b); }, sides(kPadding)},
        {"border-width", [](TokenRange v, Builder& b) { return Box(kBorderWidth, v, b); }, sides(kBorderWidth)},
        {"border-style", [](TokenRange v, Builder& b) { return Box(kBorderStyle, v, b); }, sides(kBorderStyle)},
        {"border-color", [](TokenRange v, Builder& b) { return Box(kBorderColor, v, b); }, sides(kBorderColor)},
        {"border-radius", [](TokenRange v, Builder& b) { return Box(kRadius, v, b); }, sides(kRadius)},
        {"border", [](TokenRange v, Builder& b) { return Border({0, 1, 2, 3}, v, b); },
         all({kBorderWidth, kBorderStyle, kBorderColor})},
        {"border-top", [](TokenRange v, Builder& b) { return Border({0}, v, b); },
         {P::BorderTopWidth, P::BorderTopStyle, P::BorderTopColor}},
        {"border-right", [](TokenRange v, Builder& b) { return Border({1}, v, b); },
         {P::BorderRightWidth, P::BorderRightStyle, P::BorderRightColor}},
        {"border-bottom", [](TokenRange v, Builder& b) { return Border({2}, v, b); },
         {P::BorderBottomWidth, P::BorderBottomStyle, P::BorderBottomColor}},
        {"border-left", [](TokenRange v, Builder& b) { return Border({3}, v, b); },
         {P::BorderLeftWidth, P::BorderLeftStyle, P::BorderLeftColor}},
        {"background", Background,
         {P::BackgroundColor, P::BackgroundImage, P::BackgroundRepeat, P::BackgroundPositionX,
          P::BackgroundPositionY}},
        {"background-position",
         [](TokenRange v, Builder& b) { return Position(P::BackgroundPositionX, P::BackgroundPositionY, Components(v), b); },
         {P::BackgroundPositionX, P::BackgroundPositionY}},
        {"foreground-position",
         [](TokenRange v, Builder& b) { return Position(P::ForegroundPositionX, P::ForegroundPositionY, Components(v), b); },
         {P::ForegroundPositionX, P::ForegroundPositionY}},
        {"font", Font, {P::FontStyle, P::FontWeight, P::FontSize, P::LineHeight, P::FontFamily}},
        {"overflow", [](TokenRange v, Builder& b) { return Pair(P::OverflowX, P::OverflowY, v, b); },
         {P::OverflowX, P::OverflowY}},
    };
    return kShorthands;
}

} // namespace

Expansion ExpandShorthand(std::string_view name, TokenRange value, bool important, std::vector<Declaration>& out) {
    for (const Shorthand& s : Shorthands()) {
        if (!EqualsNoCase(s.name, name)) continue;
        Builder b{{}, important};
        TokenRange v = Trim(value);
        bool single = v.end - v.begin == 1;
        if (single && (v.First().IsIdent("inherit") || v.First().IsIdent("initial"))) {
            auto type = v.First().IsIdent("inherit") ? CssValue::Type::Inherit : CssValue::Type::Initial;
            for (P p : s.longhands) b.Add(p, CssValue{type});
        } else if (v.Empty() || !s.expand(v, b)) {
            return Expansion::Invalid;
        }
        out.insert(out.end(), b.declarations.begin(), b.declarations.end());
        return Expansion::Done;
    }
    return Expansion::NotShorthand;
}

} // namespace engine
