// The read-only counts of what the folder and registry items hold, against trees and keys of known size,
// and the cleaners that read the same targets leaving nothing that the count still sees.
#include "cleaners/windows/folder_measure.h"
#include "cleaners/windows/folder_targets.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/registry_history_cleaners.h"
#include "cleaners/windows/registry_targets.h"
#include "cleaners/windows/removed_tally.h"
#include "cleaners/windows/stayed_record.h"
#include "cleaners/windows/walk_stop.h"

#include "common/scoped_handles.h"
#include "file_fixture.h"
#include "support/outside_sentinel.h"
#include "support/registry_fixture.h"
#include "support/test_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace {

using namespace testing_support;
using file_fixture::HeldFile;

const std::wstring kExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const std::wstring kPaint = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List";

TEST(MeasureFolder, CountsEveryFileAndByteBelowButNeverALinksTarget) {
    TestFolder folder;
    folder.Write(L"a.txt", std::string(1000, 'a'));
    folder.Write(L"sub\\deeper\\b.bin", std::string(70000, 'b'));
    folder.Write(L"sub\\desktop.ini", "ini");
    folder.MakeFolder(L"empty");
    OutsideSentinel outside;
    ASSERT_TRUE(outside.PlantLinkAt(folder / L"sub\\link"));
    // Held with no sharing: the count lists, it never opens.
    HeldFile held(folder / L"a.txt", 0);
    ASSERT_TRUE(held.Held());

    const FolderFigures all = MeasureFolder(ExtendedLengthPath(folder.Path()), true);
    EXPECT_TRUE(all.listed);
    EXPECT_EQ(all.files, 4u); // the link counts as the one entry that goes
    EXPECT_EQ(all.bytes, 71003u);
    const FolderFigures kept = MeasureFolder(ExtendedLengthPath(folder.Path()), false);
    EXPECT_EQ(kept.files, 3u);
    EXPECT_EQ(kept.bytes, 71000u);
    EXPECT_TRUE(outside.Intact());

    EXPECT_FALSE(MeasureFolder(ExtendedLengthPath(folder / L"missing"), true).listed);
    EXPECT_FALSE(MeasureFolder(ExtendedLengthPath(folder / L"sub\\link"), true).listed); // a link is not walked
}

// Files past 4 GiB, and more of them than 32 bits of bytes hold, made sparse by extending them.
TEST(MeasureFolder, AddsSizesPastFourGibibytesWithoutWrapping) {
    TestFolder folder;
    constexpr uint64_t kFive = 5ull << 30;
    for (const wchar_t* name : {L"big1.bin", L"big2.bin"}) {
        scoped::FileHandle file(CreateFileW((folder / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER at{.QuadPart = static_cast<LONGLONG>(kFive)};
        ASSERT_TRUE(SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.Get()));
    }
    const FolderFigures figures = MeasureFolder(ExtendedLengthPath(folder.Path()), true);
    EXPECT_EQ(figures.files, 2u);
    EXPECT_EQ(figures.bytes, 2 * kFive);
}

TEST(MeasureFolder, ReturnsAtOnceWhenTheWalkIsStopped) {
    TestFolder folder;
    for (int i = 0; i < 50; ++i) folder.Write(L"d" + std::to_wstring(i % 5) + L"\\f" + std::to_wstring(i));
    std::atomic<bool> stop{true};
    const WalkStopScope scope(stop);
    const FolderFigures figures = MeasureFolder(ExtendedLengthPath(folder.Path()), true);
    EXPECT_EQ(figures.files, 0u);
    EXPECT_TRUE(scope.CutShort());
}

// Both temporary folders are usually one folder: counted once, not twice.
TEST(MeasureFolderTargets, CountsAFolderThatTwoTargetsNameOnce) {
    const std::vector<FolderTarget> targets = FolderTargets(FolderTargetItem::TempFiles);
    ASSERT_EQ(targets.size(), 2u);
    TestFolder folder(targets[0].folder);
    folder.Write(L"known.tmp", std::string(4096, 't'));
    const FolderFigures once = MeasureFolder(ExtendedLengthPath(targets[0].folder), true);
    const FolderFigures both = MeasureFolderTargets(FolderTargetItem::TempFiles);
    std::wstring first = targets[0].folder, second = targets[1].folder;
    while (first.ends_with(L'\\')) first.pop_back();
    while (second.ends_with(L'\\')) second.pop_back();
    if (_wcsicmp(first.c_str(), second.c_str()) == 0)
        EXPECT_EQ(both.files, once.files);
    else
        EXPECT_GE(both.files, once.files);
    EXPECT_GE(both.bytes, 4096u);
}

class RegistryTargetsTest : public testing::Test {
protected:
    void TearDown() override {
        DeleteTree(HKEY_CURRENT_USER, kPaint);
        DeleteTree(HKEY_CURRENT_USER, kExplorer + L"RunMRU");
    }
};

TEST_F(RegistryTargetsTest, CountsAKeyOfTenThousandValuesAndEverythingBelowIt) {
    for (int i = 0; i < 10000; ++i) SetString(HKEY_CURRENT_USER, kPaint, L"File" + std::to_wstring(i), L"C:\\a.bmp");
    SetString(HKEY_CURRENT_USER, kPaint + L"\\nested\\deeper", L"x", L"trace");
    SetString(HKEY_CURRENT_USER, kPaint + L"\\nested", L"y", L"trace");
    // 10,000 values, two subkeys and their two values.
    EXPECT_EQ(CountRegistryEntries(RegistryItem::PaintHistory), 10004u);
    const RemovedTally tally;
    CleanPaintHistory();
    EXPECT_EQ(tally.Counts().entries, 10004u) << "the cleaner's own count";
    EXPECT_EQ(CountRegistryEntries(RegistryItem::PaintHistory), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kPaint));
}

TEST_F(RegistryTargetsTest, CountsOnlyWhatTheRunHistoryRuleRemoves) {
    const std::wstring run = kExplorer + L"RunMRU";
    SetString(HKEY_CURRENT_USER, run, L"a", L"notepad\\1");
    SetString(HKEY_CURRENT_USER, run, L"b", L"calc\\1");
    SetString(HKEY_CURRENT_USER, run, L"MRUList", L"ba");
    EXPECT_EQ(CountRegistryEntries(RegistryItem::RunHistory), 3u); // no subkeys: the whole key goes

    SetString(HKEY_CURRENT_USER, run, L"other", L"kept");
    SetString(HKEY_CURRENT_USER, run + L"\\sub", L"kept", L"1");
    EXPECT_EQ(CountRegistryEntries(RegistryItem::RunHistory), 3u); // with subkeys: the letters and the list
    const RemovedTally tally;
    CleanRunHistory();
    EXPECT_EQ(tally.Counts().entries, 3u);
    EXPECT_EQ(CountRegistryEntries(RegistryItem::RunHistory), 0u);
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, run, L"other"));
}

TEST_F(RegistryTargetsTest, AMissingKeyCountsNothing) {
    DeleteTree(HKEY_CURRENT_USER, kPaint);
    EXPECT_EQ(CountRegistryEntries(RegistryItem::PaintHistory), 0u);
    const RemovedTally tally;
    CleanPaintHistory();
    EXPECT_EQ(tally.Counts(), RemovedCounts{});
}

// A RunMRU key without subkeys goes whole: every value it held is counted, not only the letters.
TEST_F(RegistryTargetsTest, TheRunHistoryKeyThatGoesWholeCountsEveryValue) {
    const std::wstring run = kExplorer + L"RunMRU";
    SetString(HKEY_CURRENT_USER, run, L"a", L"notepad\\1");
    SetString(HKEY_CURRENT_USER, run, L"MRUList", L"a");
    SetString(HKEY_CURRENT_USER, run, L"other", L"history too");
    const RemovedTally tally;
    CleanRunHistory();
    EXPECT_EQ(tally.Counts().entries, 3u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, run));
}

} // namespace

namespace {

// The reason is asked of the system when the leftover is reported, while its cause is still there.
TEST(StayedReason, TellsAHeldFileALinkAndAMessageApart) {
    TestFolder folder;
    const std::wstring held = folder.Write(L"held.txt");
    const std::wstring free = folder.Write(L"free.txt");
    OutsideSentinel outside;
    ASSERT_TRUE(outside.PlantLinkAt(folder / L"link"));
    file_fixture::Locked lock(held);
    ASSERT_TRUE(lock.Held());
    StayedRecord record;
    ReportStayed(L"Error IE Cookies: File could not be opened");
    EXPECT_EQ(record.FirstKnownReason(), StayedReason::Unknown);
    ReportStayed(free);
    EXPECT_EQ(record.FirstKnownReason(), StayedReason::Unknown) << "nothing holds it";
    ReportStayed(held);
    ReportStayed(folder / L"link");
    EXPECT_EQ(record.FirstKnownReason(), StayedReason::InUse);
    EXPECT_EQ(ReasonFor(folder / L"link"), StayedReason::LinkLeft);
    EXPECT_EQ(record.Stayed().size(), 4u);
    EXPECT_TRUE(outside.Intact());
}

// A folder that stayed is asked about what is still inside it, at any depth, never through a link; "folder\*"
// is the folder. Nothing there that tells a reason leaves it unknown.
TEST(StayedReason, AFolderStaysForWhatIsInsideIt) {
    TestFolder folder;
    const std::wstring held = folder.Write(L"held\\a\\b\\held.txt");
    folder.Write(L"held\\a\\free.txt");
    folder.Write(L"free\\a\\free.txt");
    folder.MakeFolder(L"linked\\a");
    OutsideSentinel outside;
    ASSERT_TRUE(outside.PlantLinkAt(folder / L"linked\\a\\link"));
    file_fixture::Locked lock(held);
    ASSERT_TRUE(lock.Held());
    EXPECT_EQ(ReasonFor(folder / L"held"), StayedReason::InUse);
    EXPECT_EQ(ReasonFor(folder / L"held\\*"), StayedReason::InUse);
    EXPECT_EQ(ReasonFor(folder / L"linked"), StayedReason::LinkLeft);
    EXPECT_EQ(ReasonFor(folder / L"linked\\*"), StayedReason::LinkLeft);
    EXPECT_EQ(ReasonFor(folder / L"free"), StayedReason::Unknown);
    EXPECT_EQ(ReasonFor(folder / L"missing\\*"), StayedReason::Unknown);
    EXPECT_TRUE(outside.Intact());
}

} // namespace
