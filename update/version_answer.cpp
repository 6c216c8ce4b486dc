#include "update/version_answer.h"

namespace {
constexpr std::wstring_view kProductCode = L"TRWP";
}

VersionAnswer ReadVersionAnswer(std::wstring_view response, std::wstring_view programVersion) {
    if (response.empty()) return VersionAnswer::NoAnswer;
    if (!response.starts_with(kProductCode)) return VersionAnswer::NotOurs;
    // Compared as text: anything but exactly our version, even a trailing line break, is "newer".
    return response.substr(kProductCode.size()) == programVersion ? VersionAnswer::UpToDate
                                                                  : VersionAnswer::Newer;
}
