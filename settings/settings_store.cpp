#include "settings/settings_store.h"

#include "settings/clean_item_catalogue.h"
#include "settings/clean_selection.h"
#include "settings/stored_flag.h"
#include "common/scoped_handles.h"

#include <array>
#include <string>

namespace {

// A value of up to four bytes as the registry holds it; of type REG_NONE when it is missing, unreadable or
// longer (ERROR_MORE_DATA), which every reader takes as "not stored".
struct SmallValue {
    DWORD type = REG_NONE;
    std::array<uint8_t, 4> bytes{};
    DWORD size = 0;

    std::span<const uint8_t> Data() const { return std::span(bytes).first(size); }
};

SmallValue ReadSmallUserValue(const wchar_t* subkey, const wchar_t* valueName) {
    SmallValue value;
    scoped::RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey, 0, KEY_READ, key.Out()) != ERROR_SUCCESS) return value;
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(value.bytes.size());
    if (RegQueryValueExW(key.Get(), valueName, nullptr, &type, value.bytes.data(), &size) == ERROR_SUCCESS &&
        size <= value.bytes.size()) {
        value.type = type;
        value.size = size;
    }
    return value;
}

void LoadKey(SettingsKey key) {
    std::wstring path(SettingsKeyPath(key));
    for (const CatalogueEntry* e : EntriesOfKey(key)) {
        SmallValue stored = ReadSmallUserValue(path.c_str(), std::wstring(e->valueName).c_str());
        CleanSelection.*(e->flag) = StoredFlag(stored.type, stored.Data(), e->defaultValue);
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
    SmallValue stored = ReadSmallUserValue(subkey, valueName);
    return StoredDword(stored.type, stored.Data()).value_or(defaultValue);
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

void SaveCleanSelection() {
    SaveWindowsSelection();
    SaveIeSelection();
    SaveFfSelection();
    SaveGcSelection();
    SaveMeSelection();
    SaveBrSelection();
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
