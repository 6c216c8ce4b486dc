// A settings value as the registry hands it over: the first four bytes are its type, the rest its data.
#include "settings/stored_flag.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    uint32_t type = 0;
    std::memcpy(&type, data, sizeof type);
    const int32_t flag = StoredFlag(type, {data + 4, size - 4}, 7);
    // Only a default or a clean 0/1 may come out.
    if (flag != 7 && flag != 0 && flag != 1) std::abort();
    return 0;
}
