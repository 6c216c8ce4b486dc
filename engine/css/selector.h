#pragma once
// Parsed selectors and their specificity.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

enum class Combinator : std::uint8_t { None, Descendant, Child, Adjacent, Sibling };
enum class AttributeMatch : std::uint8_t { Exists, Equals, Includes, DashMatch, Prefix, Suffix, Substring };

enum class PseudoClass : std::uint8_t {
    Root, Hover, Active, Focus, Checked, Disabled, Enabled, Current, Expanded, Collapsed, FirstChild,
    LastChild, OnlyChild, Link, Visited, Empty, FocusVisible
};

struct AttributeTest {
    std::string name; // lower case
    AttributeMatch match = AttributeMatch::Exists;
    std::u16string value;
};

// A compound selector and the combinator that joins it to the compound before it.
struct Compound {
    std::string tag; // empty: any element
    std::vector<std::u16string> ids;
    std::vector<std::u16string> classes;
    std::vector<AttributeTest> attributes;
    std::vector<PseudoClass> pseudoClasses;
    Combinator combinator = Combinator::None;
};

// (ids, classes + attributes + pseudo-classes, types), compared in that order.
using Specificity = std::array<std::uint16_t, 3>;

struct Selector {
    std::vector<Compound> compounds; // left to right
    Specificity specificity{};
};

using SelectorList = std::vector<Selector>;

struct Token;
// A selector list, or nothing when any part is invalid (the whole rule is dropped then, as in CSS).
std::optional<SelectorList> ParseSelectorList(const std::vector<Token>& tokens, std::size_t begin, std::size_t end);
std::optional<SelectorList> ParseSelectorList(std::string_view text);

// The state bit a pseudo-class tests, or 0.
unsigned StateOfPseudoClass(PseudoClass p);

} // namespace engine
