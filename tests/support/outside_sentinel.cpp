#include "support/outside_sentinel.h"

#include "support/test_folder.h"
#include "support/unix_side.h"

#include <windows.h>

#include <atomic>

namespace testing_support {
namespace {
constexpr char kSentinelText[] = "user data that no cleaner may touch";
}

OutsideSentinel::OutsideSentinel() {
    static std::atomic<unsigned> counter{0};
    folder_ = L"Z:\\tmp\\tracewipe-outside-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(counter++);
    MakeFolders(folder_ + L"\\inner");
    for (const wchar_t* name : {L"\\sentinel.txt", L"\\inner\\sentinel.txt"}) {
        HANDLE h = CreateFileW((folder_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(h, kSentinelText, sizeof kSentinelText - 1, &written, nullptr);
        CloseHandle(h);
    }
}

OutsideSentinel::~OutsideSentinel() {
    for (const auto& link : links_) RemoveTreeUnix(link); // rm removes a link, never its target
    RemoveTreeUnix(folder_);
}

bool OutsideSentinel::PlantLinkAt(const std::wstring& linkPath) {
    if (!PlantDirectoryLink(linkPath, folder_)) return false;
    links_.push_back(linkPath);
    return true;
}

bool OutsideSentinel::Intact() const {
    return ReadAll(folder_ + L"\\sentinel.txt") == kSentinelText &&
           ReadAll(folder_ + L"\\inner\\sentinel.txt") == kSentinelText;
}

} // namespace testing_support
