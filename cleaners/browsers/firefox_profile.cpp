#include "cleaners/browsers/firefox_profile.h"

#include "cleaners/browsers/special_folders.h"
#include "cleaners/windows/long_path.h"
#include "common/scoped_handles.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
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

std::string_view Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") + 1 - first);
}

struct IniLine {
    std::string_view section; // the name between the brackets of the section it is in
    std::string_view key;
    std::string_view value;
};

// The key lines of profiles.ini in file order. Lines are split at LF alone, so a CR before it is dropped
// (profiles.ini written on Windows ends its lines with CRLF), and a UTF-8 byte-order mark is skipped.
std::vector<IniLine> ParseIni(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<IniLine> lines;
    std::string_view section;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string_view trimmed = Trimmed(line);
        if (trimmed.starts_with('[') && trimmed.ends_with(']')) {
            section = trimmed.substr(1, trimmed.size() - 2);
            continue;
        }
        // A "Path" inside another key's value (a profile may be named "Pathfinder") is not the key.
        const size_t equals = line.find('=');
        if (equals != std::string_view::npos)
            lines.push_back({section, Trimmed(line.substr(0, equals)), line.substr(equals + 1)});
    }
    return lines;
}

// The profiles Firefox may be using, most likely first: the default of each installation ("[Install...]"
// sections, Firefox 67 and later), the profile marked "Default=1", and the first profile listed.
std::vector<std::string_view> CandidatePaths(const std::vector<IniLine>& lines) {
    std::vector<std::string_view> candidates;
    for (const auto& line : lines)
        if (line.section.starts_with("Install") && line.key == "Default") candidates.push_back(line.value);
    for (const auto& marked : lines) {
        if (marked.key != "Default" || Trimmed(marked.value) != "1" || !marked.section.starts_with("Profile"))
            continue;
        for (const auto& line : lines)
            if (line.section == marked.section && line.key == "Path") candidates.push_back(line.value);
    }
    for (const auto& line : lines)
        if (line.key == "Path") {
            candidates.push_back(line.value);
            break;
        }
    return candidates;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
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
    const auto candidates = CandidatePaths(ParseIni(*text));
    // A default that names a folder no longer there gives way to the next candidate; the first profile
    // listed is taken even when its folder is missing.
    for (size_t i = 0; i < candidates.size(); ++i) {
        auto profile = ProfileBelow(firefoxFolder, FromAnsi(candidates[i]));
        if (profile && (IsFolder(*profile) || i + 1 == candidates.size())) return profile;
    }
    return std::nullopt;
}
