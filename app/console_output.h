#pragma once
// Text for the person or script that started the program: to the standard output or error it was given,
// else to the console of the process that started it. A console of its own is never opened.
#include <string_view>

void WriteStandardOutput(std::wstring_view text);
void WriteStandardError(std::wstring_view text);
