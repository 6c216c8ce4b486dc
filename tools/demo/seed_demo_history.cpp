// Plants harmless sample history for every clean item in the Wine prefix it runs in, so that trying
// Tracewipe in the demo prefix has something to clean. Everything it writes names itself as a sample.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <string>

namespace {

constexpr wchar_t kExplorer[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
constexpr wchar_t kExplorerBars[] =
    L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\";
constexpr char kSample[] = "Tracewipe demo: sample history, safe to delete.\r\n";

void SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

void SetBinary(const std::wstring& key, const wchar_t* name) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(handle, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(kSample), sizeof kSample - 1);
    RegCloseKey(handle);
}

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    return SHGetSpecialFolderPathW(nullptr, path, csidl, TRUE) ? path : L"";
}

void WriteFile(const std::wstring& path) {
    SHCreateDirectoryExW(nullptr, path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, kSample, sizeof kSample - 1, &written, nullptr);
    CloseHandle(file);
}

void SeedWindowsHistory() {
    const std::wstring temp = [] {
        wchar_t path[MAX_PATH + 1] = L"";
        GetTempPathW(MAX_PATH + 1, path);
        return std::wstring(path);
    }();
    WriteFile(temp + L"tracewipe-demo\\sample.tmp");
    WriteFile(Folder(CSIDL_LOCAL_APPDATA) + L"\\Temp\\tracewipe-demo-sample.tmp");

    // Into the Recycle Bin: deleted with undo.
    const std::wstring binned = temp + L"tracewipe-demo-recycled.txt";
    WriteFile(binned);
    std::wstring from = binned + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationW(&op);

    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        const wchar_t text[] = L"Tracewipe demo: sample clipboard text";
        if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof text)) {
            memcpy(GlobalLock(memory), text, sizeof text);
            GlobalUnlock(memory);
            if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
        }
        CloseClipboard();
    }

    SetBinary(std::wstring(kExplorer) + L"ComDlg32\\OpenSavePidlMRU\\txt", L"0");
    SetBinary(std::wstring(kExplorer) + L"ComDlg32\\LastVisitedPidlMRU", L"0");
    SetText(HKEY_CURRENT_USER, L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", L"File0",
            L"C:\\demo\\sample song.mp3");
    SetText(HKEY_CURRENT_USER, L"Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList", L"URL0",
            L"http://www.example.com/sample.asx");
    SetText(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List",
            L"File1", L"C:\\demo\\sample picture.bmp");
    SetText(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List",
            L"File1", L"C:\\demo\\sample letter.rtf");

    WriteFile(Folder(CSIDL_RECENT) + L"\\sample document.txt");
    SetBinary(std::wstring(kExplorer) + L"RecentDocs", L"0");
    SetText(HKEY_CURRENT_USER, std::wstring(kExplorer) + L"RunMRU", L"a", L"notepad sample.txt\\1");
    SetText(HKEY_CURRENT_USER, std::wstring(kExplorer) + L"RunMRU", L"MRUList", L"a");
    SetText(HKEY_CURRENT_USER, std::wstring(kExplorer) + L"Doc Find Spec MRU", L"a", L"sample*.txt");
    SetText(HKEY_CURRENT_USER, std::wstring(kExplorerBars) + L"FilesNamedMRU", L"000", L"sample");
    SetText(HKEY_CURRENT_USER, std::wstring(kExplorer) + L"WordWheelQuery", L"MRUListEx", L"sample search");
    SetText(HKEY_CURRENT_USER, std::wstring(kExplorer) + L"FindComputerMRU", L"a", L"SAMPLE-PC");
    SetText(HKEY_CURRENT_USER, std::wstring(kExplorerBars) + L"ComputerNameMRU", L"000", L"SAMPLE-PC");
    WriteFile(Folder(CSIDL_NETHOOD) + L"\\Sample share\\target.lnk");
    SetText(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", L"DefaultUserName",
            L"sample-user");
}

void AddCacheEntry(const wchar_t* url, DWORD type) {
    wchar_t file[MAX_PATH] = L"";
    if (!CreateUrlCacheEntryW(url, 0, L"htm", file, 0)) return;
    WriteFile(file);
    FILETIME never{};
    CommitUrlCacheEntryW(url, file, never, never, type, nullptr, 0, nullptr, nullptr);
}

void SeedInternetExplorer() {
    SetText(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\TypedURLs", L"url1",
            L"http://www.example.com/sample");
    SetBinary(L"Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage2", L"sample");
    SetBinary(L"Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW", L"sample");
    AddCacheEntry(L"http://www.example.com/sample.html", NORMAL_CACHE_ENTRY);
    AddCacheEntry(L"Cookie:sample@www.example.com/", COOKIE_CACHE_ENTRY);
    WriteFile(Folder(CSIDL_HISTORY) + L"\\sample-history.txt");
}

void SeedFirefox() {
    const std::wstring firefox = Folder(CSIDL_APPDATA) + L"\\Mozilla\\Firefox";
    const std::wstring profile = firefox + L"\\Profiles\\sample.default";
    SHCreateDirectoryExW(nullptr, firefox.c_str(), nullptr);
    const char ini[] = "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
                       "Path=Profiles/sample.default\r\nDefault=1\r\n";
    HANDLE file = CreateFileW((firefox + L"\\profiles.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, ini, sizeof ini - 1, &written, nullptr);
        CloseHandle(file);
    }
    // Old-format stores: the sample holds no database a cleaner would have to open.
    for (const wchar_t* name : {L"cookies.txt", L"history.dat", L"formhistory.dat", L"downloads.rdf",
                                L"sessionstore.js", L"signons.txt"})
        WriteFile(profile + L"\\" + name);
    WriteFile(Folder(CSIDL_LOCAL_APPDATA) + L"\\Mozilla\\Firefox\\Profiles\\sample.default\\cache2\\sample");
}

// Chrome with a second profile, Edge and Brave. "Web Data" is left out: the sample holds no database, and
// one that is none is kept as it is.
void SeedChromiumBrowsers() {
    const std::wstring local = Folder(CSIDL_LOCAL_APPDATA);
    for (const wchar_t* profile :
         {L"Google\\Chrome\\User Data\\Default", L"Google\\Chrome\\User Data\\Profile 1",
          L"Microsoft\\Edge\\User Data\\Default", L"BraveSoftware\\Brave-Browser\\User Data\\Default"})
        for (const wchar_t* name : {L"Preferences", L"Cookies", L"History", L"Top Sites", L"Shortcuts",
                                    L"Downloads.plist", L"Login Data", L"Current Session", L"Last Session",
                                    L"Cache\\Cache_Data\\sample"})
            WriteFile(local + L"\\" + profile + L"\\" + name);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    CoInitialize(nullptr);
    SeedWindowsHistory();
    SeedInternetExplorer();
    SeedFirefox();
    SeedChromiumBrowsers();
    return 0;
}
