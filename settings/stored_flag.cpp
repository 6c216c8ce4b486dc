#include "settings/stored_flag.h"

std::optional<uint32_t> StoredDword(uint32_t type, std::span<const uint8_t> data) {
    // NOTE: a text "0" is the number 0x30 when its bytes are read as a DWORD, which would tick a box the
    // page never lets the user tick; only a real REG_DWORD is taken as a choice.
    if (type != kStoredDwordType || data.size() != 4) return std::nullopt;
    return static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
           static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
}

int32_t StoredFlag(uint32_t type, std::span<const uint8_t> data, int32_t defaultValue) {
    // Any nonzero DWORD has always counted as selected; it is kept so, and saved back as 1.
    if (auto value = StoredDword(type, data)) return *value != 0 ? 1 : 0;
    return defaultValue;
}
