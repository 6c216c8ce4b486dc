// The walk's workers: a large tree is shared out among them with every guarantee of the one-thread walk,
// a stop reaches all of them, and none outlives its walk.
#include "cleaners/windows/deletion_pool.h"
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/file_truncation.h"
#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/link_safe_removal.h"
#include "cleaners/windows/shell_delete.h"
#include "cleaners/windows/stayed_record.h"
#include "cleaners/windows/walk_stop.h"

#include "file_fixture.h"
#include "support/outside_sentinel.h"
#include "support/test_folder.h"

#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>

namespace {

using file_fixture::Exists;
using file_fixture::Long;
using testing_support::OutsideSentinel;
using testing_support::TestFolder;

constexpr char kContent[] = "full";
constexpr DWORD kWholeSize = sizeof kContent - 1;
constexpr unsigned kWorkers = 4; // more than this machine's cores, to crowd the walk

int ThreadsOfThisProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 thread{sizeof thread};
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread))
        count += thread.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

class ChosenWorkers {
  public:
    explicit ChosenWorkers(unsigned count) { SetDeletionWorkers(count); }
    ~ChosenWorkers() { SetDeletionWorkers(0); }
};

// root\sub0 .. root\sub{folders-1}, the files spread over them; with `links`, a directory link to the
// outside among the files of every tenth folder.
struct PlantedTree {
    PlantedTree(const std::wstring& rootPath, int folders, int files, bool links = false)
        : root(Long(rootPath)), folders(folders) {
        CreateDirectoryW(root.c_str(), nullptr);
        for (int f = 0; f < folders; ++f) {
            CreateDirectoryW(Sub(f).c_str(), nullptr);
            if (links && f % 10 == 0) {
                EXPECT_TRUE(sentinel.PlantLinkAt(rootPath + L"\\sub" + std::to_wstring(f) + L"\\m-link"));
            }
        }
        for (int i = 0; i < files; ++i) {
            HANDLE h = CreateFileW((Sub(i % folders) + L"\\file" + std::to_wstring(i)).c_str(), GENERIC_WRITE,
                                   0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD written = 0;
            WriteFile(h, kContent, kWholeSize, &written, nullptr);
            CloseHandle(h);
        }
    }
    std::wstring Sub(int f) const { return root + L"\\sub" + std::to_wstring(f); }

    // The files left, each checked to be whole: never emptied without being deleted.
    int WholeFilesLeft() const {
        int left = 0;
        for (int f = 0; f < folders; ++f) {
            WIN32_FIND_DATAW data;
            HANDLE find = FindFirstFileW((Sub(f) + L"\\file*").c_str(), &data);
            if (find == INVALID_HANDLE_VALUE) continue;
            do {
                EXPECT_EQ(data.nFileSizeLow, kWholeSize)
                    << "left half done: " << testing::PrintToString(data.cFileName);
                ++left;
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        return left;
    }

    std::wstring root;
    int folders;
    OutsideSentinel sentinel;
};

// Empties each file before deleting it, as the purge does, on whichever thread; notes the threads, and
// now and then how many the process has.
struct EmptyingRules {
    RemovalRules rules{.beforeDeletingFile = [this](const FolderEntry& file) {
        TruncateFile(file.path, file.attributes);
        const int count = ++emptied;
        {
            const std::lock_guard guard(lock);
            threads.insert(GetCurrentThreadId());
            if (count % 100 == 1) threadsSeen = std::max(threadsSeen, ThreadsOfThisProcess());
        }
        if (count == stopAt) stop = true;
    }};
    std::mutex lock;
    std::set<DWORD> threads;
    int threadsSeen = 0;
    std::atomic<int> emptied{0};
    int stopAt = -1;
    std::atomic<bool> stop{false};
};

// The walk is stopped at every thousandth file and walked again, until only the links are left.
TEST(PooledWalk, StopsAmongTwentyThousandFilesLeaveEveryFileWholeAndEveryLinkAlone) {
    constexpr int kFiles = 20000, kFolders = 100, kStopEvery = 1000;
    TestFolder folder;
    const PlantedTree tree(folder / L"cache", kFolders, kFiles, true);
    const ChosenWorkers workers(kWorkers);
    const int threadsBefore = ThreadsOfThisProcess();
    int left = kFiles;
    for (int round = 0; left > 0 && round < 2 * kFiles / kStopEvery; ++round) {
        EmptyingRules emptying;
        emptying.stopAt = kStopEvery;
        bool cutShort = false;
        {
            const WalkStopScope scope(emptying.stop);
            const ContentsRemoval removal = RemoveContents(tree.root, emptying.rules);
            EXPECT_TRUE(removal.listed);
            EXPECT_FALSE(removal.allRemoved);
            cutShort = scope.CutShort();
        }
        ASSERT_EQ(ThreadsOfThisProcess(), threadsBefore) << "no worker outlives the walk";
        if (round == 0) {
            EXPECT_GT(emptying.threads.size(), 1u);
        }
        // Each thread finishes the file at hand: every emptied file is gone, and nothing else is.
        const int emptied = emptying.emptied;
        if (left > kStopEvery) {
            EXPECT_TRUE(cutShort);
            EXPECT_GE(emptied, kStopEvery);
            EXPECT_LE(emptied, kStopEvery + static_cast<int>(kWorkers));
        }
        left -= emptied;
        ASSERT_EQ(tree.WholeFilesLeft(), left) << "round " << round;
        ASSERT_TRUE(tree.sentinel.Intact());
    }
    EXPECT_EQ(left, 0);

    // Each folder left is listed once and goes once its entries are done, except those that keep a
    // link, which Wine cannot remove.
    int foldersLeft = 0;
    for (int f = 0; f < kFolders; ++f)
        foldersLeft += Exists(tree.Sub(f));
    const uint64_t listingsBefore = FolderListingsOpened();
    EXPECT_FALSE(ShellDelete(folder / L"cache\\*"));
    EXPECT_EQ(FolderListingsOpened() - listingsBefore, static_cast<uint64_t>(foldersLeft + 1));
    for (int f = 0; f < kFolders; ++f)
        EXPECT_EQ(Exists(tree.Sub(f)), f % 10 == 0) << f;
    EXPECT_TRUE(tree.sentinel.Intact());
}

TEST(PooledWalk, AFewFilesStayOnTheWalksThreadAndAPoolEndsWithItsWalk) {
    TestFolder folder;
    const ChosenWorkers workers(kWorkers);
    const int threadsBefore = ThreadsOfThisProcess();
    {
        const PlantedTree small(folder / L"small", 5, 50);
        EmptyingRules emptying;
        EXPECT_TRUE(RemoveContents(small.root, emptying.rules).listed);
        EXPECT_EQ(emptying.threads, std::set<DWORD>{GetCurrentThreadId()});
        EXPECT_EQ(emptying.threadsSeen, threadsBefore);
    }
    // What one held file keeps is reported exactly, whichever thread met it.
    const PlantedTree large(folder / L"large", 20, 2000);
    EmptyingRules emptying;
    {
        file_fixture::Locked held(large.Sub(7) + L"\\file1007");
        ASSERT_TRUE(held.Held());
        EXPECT_FALSE(RemoveContents(large.root, emptying.rules).allRemoved);
    }
    EXPECT_GT(emptying.threadsSeen, threadsBefore);
    EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);
    EXPECT_EQ(large.WholeFilesLeft(), 1);
    EXPECT_FALSE(Exists(large.Sub(9)));
    EXPECT_TRUE(RemoveContents(large.root, emptying.rules).allRemoved);
    EXPECT_FALSE(Exists(large.Sub(7)));
}

// What stays directly in a temporary folder is named once each, whichever thread met it.
TEST(PooledWalk, APurgeNamesWhatStaysAtTheTop) {
    TestFolder folder;
    const ChosenWorkers workers(kWorkers);
    const PlantedTree temp(folder / L"temp", 20, 2000);
    file_fixture::Write(folder / L"temp\\top-locked.txt", "in use");
    file_fixture::Write(folder / L"temp\\top-free.txt", "trace");
    StayedRecord record;
    {
        file_fixture::Locked top(folder / L"temp\\top-locked.txt"), deep(temp.Sub(7) + L"\\file1007");
        PurgeTempFolder(WindowsCleanContext{}, folder / L"temp");
    }
    EXPECT_EQ(record.Stayed(),
              (std::vector<std::wstring>{folder / L"temp\\sub7", folder / L"temp\\top-locked.txt"}));
    EXPECT_EQ(temp.WholeFilesLeft(), 1);
    EXPECT_FALSE(Exists(folder / L"temp\\top-free.txt"));
}

} // namespace
