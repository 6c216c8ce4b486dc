#include "engine/html/html_parser.h"

#include "engine/dom/ascii.h"
#include "engine/dom/document.h"
#include "engine/dom/utf.h"
#include "engine/html/entities.h"
#include "engine/html/html_names.h"

#include <vector>

namespace engine {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool IsNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsOnlySpace(std::string_view text) {
    for (char c : text)
        if (!IsSpace(c)) return false;
    return true;
}

class Parser {
public:
    Parser(std::string_view input, Element& container, const HtmlLimits& limits, bool wholePage)
        : in_(input), limits_(limits), wholePage_(wholePage), baseDepth_(container.Depth()) {
        open_.push_back(&container);
    }

    void Run() {
        while (pos_ < in_.size() && nodes_ < limits_.maxNodes) {
            std::size_t lt = in_.find('<', pos_);
            if (lt == std::string_view::npos) lt = in_.size();
            if (lt > pos_) AddText(in_.substr(pos_, lt - pos_));
            pos_ = lt;
            if (pos_ < in_.size()) Markup();
        }
    }

private:
    Element& Current() const { return *open_.back(); }

    void AddText(std::string_view raw) {
        // Spaces between the parts of a page's frame are layout noise.
        if (IsOnlySpace(raw) && (Current().Tag() == "html" || Current().Tag() == "head")) return;
        Append(Ref<Node>(new Text(DecodeText(raw))));
    }

    void Append(Ref<Node> node) {
        ++nodes_;
        Current().AppendChild(std::move(node));
    }

    void Markup() {
        std::string_view rest = in_.substr(pos_);
        if (rest.substr(0, 4) == "<!--") {
            std::size_t end = in_.find("-->", pos_ + 4);
            pos_ = end == std::string_view::npos ? in_.size() : end + 3;
        } else if (rest.size() > 1 && (rest[1] == '!' || rest[1] == '?')) {
            std::size_t end = in_.find('>', pos_);
            pos_ = end == std::string_view::npos ? in_.size() : end + 1;
        } else if (rest.size() > 2 && rest[1] == '/' && IsNameStart(rest[2])) {
            pos_ += 2;
            std::string name = ReadName();
            std::size_t end = in_.find('>', pos_);
            pos_ = end == std::string_view::npos ? in_.size() : end + 1;
            Close(name);
        } else if (rest.size() > 1 && IsNameStart(rest[1])) {
            ++pos_;
            StartTag();
        } else {
            AddText("<");
            ++pos_;
        }
    }

    std::string ReadName() {
        std::size_t start = pos_;
        while (pos_ < in_.size() && !IsSpace(in_[pos_]) && in_[pos_] != '>' && in_[pos_] != '/' && in_[pos_] != '=')
            ++pos_;
        return AsciiLower(in_.substr(start, pos_ - start));
    }

    void SkipSpace() {
        while (pos_ < in_.size() && IsSpace(in_[pos_])) ++pos_;
    }

    std::u16string ReadAttributeValue() {
        SkipSpace();
        if (pos_ >= in_.size()) return {};
        char quote = in_[pos_];
        std::size_t start, end;
        if (quote == '"' || quote == '\'') {
            start = ++pos_;
            end = in_.find(quote, pos_);
            if (end == std::string_view::npos) end = in_.size();
            pos_ = end < in_.size() ? end + 1 : end;
        } else {
            start = pos_;
            while (pos_ < in_.size() && !IsSpace(in_[pos_]) && in_[pos_] != '>') ++pos_;
            end = pos_;
        }
        return DecodeText(in_.substr(start, end - start));
    }

    void StartTag() {
        std::string name = ReadName();
        Ref<Element> element(new Element(name));
        bool selfClosing = false;
        for (;;) {
            SkipSpace();
            if (pos_ >= in_.size()) break;
            char c = in_[pos_];
            if (c == '>') {
                ++pos_;
                break;
            }
            if (c == '/') {
                ++pos_;
                selfClosing = pos_ < in_.size() && in_[pos_] == '>';
                continue;
            }
            std::string attribute = ReadName();
            if (attribute.empty()) {
                ++pos_; // a stray '=' or the like
                continue;
            }
            SkipSpace();
            std::u16string value;
            if (pos_ < in_.size() && in_[pos_] == '=') {
                ++pos_;
                value = ReadAttributeValue();
            }
            if (!element->HasAttribute(attribute)) element->SetAttribute(attribute, std::move(value));
        }
        Open(std::move(element), selfClosing);
    }

    void Open(Ref<Element> element, bool selfClosing) {
        const std::string& tag = element->Tag();
        if (wholePage_ && tag == "html") {
            for (const auto& a : element->Attributes())
                if (!open_.front()->HasAttribute(a.name)) open_.front()->SetAttribute(a.name, a.value);
            return;
        }
        CloseImplied(tag);
        Element* raw = element.Get();
        Append(std::move(element));
        if (IsRawTextElement(tag)) {
            ReadRawText(*raw);
            return;
        }
        bool tooDeep = baseDepth_ + static_cast<int>(open_.size()) >= limits_.maxDepth;
        if (!selfClosing && !IsVoidElement(tag) && !tooDeep) open_.push_back(raw);
    }

    void ReadRawText(Element& element) {
        std::string closing = "</" + element.Tag();
        std::size_t end = pos_;
        for (;;) {
            end = in_.find("</", end);
            if (end == std::string_view::npos || EqualsNoCase(in_.substr(end, closing.size()), closing)) break;
            end += 2;
        }
        if (end == std::string_view::npos) end = in_.size();
        std::string_view text = in_.substr(pos_, end - pos_);
        if (!text.empty()) {
            ++nodes_;
            element.AppendChild(Ref<Node>(
                new Text(element.Tag() == "textarea" || element.Tag() == "title" ? DecodeText(text) : Utf8ToUtf16(text))));
        }
        std::size_t close = end < in_.size() ? in_.find('>', end) : std::string_view::npos;
        pos_ = close == std::string_view::npos ? in_.size() : close + 1;
    }

    // Index in the open stack of the nearest open element with the tag, not crossing a boundary; 0 = none.
    std::size_t FindOpen(std::string_view tag, std::initializer_list<std::string_view> boundaries = {}) const {
        for (std::size_t i = open_.size(); i-- > 1;) {
            if (open_[i]->Tag() == tag) return i;
            for (std::string_view b : boundaries)
                if (open_[i]->Tag() == b) return 0;
        }
        return 0;
    }

    void PopTo(std::size_t index) { open_.resize(index); }

    void CloseImplied(const std::string& tag) {
        if (ClosesParagraph(tag) && Current().Tag() == "p") open_.pop_back();
        std::size_t at = 0;
        if (tag == "li")
            at = FindOpen("li", {"ul", "ol"});
        else if (tag == "option")
            at = FindOpen("option", {"select"});
        else if (tag == "tr")
            at = FindOpen("tr", {"table"});
        else if (tag == "td" || tag == "th")
            at = std::max(FindOpen("td", {"tr", "table"}), FindOpen("th", {"tr", "table"}));
        if (at) PopTo(at);
    }

    void Close(const std::string& tag) {
        if (std::size_t at = FindOpen(tag)) PopTo(at);
    }

    std::string_view in_;
    const HtmlLimits& limits_;
    bool wholePage_;
    int baseDepth_;
    std::size_t pos_ = 0;
    std::size_t nodes_ = 0;
    std::vector<Element*> open_;
};

} // namespace

std::string PageBytesToUtf8(std::string_view bytes) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) return std::string(bytes.substr(3));
    if (bytes.size() >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) {
        bool little = byte(0) == 0xFF;
        std::u16string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<char16_t>(little ? byte(i) | (byte(i + 1) << 8) : (byte(i) << 8) | byte(i + 1)));
        return Utf16ToUtf8(text);
    }
    return std::string(bytes);
}

void ParseHtml(std::string_view utf8, Document& document, const HtmlLimits& limits) {
    document.Root().RemoveAllChildren();
    Parser(utf8, document.Root(), limits, true).Run();
}

void ParseHtmlFragment(std::string_view utf8, Element& parent, const HtmlLimits& limits) {
    parent.RemoveAllChildren();
    Parser(utf8, parent, limits, false).Run();
}

} // namespace engine
