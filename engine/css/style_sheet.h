#pragma once
// A parsed style sheet: rules of selectors and declarations.

#include "engine/css/css_value.h"
#include "engine/css/properties.h"
#include "engine/css/selector.h"

#include <memory>
#include <string_view>
#include <vector>

namespace engine {

struct Declaration {
    PropertyId property;
    CssValue value;
    bool important = false;
};

struct DeclarationBlock {
    std::vector<Declaration> declarations;
};

struct StyleRule {
    SelectorList selectors;
    std::shared_ptr<const DeclarationBlock> block;
};

struct StyleSheet {
    std::vector<StyleRule> rules;
};

std::shared_ptr<const StyleSheet> ParseStyleSheet(std::string_view css);
// The declarations of a style attribute (no braces).
std::shared_ptr<const DeclarationBlock> ParseDeclarations(std::string_view css);
// One property set from text, as the program's runtime style does; shorthands expand. False when invalid.
bool ParsePropertyValue(std::string_view name, std::string_view value, std::vector<Declaration>& out);

} // namespace engine
