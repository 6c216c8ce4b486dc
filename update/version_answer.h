#pragma once
// What the version server's answer says. Platform-free: the answer comes from the network, so this is
// checked natively under the sanitizers and fuzzed.
#include <string_view>

enum class VersionAnswer {
    UpToDate, // the product code, then exactly our version
    Newer,    // the product code, then anything else
    NoAnswer, // nothing came back
    NotOurs,  // an error page or any other text: not ours to interpret
};

VersionAnswer ReadVersionAnswer(std::wstring_view response, std::wstring_view programVersion);
