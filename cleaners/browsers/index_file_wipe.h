#pragma once
// Overwrites an index file's records in place, keeping its header, its tail and its length.
#include <cstdint>
#include <string>

// The main index files keep their first 24576 bytes, the period folders' their first 100.
constexpr int64_t kMainIndexOffset = 24576;
constexpr int64_t kPeriodIndexOffset = 100;

enum class WipeResult {
    Wiped,      // also when the file is too short to have anything past the offset
    Missing,    // nothing to wipe
    Unopenable, // exists but is locked, read-only or denied
};

// Spaces from `offset` up to the last 10 bytes, which stay as they are.
WipeResult WipeIndexFile(const std::wstring& path, int64_t offset);
