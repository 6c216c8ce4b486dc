#pragma once
#include <string>

// `path` as an absolute "\\?\" (or "\\?\UNC\") path, which lifts MAX_PATH and takes every name as it is.
std::wstring ExtendedLengthPath(const std::wstring& path);
