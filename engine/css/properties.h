#pragma once
// The CSS properties the engine knows: one table, from which the id enumeration and the property data
// are both made.

#include <cstddef>
#include <string_view>

namespace engine {

enum class Grammar {
    Keyword,      // one of the keywords
    Length,       // length or percentage, negative allowed, or a keyword
    LengthNonNeg, // length or percentage, not negative, or a keyword
    Color,
    Image, // url(...) or none
    Number,
    Integer,
    FontFamily,
    FontWeight,
    LineHeight,
    Names, // none, or one or more names (behavior)
    AnyIdent
};

// What a change of the property asks of the boxes.
enum class Affects { Paint, Layout, Rebuild };

// X(id, name, grammar, keywords, inherited, initial, affects)
#define ENGINE_PROPERTIES(X)                                                                                    \
    X(Display, "display", Keyword,                                                                              \
      "block inline inline-block none list-item table table-row table-cell table-row-group "                  \
      "table-header-group table-footer-group table-column table-caption",                                     \
      false, "inline", Rebuild)                                                                                 \
    X(Position, "position", Keyword, "static relative absolute fixed", false, "static", Layout)                 \
    X(Top, "top", Length, "auto", false, "auto", Layout)                                                        \
    X(Right, "right", Length, "auto", false, "auto", Layout)                                                    \
    X(Bottom, "bottom", Length, "auto", false, "auto", Layout)                                                  \
    X(Left, "left", Length, "auto", false, "auto", Layout)                                                      \
    X(Width, "width", LengthNonNeg, "auto", false, "auto", Layout)                                              \
    X(Height, "height", LengthNonNeg, "auto", false, "auto", Layout)                                            \
    X(MinWidth, "min-width", LengthNonNeg, "", false, "0px", Layout)                                            \
    X(MinHeight, "min-height", LengthNonNeg, "", false, "0px", Layout)                                          \
    X(MaxWidth, "max-width", LengthNonNeg, "none", false, "none", Layout)                                       \
    X(MaxHeight, "max-height", LengthNonNeg, "none", false, "none", Layout)                                     \
    X(MarginTop, "margin-top", Length, "auto", false, "0px", Layout)                                            \
    X(MarginRight, "margin-right", Length, "auto", false, "0px", Layout)                                        \
    X(MarginBottom, "margin-bottom", Length, "auto", false, "0px", Layout)                                      \
    X(MarginLeft, "margin-left", Length, "auto", false, "0px", Layout)                                          \
    X(PaddingTop, "padding-top", LengthNonNeg, "", false, "0px", Layout)                                        \
    X(PaddingRight, "padding-right", LengthNonNeg, "", false, "0px", Layout)                                    \
    X(PaddingBottom, "padding-bottom", LengthNonNeg, "", false, "0px", Layout)                                  \
    X(PaddingLeft, "padding-left", LengthNonNeg, "", false, "0px", Layout)                                      \
    X(BorderTopStyle, "border-top-style", Keyword, kBorderStyles, false, "none", Layout)                        \
    X(BorderRightStyle, "border-right-style", Keyword, kBorderStyles, false, "none", Layout)                    \
    X(BorderBottomStyle, "border-bottom-style", Keyword, kBorderStyles, false, "none", Layout)                  \
    X(BorderLeftStyle, "border-left-style", Keyword, kBorderStyles, false, "none", Layout)                      \
    X(BorderTopWidth, "border-top-width", LengthNonNeg, "thin medium thick", false, "medium", Layout)           \
    X(BorderRightWidth, "border-right-width", LengthNonNeg, "thin medium thick", false, "medium", Layout)       \
    X(BorderBottomWidth, "border-bottom-width", LengthNonNeg, "thin medium thick", false, "medium", Layout)     \
    X(BorderLeftWidth, "border-left-width", LengthNonNeg, "thin medium thick", false, "medium", Layout)         \
    X(BorderTopColor, "border-top-color", Color, "", false, "currentcolor", Paint)                              \
    X(BorderRightColor, "border-right-color", Color, "", false, "currentcolor", Paint)                          \
    X(BorderBottomColor, "border-bottom-color", Color, "", false, "currentcolor", Paint)                        \
    X(BorderLeftColor, "border-left-color", Color, "", false, "currentcolor", Paint)                            \
    X(BorderTopLeftRadius, "border-top-left-radius", LengthNonNeg, "", false, "0px", Paint)                     \
    X(BorderTopRightRadius, "border-top-right-radius", LengthNonNeg, "", false, "0px", Paint)                   \
    X(BorderBottomRightRadius, "border-bottom-right-radius", LengthNonNeg, "", false, "0px", Paint)             \
    X(BorderBottomLeftRadius, "border-bottom-left-radius", LengthNonNeg, "", false, "0px", Paint)               \
    X(BoxSizing, "box-sizing", Keyword, "content-box border-box", false, "content-box", Layout)                 \
    X(BackgroundColor, "background-color", Color, "", false, "transparent", Paint)                              \
    X(BackgroundImage, "background-image", Image, "none", false, "none", Paint)                                 \
    X(BackgroundRepeat, "background-repeat", Keyword, kRepeats, false, "repeat", Paint)                         \
    X(BackgroundPositionX, "background-position-x", Length, "left center right", false, "0%", Paint)            \
    X(BackgroundPositionY, "background-position-y", Length, "top center bottom", false, "0%", Paint)            \
    X(ForegroundImage, "foreground-image", Image, "none", false, "none", Paint)                                 \
    X(ForegroundRepeat, "foreground-repeat", Keyword, kRepeats, false, "no-repeat", Paint)                      \
    X(ForegroundPositionX, "foreground-position-x", Length, "left center right", false, "0%", Paint)            \
    X(ForegroundPositionY, "foreground-position-y", Length, "top center bottom", false, "0%", Paint)            \
    X(Color, "color", Color, "", true, "black", Paint)                                                          \
    X(FontFamily, "font-family", FontFamily, "", true, "sans-serif", Layout)                                    \
    X(FontSize, "font-size", LengthNonNeg,                                                                      \
      "xx-small x-small small medium large x-large xx-large larger smaller", true, "medium", Layout)            \
    X(FontWeight, "font-weight", FontWeight, "normal bold bolder lighter", true, "normal", Layout)              \
    X(FontStyle, "font-style", Keyword, "normal italic oblique", true, "normal", Layout)                        \
    X(LineHeight, "line-height", LineHeight, "normal", true, "normal", Layout)                                  \
    X(TextAlign, "text-align", Keyword, "left right center justify", true, "left", Layout)                      \
    X(TextDecoration, "text-decoration", Keyword, "none underline overline line-through", false, "none", Paint) \
    X(TextIndent, "text-indent", Length, "", true, "0px", Layout)                                               \
    X(VerticalAlign, "vertical-align", Length, "baseline top middle bottom text-top text-bottom sub super",     \
      false, "baseline", Layout)                                                                                \
    X(WhiteSpace, "white-space", Keyword, "normal nowrap pre pre-wrap pre-line", true, "normal", Layout)        \
    X(OverflowX, "overflow-x", Keyword, "visible hidden scroll auto", false, "visible", Layout)                 \
    X(OverflowY, "overflow-y", Keyword, "visible hidden scroll auto", false, "visible", Layout)                 \
    X(Visibility, "visibility", Keyword, "visible hidden collapse", true, "visible", Paint)                     \
    X(ZIndex, "z-index", Integer, "auto", false, "auto", Paint)                                                 \
    X(Opacity, "opacity", Number, "", false, "1", Paint)                                                        \
    X(OutlineStyle, "outline-style", Keyword, "none solid", false, "none", Paint)                               \
    X(OutlineWidth, "outline-width", LengthNonNeg, "", false, "0px", Paint)                                     \
    X(OutlineColor, "outline-color", Color, "", false, "currentcolor", Paint)                                   \
    X(Cursor, "cursor", AnyIdent, "", true, "auto", Paint)                                                      \
    X(Behavior, "behavior", Names, "none", false, "none", Rebuild)

constexpr const char* kBorderStyles = "none hidden solid dashed dotted double groove ridge inset outset";
constexpr const char* kRepeats = "repeat repeat-x repeat-y no-repeat";

enum class PropertyId : unsigned char {
#define ENGINE_PROPERTY_ID(id, ...) id,
    ENGINE_PROPERTIES(ENGINE_PROPERTY_ID)
#undef ENGINE_PROPERTY_ID
};

struct PropertyInfo {
    std::string_view name;
    Grammar grammar;
    std::string_view keywords; // space-separated
    bool inherited;
    std::string_view initial;
    Affects affects;
};

constexpr std::size_t kPropertyCount = 0
#define ENGINE_PROPERTY_COUNT(...) +1
    ENGINE_PROPERTIES(ENGINE_PROPERTY_COUNT)
#undef ENGINE_PROPERTY_COUNT
    ;

const PropertyInfo& InfoOf(PropertyId id);
// The longhand of that name (any case), or false.
bool FindProperty(std::string_view name, PropertyId& id);
bool HasKeyword(const PropertyInfo& info, std::string_view keyword);

} // namespace engine
