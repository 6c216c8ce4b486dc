#include "support/test_folder.h"

#include "support/unix_side.h"

#include <windows.h>

#include <atomic>

namespace testing_support {

bool MakeFolders(const std::wstring& path) {
    for (size_t pos = path.find(L'\\', 3); ; pos = path.find(L'\\', pos + 1)) {
        std::wstring part = path.substr(0, pos);
        if (!part.empty() && part.back() != L':') CreateDirectoryW(part.c_str(), nullptr);
        if (pos == std::wstring::npos) break;
    }
    return PathExists(path);
}

bool PathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadAll(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string data;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got) data.append(buf, got);
    CloseHandle(h);
    return data;
}

TestFolder::TestFolder(const std::wstring& parent) {
    static std::atomic<unsigned> counter{0};
    path_ = parent + L"\\t" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) +
            L"-" + std::to_wstring(counter++);
    MakeFolders(path_);
}

TestFolder::~TestFolder() { RemoveTreeUnix(path_); }

std::wstring TestFolder::Write(const std::wstring& relative, const std::string& content) const {
    std::wstring full = *this / relative;
    MakeFolders(full.substr(0, full.rfind(L'\\')));
    HANDLE h = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(h);
    }
    return full;
}

std::wstring TestFolder::MakeFolder(const std::wstring& relative) const {
    std::wstring full = *this / relative;
    MakeFolders(full);
    return full;
}

bool TestFolder::Exists(const std::wstring& relative) const { return PathExists(*this / relative); }

} // namespace testing_support
