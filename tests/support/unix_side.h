#pragma once
// Reaches the Linux side of the Wine test machine: what the tests need and the Windows API under Wine
// cannot do (directory symlinks, removing a tree without following links).
#include <string>

namespace testing_support {

// The unix path of a Windows path ("Z:\tmp\x" -> "/tmp/x"); empty when Wine cannot map it.
std::string UnixPathOf(const std::wstring& windowsPath);
// The Windows path of a unix path ("/tmp/x" -> "Z:\tmp\x"); empty when Wine cannot map it.
std::wstring DosPathOf(const std::string& unixPath);

// Runs a shell command line on the Linux side and waits until `doneWhen` (a Windows path) exists,
// at most `timeoutMs`. Wine gives no usable handle for a unix process, hence the marker.
bool RunUnixShell(const std::string& command, const std::wstring& doneWhen, unsigned timeoutMs = 10000);

// A unix directory symlink at `linkPath` pointing at `targetPath`.
bool PlantDirectoryLink(const std::wstring& linkPath, const std::wstring& targetPath);

// `rm -rf` of a Windows path: never follows links.
bool RemoveTreeUnix(const std::wstring& windowsPath);

} // namespace testing_support
