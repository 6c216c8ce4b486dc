#include "engine/html/html_writer.h"

#include "engine/dom/element.h"
#include "engine/dom/utf.h"
#include "engine/html/html_names.h"

namespace engine {
namespace {

void Escape(std::string& out, const std::u16string& text, bool attribute) {
    for (char c : Utf16ToUtf8(text)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += attribute ? "<" : "&lt;"; break;
        case '>': out += attribute ? ">" : "&gt;"; break;
        case '"': out += attribute ? "&quot;" : "\""; break;
        default: out += c;
        }
    }
}

void WriteChildren(std::string& out, const Element& element);

void WriteElement(std::string& out, const Element& element) {
    out += '<';
    out += element.Tag();
    for (const auto& a : element.Attributes()) {
        out += ' ';
        out += a.name;
        out += "=\"";
        Escape(out, a.value, true);
        out += '"';
    }
    out += '>';
    if (IsVoidElement(element.Tag())) return;
    WriteChildren(out, element);
    out += "</";
    out += element.Tag();
    out += '>';
}

void WriteChildren(std::string& out, const Element& element) {
    bool raw = IsRawTextElement(element.Tag()) && element.Tag() != "textarea" && element.Tag() != "title";
    for (const auto& child : element.Children()) {
        if (child->IsElement())
            WriteElement(out, static_cast<const Element&>(*child));
        else if (raw)
            out += Utf16ToUtf8(static_cast<const Text&>(*child).Data());
        else
            Escape(out, static_cast<const Text&>(*child).Data(), false);
    }
}

} // namespace

std::string InnerHtml(const Element& element) {
    std::string out;
    WriteChildren(out, element);
    return out;
}

std::string OuterHtml(const Element& element) {
    std::string out;
    WriteElement(out, element);
    return out;
}

} // namespace engine
