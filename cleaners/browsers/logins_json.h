#pragma once
// The saved logins of Firefox's logins.json. Platform-free: bytes in, a count out, so that outside bytes
// reach it in a native fuzz build too.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// Ten thousand logins take a few MiB; anything larger is not read at all.
constexpr std::size_t kMaxLoginsJsonBytes = 64 * 1024 * 1024;

// The entries of the top-level "logins" array. Nothing for input that is larger than kMaxLoginsJsonBytes,
// is not JSON as a whole, is no object, or nests deeper than logins.json does. Never throws.
std::optional<uint64_t> CountSavedLogins(std::string_view bytes);
