#include "cleaners/browsers/ie_cleaner.h"

#include "cleaners/windows/registry_targets.h"
#include "cleaners/windows/removed_tally.h"
#include "support/registry_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace testing_support;

const std::wstring kTypedUrls = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::wstring kIntelliForms = L"Software\\Microsoft\\Internet Explorer\\IntelliForms";

class TypedUrls : public ::testing::Test {
  protected:
    ScopedKeyTree tree_{HKEY_CURRENT_USER, kTypedUrls};

    void Plant(std::initializer_list<int> numbers) {
        for (int n : numbers)
            SetString(HKEY_CURRENT_USER, kTypedUrls, L"url" + std::to_wstring(n), L"http://x/");
    }
    bool Has(int n) const { return ValueExists(HKEY_CURRENT_USER, kTypedUrls, L"url" + std::to_wstring(n)); }
};

// The count, the clean and its own count agree: the list up to its first gap, nothing past it.
TEST_F(TypedUrls, ContiguousListIsRemovedUpToTheFirstGap) {
    Plant({1, 2, 3, 4, 5, 7});
    SetString(HKEY_CURRENT_USER, kTypedUrls, L"other", L"kept");
    EXPECT_EQ(5u, CountRegistryEntries(RegistryItem::IeTypedUrls));
    const RemovedTally tally;
    IECleaner().CleanTypedUrls();
    EXPECT_EQ(5u, tally.Counts().entries);
    EXPECT_EQ(0u, CountRegistryEntries(RegistryItem::IeTypedUrls)) << "what is left is no part of the list";
    for (int n = 1; n <= 5; ++n)
        EXPECT_FALSE(Has(n)) << n;
    EXPECT_TRUE(Has(7));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kTypedUrls, L"other"));
}

TEST_F(TypedUrls, AGapAtTwoKeepsTheRest) {
    Plant({1, 3});
    IECleaner().CleanTypedUrls();
    EXPECT_FALSE(Has(1));
    EXPECT_TRUE(Has(3));
}

TEST_F(TypedUrls, NoFirstEntryOrNoKeyChangesNothing) {
    Plant({2});
    IECleaner().CleanTypedUrls();
    EXPECT_TRUE(Has(2));
    DeleteTree(HKEY_CURRENT_USER, kTypedUrls);
    IECleaner().CleanTypedUrls();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kTypedUrls));
}

class AutoForms : public ::testing::Test {
  protected:
    ScopedKeyTree tree_{HKEY_CURRENT_USER, kIntelliForms};
    const std::wstring spw_ = kIntelliForms + L"\\SPW";
    const std::wstring storage2_ = kIntelliForms + L"\\Storage2";
};

TEST_F(AutoForms, BothKeysGoWhenBothExist) {
    SetString(HKEY_CURRENT_USER, spw_, L"site", L"secret");
    SetString(HKEY_CURRENT_USER, spw_, L"site2", L"secret");
    SetString(HKEY_CURRENT_USER, storage2_, L"hash", L"form data");
    SetString(HKEY_CURRENT_USER, kIntelliForms, L"other", L"kept");
    EXPECT_EQ(3u, CountRegistryEntries(RegistryItem::IeAutoForms));
    const RemovedTally tally;
    IECleaner().CleanAutoFormsAndPasswords();
    EXPECT_EQ(3u, tally.Counts().entries);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, spw_));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, storage2_));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kIntelliForms, L"other"));
}

// Systems without SPW keep their form data in Storage2 alone.
TEST_F(AutoForms, Storage2GoesWithoutSpw) {
    SetString(HKEY_CURRENT_USER, storage2_, L"hash", L"form data");
    IECleaner().CleanAutoFormsAndPasswords();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, storage2_));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, spw_));
}

// A key with a subkey of its own is not one this item knows: it stays whole, and nothing of it is counted.
TEST_F(AutoForms, AKeyWithASubkeyStaysAndCountsNothing) {
    SetString(HKEY_CURRENT_USER, spw_, L"site", L"secret");
    SetString(HKEY_CURRENT_USER, spw_ + L"\\unknown", L"x", L"kept");
    EXPECT_EQ(0u, CountRegistryEntries(RegistryItem::IeAutoForms));
    const RemovedTally tally;
    IECleaner().CleanAutoFormsAndPasswords();
    EXPECT_EQ(0u, tally.Counts().entries);
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, spw_, L"site"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, spw_ + L"\\unknown", L"x"));
}

TEST_F(AutoForms, NeitherKeyIsNothingToDo) {
    SetString(HKEY_CURRENT_USER, kIntelliForms, L"other", L"kept");
    IECleaner().CleanAutoFormsAndPasswords();
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kIntelliForms, L"other"));
}

} // namespace
