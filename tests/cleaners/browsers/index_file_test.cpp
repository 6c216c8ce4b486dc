#include "cleaners/browsers/ie_cleaner.h"
#include "cleaners/browsers/index_file_wipe.h"

#include "browser_folders_fixture.h"
#include "common/scoped_handles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace browser_tests;
using testing_support::PathExists;
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

scoped::FileHandle Hold(const std::wstring& path, DWORD access, DWORD share) {
    return scoped::FileHandle(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
}
// As a URL cache holds its live index: mapped for writing, shared with other readers and writers.
scoped::FileHandle HoldLikeTheCache(const std::wstring& path) {
    return Hold(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
}
// A reader that lets others write but not delete: the wiped bytes stay to be checked.
scoped::FileHandle HoldForReading(const std::wstring& path) {
    return Hold(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
}
scoped::FileHandle Lock(const std::wstring& path) {
    return Hold(path, GENERIC_READ | GENERIC_WRITE, 0);
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
        const auto reader = HoldForReading(path); // no hindrance
        EXPECT_EQ(IndexFileAccess::Writable, WipeIndexFile(path, c.offset));
        EXPECT_TRUE(ReadAll(path) == c.expected);
    }
}

TEST_F(WipeIndexFileTest, TellsMissingLockedAndLiveApart) {
    EXPECT_EQ(IndexFileAccess::Missing, WipeIndexFile(folder_ / L"index.dat", kMainIndexOffset));
    EXPECT_EQ(IndexFileAccess::Missing, WipeIndexFile(folder_ / L"no folder\\index.dat", kMainIndexOffset));

    const std::wstring path = folder_.Write(L"held\\index.dat", Pattern(30000));
    {
        const auto locked = Lock(path);
        ASSERT_TRUE(locked);
        EXPECT_EQ(IndexFileAccess::Unopenable, ProbeIndexFile(path));
        EXPECT_EQ(IndexFileAccess::Unopenable, WipeIndexFile(path, kMainIndexOffset));
    }
    {
        const auto live = HoldLikeTheCache(path);
        ASSERT_TRUE(live);
        EXPECT_EQ(IndexFileAccess::InUse, ProbeIndexFile(path));
        EXPECT_EQ(IndexFileAccess::InUse, WipeIndexFile(path, kMainIndexOffset));
    }
    EXPECT_TRUE(ReadAll(path) == Pattern(30000));
    EXPECT_EQ(IndexFileAccess::Writable, ProbeIndexFile(path));
    EXPECT_TRUE(ReadAll(path) == Pattern(30000));

    // A read-only attribute cannot show it here: the tests run as root, whom Wine lets write anyway.
    const std::wstring folderNamedLikeTheFile = folder_.MakeFolder(L"folder\\index.dat");
    EXPECT_EQ(IndexFileAccess::Unopenable, WipeIndexFile(folderNamedLikeTheFile, kMainIndexOffset));
}

class IndexFiles : public BrowserFoldersTest {
  protected:
    const std::wstring cacheIndex_ = root_.Write(L"INetCache\\content.ie5\\index.dat", Pattern(30000));
    const std::wstring historyIndex_ = root_.Write(L"History\\History.IE5\\index.dat", Pattern(30000));
    const std::wstring cookiesIndex_ = root_.Write(L"INetCookies\\index.dat", Pattern(30000));

    bool IsWiped(const std::wstring& path) const { return ReadAll(path) == Wiped(30000, 24576, 29990); }
    bool IsUntouched(const std::wstring& path) const { return ReadAll(path) == Pattern(30000); }
};

// Overwritten, then removed: a cache opening it later would read the spaces as entries.
TEST_F(IndexFiles, FreeFilesAreWipedThenRemoved) {
    const auto reader = HoldForReading(historyIndex_);
    IECleaner().CleanIndexFiles();
    EXPECT_FALSE(PathExists(cacheIndex_));
    EXPECT_TRUE(IsWiped(historyIndex_));
    EXPECT_FALSE(PathExists(cookiesIndex_));
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(IndexFiles, ALiveCacheIndexIsLeftToItsCache) {
    const auto live = HoldLikeTheCache(cacheIndex_);
    IECleaner().CleanIndexFiles();
    EXPECT_TRUE(IsUntouched(cacheIndex_));
    EXPECT_FALSE(PathExists(historyIndex_));
    EXPECT_FALSE(PathExists(cookiesIndex_));
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(IndexFiles, ALockedHistoryFileStopsBeforeCookiesWithTheIndexAllMessage) {
    const auto reader = HoldForReading(cacheIndex_), locked = Lock(historyIndex_);
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
    const auto locked = Lock(cookiesIndex_);
    IECleaner().CleanIndexFiles();
    EXPECT_FALSE(PathExists(cacheIndex_));
    EXPECT_FALSE(PathExists(historyIndex_));
    EXPECT_EQ(std::vector<std::wstring>{L"Error IE Index: File could not be opened"}, messages_.Texts());
}

TEST_F(IndexFiles, MissingFilesAndFoldersAreNothingToWipe) {
    DeleteFileW(cacheIndex_.c_str());
    testing_support::ScopedShellFolder noHistory(L"History", root_ / L"no such folder");
    IECleaner().CleanIndexFiles();
    EXPECT_TRUE(IsUntouched(historyIndex_));
    EXPECT_FALSE(PathExists(cookiesIndex_));
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

// Files held open survive the emptying of the folder; the live main index is left to its cache.
TEST_F(BrowserHistory, EmptiesTheFolderAndWipesOnlyThePeriodIndexFiles) {
    const auto live = HoldLikeTheCache(historyIndex_), period = HoldForReading(periodIndex_),
               other = HoldForReading(otherIndex_), desktop = HoldForReading(desktopIni_);
    const HRESULT result = IECleaner().CleanBrowserHistory(nullptr);
    EXPECT_TRUE(IsUntouched(historyIndex_));
    EXPECT_TRUE(ReadAll(periodIndex_) == Wiped(1000, 100, 990));
    EXPECT_TRUE(ReadAll(otherIndex_) == Pattern(1000));
    EXPECT_TRUE(ReadAll(desktopIni_) == Pattern(1000));
    EXPECT_FALSE(PathExists(visited_));
    EXPECT_FALSE(PathExists(nested_));
    EXPECT_TRUE(PathExists(history_));
    EXPECT_TRUE(sentinel_.Intact());
    EXPECT_TRUE(messages_.Shown().empty());
    EXPECT_EQ(E_NOTIMPL, result); // Wine's history store does not implement ClearHistory
}

// An index file the emptying removed is nothing to wipe: the history store is still cleared.
TEST_F(BrowserHistory, IndexFileRemovedWithTheFolderIsNoError) {
    const HRESULT result = IECleaner().CleanBrowserHistory(nullptr);
    EXPECT_FALSE(PathExists(historyIndex_));
    EXPECT_TRUE(messages_.Shown().empty());
    EXPECT_EQ(E_NOTIMPL, result);
    EXPECT_TRUE(sentinel_.Intact());
}

TEST_F(BrowserHistory, ALockedPeriodFileStopsWithTheBrowserHMessage) {
    const auto reader = HoldForReading(historyIndex_), locked = Lock(periodIndex_);
    EXPECT_EQ(0, IECleaner().CleanBrowserHistory(nullptr));
    EXPECT_TRUE(IsWiped(historyIndex_));
    EXPECT_EQ(std::vector<std::wstring>{L"Error IE BrowserH: File could not be opened"}, messages_.Texts());
}

TEST_F(BrowserHistory, ALockedMainFileStopsWithTheIndexMessage) {
    const auto locked = Lock(historyIndex_), period = HoldForReading(periodIndex_);
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
    const auto mainHeld = HoldForReading(main), otherHeld = HoldForReading(other);
    IECleaner().CleanBrowserHistory(nullptr);
    EXPECT_TRUE(IsWiped(main));
    EXPECT_TRUE(ReadAll(other) == Pattern(1000));
    EXPECT_TRUE(messages_.Shown().empty());
}

} // namespace
