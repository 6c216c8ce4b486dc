#include "cleaners/browsers/chromium_profiles.h"

#include "cleaners/browsers/local_state_profiles.h"
#include "cleaners/browsers/small_file.h"
#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/long_path.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string_view>

namespace {

bool IsPlainFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsPlainFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

std::wstring FromUtf8(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), length);
    return wide;
}

// "Default", or "Profile " followed by digits: the folders Chromium names its profiles.
bool HasProfileFolderName(std::wstring_view name) {
    if (name == L"Default") return true;
    constexpr std::wstring_view kPrefix = L"Profile ";
    if (!name.starts_with(kPrefix) || name.size() == kPrefix.size()) return false;
    name.remove_prefix(kPrefix.size());
    return std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

} // namespace

std::vector<std::wstring> ChromiumProfileFolders(const std::wstring& userDataFolder) {
    if (userDataFolder.empty() || !IsPlainFolder(userDataFolder)) return {};
    std::vector<std::wstring> names;
    if (const auto localState = ReadSmallFile(userDataFolder + L"\\Local State", kMaxLocalStateBytes))
        for (const std::string& name : ProfileNamesInLocalState(*localState))
            if (std::wstring wide = FromUtf8(name); !wide.empty()) names.push_back(std::move(wide));
    ForEachEntry(userDataFolder, [&](const FolderEntry& entry) {
        if (entry.IsDirectory() && !entry.IsLink() && HasProfileFolderName(entry.name) &&
            IsPlainFile(entry.path + L"\\Preferences"))
            names.emplace_back(entry.name);
    });

    std::vector<std::wstring> folders;
    std::vector<std::wstring> taken;
    for (const std::wstring& name : names) {
        if (std::any_of(taken.begin(), taken.end(), [&](const std::wstring& t) { return SameName(t, name); }))
            continue;
        const std::wstring folder = userDataFolder + L"\\" + name;
        if (!IsPlainFolder(folder)) continue;
        taken.push_back(name);
        folders.push_back(folder + L"\\");
    }
    return folders;
}
