// A Chromium-family browser's "Local State": only plain folder names may come out of it.
#include "cleaners/browsers/local_state_profiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const std::string& name :
         ProfileNamesInLocalState(std::string_view(reinterpret_cast<const char*>(data), size)))
        if (!IsPlainFolderName(name)) std::abort();
    return 0;
}
