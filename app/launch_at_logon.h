#pragma once
// "Apply" on the Settings tab: the machine's Run values and the hot-key launcher follow the two settings.
#include <string>

inline constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunKeyWow64[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kProgramRunValue[] = L"Tracewipe";
inline constexpr wchar_t kLauncherRunValue[] = L"TracewipeHK";
inline constexpr wchar_t kLauncherExeName[] = L"Tracewipe HotKey.exe";

// Writes or removes the two Run values, starts or ends the launcher, then saves the two settings.
// Every failure is silent.
void ApplySettings();

// Terminates the first running process whose executable name equals `exeName` (exact case); later ones
// keep running.
void TerminateProcessByName(const std::wstring& exeName);
