#include "support/shell_folder_redirect.h"

#include "support/registry_fixture.h"

namespace testing_support {
namespace {
constexpr wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
}

ScopedShellFolder::ScopedShellFolder(std::wstring valueName, const std::wstring& folder)
    : valueName_(std::move(valueName)) {
    DWORD size = 0;
    constexpr DWORD kFlags = RRF_RT_ANY | RRF_NOEXPAND;
    if (RegGetValueW(HKEY_CURRENT_USER, kUserShellFolders, valueName_.c_str(), kFlags, &type_, nullptr,
                     &size) == ERROR_SUCCESS) {
        previous_.resize(size);
        hadValue_ = RegGetValueW(HKEY_CURRENT_USER, kUserShellFolders, valueName_.c_str(), kFlags, &type_,
                                 previous_.data(), &size) == ERROR_SUCCESS;
        previous_.resize(size);
    }
    SetString(HKEY_CURRENT_USER, kUserShellFolders, valueName_, folder);
}

ScopedShellFolder::~ScopedShellFolder() {
    if (hadValue_)
        SetRaw(HKEY_CURRENT_USER, kUserShellFolders, valueName_, type_, previous_.data(),
               static_cast<DWORD>(previous_.size()));
    else
        DeleteValue(HKEY_CURRENT_USER, kUserShellFolders, valueName_);
}

} // namespace testing_support
