#include "engine/html/html_names.h"

#include <algorithm>
#include <array>

namespace engine {
namespace {

template <std::size_t N>
bool In(const std::array<std::string_view, N>& set, std::string_view tag) {
    return std::find(set.begin(), set.end(), tag) != set.end();
}

constexpr std::array<std::string_view, 14> kVoid{"area", "base", "br",   "col",  "embed", "hr",     "img",
                                                  "input", "link", "meta", "param", "source", "track", "wbr"};
constexpr std::array<std::string_view, 5> kRawText{"style", "script", "textarea", "title", "xmp"};
constexpr std::array<std::string_view, 21> kClosesP{
    "address", "article", "aside", "blockquote", "div", "dl", "fieldset", "footer", "form", "h1", "h2",
    "h3",      "h4",      "h5",    "h6",         "header", "hr", "ol",     "p",      "table", "ul"};

} // namespace

bool IsVoidElement(std::string_view tag) { return In(kVoid, tag); }
bool IsRawTextElement(std::string_view tag) { return In(kRawText, tag); }
bool ClosesParagraph(std::string_view tag) { return In(kClosesP, tag); }

} // namespace engine
