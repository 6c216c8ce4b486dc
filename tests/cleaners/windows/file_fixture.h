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

// A file held open for the length of a test.
class HeldFile {
public:
    HeldFile(const std::wstring& path, DWORD shareMode);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    long long Size() const;

private:
    HANDLE handle_;
};

// Shares nothing: the file cannot be written or deleted while it is held.
struct Locked : HeldFile {
    explicit Locked(const std::wstring& path) : HeldFile(path, 0) {}
};

// Lets everything happen to the file, even its deletion, and still shows how large it was left.
struct Watcher : HeldFile {
    explicit Watcher(const std::wstring& path)
        : HeldFile(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) {}
};

} // namespace file_fixture
