#pragma once
// CSS tokens, after the CSS syntax module, simplified where our sheets allow it.

#include <string>
#include <string_view>
#include <vector>

namespace engine {

enum class TokenType {
    Ident, Function, AtKeyword, Hash, String, Url, Delim, Number, Percentage, Dimension, Whitespace,
    Colon, Semicolon, Comma, LeftBracket, RightBracket, LeftParen, RightParen, LeftBrace, RightBrace, BadString,
    BadUrl
};

struct Token {
    TokenType type;
    std::string text; // name, string contents, delimiter character, or the number as written
    double number = 0;
    std::string unit; // of a dimension, lower case

    bool Is(TokenType t) const { return type == t; }
    bool IsDelim(char c) const { return type == TokenType::Delim && text.size() == 1 && text[0] == c; }
    bool IsIdent(std::string_view name) const;
};

std::vector<Token> Tokenize(std::string_view css);

} // namespace engine
