#pragma once
// The log of the unattended runs: %LOCALAPPDATA%\Tracewipe\clean.log, one block per run.
#include <cstdint>
#include <string>
#include <string_view>

// At this size the log becomes "clean.log.1" (replacing the one before) and a new log begins.
constexpr uint64_t kCleanLogRotationBytes = 1u << 20;

// Appends `block` as UTF-8. Never writes through a link: a log folder or log file that is a reparse point,
// or a log with a second hard link, is refused. Empty when written, else what went wrong, for the user.
std::wstring AppendToCleanLog(std::wstring_view block);
// The log's path; empty when the user has no local application data folder.
std::wstring CleanLogPath();
