#pragma once
// Parses the tokens of one property's value.

#include "engine/css/css_tokenizer.h"
#include "engine/css/css_value.h"
#include "engine/css/properties.h"

#include <optional>
#include <utility>
#include <vector>

namespace engine {

struct TokenRange {
    const std::vector<Token>* tokens;
    std::size_t begin;
    std::size_t end;

    bool Empty() const { return begin >= end; }
    const Token& First() const { return (*tokens)[begin]; }
};

// The range without whitespace at either end.
TokenRange Trim(TokenRange range);
// The space-separated components of a value; a function with its arguments is one component, a '/' is one.
std::vector<TokenRange> Components(TokenRange range);
std::optional<CssValue> ParseValue(PropertyId property, TokenRange range);
std::optional<std::uint32_t> ParseColor(TokenRange range);

} // namespace engine
