#include "engine/css/shorthands.h"
#include "engine/css/style_sheet.h"

namespace engine {
namespace {

bool Opens(const Token& t) {
    return t.Is(TokenType::LeftBrace) || t.Is(TokenType::LeftBracket) || t.Is(TokenType::LeftParen) ||
           t.Is(TokenType::Function);
}
bool Closes(const Token& t) {
    return t.Is(TokenType::RightBrace) || t.Is(TokenType::RightBracket) || t.Is(TokenType::RightParen);
}

// Index of the first token at nesting depth 0 (from `from`) that `stop` accepts, or `end`. Never recurses,
// so any nesting of brackets costs nothing but time.
template <typename Stop>
std::size_t FindTopLevel(const std::vector<Token>& t, std::size_t from, std::size_t end, Stop stop) {
    int depth = 0;
    for (std::size_t i = from; i < end; ++i) {
        if (depth == 0 && stop(t[i])) return i;
        if (Opens(t[i])) ++depth;
        if (Closes(t[i]) && depth > 0) --depth;
    }
    return end;
}

// The closing brace of the block opened at `open`, or `end` when the sheet ends first.
std::size_t BlockClose(const std::vector<Token>& t, std::size_t open, std::size_t end) {
    int depth = 0;
    for (std::size_t i = open; i < end; ++i) {
        if (Opens(t[i])) ++depth;
        if (Closes(t[i]) && --depth == 0) return i;
    }
    return end;
}

void AddDeclaration(std::string_view name, TokenRange value, bool important, std::vector<Declaration>& out) {
    switch (ExpandShorthand(name, value, important, out)) {
    case Expansion::Done:
    case Expansion::Invalid: return;
    case Expansion::NotShorthand: break;
    }
    PropertyId id;
    if (!FindProperty(name, id)) return;
    if (auto v = ParseValue(id, value)) out.push_back({id, std::move(*v), important});
}

void ParseDeclarationList(const std::vector<Token>& t, std::size_t begin, std::size_t end,
                          std::vector<Declaration>& out) {
    std::size_t i = begin;
    while (i < end) {
        std::size_t stop = FindTopLevel(t, i, end, [](const Token& k) { return k.Is(TokenType::Semicolon); });
        TokenRange d = Trim({&t, i, stop});
        i = stop + 1;
        if (d.Empty() || !d.First().Is(TokenType::Ident)) continue;
        std::string_view name = d.First().text;
        std::size_t colon = d.begin + 1;
        while (colon < d.end && t[colon].Is(TokenType::Whitespace)) ++colon;
        if (colon >= d.end || !t[colon].Is(TokenType::Colon)) continue;
        TokenRange value{&t, colon + 1, d.end};
        // A trailing "! important".
        bool important = false;
        TokenRange v = Trim(value);
        if (!v.Empty() && t[v.end - 1].IsIdent("important")) {
            std::size_t bang = v.end - 1;
            while (bang > v.begin && t[bang - 1].Is(TokenType::Whitespace)) --bang;
            if (bang > v.begin && t[bang - 1].IsDelim('!')) {
                important = true;
                value.end = bang - 1;
            }
        }
        AddDeclaration(name, value, important, out);
    }
}

} // namespace

std::shared_ptr<const StyleSheet> ParseStyleSheet(std::string_view css) {
    auto sheet = std::make_shared<StyleSheet>();
    std::vector<Token> t = Tokenize(css);
    std::size_t i = 0, end = t.size();
    while (i < end) {
        const Token& first = t[i];
        if (first.Is(TokenType::Whitespace) || first.IsDelim('<') || first.IsDelim('>') || first.IsDelim('!') ||
            first.IsDelim('-') || Closes(first) || first.Is(TokenType::Semicolon)) {
            ++i; // whitespace, the markers of old HTML comments around a sheet, stray closers
            continue;
        }
        std::size_t stop = FindTopLevel(t, i, end, [](const Token& k) {
            return k.Is(TokenType::LeftBrace) || k.Is(TokenType::Semicolon);
        });
        if (first.Is(TokenType::AtKeyword) || stop >= end || t[stop].Is(TokenType::Semicolon)) {
            // At-rules are not supported: skip the rule with its block.
            i = stop < end && t[stop].Is(TokenType::LeftBrace) ? BlockClose(t, stop, end) + 1 : stop + 1;
            continue;
        }
        std::size_t close = BlockClose(t, stop, end);
        if (auto selectors = ParseSelectorList(t, i, stop)) {
            auto block = std::make_shared<DeclarationBlock>();
            ParseDeclarationList(t, stop + 1, close, block->declarations);
            if (!block->declarations.empty()) sheet->rules.push_back({std::move(*selectors), std::move(block)});
        }
        i = close + 1;
    }
    return sheet;
}

std::shared_ptr<const DeclarationBlock> ParseDeclarations(std::string_view css) {
    auto block = std::make_shared<DeclarationBlock>();
    std::vector<Token> t = Tokenize(css);
    ParseDeclarationList(t, 0, t.size(), block->declarations);
    return block;
}

bool ParsePropertyValue(std::string_view name, std::string_view value, std::vector<Declaration>& out) {
    std::vector<Token> t = Tokenize(value);
    std::size_t before = out.size();
    AddDeclaration(name, {&t, 0, t.size()}, false, out);
    return out.size() > before;
}

} // namespace engine
