#pragma once
// Where the launcher finds the main program: the machine-wide "InstallPath" value.
#include <windows.h>

#include <string>

// The HKEY_LOCAL_MACHINE key holding "InstallPath" on a system with this native processor architecture.
const wchar_t* InstallPathKey(WORD processorArchitecture);

// The native processor architecture, also when this 32-bit program runs on a 64-bit system.
WORD NativeProcessorArchitecture();

// "InstallPath" under `key` of HKEY_LOCAL_MACHINE, whole whatever its length; empty when the key or the
// value is missing or the value is not REG_SZ.
std::wstring ReadInstallPath(const wchar_t* key);
