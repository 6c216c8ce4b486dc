#include "support/registry_fixture.h"

#include <aclapi.h>
#include <shlwapi.h>

namespace testing_support {

bool SetRaw(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
            DWORD size) {
    HKEY h = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExW(h, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

bool SetDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value) {
    return SetRaw(root, key, name, REG_DWORD, &value, sizeof value);
}

bool SetString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value) {
    return SetRaw(root, key, name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool KeyExists(HKEY root, const std::wstring& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

bool ValueExists(HKEY root, const std::wstring& key, const std::wstring& name) {
    return RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void DeleteTree(HKEY root, const std::wstring& key) { SHDeleteKeyW(root, key.c_str()); }

void DeleteValue(HKEY root, const std::wstring& key, const std::wstring& name) {
    SHDeleteValueW(root, key.c_str(), name.c_str());
}

ScopedWritesDenied::ScopedWritesDenied(std::wstring objectName) : objectName_(std::move(objectName)) {
    if (GetNamedSecurityInfoW(objectName_.c_str(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &savedDacl_, nullptr, &saved_) != ERROR_SUCCESS)
        return;
    EXPLICIT_ACCESSW deny{};
    deny.grfAccessPermissions = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
    deny.grfAccessMode = DENY_ACCESS;
    deny.grfInheritance = NO_INHERITANCE;
    deny.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    deny.Trustee.ptstrName = const_cast<wchar_t*>(L"CURRENT_USER");
    PACL denying = nullptr;
    if (SetEntriesInAclW(1, &deny, savedDacl_, &denying) != ERROR_SUCCESS) return;
    applied_ = SetNamedSecurityInfoW(objectName_.data(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                     denying, nullptr) == ERROR_SUCCESS;
    LocalFree(denying);
}

ScopedWritesDenied::~ScopedWritesDenied() {
    if (applied_)
        SetNamedSecurityInfoW(objectName_.data(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              savedDacl_, nullptr);
    if (saved_) LocalFree(saved_);
}

} // namespace testing_support
