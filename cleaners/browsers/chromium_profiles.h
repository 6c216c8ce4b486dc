#pragma once
// Every profile folder of a Chromium-family browser's user-data folder.
#include <string>
#include <vector>

// The folders "Local State" lists, then "Default" and every "Profile N" folder that holds a "Preferences"
// file, each once (names compared as Windows compares them), each with its trailing backslash. Only plain
// folders directly inside `userDataFolder` count: never one reached through a link, never "System Profile"
// or "Guest Profile". Nothing when `userDataFolder` is not itself a plain folder.
std::vector<std::wstring> ChromiumProfileFolders(const std::wstring& userDataFolder);
