// How the link-safe walks cover a tree: each folder listed once, whatever stays in it; any depth on a
// small stack; and a stop between two entries, never inside one.
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/file_truncation.h"
#include "cleaners/windows/folder_listing.h"
#include "cleaners/windows/link_safe_removal.h"
#include "cleaners/windows/shell_delete.h"
#include "cleaners/windows/walk_stop.h"

#include "file_fixture.h"
#include "support/outside_sentinel.h"
#include "support/test_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using file_fixture::Exists;
using file_fixture::Read;
using file_fixture::Write;
using testing_support::OutsideSentinel;
using testing_support::TestFolder;

const WindowsCleanContext kContext{};
constexpr int kLevels = 300;

// parent\d\d\...\d; every 30th folder, counted from the top, holds a text file and a "*.flk" file. The
// folders, top first.
std::vector<std::wstring> PlantChain(const std::wstring& parent, int levels) {
    std::vector<std::wstring> chain;
    std::wstring folder = parent;
    for (int level = 0; level < levels; ++level) {
        folder += L"\\d";
        CreateDirectoryW(file_fixture::Long(folder).c_str(), nullptr);
        if (level % 30 == 0) {
            Write(folder + L"\\file.txt", "trace");
            Write(folder + L"\\lock.flk", "lock data");
        }
        chain.push_back(folder);
    }
    return chain;
}

// The folder listings that `work` opens.
uint64_t ListingsOf(const std::function<void()>& work) {
    const uint64_t before = FolderListingsOpened();
    work();
    return FolderListingsOpened() - before;
}

// A link at the bottom of the chain below `parent` cannot go, so the chain's folders stay; each is listed
// once all the same, every file goes, a text file emptied on the way and a "*.flk" file only deleted.
void ExpectChainPurgedInOneWalk(const std::wstring& parent, const std::function<void()>& purge,
                                uint64_t foldersToList) {
    const std::vector<std::wstring> chain = PlantChain(parent, kLevels);
    OutsideSentinel sentinel;
    ASSERT_TRUE(sentinel.PlantLinkAt(chain.back() + L"\\link"));
    uint64_t listings = 0;
    {
        const std::wstring& middle = chain[150];
        file_fixture::Watcher text(middle + L"\\file.txt"), flk(middle + L"\\lock.flk");
        listings = ListingsOf(purge);
        EXPECT_EQ(text.Size(), 0);
        EXPECT_EQ(flk.Size(), 9);
    }
    EXPECT_EQ(listings, foldersToList) << "one listing per folder";
    EXPECT_TRUE(sentinel.Intact());
    for (const std::wstring& folder : chain) {
        ASSERT_TRUE(Exists(folder));
        ASSERT_FALSE(Exists(folder + L"\\file.txt"));
        ASSERT_FALSE(Exists(folder + L"\\lock.flk"));
    }
}

TEST(FolderWalk, PurgeTempFolderListsEachFolderOnceWhenTheBottomOfAChainStays) {
    TestFolder folder;
    const std::wstring temp = folder.MakeFolder(L"temp");
    ExpectChainPurgedInOneWalk(temp, [&] { PurgeTempFolder(kContext, temp); }, kLevels + 1);
    EXPECT_TRUE(Exists(temp));
}

TEST(FolderWalk, PurgeFolderListsEachFolderOnceWhenTheBottomOfAChainStays) {
    TestFolder folder;
    ExpectChainPurgedInOneWalk(folder.Path(), [&] { PurgeFolder(kContext, folder / L"d"); }, kLevels);
}

// The plain removal holds to the same rule, here with a file that another program holds open.
TEST(FolderWalk, ShellDeleteListsEachFolderOnceWhenALockedFileStays) {
    TestFolder folder;
    const std::vector<std::wstring> chain = PlantChain(folder.Path(), kLevels);
    Write(chain.back() + L"\\locked.txt", "in use");
    uint64_t listings = 0;
    {
        file_fixture::Locked lock(chain.back() + L"\\locked.txt");
        ASSERT_TRUE(lock.Held());
        listings = ListingsOf([&] { EXPECT_FALSE(ShellDelete(folder / L"d")); });
    }
    EXPECT_EQ(listings, static_cast<uint64_t>(kLevels));
    EXPECT_EQ(Read(chain.back() + L"\\locked.txt"), "in use");
    EXPECT_FALSE(Exists(chain.front() + L"\\file.txt"));
    EXPECT_FALSE(Exists(chain.front() + L"\\lock.flk"));
}

DWORD WINAPI ShellDeleteOnThread(LPVOID path) { return ShellDelete(*static_cast<const std::wstring*>(path)); }

// A walk whose stack grew with the depth could overflow the job's worker on a chain some thousands of
// folders deep; this one walks a chain of hundreds on a stack of 64 KB.
TEST(FolderWalk, ADeepChainGoesOnASmallStack) {
    TestFolder folder;
    const std::vector<std::wstring> chain = PlantChain(folder.Path(), kLevels);
    Write(chain.back() + L"\\bottom.txt");
    const std::wstring top = chain.front();
    HANDLE thread = CreateThread(nullptr, 64 * 1024, ShellDeleteOnThread, const_cast<std::wstring*>(&top),
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 120000), WAIT_OBJECT_0);
    DWORD removed = 0;
    GetExitCodeThread(thread, &removed);
    CloseHandle(thread);
    EXPECT_EQ(removed, 1u);
    EXPECT_FALSE(Exists(top));
}

// 50 files of full contents in five folders.
std::vector<std::wstring> PlantFiles(const TestFolder& folder) {
    std::vector<std::wstring> files;
    for (int i = 0; i < 50; ++i) {
        files.push_back(folder / (L"f\\sub" + std::to_wstring(i % 5) + L"\\file" + std::to_wstring(i)));
        Write(files.back(), "full");
    }
    return files;
}

int CountWhole(const std::vector<std::wstring>& files) {
    int whole = 0;
    for (const std::wstring& file : files) {
        if (!Exists(file)) continue;
        EXPECT_EQ(Read(file), "full") << "a file is never left half done";
        ++whole;
    }
    return whole;
}

// The request comes while a file is being emptied: that file is finished, and nothing after it is touched.
TEST(WalkStop, AWalkFinishesTheEntryAtHandAndReturns) {
    TestFolder folder;
    const std::vector<std::wstring> files = PlantFiles(folder);
    std::atomic<bool> stop{false};
    const WalkStopScope scope(stop);
    int emptied = 0;
    const RemovalRules emptyingRules{.beforeDeletingFile = [&](const FolderEntry& file) {
        TruncateFile(file.path, file.attributes);
        if (++emptied == 10) stop = true;
    }};
    const ContentsRemoval removal = RemoveContents(file_fixture::Long(folder / L"f"), emptyingRules);
    EXPECT_TRUE(removal.listed);
    EXPECT_FALSE(removal.allRemoved);
    EXPECT_TRUE(scope.CutShort());
    EXPECT_EQ(emptied, 10);
    EXPECT_EQ(CountWhole(files), 40);

    // Once asked, every walk of the thread stops before its first entry.
    DeleteFolderContents(folder / L"f", true);
    EXPECT_FALSE(ShellDelete(folder / L"f"));
    PurgeTempFolder(kContext, folder / L"f");
    PurgeFolder(kContext, folder / L"f");
    EXPECT_EQ(CountWhole(files), 40);
}

TEST(WalkStop, OnlyTheInnermostScopeOfTheWalksOwnThreadCounts) {
    TestFolder folder;
    const std::vector<std::wstring> files = PlantFiles(folder);
    std::atomic<bool> stop{true}, goOn{false};
    const WalkStopScope outer(stop);
    std::thread([&] { EXPECT_TRUE(ShellDelete(folder / L"f\\sub0")); }).join();
    {
        const WalkStopScope inner(goOn);
        EXPECT_TRUE(ShellDelete(folder / L"f\\sub1"));
        EXPECT_FALSE(inner.CutShort());
    }
    EXPECT_FALSE(ShellDelete(folder / L"f\\sub2"));
    EXPECT_TRUE(outer.CutShort());
    EXPECT_EQ(CountWhole(files), 30);
}

TEST(WalkStop, NoScopeNoStop) {
    TestFolder folder;
    const std::vector<std::wstring> files = PlantFiles(folder);
    EXPECT_FALSE(WalkStopRequested());
    EXPECT_TRUE(ShellDelete(folder / L"f"));
    EXPECT_EQ(CountWhole(files), 0);
}

} // namespace
