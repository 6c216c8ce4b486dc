#include "cleaners/browsers/small_file.h"

#include "cleaners/windows/long_path.h"
#include "common/scoped_handles.h"

#include <windows.h>

std::optional<std::string> ReadSmallFile(const std::wstring& path, uint64_t maxBytes) {
    scoped::FileHandle file(CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size) || static_cast<uint64_t>(size.QuadPart) > maxBytes)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)))
        return std::nullopt;
    bytes.resize(got);
    return bytes;
}
