#pragma once
// Plants and inspects registry keys and values of the test prefix.
#include <windows.h>

#include <string>

namespace testing_support {

bool SetDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value);
bool SetString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value);
bool SetRaw(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type, const void* data, DWORD size);
bool KeyExists(HKEY root, const std::wstring& key);
bool ValueExists(HKEY root, const std::wstring& key, const std::wstring& name);
void DeleteTree(HKEY root, const std::wstring& key);
void DeleteValue(HKEY root, const std::wstring& key, const std::wstring& name);

// Deletes a key tree when the test starts and again when it ends.
class ScopedKeyTree {
public:
    ScopedKeyTree(HKEY root, std::wstring key) : root_(root), key_(std::move(key)) { DeleteTree(root_, key_); }
    ~ScopedKeyTree() { DeleteTree(root_, key_); }
    ScopedKeyTree(const ScopedKeyTree&) = delete;
    ScopedKeyTree& operator=(const ScopedKeyTree&) = delete;

private:
    HKEY root_;
    std::wstring key_;
};

// Denies the current user writes to a key (values and subkeys) through its access list, as a user without
// the rights to it meets it; puts the list back when it goes. `objectName` as the security functions name a
// key, e.g. "MACHINE\\SOFTWARE\\...".
class ScopedWritesDenied {
public:
    explicit ScopedWritesDenied(std::wstring objectName);
    ~ScopedWritesDenied();
    ScopedWritesDenied(const ScopedWritesDenied&) = delete;
    ScopedWritesDenied& operator=(const ScopedWritesDenied&) = delete;
    bool Applied() const { return applied_; }

private:
    std::wstring objectName_;
    PSECURITY_DESCRIPTOR saved_ = nullptr;
    PACL savedDacl_ = nullptr;
    bool applied_ = false;
};

} // namespace testing_support
