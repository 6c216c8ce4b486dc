#include "cleaners/browsers/ie_cleaner.h"
#include "cleaners/browsers/index_file_wipe.h"

#include "browser_folders_fixture.h"
#include "common/scoped_handles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace browser_tests;
using testing_support::ReadAll;

// Bytes that are never a space, so that every written space shows.
std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + i % 26);
    return bytes;
}

// The pattern with spaces over [from, to).
std::string Wiped(size_t size, size_t from, size_t to) {
    std::string bytes = Pattern(size);
    for (size_t i = from; i < to; ++i)
        bytes[i] = ' ';
    return bytes;
}

// Held the way a running browser holds its index files: others may read and write, not delete.
scoped::FileHandle HoldOpen(const std::wstring& path, DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE) {
    return scoped::FileHandle(
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr));
}

class WipeIndexFileTest : public ::testing::Test {
  protected:
    testing_support::TestFolder folder_;
};

TEST_F(WipeIndexFileTest, KeepsHeaderTailAndLength) {
    struct Case {
        size_t size;
        int64_t offset;
        std::string expected;
    };
    const Case cases[] = {
        {30000, kMainIndexOffset, Wiped(30000, 24576, 29990)},
        {24587, kMainIndexOffset, Wiped(24587, 24576, 24577)},
        {24586, kMainIndexOffset, Pattern(24586)},
        {100, kMainIndexOffset, Pattern(100)},
        {0, kMainIndexOffset, ""},
        {1000, kPeriodIndexOffset, Wiped(1000, 100, 990)},
        {300000, kPeriodIndexOffset, Wiped(300000, 100, 299990)}, // more than one written chunk
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const std::wstring path = folder_.Write(L"index.dat", Pattern(c.size));
        EXPECT_EQ(WipeResult::Wiped, WipeIndexFile(path, c.offset));
        EXPECT_TRUE(ReadAll(path) == c.expected);
    }
}

TEST_F(WipeIndexFileTest, TellsMissingFromUnopenable) {
    EXPECT_EQ(WipeResult::Missing, WipeIndexFile(folder_ / L"index.dat", kMainIndexOffset));
    EXPECT_EQ(WipeResult::Missing, WipeIndexFile(folder_ / L"no folder\\index.dat", kMainIndexOffset));

    const std::wstring locked = folder_.Write(L"locked\\index.dat", Pattern(30000));
    {
        const auto holder = HoldOpen(locked, 0);
        ASSERT_TRUE(holder);
        EXPECT_EQ(WipeResult::Unopenable, WipeIndexFile(locked, kMainIndexOffset));
    }
    EXPECT_TRUE(ReadAll(locked) == Pattern(30000));

    // A read-only attribute cannot show it here: the tests run as root, whom Wine lets write anyway.
    const std::wstring folderNamedLikeTheFile = folder_.MakeFolder(L"folder\\index.dat");
    EXPECT_EQ(WipeResult::Unopenable, WipeIndexFile(folderNamedLikeTheFile, kMainIndexOffset));
}

class IndexFiles : public BrowserFoldersTest {
  protected:
    const std::wstring cacheIndex_ = root_.Write(L"INetCache\\content.ie5\\index.dat", Pattern(30000));
    const std::wstring historyIndex_ = root_.Write(L"History\\History.IE5\\index.dat", Pattern(30000));
    const std::wstring cookiesIndex_ = root_.Write(L"INetCookies\\index.dat", Pattern(30000));

    bool IsWiped(const std::wstring& path) const { return ReadAll(path) == Wiped(30000, 24576, 29990); }
    bool IsUntouched(const std::wstring& path) const { return ReadAll(path) == Pattern(30000); }
};

TEST_F(IndexFiles, AllThreeAreWipedSilently) {
    IECleaner().CleanIndexFiles();
    EXPECT_TRUE(IsWiped(cacheIndex_));
    EXPECT_TRUE(IsWiped(historyIndex_));
    EXPECT_TRUE(IsWiped(cookiesIndex_));
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(IndexFiles, ALockedHistoryFileStopsBeforeCookiesWithTheIndexAllMessage) {
    const auto holder = HoldOpen(historyIndex_, 0);
    IECleaner().CleanIndexFiles();
    EXPECT_TRUE(IsWiped(cacheIndex_));
    EXPECT_TRUE(IsUntouched(cookiesIndex_));
    ASSERT_EQ(1u, messages_.Shown().size());
    const auto& shown = messages_.Shown()[0];
    EXPECT_EQ(L"Error IE IndexAll: File could not be opened", shown.text);
    EXPECT_EQ(ProgramPath(), shown.caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), shown.type);
}

TEST_F(IndexFiles, ALockedCookiesFileHasItsOwnMessage) {
    const auto holder = HoldOpen(cookiesIndex_, 0);
    IECleaner().CleanIndexFiles();
    EXPECT_TRUE(IsWiped(cacheIndex_));
    EXPECT_TRUE(IsWiped(historyIndex_));
    EXPECT_EQ(std::vector<std::wstring>{L"Error IE Index: File could not be opened"}, messages_.Texts());
}

TEST_F(IndexFiles, MissingFilesAndFoldersAreNothingToWipe) {
    DeleteFileW(cacheIndex_.c_str());
    testing_support::ScopedShellFolder noHistory(L"History", root_ / L"no such folder");
    IECleaner().CleanIndexFiles();
    EXPECT_TRUE(IsUntouched(historyIndex_));
    EXPECT_TRUE(IsWiped(cookiesIndex_));
    EXPECT_TRUE(messages_.Shown().empty());
}

class BrowserHistory : public IndexFiles {
  protected:
    const std::wstring periodIndex_ =
        root_.Write(L"History\\History.IE5\\MSHist012013010720130114\\index.dat", Pattern(1000));
    const std::wstring otherIndex_ = root_.Write(L"History\\History.IE5\\Other\\index.dat", Pattern(1000));
    const std::wstring desktopIni_ = root_.Write(L"History\\History.IE5\\desktop.ini", Pattern(1000));
    const std::wstring visited_ = root_.Write(L"History\\visited page.url", "trace");
    const std::wstring nested_ = root_.Write(L"History\\Older\\Deeper\\page.url", "trace");

    void SetUp() override { PlantLinkIn(history_); }
};

// While Internet Explorer runs it holds its index files open, so the folder's files go and they stay.
TEST_F(BrowserHistory, EmptiesTheFolderAndWipesTheIndexFilesHeldOpen) {
    const auto history = HoldOpen(historyIndex_), period = HoldOpen(periodIndex_),
               other = HoldOpen(otherIndex_), desktop = HoldOpen(desktopIni_);
    const HRESULT result = IECleaner().CleanBrowserHistory(nullptr);
    EXPECT_TRUE(IsWiped(historyIndex_));
    EXPECT_TRUE(ReadAll(periodIndex_) == Wiped(1000, 100, 990));
    EXPECT_TRUE(ReadAll(otherIndex_) == Pattern(1000));
    EXPECT_TRUE(ReadAll(desktopIni_) == Pattern(1000));
    EXPECT_FALSE(testing_support::PathExists(visited_));
    EXPECT_FALSE(testing_support::PathExists(nested_));
    EXPECT_TRUE(testing_support::PathExists(history_));
    EXPECT_TRUE(sentinel_.Intact());
    EXPECT_TRUE(messages_.Shown().empty());
    EXPECT_EQ(E_NOTIMPL, result); // Wine's history store does not implement ClearHistory
}

// An index file the emptying removed is nothing to wipe: the history store is still cleared.
TEST_F(BrowserHistory, IndexFileRemovedWithTheFolderIsNoError) {
    const HRESULT result = IECleaner().CleanBrowserHistory(nullptr);
    EXPECT_FALSE(testing_support::PathExists(historyIndex_));
    EXPECT_TRUE(messages_.Shown().empty());
    EXPECT_EQ(E_NOTIMPL, result);
    EXPECT_TRUE(sentinel_.Intact());
}

TEST_F(BrowserHistory, ALockedPeriodFileStopsWithTheBrowserHMessage) {
    const auto history = HoldOpen(historyIndex_), period = HoldOpen(periodIndex_, 0);
    EXPECT_EQ(0, IECleaner().CleanBrowserHistory(nullptr));
    EXPECT_TRUE(IsWiped(historyIndex_));
    EXPECT_EQ(std::vector<std::wstring>{L"Error IE BrowserH: File could not be opened"}, messages_.Texts());
}

TEST_F(BrowserHistory, ALockedMainFileStopsWithTheIndexMessage) {
    const auto history = HoldOpen(historyIndex_, 0), period = HoldOpen(periodIndex_);
    EXPECT_EQ(0, IECleaner().CleanBrowserHistory(nullptr));
    EXPECT_TRUE(ReadAll(periodIndex_) == Pattern(1000));
    EXPECT_EQ(std::vector<std::wstring>{L"Error IE Index: File could not be opened"}, messages_.Texts());
}

// Only the period folder's own name counts, not a user folder above it that holds the same letters.
TEST_F(BrowserHistory, PeriodFoldersAreKnownByTheirOwnName) {
    const std::wstring history = root_.MakeFolder(L"MSHome\\History");
    testing_support::ScopedShellFolder moved(L"History", history);
    const std::wstring main = root_.Write(L"MSHome\\History\\History.IE5\\index.dat", Pattern(30000));
    const std::wstring other = root_.Write(L"MSHome\\History\\History.IE5\\Other\\index.dat", Pattern(1000));
    const auto mainHeld = HoldOpen(main), otherHeld = HoldOpen(other);
    IECleaner().CleanBrowserHistory(nullptr);
    EXPECT_TRUE(IsWiped(main));
    EXPECT_TRUE(ReadAll(other) == Pattern(1000));
    EXPECT_TRUE(messages_.Shown().empty());
}

} // namespace
