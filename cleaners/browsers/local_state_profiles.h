#pragma once
// The profiles a Chromium-family browser lists in its "Local State" file. Platform-free: bytes in, names
// out, so that outside bytes reach it in a native fuzz build too.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A real "Local State" holds a few dozen KiB; anything larger is not read at all.
constexpr std::size_t kMaxLocalStateBytes = 4 * 1024 * 1024;

// The keys of "profile" > "info_cache" that name a plain profile folder (UTF-8), in file order, each once;
// never "System Profile" or "Guest Profile". Nothing for input that is larger than kMaxLocalStateBytes, is
// not JSON as a whole, or nests deeper than any "Local State" does. Never throws.
std::vector<std::string> ProfileNamesInLocalState(std::string_view bytes);

// One folder name and nothing more: not empty, no separator, drive or stream colon, wildcard or control
// character, not "." or "..", and no trailing dot or space (Windows drops those, so "Default." is "Default").
bool IsPlainFolderName(std::string_view name);
