#pragma once
// What a stored registry value means as a selection flag. Platform-free: the registry's bytes come in, so
// the same rule is checked natively under the sanitizers and fuzzed.
#include <cstdint>
#include <optional>
#include <span>

// REG_DWORD, spelt out so that this file needs no Windows header.
inline constexpr uint32_t kStoredDwordType = 4;

// The 32 bits of a REG_DWORD of exactly four bytes (little-endian); nothing for any other type or size.
std::optional<uint32_t> StoredDword(uint32_t type, std::span<const uint8_t> data);

// 1 for a nonzero REG_DWORD, 0 for a zero one, `defaultValue` for anything else.
int32_t StoredFlag(uint32_t type, std::span<const uint8_t> data, int32_t defaultValue);
