#include "file_fixture.h"

#include "support/test_folder.h"

namespace file_fixture {

std::wstring Long(const std::wstring& path) { return path.starts_with(L"\\\\?\\") ? path : L"\\\\?\\" + path; }

bool Exists(const std::wstring& path) { return testing_support::PathExists(Long(path)); }

bool MakeFolders(const std::wstring& path) { return testing_support::MakeFolders(Long(path)); }

bool Write(const std::wstring& path, const std::string& content, DWORD attributes) {
    const std::wstring parent = path.substr(0, path.rfind(L'\\'));
    if (!Exists(parent)) MakeFolders(parent); // a deep chain would otherwise cost a call per level
    HANDLE h = CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
    return attributes == FILE_ATTRIBUTE_NORMAL || SetFileAttributesW(Long(path).c_str(), attributes);
}

std::string Read(const std::wstring& path) { return testing_support::ReadAll(Long(path)); }

HeldFile::HeldFile(const std::wstring& path, DWORD shareMode)
    : handle_(CreateFileW(Long(path).c_str(), GENERIC_READ, shareMode, nullptr, OPEN_EXISTING, 0, nullptr)) {}

HeldFile::~HeldFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

long long HeldFile::Size() const {
    LARGE_INTEGER size{};
    return GetFileSizeEx(handle_, &size) ? size.QuadPart : -1;
}

} // namespace file_fixture
