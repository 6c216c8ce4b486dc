#pragma once
// Overwrites an index file's records in place, keeping its header, its tail and its length.
#include <cstdint>
#include <string>

// The main index files keep their first 24576 bytes, the period folders' their first 100.
constexpr int64_t kMainIndexOffset = 24576;
constexpr int64_t kPeriodIndexOffset = 100;

enum class IndexFileAccess {
    Missing,    // nothing to wipe
    Unopenable, // locked against us, read-only or denied
    InUse,      // open for writing elsewhere: the live index of a URL cache
    Writable,
};

// Whether WipeIndexFile could overwrite the file now.
IndexFileAccess ProbeIndexFile(const std::wstring& path);
// Spaces from `offset` up to the last 10 bytes, which stay as they are; only when the file is Writable,
// which is then returned.
IndexFileAccess WipeIndexFile(const std::wstring& path, int64_t offset);
