#include "engine/css/css_tokenizer.h"

#include "engine/dom/ascii.h"
#include "engine/dom/utf.h"

#include <cstdlib>

namespace engine {
namespace {

bool IsNameStart(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z' ? true : c == '_' || c >= 0x80; }
bool IsName(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool IsHex(char c) { return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }

class Tokenizer {
public:
    explicit Tokenizer(std::string_view in) : in_(in) {}

    std::vector<Token> Run() {
        std::vector<Token> out;
        while (pos_ < in_.size()) {
            if (in_.substr(pos_, 2) == "/*") {
                std::size_t end = in_.find("*/", pos_ + 2);
                pos_ = end == std::string_view::npos ? in_.size() : end + 2;
                continue;
            }
            out.push_back(Next());
        }
        return out;
    }

private:
    char At(std::size_t i) const { return i < in_.size() ? in_[i] : '\0'; }

    bool StartsEscape(std::size_t i) const { return At(i) == '\\' && At(i + 1) != '\n' && i + 1 < in_.size(); }
    bool StartsName(std::size_t i) const {
        if (At(i) == '-') return IsNameStart(static_cast<unsigned char>(At(i + 1))) || At(i + 1) == '-' || StartsEscape(i + 1);
        return IsNameStart(static_cast<unsigned char>(At(i))) || StartsEscape(i);
    }
    bool StartsNumber(std::size_t i) const {
        if (At(i) == '+' || At(i) == '-') ++i;
        return IsDigit(At(i)) || (At(i) == '.' && IsDigit(At(i + 1)));
    }

    std::string ReadEscape() {
        ++pos_; // backslash
        if (!IsHex(At(pos_))) return std::string(1, in_[pos_++]);
        std::size_t start = pos_;
        while (pos_ < in_.size() && pos_ - start < 6 && IsHex(in_[pos_])) ++pos_;
        unsigned long code = std::strtoul(std::string(in_.substr(start, pos_ - start)).c_str(), nullptr, 16);
        if (IsSpace(At(pos_))) ++pos_;
        if (code == 0) code = 0xFFFD;
        std::string out;
        AppendUtf8(out, static_cast<char32_t>(code));
        return out;
    }

    std::string ReadName() {
        std::string name;
        while (pos_ < in_.size()) {
            if (StartsEscape(pos_))
                name += ReadEscape();
            else if (IsName(static_cast<unsigned char>(in_[pos_])))
                name += in_[pos_++];
            else
                break;
        }
        return name;
    }

    Token ReadString(char quote) {
        ++pos_;
        std::string text;
        while (pos_ < in_.size()) {
            char c = in_[pos_];
            if (c == quote) {
                ++pos_;
                return {TokenType::String, text};
            }
            if (c == '\n') return {TokenType::BadString, text};
            if (c == '\\') {
                if (At(pos_ + 1) == '\n') {
                    pos_ += 2;
                    continue;
                }
                if (pos_ + 1 >= in_.size()) {
                    ++pos_;
                    continue;
                }
                text += ReadEscape();
                continue;
            }
            text += c;
            ++pos_;
        }
        return {TokenType::String, text};
    }

    Token ReadUrl() {
        while (IsSpace(At(pos_))) ++pos_;
        std::string text;
        while (pos_ < in_.size()) {
            char c = in_[pos_];
            if (c == ')') {
                ++pos_;
                return {TokenType::Url, text};
            }
            if (IsSpace(c)) {
                while (IsSpace(At(pos_))) ++pos_;
                if (At(pos_) == ')' || pos_ >= in_.size()) continue;
                break;
            }
            if (c == '"' || c == '\'' || c == '(') break;
            if (c == '\\') {
                if (StartsEscape(pos_)) {
                    text += ReadEscape();
                    continue;
                }
                break;
            }
            text += c;
            ++pos_;
        }
        if (pos_ >= in_.size()) return {TokenType::Url, text};
        // Skip the rest of a bad url up to its closing parenthesis.
        while (pos_ < in_.size() && in_[pos_] != ')') pos_ += StartsEscape(pos_) ? 2 : 1;
        if (pos_ < in_.size()) ++pos_;
        return {TokenType::BadUrl, text};
    }

    Token ReadNumeric() {
        std::size_t start = pos_;
        if (At(pos_) == '+' || At(pos_) == '-') ++pos_;
        while (IsDigit(At(pos_))) ++pos_;
        if (At(pos_) == '.' && IsDigit(At(pos_ + 1))) {
            ++pos_;
            while (IsDigit(At(pos_))) ++pos_;
        }
        if ((At(pos_) | 0x20) == 'e' && (IsDigit(At(pos_ + 1)) || ((At(pos_ + 1) == '+' || At(pos_ + 1) == '-') && IsDigit(At(pos_ + 2))))) {
            pos_ += 2;
            while (IsDigit(At(pos_))) ++pos_;
        }
        std::string text(in_.substr(start, pos_ - start));
        Token t{TokenType::Number, text, std::strtod(text.c_str(), nullptr)};
        if (At(pos_) == '%') {
            ++pos_;
            t.type = TokenType::Percentage;
        } else if (StartsName(pos_)) {
            t.type = TokenType::Dimension;
            t.unit = AsciiLower(ReadName());
        }
        return t;
    }

    Token Next() {
        char c = in_[pos_];
        if (IsSpace(c)) {
            while (IsSpace(At(pos_))) ++pos_;
            return {TokenType::Whitespace, " "};
        }
        if (c == '"' || c == '\'') return ReadString(c);
        if (StartsNumber(pos_)) return ReadNumeric();
        if (StartsName(pos_)) {
            std::string name = ReadName();
            if (At(pos_) == '(') {
                ++pos_;
                if (EqualsNoCase(name, "url")) {
                    std::size_t p = pos_;
                    while (IsSpace(At(p))) ++p;
                    if (At(p) != '"' && At(p) != '\'') return ReadUrl();
                }
                return {TokenType::Function, AsciiLower(name)};
            }
            return {TokenType::Ident, name};
        }
        ++pos_;
        switch (c) {
        case '#':
            if (IsName(static_cast<unsigned char>(At(pos_))) || StartsEscape(pos_)) return {TokenType::Hash, ReadName()};
            break;
        case '@':
            if (StartsName(pos_)) return {TokenType::AtKeyword, AsciiLower(ReadName())};
            break;
        case ':': return {TokenType::Colon, ":"};
        case ';': return {TokenType::Semicolon, ";"};
        case ',': return {TokenType::Comma, ","};
        case '[': return {TokenType::LeftBracket, "["};
        case ']': return {TokenType::RightBracket, "]"};
        case '(': return {TokenType::LeftParen, "("};
        case ')': return {TokenType::RightParen, ")"};
        case '{': return {TokenType::LeftBrace, "{"};
        case '}': return {TokenType::RightBrace, "}"};
        default: break;
        }
        return {TokenType::Delim, std::string(1, c)};
    }

    std::string_view in_;
    std::size_t pos_ = 0;
};

} // namespace

bool Token::IsIdent(std::string_view name) const { return type == TokenType::Ident && EqualsNoCase(text, name); }

std::vector<Token> Tokenize(std::string_view css) { return Tokenizer(css).Run(); }

} // namespace engine
