#pragma once
// Files for the file cleaners' tests, at any path length and in any script.
#include <windows.h>

#include <string>

namespace file_fixture {

// "\\?\" + an absolute drive path, so the helpers work past MAX_PATH.
std::wstring Long(const std::wstring& path);
bool Exists(const std::wstring& path);
// Creates the missing folders of `path`'s parent, then the file.
bool Write(const std::wstring& path, const std::string& content = "trace", DWORD attributes = FILE_ATTRIBUTE_NORMAL);
std::string Read(const std::wstring& path);
bool MakeFolders(const std::wstring& path);

// An open handle that shares nothing: the file cannot be written or deleted until it is closed.
class Locked {
public:
    explicit Locked(const std::wstring& path);
    ~Locked();
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// An open handle that lets everything else happen to the file, even its deletion: it still shows how
// large the file was left.
class Watcher {
public:
    explicit Watcher(const std::wstring& path);
    ~Watcher();
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;
    long long Size() const;

private:
    HANDLE handle_;
};

} // namespace file_fixture
