#pragma once
// A browser's small settings file, read whole without changing it.
#include <cstdint>
#include <optional>
#include <string>

// The bytes of the file at `path`, opened for reading only and sharing it with the browser; nothing when it is
// missing, cannot be read, or is larger than `maxBytes`.
std::optional<std::string> ReadSmallFile(const std::wstring& path, uint64_t maxBytes);
