#pragma once
// Where the registry items keep their traces and what removes them: one table that the cleaners, the
// measurement before a run and the re-check after each step all read, so that the three cannot disagree.
#include <windows.h>

#include <cstdint>
#include <span>
#include <string_view>

enum class RegistryRule {
    KeyTree,       // the key with everything below it
    Value,         // one value of the key
    RunMruEntries, // the key when it has no subkeys; else only its letter values and "MRUList"
    LeafKey,       // the key with its values when it has no subkeys; else nothing
    NumberedList,  // the values named `value` 1, 2, 3... up to the first number missing
};

struct RegistryTarget {
    HKEY root;
    std::wstring_view path;
    RegistryRule rule;
    std::wstring_view value = {};
};

enum class RegistryItem {
    OpenSaveHistory, MediaPlayerHistory, PaintHistory, WordPadHistory, RecentDocuments, RunHistory,
    SearchHistory, FindComputerHistory, LogonUserName, IeTypedUrls, IeAutoForms,
};

std::span<const RegistryTarget> RegistryTargets(RegistryItem item);
// Removes every target of the item; a missing key or value is nothing to remove.
void RemoveRegistryTargets(RegistryItem item);
// The values and keys that removing the item's targets would remove, read without opening anything for
// writing. A key tree counts every value and every subkey below it, at any depth.
uint64_t CountRegistryEntries(RegistryItem item);
