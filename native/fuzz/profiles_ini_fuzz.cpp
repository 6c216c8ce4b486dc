// Firefox's profiles.ini as it lies in the profile folder.
#include "cleaners/browsers/profiles_ini.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ParseProfilesIni(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
