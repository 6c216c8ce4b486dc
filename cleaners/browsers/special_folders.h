#pragma once
// Where the browsers keep their data for the current user.
#include <string>

// The folder of a CSIDL identifier, never created; empty when the system has none, which skips the step
// that needs it.
std::wstring SpecialFolder(int csidl);
// "%userprofile%" expanded; empty when the variable is not set.
std::wstring UserProfileFolder();
