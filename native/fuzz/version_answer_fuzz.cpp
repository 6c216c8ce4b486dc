// The version server's answer. The HTTP client widens it through the ANSI code page; here each byte becomes
// one character, which reaches every code the parser can see.
#include "update/version_answer.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring response(data, data + size);
    ReadVersionAnswer(response, L"1.0.0");
    return 0;
}
