#include "engine/css/selector.h"

#include "engine/css/css_tokenizer.h"
#include "engine/dom/ascii.h"
#include "engine/dom/document.h"
#include "engine/dom/utf.h"
#include "engine/include/htmlayout_dom.h"

#include <algorithm>
#include <utility>

namespace engine {
namespace {

constexpr std::pair<std::string_view, PseudoClass> kPseudoClasses[] = {
    {"root", PseudoClass::Root},           {"hover", PseudoClass::Hover},
    {"active", PseudoClass::Active},       {"focus", PseudoClass::Focus},
    {"checked", PseudoClass::Checked},     {"disabled", PseudoClass::Disabled},
    {"enabled", PseudoClass::Enabled},     {"current", PseudoClass::Current},
    {"expanded", PseudoClass::Expanded},   {"collapsed", PseudoClass::Collapsed},
    {"first-child", PseudoClass::FirstChild}, {"last-child", PseudoClass::LastChild},
    {"only-child", PseudoClass::OnlyChild}, {"link", PseudoClass::Link},
    {"visited", PseudoClass::Visited},     {"empty", PseudoClass::Empty},
    {"focus-visible", PseudoClass::FocusVisible},
};

// Every selector is a handful of compounds; a longer one is not ours and would only cost matching time.
constexpr std::size_t kMaxCompounds = 32;

class SelectorParser {
public:
    SelectorParser(const std::vector<Token>& tokens, std::size_t begin, std::size_t end)
        : t_(tokens), pos_(begin), end_(end) {}

    std::optional<SelectorList> Run() {
        SelectorList list;
        for (;;) {
            SkipSpace();
            Selector selector;
            if (!ParseComplex(selector)) return std::nullopt;
            list.push_back(std::move(selector));
            SkipSpace();
            if (pos_ >= end_) return list;
            if (!t_[pos_].Is(TokenType::Comma)) return std::nullopt;
            ++pos_;
        }
    }

private:
    bool AtEnd() const { return pos_ >= end_; }
    const Token& Peek() const { return t_[pos_]; }
    void SkipSpace() {
        while (!AtEnd() && Peek().Is(TokenType::Whitespace)) ++pos_;
    }

    bool ParseComplex(Selector& selector) {
        Combinator combinator = Combinator::None;
        for (;;) {
            Compound compound;
            compound.combinator = combinator;
            if (!ParseCompound(compound) || selector.compounds.size() >= kMaxCompounds) return false;
            selector.compounds.push_back(std::move(compound));
            bool space = !AtEnd() && Peek().Is(TokenType::Whitespace);
            SkipSpace();
            if (AtEnd() || Peek().Is(TokenType::Comma)) break;
            if (Peek().IsDelim('>'))
                combinator = Combinator::Child;
            else if (Peek().IsDelim('+'))
                combinator = Combinator::Adjacent;
            else if (Peek().IsDelim('~'))
                combinator = Combinator::Sibling;
            else if (space)
                combinator = Combinator::Descendant;
            else
                return false;
            if (combinator != Combinator::Descendant) {
                ++pos_;
                SkipSpace();
            }
        }
        for (const Compound& c : selector.compounds) {
            selector.specificity[0] = static_cast<std::uint16_t>(selector.specificity[0] + c.ids.size());
            selector.specificity[1] = static_cast<std::uint16_t>(selector.specificity[1] + c.classes.size() +
                                                                 c.attributes.size() + c.pseudoClasses.size());
            if (!c.tag.empty()) ++selector.specificity[2];
        }
        return true;
    }

    bool ParseCompound(Compound& c) {
        bool any = false;
        if (!AtEnd() && Peek().Is(TokenType::Ident)) {
            c.tag = AsciiLower(Peek().text);
            ++pos_;
            any = true;
        } else if (!AtEnd() && Peek().IsDelim('*')) {
            ++pos_;
            any = true;
        }
        while (!AtEnd()) {
            const Token& tok = Peek();
            if (tok.Is(TokenType::Hash)) {
                c.ids.push_back(Utf8ToUtf16(tok.text));
                ++pos_;
            } else if (tok.IsDelim('.')) {
                if (pos_ + 1 >= end_ || !t_[pos_ + 1].Is(TokenType::Ident)) return false;
                c.classes.push_back(Utf8ToUtf16(t_[pos_ + 1].text));
                pos_ += 2;
            } else if (tok.Is(TokenType::LeftBracket)) {
                if (!ParseAttribute(c)) return false;
            } else if (tok.Is(TokenType::Colon)) {
                if (!ParsePseudo(c)) return false;
            } else {
                break;
            }
            any = true;
        }
        return any;
    }

    bool ParseAttribute(Compound& c) {
        ++pos_;
        SkipSpace();
        if (AtEnd() || !Peek().Is(TokenType::Ident)) return false;
        AttributeTest test;
        test.name = AsciiLower(Peek().text);
        ++pos_;
        SkipSpace();
        if (AtEnd()) return false;
        if (Peek().Is(TokenType::RightBracket)) {
            ++pos_;
            c.attributes.push_back(std::move(test));
            return true;
        }
        static constexpr std::pair<char, AttributeMatch> kOps[] = {
            {'~', AttributeMatch::Includes}, {'|', AttributeMatch::DashMatch}, {'^', AttributeMatch::Prefix},
            {'$', AttributeMatch::Suffix},   {'*', AttributeMatch::Substring}};
        test.match = AttributeMatch::Equals;
        for (auto [ch, match] : kOps) {
            if (Peek().IsDelim(ch)) {
                test.match = match;
                ++pos_;
                break;
            }
        }
        if (AtEnd() || !Peek().IsDelim('=')) return false;
        ++pos_;
        SkipSpace();
        // The value: a string, or the text of whatever tokens stand before the bracket, quoted or not.
        std::string value;
        bool quoted = !AtEnd() && Peek().Is(TokenType::String);
        std::size_t tokens = 0;
        while (!AtEnd() && !Peek().Is(TokenType::RightBracket)) {
            const Token& v = Peek();
            if (v.Is(TokenType::Whitespace)) {
                ++pos_;
                continue;
            }
            if (quoted && tokens > 0) {
                if (!v.IsIdent("i") && !v.IsIdent("s")) return false;
            } else if (v.Is(TokenType::Dimension)) {
                value += v.text + v.unit;
            } else if (v.Is(TokenType::Percentage)) {
                value += v.text + "%";
            } else if (v.Is(TokenType::Hash)) {
                value += "#" + v.text;
            } else if (v.Is(TokenType::LeftBracket) || v.Is(TokenType::BadString) || v.Is(TokenType::LeftBrace)) {
                return false;
            } else {
                value += v.text;
            }
            ++tokens;
            ++pos_;
        }
        if (AtEnd() || tokens == 0) return false;
        ++pos_;
        test.value = Utf8ToUtf16(value);
        c.attributes.push_back(std::move(test));
        return true;
    }

    bool ParsePseudo(Compound& c) {
        ++pos_;
        if (AtEnd() || !Peek().Is(TokenType::Ident)) return false; // pseudo-elements and functions: unsupported
        for (auto [name, pseudo] : kPseudoClasses) {
            if (EqualsNoCase(name, Peek().text)) {
                c.pseudoClasses.push_back(pseudo);
                ++pos_;
                return true;
            }
        }
        return false;
    }

    const std::vector<Token>& t_;
    std::size_t pos_;
    std::size_t end_;
};

} // namespace

std::optional<SelectorList> ParseSelectorList(const std::vector<Token>& tokens, std::size_t begin, std::size_t end) {
    return SelectorParser(tokens, begin, std::min(end, tokens.size())).Run();
}

std::optional<SelectorList> ParseSelectorList(std::string_view text) {
    std::vector<Token> tokens = Tokenize(text);
    return ParseSelectorList(tokens, 0, tokens.size());
}

unsigned StateOfPseudoClass(PseudoClass p) {
    switch (p) {
    case PseudoClass::Hover: return STATE_HOVER;
    case PseudoClass::Active: return STATE_ACTIVE;
    case PseudoClass::Focus: return STATE_FOCUS;
    case PseudoClass::FocusVisible: return kStateFocusVisible;
    case PseudoClass::Checked: return STATE_CHECKED;
    case PseudoClass::Disabled:
    case PseudoClass::Enabled: return STATE_DISABLED;
    case PseudoClass::Current: return STATE_CURRENT;
    case PseudoClass::Expanded: return STATE_EXPANDED;
    case PseudoClass::Collapsed: return STATE_COLLAPSED;
    case PseudoClass::Link: return STATE_LINK;
    case PseudoClass::Visited: return STATE_VISITED;
    default: return 0;
    }
}

} // namespace engine
