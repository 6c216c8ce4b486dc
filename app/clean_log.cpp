#include "app/clean_log.h"

#include "cleaners/browsers/special_folders.h"
#include "common/scoped_handles.h"
#include "common/utf8.h"

#include <windows.h>
#include <shlobj.h>

namespace {

constexpr wchar_t kFolderName[] = L"\\Tracewipe";
constexpr wchar_t kLogName[] = L"\\clean.log";
constexpr wchar_t kRotatedSuffix[] = L".1";

std::wstring SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length ? std::wstring(text, length) : L"error " + std::to_wstring(error);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
        message.pop_back();
    return message;
}

std::wstring Failure(const std::wstring& path, const std::wstring& why) {
    return L"The log " + path + L" was not written: " + why + L".\r\n";
}

std::wstring LogFolder() {
    const std::wstring local = SpecialFolder(CSIDL_LOCAL_APPDATA);
    return local.empty() ? std::wstring() : local + kFolderName;
}

// The folder exists, made here if need be, and is a plain folder.
std::wstring CheckFolder(const std::wstring& folder, const std::wstring& log) {
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return Failure(log, L"its folder could not be made (" + SystemMessage(GetLastError()) + L")");
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Failure(log, SystemMessage(GetLastError()));
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return Failure(log, L"its folder is a link, and the log is never written through a link");
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Failure(log, L"its folder is a file");
    return {};
}

// A full log makes way for a new one; the previous rotated log goes.
std::wstring RotateWhenFull(const std::wstring& log) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(log.c_str(), GetFileExInfoStandard, &data)) return {}; // none yet
    if (data.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
        return Failure(log, L"it is a link or a folder, and the log is never written through a link");
    const uint64_t size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    if (size < kCleanLogRotationBytes) return {};
    if (!MoveFileExW(log.c_str(), (log + kRotatedSuffix).c_str(), MOVEFILE_REPLACE_EXISTING))
        return Failure(log, L"it is full and could not be renamed (" + SystemMessage(GetLastError()) + L")");
    return {};
}

} // namespace

std::wstring CleanLogPath() {
    const std::wstring folder = LogFolder();
    return folder.empty() ? folder : folder + kLogName;
}

std::wstring AppendToCleanLog(std::wstring_view block) {
    const std::wstring folder = LogFolder();
    if (folder.empty()) return Failure(L"clean.log", L"there is no local application data folder");
    const std::wstring log = folder + kLogName;
    if (std::wstring problem = CheckFolder(folder, log); !problem.empty()) return problem;
    if (std::wstring problem = RotateWhenFull(log); !problem.empty()) return problem;

    // Opened as it is, never through a link; the checks are made again on the handle.
    scoped::FileHandle file(CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) return Failure(log, SystemMessage(GetLastError()));
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (!GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &basic, sizeof basic) ||
        !GetFileInformationByHandleEx(file.Get(), FileStandardInfo, &standard, sizeof standard))
        return Failure(log, SystemMessage(GetLastError()));
    if (basic.FileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
        return Failure(log, L"it is a link or a folder, and the log is never written through a link");
    if (standard.NumberOfLinks != 1) return Failure(log, L"it has a second name (a hard link) elsewhere");

    const std::string bytes = Utf8(block);
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        return Failure(log, SystemMessage(GetLastError()));
    return {};
}
