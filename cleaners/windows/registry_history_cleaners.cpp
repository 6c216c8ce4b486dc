#include "cleaners/windows/registry_history_cleaners.h"

#include "common/scoped_handles.h"

#include <windows.h>
#include <shlwapi.h>

#include <initializer_list>
#include <string>

namespace {

constexpr wchar_t kExplorer[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
constexpr wchar_t kExplorerBars[] =
    L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\";

void DeleteKeyTrees(std::initializer_list<std::wstring> paths) {
    for (const auto& path : paths) SHDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
}

} // namespace

void CleanOpenSaveHistory() {
    DeleteKeyTrees({std::wstring(kExplorer) + L"ComDlg32\\LastVisitedPidlMRU",
                    std::wstring(kExplorer) + L"ComDlg32\\OpenSavePidlMRU"});
}

void CleanMediaPlayerHistory() {
    DeleteKeyTrees({L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList",
                    L"Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList"});
}

void CleanPaintHistory() {
    DeleteKeyTrees({L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List"});
}

void CleanWordPadHistory() {
    DeleteKeyTrees({L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List"});
}

// A RunMRU key without subkeys goes whole; one that has subkeys keeps them and any value that is not
// a letter entry or the order list.
void CleanRunHistory() {
    const std::wstring path = std::wstring(kExplorer) + L"RunMRU";
    RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
    scoped::RegKey key;
    if (RegOpenKeyW(HKEY_CURRENT_USER, path.c_str(), key.Out()) != ERROR_SUCCESS) return;
    for (wchar_t letter = L'a'; letter <= L'z'; ++letter) {
        const wchar_t name[] = {letter, L'\0'};
        RegDeleteValueW(key.Get(), name);
    }
    RegDeleteValueW(key.Get(), L"MRUList");
}

void CleanSearchHistory() {
    DeleteKeyTrees({std::wstring(kExplorer) + L"Doc Find Spec MRU",
                    std::wstring(kExplorerBars) + L"ContainingTextMRU",
                    std::wstring(kExplorerBars) + L"FilesNamedMRU",
                    L"Software\\Microsoft\\Search Assistant\\ACMru\\5603",
                    std::wstring(kExplorer) + L"WordWheelQuery"});
}

void CleanFindComputerHistory() {
    DeleteKeyTrees({std::wstring(kExplorer) + L"FindComputerMRU", std::wstring(kExplorerBars) + L"ComputerNameMRU"});
}

void CleanLogonUserName() {
    constexpr wchar_t kUserWinlogon[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
    SHDeleteValueW(HKEY_CURRENT_USER, kUserWinlogon, L"DefaultUserName");
    SHDeleteValueW(HKEY_CURRENT_USER, kUserWinlogon, L"AltDefaultUserName");
    // The machine-wide key has no "NT" in its path.
    SHDeleteValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Winlogon", L"DefaultUserName");
}
