// Firefox's logins.json: any bytes give a count or nothing, and never more logins than the input has objects.
#include "cleaners/browsers/logins_json.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto logins = CountSavedLogins(bytes)) {
        if (*logins > static_cast<uint64_t>(std::count(bytes.begin(), bytes.end(), '{'))) std::abort();
    }
    return 0;
}
