#include "cleaners/browsers/firefox_profile.h"

#include "cleaners/browsers/special_folders.h"
#include "cleaners/windows/long_path.h"
#include "common/scoped_handles.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string_view>

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

std::string_view Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") + 1 - first);
}

// The value of the first line whose key is "Path". A "Path" inside another key's value (a profile may be
// named "Pathfinder") is not the key.
std::optional<std::string_view> FirstPathValue(std::string_view text) {
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        // profiles.ini written on Windows ends its lines with CRLF.
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t equals = line.find('=');
        if (equals != std::string_view::npos && Trimmed(line.substr(0, equals)) == "Path")
            return line.substr(equals + 1);
        start = end + 1;
    }
    return std::nullopt;
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

} // namespace

std::optional<std::wstring> ReadFirefoxProfilePath() {
    const std::wstring appData = SpecialFolder(CSIDL_APPDATA);
    if (appData.empty()) return std::nullopt;
    const std::wstring firefoxFolder = appData + L"\\Mozilla\\Firefox\\";
    const auto text = ReadWholeFile(firefoxFolder + L"profiles.ini");
    if (!text) return std::nullopt;
    const auto value = FirstPathValue(*text);
    if (!value) return std::nullopt;
    return ProfileBelow(firefoxFolder, FromAnsi(*value));
}
