#include "settings/settings_store.h"

#include "settings/clean_item_catalogue.h"
#include "settings/clean_selection.h"
#include "common/scoped_handles.h"

#include <string>

namespace {

void LoadKey(SettingsKey key) {
    std::wstring path(SettingsKeyPath(key));
    for (const CatalogueEntry* e : EntriesOfKey(key)) {
        std::wstring name(e->valueName);
        CleanSelection.*(e->flag) =
            static_cast<int32_t>(ReadUserDword(path.c_str(), name.c_str(), static_cast<DWORD>(e->defaultValue)));
    }
}

void SaveKey(SettingsKey key) {
    std::wstring path(SettingsKeyPath(key));
    for (const CatalogueEntry* e : EntriesOfKey(key)) {
        std::wstring name(e->valueName);
        WriteUserDword(path.c_str(), name.c_str(), static_cast<DWORD>(CleanSelection.*(e->flag)));
    }
}

} // namespace

DWORD ReadUserDword(const wchar_t* subkey, const wchar_t* valueName, DWORD defaultValue) {
    scoped::RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey, 0, KEY_READ, key.Out()) != ERROR_SUCCESS) return defaultValue;
    DWORD value = 0;
    DWORD size = sizeof value;
    // NOTE: the type is not examined, but a value shorter than four bytes would leave part of the
    // result unwritten, so it counts as unreadable like a longer one.
    if (RegQueryValueExW(key.Get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        size != sizeof value)
        return defaultValue;
    return value;
}

LONG WriteUserDword(const wchar_t* subkey, const wchar_t* valueName, DWORD value) {
    scoped::RegKey key;
    LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                              key.Out(), nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    RegSetValueExW(key.Get(), valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    return key.Reset();
}

bool WriteMachineString(const wchar_t* subkey, const wchar_t* valueName, const wchar_t* text, DWORD lengthBytes) {
    scoped::RegKey key;
    LONG rc = RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                              key.Out(), nullptr);
    if (rc == ERROR_SUCCESS)
        rc = RegSetValueExW(key.Get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lengthBytes);
    if (rc != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(rc));
        return false;
    }
    return true;
}

LONG DeleteMachineValue(const wchar_t* subkey, const wchar_t* valueName) {
    scoped::RegKey key;
    LONG rc = RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, KEY_WRITE, key.Out());
    if (rc != ERROR_SUCCESS) return rc;
    RegDeleteValueW(key.Get(), valueName);
    return key.Reset();
}

void LoadWindowsSelection() { LoadKey(SettingsKey::WindowsClean); }
void LoadIeSelection() { LoadKey(SettingsKey::BrowserIe); }
void LoadFfSelection() { LoadKey(SettingsKey::BrowserFf); }
void LoadGcSelection() { LoadKey(SettingsKey::BrowserGc); }
void LoadMeSelection() { LoadKey(SettingsKey::BrowserMe); }
void LoadBrSelection() { LoadKey(SettingsKey::BrowserBr); }
void LoadSettings() { LoadKey(SettingsKey::Setting); }

void LoadCleanSelection() {
    LoadWindowsSelection();
    LoadIeSelection();
    LoadFfSelection();
    LoadGcSelection();
    LoadMeSelection();
    LoadBrSelection();
}

void SaveWindowsSelection() { SaveKey(SettingsKey::WindowsClean); }
void SaveIeSelection() { SaveKey(SettingsKey::BrowserIe); }
void SaveFfSelection() { SaveKey(SettingsKey::BrowserFf); }
void SaveGcSelection() { SaveKey(SettingsKey::BrowserGc); }
void SaveMeSelection() { SaveKey(SettingsKey::BrowserMe); }
void SaveBrSelection() { SaveKey(SettingsKey::BrowserBr); }
void SaveSettings() { SaveKey(SettingsKey::Setting); }

void SelectAllItems() {
    for (const auto& e : Catalogue())
        if (e.IsCleanItem()) CleanSelection.*(e.flag) = 1;
}
