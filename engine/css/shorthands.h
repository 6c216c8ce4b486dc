#pragma once
// Shorthand properties, expanded into their longhands when parsed.

#include "engine/css/style_sheet.h"
#include "engine/css/value_parser.h"

namespace engine {

enum class Expansion { NotShorthand, Invalid, Done };

Expansion ExpandShorthand(std::string_view name, TokenRange value, bool important, std::vector<Declaration>& out);

} // namespace engine
