// The cleaners' own count of what they remove: the folder walk with its helper threads, a file another
// program removes first, and tallies that nest.
#include "cleaners/windows/deletion_pool.h"
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/folder_measure.h"
#include "cleaners/windows/link_safe_removal.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/removed_tally.h"
#include "cleaners/windows/stayed_record.h"

#include "file_fixture.h"
#include "support/outside_sentinel.h"
#include "support/test_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testing_support::OutsideSentinel;
using testing_support::TestFolder;

// Every walk of the test uses helper threads, whatever the machine's cores.
class HelperThreads {
public:
    explicit HelperThreads(unsigned count) { SetDeletionWorkers(count); }
    ~HelperThreads() { SetDeletionWorkers(0); }
};

// Sizes that differ per file, so that a file counted twice or with another's size shows in the bytes.
std::string ContentOf(int i) { return std::string(static_cast<size_t>(i % 17) * 3 + 1, 'x'); }

TEST(RemovedTally, TheWalkCountsEachFileItDeletesWithItsSizeAndNothingThatStays) {
    const HelperThreads helpers(3);
    TestFolder folder;
    uint64_t bytes = 0;
    constexpr int kFiles = 300;
    for (int i = 0; i < kFiles; ++i) {
        folder.Write(L"d" + std::to_wstring(i % 3) + L"\\f" + std::to_wstring(i), ContentOf(i));
        bytes += ContentOf(i).size();
    }
    folder.Write(L"d1\\desktop.ini", "kept");
    const std::wstring held = folder.Write(L"held.txt", "held open");
    OutsideSentinel sentinel;
    ASSERT_TRUE(sentinel.PlantLinkAt(folder / L"d2\\outside"));
    const FolderFigures before = MeasureFolder(ExtendedLengthPath(folder.Path()), false);
    RemovedTally tally;
    {
        const file_fixture::Locked lock(held);
        ASSERT_TRUE(lock.Held());
        DeleteFolderContents(folder.Path(), false);
    }
    const FolderFigures after = MeasureFolder(ExtendedLengthPath(folder.Path()), false);
    const bool linkGone = !folder.Exists(L"d2\\outside"); // Wine cannot remove one
    EXPECT_EQ(tally.Counts().files, kFiles + (linkGone ? 1u : 0u));
    EXPECT_EQ(tally.Counts().bytes, bytes) << "the held file's bytes stayed, a link holds none";
    EXPECT_EQ(before.files, tally.Counts().files + after.files);
    EXPECT_EQ(before.bytes, tally.Counts().bytes + after.bytes);
    EXPECT_TRUE(folder.Exists(L"d1\\desktop.ini"));
    EXPECT_TRUE(sentinel.Intact());
}

// Another program removes every third file just before the walk reaches it: gone, not stayed, and not
// counted as this walk's doing.
TEST(RemovedTally, AFileAnotherProgramRemovesFirstIsNeitherCountedNorStayed) {
    const HelperThreads helpers(2);
    TestFolder folder;
    constexpr int kFiles = 600;
    for (int i = 0; i < kFiles; ++i) folder.Write(L"sub\\f" + std::to_wstring(i), "1234");
    OutsideSentinel sentinel;
    ASSERT_TRUE(sentinel.PlantLinkAt(folder / L"outside"));
    std::atomic<int> seen{0}, takenFirst{0};
    RemovalRules rules{.beforeDeletingFile = [&](const FolderEntry& file) {
                           if (seen.fetch_add(1) % 3 == 0 && DeleteFileW(file.path.c_str())) ++takenFirst;
                       },
                       .namesEntriesLeft = true};
    const RemovedTally tally;
    const ContentsRemoval removal = RemoveContents(ExtendedLengthPath(folder.Path()), rules);
    EXPECT_EQ(takenFirst.load(), kFiles / 3);
    EXPECT_EQ(tally.Counts().files + takenFirst, static_cast<uint64_t>(kFiles) + (folder.Exists(L"outside") ? 0 : 1));
    EXPECT_EQ(tally.Counts().bytes, 4u * (kFiles - takenFirst));
    EXPECT_FALSE(folder.Exists(L"sub"));
    // Only the link, where the system keeps it, stays.
    const std::vector<std::wstring> linkOnly =
        folder.Exists(L"outside") ? std::vector<std::wstring>{L"outside"} : std::vector<std::wstring>{};
    EXPECT_EQ(removal.entriesLeft, linkOnly);
    EXPECT_TRUE(sentinel.Intact());
}

// The size is taken before the file is emptied; an inner tally keeps its count from the outer one, and
// without any tally nothing is counted and nothing breaks.
TEST(RemovedTally, CountsTheSizeBeforeEmptyingAndTalliesNest) {
    TestFolder folder;
    const std::wstring a = folder.Write(L"a.db", std::string(1234, 'a'));
    const std::wstring b = folder.Write(L"b.db", std::string(10, 'b'));
    const std::wstring c = folder.Write(L"c.db", "c");
    const RemovedTally outer;
    {
        const RemovedTally inner;
        EXPECT_TRUE(TruncateAndDelete(a));
        EXPECT_EQ(inner.Counts(), (RemovedCounts{.files = 1, .bytes = 1234}));
    }
    EXPECT_TRUE(DeleteFileRecorded(b));
    EXPECT_FALSE(TruncateAndDelete(a)) << "already gone";
    EXPECT_EQ(outer.Counts(), (RemovedCounts{.files = 1, .bytes = 10}));
    {
        const file_fixture::Locked lock(c);
        StayedRecord stayed;
        EXPECT_FALSE(TruncateAndDelete(c));
    }
    EXPECT_EQ(outer.Counts().files, 1u) << "a file that stayed is not counted";
}

TEST(RemovedTally, WithoutATallyTheCleanersCountForNobody) {
    TestFolder folder;
    folder.Write(L"x\\y.txt");
    EXPECT_EQ(RemovedTally::Current(), nullptr);
    EXPECT_TRUE(DeleteFolderContents(folder.Path(), true));
    EXPECT_FALSE(folder.Exists(L"x"));
}

} // namespace
