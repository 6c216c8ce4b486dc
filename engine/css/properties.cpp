#include "engine/css/properties.h"

#include "engine/dom/ascii.h"

#include <array>

namespace engine {
namespace {

constexpr std::array<PropertyInfo, kPropertyCount> kProperties{{
#define ENGINE_PROPERTY_INFO(id, name, grammar, keywords, inherited, initial, affects) \
    {name, Grammar::grammar, keywords, inherited, initial, Affects::affects},
    ENGINE_PROPERTIES(ENGINE_PROPERTY_INFO)
#undef ENGINE_PROPERTY_INFO
}};

} // namespace

const PropertyInfo& InfoOf(PropertyId id) { return kProperties[static_cast<std::size_t>(id)]; }

bool FindProperty(std::string_view name, PropertyId& id) {
    for (std::size_t i = 0; i < kProperties.size(); ++i) {
        if (EqualsNoCase(kProperties[i].name, name)) {
            id = static_cast<PropertyId>(i);
            return true;
        }
    }
    return false;
}

bool HasKeyword(const PropertyInfo& info, std::string_view keyword) {
    std::string_view list = info.keywords;
    while (!list.empty()) {
        std::size_t space = list.find(' ');
        if (EqualsNoCase(list.substr(0, space), keyword)) return true;
        if (space == std::string_view::npos) break;
        list.remove_prefix(space + 1);
    }
    return false;
}

} // namespace engine
