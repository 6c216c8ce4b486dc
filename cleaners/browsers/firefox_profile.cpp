#include "cleaners/browsers/firefox_profile.h"

#include "cleaners/browsers/profiles_ini.h"
#include "cleaners/browsers/special_folders.h"
#include "cleaners/windows/long_path.h"
#include "common/scoped_handles.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cwctype>
#include <string_view>
#include <vector>

namespace {

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    scoped::FileHandle file(CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string text;
    char chunk[64 * 1024];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    return text;
}

DWORD AttributesOf(const std::wstring& path) {
    return GetFileAttributesW(ExtendedLengthPath(path).c_str());
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsPlainFolder(const std::wstring& path) {
    return IsFolder(path) && !(AttributesOf(path) & FILE_ATTRIBUTE_REPARSE_POINT);
}

// No folder from just below `base` down to `folder` (which lies below it) is a link. With `mustExist`,
// each is an existing folder; without, the walk ends content at the first missing one, below which
// nothing can be reached.
bool NoLinkBelow(const std::wstring& base, const std::wstring& folder, bool mustExist) {
    size_t at = folder.find(L'\\', base.size() + 1);
    for (;; at = folder.find(L'\\', at + 1)) {
        const DWORD attributes = AttributesOf(folder.substr(0, at));
        if (attributes == INVALID_FILE_ATTRIBUTES) return !mustExist;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return false;
        if (at == std::wstring::npos) return true;
    }
}

std::wstring FromAnsi(std::string_view text) {
    if (text.empty()) return {};
    const int length =
        MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
}

// Only a folder below the Firefox folder is the browser's own: an absolute value, a drive or stream
// (":") or a ".." that climbs out would make the cleaners delete files of anything else.
std::optional<std::wstring> ProfileBelow(const std::wstring& firefoxFolder, std::wstring relative) {
    for (auto& c : relative)
        if (c == L'/') c = L'\\';
    if (relative.empty() || relative.front() == L'\\' || relative.find(L':') != std::wstring::npos)
        return std::nullopt;
    const std::wstring base = FullPath(firefoxFolder);
    const std::wstring profile = FullPath(firefoxFolder + relative);
    if (base.empty() || profile.size() <= base.size() ||
        CompareStringOrdinal(profile.c_str(), static_cast<int>(base.size()), base.c_str(),
                             static_cast<int>(base.size()), TRUE) != CSTR_EQUAL)
        return std::nullopt;
    return profile;
}

std::wstring FirefoxFolder() {
    const std::wstring appData = SpecialFolder(CSIDL_APPDATA);
    return appData.empty() ? std::wstring() : appData + L"\\Mozilla\\Firefox\\";
}

// "X:\..." and nothing else: no device, network or stream path.
std::optional<std::wstring> AbsoluteProfile(std::wstring path) {
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    const bool drivePath = path.size() > 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\' &&
                           path.find(L':', 2) == std::wstring::npos;
    if (!drivePath) return std::nullopt;
    std::wstring folder = FullPath(path);
    while (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    const DWORD prefs = AttributesOf(folder + L"\\prefs.js");
    if (folder.size() <= 3 || !IsPlainFolder(folder) || prefs == INVALID_FILE_ATTRIBUTES ||
        (prefs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return std::nullopt;
    return folder;
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

} // namespace

std::optional<std::wstring> ReadFirefoxProfilePath() {
    const std::wstring firefoxFolder = FirefoxFolder();
    if (firefoxFolder.empty()) return std::nullopt;
    const auto text = ReadWholeFile(firefoxFolder + L"profiles.ini");
    if (!text) return std::nullopt;
    const auto candidates = ParseProfilesIni(*text).inUse;
    // A default that names a folder no longer there gives way to the next candidate; the first profile
    // listed is taken even when its folder is missing.
    for (size_t i = 0; i < candidates.size(); ++i) {
        auto profile = ProfileBelow(firefoxFolder, FromAnsi(candidates[i]));
        if (profile && (IsFolder(*profile) || i + 1 == candidates.size())) return profile;
    }
    return std::nullopt;
}

std::vector<FirefoxProfile> ReadFirefoxProfiles() {
    const std::wstring firefoxFolder = FirefoxFolder();
    if (firefoxFolder.empty()) return {};
    const auto text = ReadWholeFile(firefoxFolder + L"profiles.ini");
    if (!text) return {};
    const std::wstring localAppData = SpecialFolder(CSIDL_LOCAL_APPDATA);
    const std::wstring localFirefox =
        localAppData.empty() ? std::wstring() : localAppData + L"\\Mozilla\\Firefox\\";
    const std::wstring base = FullPath(firefoxFolder);

    std::vector<FirefoxProfile> profiles;
    for (const ProfilesIniProfile& listed : ParseProfilesIni(*text).profiles) {
        FirefoxProfile profile;
        if (listed.relative) {
            const auto folder = ProfileBelow(firefoxFolder, FromAnsi(listed.path));
            if (!folder) continue;
            profile.folder = *folder;
            while (profile.folder.back() == L'\\')
                profile.folder.pop_back();
            if (profile.folder.size() <= base.size() || !NoLinkBelow(base, profile.folder, true)) continue;
            // The same relative path below the local folder, which ProfileBelow has shown stays below it.
            const std::wstring local = localFirefox + profile.folder.substr(base.size());
            if (!localFirefox.empty() && NoLinkBelow(localFirefox, local, false)) profile.localFolder = local;
        } else {
            const auto folder = AbsoluteProfile(FromAnsi(listed.path));
            if (!folder) continue;
            profile.folder = *folder;
            profile.absolute = true;
        }
        if (std::none_of(profiles.begin(), profiles.end(),
                         [&](const FirefoxProfile& p) { return SameFolder(p.folder, profile.folder); }))
            profiles.push_back(std::move(profile));
    }
    return profiles;
}
