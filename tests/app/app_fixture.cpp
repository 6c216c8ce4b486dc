#include "app_fixture.h"

#include "common/scoped_handles.h"

#include <shellapi.h>
#include <tlhelp32.h>

namespace app_test {
namespace {

void DeleteRunValues() {
    for (const std::wstring& key : {kRunKey, kRunKeyWow64})
        for (const wchar_t* name : {L"Tracewipe", L"TracewipeHK"}) testing_support::DeleteValue(HKEY_LOCAL_MACHINE, key, name);
}

// What a test started there and left running, also through a failed assertion or the Linux side.
void EndProgramsUnder(const std::wstring& folder) {
    std::vector<DWORD> ids = ProcessesUnder(folder, L"Tracewipe HotKey.exe");
    for (DWORD id : ProcessesUnder(folder, L"Tracewipe.exe")) ids.push_back(id);
    for (DWORD id : ids) {
        scoped::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (!process) continue;
        TerminateProcess(process.Get(), 1);
        WaitForSingleObject(process.Get(), 3000);
    }
}

} // namespace

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key, const std::wstring& name) {
    DWORD type = 0, size = 0;
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_ANY, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(wcslen(text.c_str()));
    return text;
}

std::optional<DWORD> ReadDword(HKEY root, const std::wstring& key, const std::wstring& name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool HasTrayIcon(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = 103;
    return Shell_NotifyIconW(NIM_MODIFY, &data);
}

std::vector<DWORD> ProcessesUnder(const std::wstring& folder, const std::wstring& exeName) {
    std::vector<DWORD> found;
    scoped::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, exeName.c_str()) != 0) continue;
        scoped::KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        wchar_t path[1024] = L"";
        DWORD size = 1024;
        if (!process || !QueryFullProcessImageNameW(process.Get(), 0, path, &size)) continue;
        if (_wcsnicmp(path, folder.c_str(), folder.size()) == 0) found.push_back(entry.th32ProcessID);
    }
    return found;
}

AppTest::AppTest() : program_(InstallCopy(folder_ / L"Tracewipe")) { DeleteRunValues(); }

AppTest::~AppTest() {
    apps_.clear(); // each ends its program
    EndProgramsUnder(folder_.Path());
    DeleteRunValues();
}

RunningApp& AppTest::Start(const std::wstring& arguments, const std::wstring& exePath) {
    apps_.push_back(std::make_unique<RunningApp>(exePath.empty() ? program_ : exePath, arguments));
    return *apps_.back();
}

RunningApp& AppTest::StartShown(const std::wstring& arguments) {
    RunningApp& app = Start(arguments);
    EXPECT_NE(app.WaitForWindow(), nullptr);
    app.Settle(300); // the first paint
    return app;
}

} // namespace app_test
