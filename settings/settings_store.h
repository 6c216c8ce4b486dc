#pragma once
// The per-user selection in the registry, and the small machine-wide registry writes of the program.
#include <windows.h>

// HKCU. The stored 32 bits, or `defaultValue` when the key or a REG_DWORD of four bytes cannot be read.
DWORD ReadUserDword(const wchar_t* subkey, const wchar_t* valueName, DWORD defaultValue);
// HKCU, creating the key path. The error of the create step, else the result of closing the key.
LONG WriteUserDword(const wchar_t* subkey, const wchar_t* valueName, DWORD value);
// HKLM REG_SZ of `lengthBytes` bytes. On failure false, with the registry error in SetLastError.
bool WriteMachineString(const wchar_t* subkey, const wchar_t* valueName, const wchar_t* text, DWORD lengthBytes);
// HKLM. The error of the open step, else the result of closing the key.
LONG DeleteMachineValue(const wchar_t* subkey, const wchar_t* valueName);

// A flag reads as 1 for a nonzero REG_DWORD, 0 for a zero one and its default for a value of any other type or
// size, so the next save writes a REG_DWORD of 0 or 1.
void LoadWindowsSelection();
void LoadIeSelection();
void LoadFfSelection();
void LoadGcSelection();
void LoadMeSelection();
void LoadBrSelection();
// Every clean group's key, as a run started without the window needs them.
void LoadCleanSelection();
void LoadSettings();

void SaveWindowsSelection();
void SaveIeSelection();
void SaveFfSelection();
void SaveGcSelection();
void SaveMeSelection();
void SaveBrSelection();
// Every clean group's key.
void SaveCleanSelection();
void SaveSettings();

// Every clean item selected, in memory only; the two program settings are left alone.
void SelectAllItems();
