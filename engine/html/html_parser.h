#pragma once
// A forgiving HTML parser for our pages: unknown tags, unquoted attributes, references, comments, void
// elements, raw-text elements and missing end tags are all taken in stride; no input makes it fail.

#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

class Document;
class Element;

struct HtmlLimits {
    int maxDepth = 256;             // deeper elements become siblings at this depth
    std::size_t maxNodes = 100000;  // the rest of a larger page is dropped
};

// The page bytes as UTF-8: a UTF-16 page (by its byte-order mark) is converted, a UTF-8 mark dropped.
std::string PageBytesToUtf8(std::string_view bytes);

// Parses a whole page into the document's root element.
void ParseHtml(std::string_view utf8, Document& document, const HtmlLimits& limits = {});
// Parses HTML as the new content of an element.
void ParseHtmlFragment(std::string_view utf8, Element& parent, const HtmlLimits& limits = {});

} // namespace engine
