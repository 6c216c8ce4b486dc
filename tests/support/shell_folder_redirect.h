#pragma once
// Moves one of the current user's shell folders for one test, as a user may move it, and puts it back
// afterwards. SHGetSpecialFolderPathW reads "User Shell Folders" at every call.
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

class ScopedShellFolder {
  public:
    // `valueName` as Windows names the folder there: "Cache", "Cookies", "History", "AppData",
    // "Local AppData".
    ScopedShellFolder(std::wstring valueName, const std::wstring& folder);
    ~ScopedShellFolder();
    ScopedShellFolder(const ScopedShellFolder&) = delete;
    ScopedShellFolder& operator=(const ScopedShellFolder&) = delete;

  private:
    std::wstring valueName_;
    bool hadValue_ = false;
    DWORD type_ = REG_NONE;
    std::vector<BYTE> previous_;
};

} // namespace testing_support
