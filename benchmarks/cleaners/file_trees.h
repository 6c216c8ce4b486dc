#pragma once
// Trees of small files for the cleaners' benchmarks, and the plain walk they are measured against.
#include <windows.h>

#include <string>

namespace file_trees {

inline bool WriteSmallFile(const std::wstring& file) {
    static const char kContent[] = "a small temporary file of the kind a cleaner meets by the thousand\r\n";
    HANDLE h =
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(h, kContent, sizeof kContent - 1, &written, nullptr);
    CloseHandle(h);
    return true;
}

// root\folder0 .. root\folder{folders-1}, each with `filesPerFolder` small files.
inline bool BuildTree(const std::wstring& root, int folders, int filesPerFolder) {
    CreateDirectoryW(root.c_str(), nullptr);
    for (int f = 0; f < folders; ++f) {
        const std::wstring folder = root + L"\\folder" + std::to_wstring(f);
        if (!CreateDirectoryW(folder.c_str(), nullptr)) return false;
        for (int i = 0; i < filesPerFolder; ++i)
            if (!WriteSmallFile(folder + L"\\file" + std::to_wstring(i) + L".tmp")) return false;
    }
    return true;
}

inline void EmptyFile(const std::wstring& file) {
    HANDLE h =
        CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    SetEndOfFile(h);
    CloseHandle(h);
}

// The floor: list, delete, remove, on one thread; no attributes, no links. With `empty`, each file is
// emptied first. The folder itself stays.
inline void PlainWalk(const std::wstring& folder, bool empty = false) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            PlainWalk(path, empty);
            RemoveDirectoryW(path.c_str());
        } else {
            if (empty) EmptyFile(path);
            DeleteFileW(path.c_str());
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

} // namespace file_trees
