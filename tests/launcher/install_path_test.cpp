#include "launcher/install_path.h"

#include "support/registry_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace testing_support;

const std::wstring kPlainKey = L"SOFTWARE\\Quellbyte\\Freeweare\\Tracewipe";
const std::wstring kWow64Key = L"SOFTWARE\\Wow6432Node\\Quellbyte\\Freeweare\\Tracewipe";

TEST(InstallPathKey, SixtyFourBitSystemsReadTheWow6432NodeKey) {
    for (WORD arch : {PROCESSOR_ARCHITECTURE_AMD64, PROCESSOR_ARCHITECTURE_IA64, PROCESSOR_ARCHITECTURE_ALPHA64})
        EXPECT_EQ(InstallPathKey(arch), kWow64Key) << arch;
    for (WORD arch : {PROCESSOR_ARCHITECTURE_INTEL, PROCESSOR_ARCHITECTURE_UNKNOWN})
        EXPECT_EQ(InstallPathKey(arch), kPlainKey) << arch;
}

TEST(InstallPathKey, TheTestPrefixIsThirtyTwoBit) {
    EXPECT_EQ(NativeProcessorArchitecture(), PROCESSOR_ARCHITECTURE_INTEL);
}

class InstallPathRead : public ::testing::Test {
protected:
    ScopedKeyTree tree_{HKEY_LOCAL_MACHINE, kPlainKey};

    std::wstring Read() { return ReadInstallPath(kPlainKey.c_str()); }
    void StoreRaw(DWORD type, const std::wstring& text, size_t bytes) {
        ASSERT_TRUE(SetRaw(HKEY_LOCAL_MACHINE, kPlainKey, L"InstallPath", type, text.c_str(), static_cast<DWORD>(bytes)));
    }
};

TEST_F(InstallPathRead, PathsUpToAndBeyondMaxPathAreReadWhole) {
    for (size_t length : {3u, 259u, 260u, 1000u}) {
        const std::wstring path = L"C:\\" + std::wstring(length - 3, L'p');
        SetString(HKEY_LOCAL_MACHINE, kPlainKey, L"InstallPath", path);
        EXPECT_EQ(Read(), path) << length;
        // Written without its terminating zero, as some writers do.
        StoreRaw(REG_SZ, path, length * sizeof(wchar_t));
        EXPECT_EQ(Read(), path) << length;
    }
}

TEST_F(InstallPathRead, MissingEmptyOrNonTextValuesGiveNoPath) {
    EXPECT_EQ(Read(), L"") << "no key";
    SetString(HKEY_LOCAL_MACHINE, kPlainKey, L"Other", L"C:\\x.exe");
    EXPECT_EQ(Read(), L"") << "no value";
    SetString(HKEY_LOCAL_MACHINE, kPlainKey, L"InstallPath", L"");
    EXPECT_EQ(Read(), L"") << "empty";
    SetDword(HKEY_LOCAL_MACHINE, kPlainKey, L"InstallPath", 0x003a0043);
    EXPECT_EQ(Read(), L"") << "DWORD";
    StoreRaw(REG_BINARY, L"C:\\x.exe", 18);
    EXPECT_EQ(Read(), L"") << "binary";
}

} // namespace
