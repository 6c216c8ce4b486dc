// A style sheet alone, and the same text as a style attribute's declarations.
#include "engine/css/style_sheet.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view css(reinterpret_cast<const char*>(data), size);
    engine::ParseStyleSheet(css);
    engine::ParseDeclarations(css);
    return 0;
}
