#include "file_fixture.h"

namespace file_fixture {

std::wstring Long(const std::wstring& path) { return path.starts_with(L"\\\\?\\") ? path : L"\\\\?\\" + path; }

bool Exists(const std::wstring& path) { return GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool MakeFolders(const std::wstring& path) {
    for (size_t pos = path.find(L'\\', 3);; pos = path.find(L'\\', pos + 1)) {
        CreateDirectoryW(Long(path.substr(0, pos)).c_str(), nullptr);
        if (pos == std::wstring::npos) break;
    }
    return Exists(path);
}

bool Write(const std::wstring& path, const std::string& content, DWORD attributes) {
    MakeFolders(path.substr(0, path.rfind(L'\\')));
    HANDLE h = CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
    return attributes == FILE_ATTRIBUTE_NORMAL || SetFileAttributesW(Long(path).c_str(), attributes);
}

std::string Read(const std::wstring& path) {
    HANDLE h = CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string data;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got) data.append(buf, got);
    CloseHandle(h);
    return data;
}

Locked::Locked(const std::wstring& path)
    : handle_(CreateFileW(Long(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}

Locked::~Locked() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

Watcher::Watcher(const std::wstring& path)
    : handle_(CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, 0, nullptr)) {}

Watcher::~Watcher() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

long long Watcher::Size() const {
    LARGE_INTEGER size{};
    return GetFileSizeEx(handle_, &size) ? size.QuadPart : -1;
}

} // namespace file_fixture
