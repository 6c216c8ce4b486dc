#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/shell_delete.h"
#include "cleaners/windows/stayed_record.h"

#include "file_fixture.h"
#include "support/outside_sentinel.h"
#include "support/test_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using file_fixture::Exists;
using file_fixture::Write;
using testing_support::OutsideSentinel;
using testing_support::TestFolder;

// A small tree with a read-only file, a read-only folder, a hidden file and a planted link two levels down.
struct PlantedTree {
    explicit PlantedTree(const TestFolder& folder) : root(folder / L"tree") {
        Write(root + L"\\a.txt");
        Write(root + L"\\read-only.txt", "x", FILE_ATTRIBUTE_READONLY);
        Write(root + L"\\hidden.dat", "x", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        Write(root + L"\\sub\\deeper\\b.txt");
        Write(root + L"\\locked-ro\\c.txt");
        SetFileAttributesW((root + L"\\locked-ro").c_str(), FILE_ATTRIBUTE_READONLY);
        linked = sentinel.PlantLinkAt(root + L"\\sub\\link");
    }
    std::wstring root;
    OutsideSentinel sentinel;
    bool linked = false;
};

TEST(ShellDelete, RemovesATreeButNeverFollowsALink) {
    TestFolder folder;
    PlantedTree tree(folder);
    ASSERT_TRUE(tree.linked);

    // Wine cannot remove a unix link, so the link and the folders above it stay and the call says so.
    EXPECT_FALSE(ShellDelete(tree.root));
    EXPECT_TRUE(tree.sentinel.Intact());
    for (const wchar_t* gone : {L"\\a.txt", L"\\read-only.txt", L"\\hidden.dat", L"\\sub\\deeper", L"\\locked-ro"})
        EXPECT_FALSE(Exists(tree.root + gone)) << gone;
}

TEST(ShellDelete, StarEmptiesTheFolderAndKeepsIt) {
    TestFolder folder;
    Write(folder / L"f\\a.txt");
    Write(folder / L"f\\sub\\b.txt");
    Write(folder / L"f\\read-only.txt", "x", FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(ShellDelete(folder / L"f\\*"));
    EXPECT_TRUE(Exists(folder / L"f"));
    EXPECT_FALSE(Exists(folder / L"f\\a.txt"));
    EXPECT_FALSE(Exists(folder / L"f\\sub"));
    EXPECT_FALSE(Exists(folder / L"f\\read-only.txt"));
    Write(folder / L"g\\a.txt");
    EXPECT_TRUE(ShellDelete(folder / L"g\\*.*"));
    EXPECT_FALSE(Exists(folder / L"g\\a.txt"));
}

TEST(ShellDelete, ALinkNamedDirectlyIsNeverEmptiedOrFollowed) {
    TestFolder folder;
    OutsideSentinel sentinel;
    ASSERT_TRUE(sentinel.PlantLinkAt(folder / L"link"));
    EXPECT_FALSE(ShellDelete(folder / L"link\\*"));
    ShellDelete(folder / L"link");
    EXPECT_TRUE(sentinel.Intact());
}

TEST(ShellDelete, SingleFilesAndMissingPaths) {
    TestFolder folder;
    Write(folder / L"one.txt");
    EXPECT_TRUE(ShellDelete(folder / L"one.txt"));
    EXPECT_FALSE(Exists(folder / L"one.txt"));
    EXPECT_TRUE(ShellDelete(folder / L"never-was")); // nothing of it remains
    EXPECT_TRUE(ShellDelete(folder / L"never-was\\deeper"));
    EXPECT_FALSE(ShellDelete(L""));
    Write(folder / L"file");
    EXPECT_FALSE(ShellDelete(folder / L"file\\*")); // a file has no contents to empty
    EXPECT_TRUE(Exists(folder / L"file"));
    // Only a whole name is a wildcard; any other pattern removes nothing.
    Write(folder / L"d\\file");
    EXPECT_FALSE(ShellDelete(folder / L"d\\fi*"));
    EXPECT_TRUE(Exists(folder / L"d\\file"));
    EXPECT_TRUE(ShellDelete(folder / L"d\\"));
    EXPECT_FALSE(Exists(folder / L"d"));
}

TEST(ShellDelete, LockedFileStaysAndTheRestGoes) {
    TestFolder folder;
    Write(folder / L"t\\locked.txt", "in use");
    Write(folder / L"t\\free.txt");
    Write(folder / L"t\\sub\\free.txt");
    {
        file_fixture::Locked lock(folder / L"t\\locked.txt");
        ASSERT_TRUE(lock.Held());
        EXPECT_FALSE(ShellDelete(folder / L"t"));
    }
    EXPECT_EQ(file_fixture::Read(folder / L"t\\locked.txt"), "in use");
    EXPECT_FALSE(Exists(folder / L"t\\free.txt"));
    EXPECT_FALSE(Exists(folder / L"t\\sub"));
    EXPECT_TRUE(ShellDelete(folder / L"t"));
    EXPECT_FALSE(Exists(folder / L"t"));
}

// Past MAX_PATH and outside the ANSI code page: both are reached only through the extended-length form.
TEST(ShellDelete, LongPathsAndNamesInAnyScript) {
    TestFolder folder;
    std::wstring deep = folder / L"deep";
    for (int i = 0; i < 12; ++i) deep += L"\\" + std::wstring(30, static_cast<wchar_t>(L'a' + i));
    ASSERT_GT(deep.size(), 300u);
    ASSERT_TRUE(Write(deep + L"\\\u0444\u0430\u0439\u043b.txt"));
    ASSERT_TRUE(Write(deep + L"\\\u6587\u4ef6.txt"));
    ASSERT_TRUE(Write(folder / L"deep\\\u65e5\u672c\\trailing-dot-name.", "x"));
    OutsideSentinel sentinel;
    ASSERT_TRUE(sentinel.PlantLinkAt(deep + L"\\link"));
    ShellDelete(folder / L"deep");
    EXPECT_TRUE(sentinel.Intact());
    EXPECT_FALSE(Exists(deep + L"\\\u0444\u0430\u0439\u043b.txt"));
    EXPECT_FALSE(Exists(deep + L"\\\u6587\u4ef6.txt"));
    EXPECT_FALSE(Exists(folder / L"deep\\\u65e5\u672c"));
}

class DeleteFolderContentsTest : public ::testing::Test {
protected:
    void Plant() {
        Write(folder_ / L"c\\a.txt");
        Write(folder_ / L"c\\Desktop.INI");
        Write(folder_ / L"c\\read-only.txt", "x", FILE_ATTRIBUTE_READONLY);
        Write(folder_ / L"c\\with-ini\\desktop.ini");
        Write(folder_ / L"c\\with-ini\\b.txt");
        Write(folder_ / L"c\\plain\\c.txt");
        ASSERT_TRUE(sentinel_.PlantLinkAt(folder_ / L"c\\plain\\link"));
    }
    TestFolder folder_;
    OutsideSentinel sentinel_;
};

TEST_F(DeleteFolderContentsTest, KeepsDesktopIniAndTheFoldersHoldingOne) {
    Plant();
    EXPECT_TRUE(DeleteFolderContents(folder_ / L"c", false));
    EXPECT_TRUE(sentinel_.Intact());
    EXPECT_TRUE(Exists(folder_ / L"c\\Desktop.INI"));
    EXPECT_TRUE(Exists(folder_ / L"c\\with-ini\\desktop.ini"));
    for (const wchar_t* gone : {L"c\\a.txt", L"c\\read-only.txt", L"c\\with-ini\\b.txt", L"c\\plain\\c.txt"})
        EXPECT_FALSE(Exists(folder_ / gone)) << gone;
}

TEST_F(DeleteFolderContentsTest, DeletesDesktopIniWhenAskedAndAcceptsATrailingBackslash) {
    Plant();
    EXPECT_TRUE(DeleteFolderContents(folder_ / L"c\\", true));
    EXPECT_TRUE(sentinel_.Intact());
    EXPECT_TRUE(Exists(folder_ / L"c"));
    for (const wchar_t* gone : {L"c\\a.txt", L"c\\Desktop.INI", L"c\\read-only.txt", L"c\\with-ini", L"c\\plain\\c.txt"})
        EXPECT_FALSE(Exists(folder_ / gone)) << gone;
}

TEST_F(DeleteFolderContentsTest, FalseWhenTheFolderCannotBeListed) {
    Write(folder_ / L"a-file");
    EXPECT_FALSE(DeleteFolderContents(folder_ / L"missing", true));
    EXPECT_FALSE(DeleteFolderContents(folder_ / L"a-file", true));
    EXPECT_TRUE(Exists(folder_ / L"a-file"));
    ASSERT_TRUE(sentinel_.PlantLinkAt(folder_ / L"link"));
    EXPECT_FALSE(DeleteFolderContents(folder_ / L"link", true));
    EXPECT_TRUE(sentinel_.Intact());
}

TEST(TruncateAndDelete, EmptiesThenDeletes) {
    TestFolder folder;
    const std::wstring path = folder / L"\u0434\u0430\u043d\u043d\u044b\u0435 \u6570\u636e.sqlite";
    ASSERT_TRUE(Write(path, "secret history"));
    {
        file_fixture::Watcher watcher(path);
        EXPECT_TRUE(TruncateAndDelete(path));
        EXPECT_EQ(watcher.Size(), 0);
    }
    EXPECT_FALSE(Exists(path));
}

TEST(TruncateAndDelete, NeverCreatesAndLeavesWhatItCannotDelete) {
    TestFolder folder;
    EXPECT_FALSE(TruncateAndDelete(folder / L"missing.txt"));
    EXPECT_FALSE(Exists(folder / L"missing.txt"));
    EXPECT_FALSE(TruncateAndDelete(L""));

    Write(folder / L"locked.txt", "in use");
    {
        file_fixture::Locked lock(folder / L"locked.txt");
        EXPECT_FALSE(TruncateAndDelete(folder / L"locked.txt"));
    }
    EXPECT_EQ(file_fixture::Read(folder / L"locked.txt"), "in use");

    Write(folder / L"read-only.txt", "kept", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(TruncateAndDelete(folder / L"read-only.txt"));
    EXPECT_EQ(file_fixture::Read(folder / L"read-only.txt"), "kept");

    // The data behind a second hard link belongs to that name too: the name goes, the data stays.
    Write(folder / L"shared.txt", "shared data");
    ASSERT_TRUE(CreateHardLinkW((folder / L"elsewhere.txt").c_str(), (folder / L"shared.txt").c_str(), nullptr));
    EXPECT_TRUE(TruncateAndDelete(folder / L"shared.txt"));
    EXPECT_EQ(file_fixture::Read(folder / L"elsewhere.txt"), "shared data");

    Write(folder / L"hidden.txt", "gone", FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(TruncateAndDelete(folder / L"hidden.txt"));
}

// What a cleaner could not remove is recorded for the step that ran it: each target once, as the caller named
// it; a kept desktop.ini and a file that was never there are not leftovers; the innermost record collects.
TEST(StayedRecord, NamesWhatStayedAndNothingElse) {
    TestFolder folder;
    Write(folder / L"recent\\desktop.ini");
    Write(folder / L"recent\\a.lnk");
    Write(folder / L"temp\\locked.txt", "in use");
    Write(folder / L"temp\\free.txt");
    StayedRecord outer;
    {
        StayedRecord step;
        file_fixture::Locked lock(folder / L"temp\\locked.txt");
        ASSERT_TRUE(lock.Held());
        DeleteFolderContents(folder / L"recent", false);
        EXPECT_TRUE(step.Stayed().empty()) << "desktop.ini is kept on purpose";
        DeleteFolderContents(folder / L"temp", true);
        ShellDelete(folder / L"temp\\*");
        ShellDelete(folder / L"temp\\*");
        TruncateAndDelete(folder / L"missing.txt");
        DeleteFileRecorded(folder / L"missing.txt");
        DeleteFileRecorded(folder / L"temp\\locked.txt");
        TruncateAndDelete(folder / L"temp\\locked.txt");
        // The emptied folder names each entry that stayed, so that each gets its reason.
        EXPECT_EQ(step.Stayed(),
                  (std::vector<std::wstring>{folder / L"temp", folder / L"temp\\locked.txt", folder / L"temp\\*"}));
        EXPECT_EQ(step.FirstKnownReason(), StayedReason::InUse);
    }
    EXPECT_TRUE(outer.Stayed().empty());
    EXPECT_TRUE(ShellDelete(folder / L"temp"));
    EXPECT_TRUE(outer.Stayed().empty());
}

} // namespace
