#include "app/launch_at_logon.h"

#include "app/module_path.h"
#include "common/scoped_handles.h"
#include "settings/clean_selection.h"
#include "settings/settings_store.h"

#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>

namespace {

// REG_SZ with its terminating zero counted, as the registry's readers expect of a string value.
void WriteRunValue(const wchar_t* name, const std::wstring& text) {
    WriteMachineString(kRunKey, name, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void DeleteRunValue(const wchar_t* name) {
    DeleteMachineValue(kRunKey, name);
    DeleteMachineValue(kRunKeyWow64, name);
}

} // namespace

void ApplySettings() {
    // Quoted: unquoted, "...\Tracewipe HotKey.exe" would start "...\Tracewipe" at log-on, its name having a
    // space, and a folder with spaces would do the same to either program.
    if (CleanSelection.load_startup)
        WriteRunValue(kProgramRunValue, Quoted(ModulePath()));
    else
        DeleteRunValue(kProgramRunValue);

    if (CleanSelection.hot_key) {
        std::wstring launcher = LauncherPath();
        WriteRunValue(kLauncherRunValue, Quoted(launcher));
        ShellExecuteW(nullptr, L"open", launcher.c_str(), nullptr, nullptr, SW_HIDE);
    } else {
        TerminateProcessByName(kLauncherExeName);
        DeleteRunValue(kLauncherRunValue);
    }

    SaveSettings();
}

void TerminateProcessByName(const std::wstring& exeName) {
    scoped::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    static_assert(sizeof(PROCESSENTRY32W) == 556);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (exeName != entry.szExeFile) continue;
        scoped::KernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
        if (process) TerminateProcess(process.Get(), 0);
        return;
    }
}
