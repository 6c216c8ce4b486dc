#include "cleaners/browsers/ie_cleaner.h"

#include "browser_folders_fixture.h"
#include "support/url_cache_fixture.h"
#include "common/scoped_handles.h"

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace browser_tests;

// Long enough that its entry record does not fit the first 4096-byte buffer.
std::wstring LongName(const std::wstring& prefix, const std::wstring& suffix) {
    return prefix + std::wstring(3000, L'x') + suffix;
}

class UrlCache : public BrowserFoldersTest {
  protected:
    const std::wstring page_ = L"http://tracewipe.test/page";
    const std::wstring longPage_ = LongName(L"http://tracewipe.test/", L"/long");
    const std::wstring cookie_ = L"Cookie:user@tracewipe.test/";
    const std::wstring longCookie_ = LongName(L"Cookie:user@tracewipe.test/", L"/long");
    const std::wstring otherLongCookie_ = LongName(L"Cookie:user@other.tracewipe.test/", L"/long");
    const std::wstring cacheIndex_ =
        root_.Write(L"INetCache\\content.ie5\\index.dat", std::string(30000, 'i'));
    const std::wstring cookiesIndex_ = root_.Write(L"INetCookies\\index.dat", std::string(30000, 'i'));

    void SetUp() override {
        PlantLinkIn(cache_ + L"\\content.ie5");
        PlantLinkIn(cookies_);
        for (const auto& url : {page_, longPage_})
            ASSERT_TRUE(testing_support::MakeCacheEntry(url, NORMAL_CACHE_ENTRY));
        for (const auto& url : {cookie_, longCookie_, otherLongCookie_})
            ASSERT_TRUE(testing_support::MakeCacheEntry(url, COOKIE_CACHE_ENTRY));
    }
    void TearDown() override {
        for (const auto& url : {page_, longPage_, cookie_, longCookie_, otherLongCookie_})
            DeleteUrlCacheEntryW(url.c_str());
        EXPECT_TRUE(sentinel_.Intact());
    }
    bool Untouched(const std::wstring& path) const {
        return testing_support::ReadAll(path) == std::string(30000, 'i');
    }
};

TEST_F(UrlCache, CleanCacheDeletesEveryEntryButTheCookies) {
    EXPECT_EQ(1, IECleaner().CleanCache(1));
    EXPECT_FALSE(testing_support::HasCacheEntry(page_));
    EXPECT_FALSE(testing_support::HasCacheEntry(longPage_));
    EXPECT_TRUE(testing_support::HasCacheEntry(cookie_));
    EXPECT_TRUE(testing_support::HasCacheEntry(longCookie_));
    EXPECT_FALSE(testing_support::PathExists(cacheIndex_)); // wiped, then removed
    EXPECT_TRUE(Untouched(cookiesIndex_));
    EXPECT_TRUE(messages_.Shown().empty());
}

// Both cookies are too long for the first buffer, so the first entry found needs a larger one.
TEST_F(UrlCache, CleanCookiesDeletesOnlyTheCookies) {
    DeleteUrlCacheEntryW(cookie_.c_str());
    EXPECT_EQ(1, IECleaner().CleanCookies(1));
    EXPECT_FALSE(testing_support::HasCacheEntry(longCookie_));
    EXPECT_FALSE(testing_support::HasCacheEntry(otherLongCookie_));
    EXPECT_TRUE(testing_support::HasCacheEntry(page_));
    EXPECT_TRUE(testing_support::HasCacheEntry(longPage_));
    EXPECT_FALSE(testing_support::PathExists(cookiesIndex_));
    EXPECT_TRUE(Untouched(cacheIndex_));
    EXPECT_TRUE(messages_.Shown().empty());
}

// The counts walk what the clean walks: entries with the bytes of their 5-byte files, the cookies apart, the
// long records that need a larger buffer included; after the clean nothing of either is left.
TEST_F(UrlCache, CountsAreTheEntriesTheCleanDeletes) {
    const UrlCacheFigures cache = IECleaner::CountCache(), cookies = IECleaner::CountCookies();
    EXPECT_EQ(2u, cache.entries);
    EXPECT_EQ(10u, cache.bytes);
    EXPECT_EQ(3u, cookies.entries);
    EXPECT_EQ(15u, cookies.bytes);
    EXPECT_TRUE(testing_support::HasCacheEntry(page_)) << "counting deletes nothing";
    EXPECT_EQ(1, IECleaner().CleanCache(1));
    EXPECT_EQ(0u, IECleaner::CountCache().entries);
    EXPECT_EQ(3u, IECleaner::CountCookies().entries);
    EXPECT_EQ(1, IECleaner().CleanCookies(1));
    EXPECT_EQ(0u, IECleaner::CountCookies().entries);
}

TEST_F(UrlCache, AnUnopenableIndexFileStopsBeforeAnyEntryIsDeleted) {
    struct Case {
        int32_t (IECleaner::*clean)(int32_t);
        std::wstring index;
        std::wstring message;
    };
    const Case cases[] = {
        {&IECleaner::CleanCache, cacheIndex_, L"Error IE Cache: File could not be opened"},
        {&IECleaner::CleanCookies, cookiesIndex_, L"Error IE Cookies: File could not be opened"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.message));
        scoped::FileHandle holder(
            CreateFileW(c.index.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        IECleaner cleaner;
        EXPECT_EQ(0, (cleaner.*c.clean)(1));
        EXPECT_EQ(c.message, messages_.Texts().back());
        for (const auto& url : {page_, longPage_, longCookie_, otherLongCookie_})
            EXPECT_TRUE(testing_support::HasCacheEntry(url));
    }
    EXPECT_EQ(2u, messages_.Shown().size());
}

TEST_F(UrlCache, WithoutTheIndexFlagOnlyEntriesGo) {
    scoped::FileHandle holder(
        CreateFileW(cacheIndex_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(1, IECleaner().CleanCache(0));
    EXPECT_FALSE(testing_support::HasCacheEntry(page_));
    EXPECT_TRUE(messages_.Shown().empty());
    holder.Reset();
    EXPECT_TRUE(Untouched(cacheIndex_));
}

// No entry at all is no normal end of a walk: there was none.
TEST_F(UrlCache, AnEmptyCookieStoreReportsNoWalk) {
    for (const auto& url : {cookie_, longCookie_, otherLongCookie_})
        DeleteUrlCacheEntryW(url.c_str());
    IECleaner().CleanCookies(0); // any cookie of earlier runs
    EXPECT_EQ(0, IECleaner().CleanCookies(0));
    EXPECT_TRUE(testing_support::HasCacheEntry(page_));
}

// The prefix's own cache, whose index files WinINet holds open while this program uses it: they are left
// to it, so the cache stays readable (an overwritten live index made the next cache call fault).
TEST(LiveUrlCache, CleanersLeaveTheLiveIndexReadable) {
    MessageRecorder messages;
    const std::wstring page = L"http://live.tracewipe.test/page",
                       cookie = L"Cookie:user@live.tracewipe.test/";
    ASSERT_TRUE(testing_support::MakeCacheEntry(page, NORMAL_CACHE_ENTRY));
    ASSERT_TRUE(testing_support::MakeCacheEntry(cookie, COOKIE_CACHE_ENTRY));
    // Enough records to reach past the kept header of the index.
    for (int i = 0; i < 300; ++i)
        testing_support::MakeCacheEntry(page + std::to_wstring(i), NORMAL_CACHE_ENTRY);
    IECleaner cleaner;
    cleaner.CleanBrowserHistory(nullptr);
    EXPECT_EQ(1, cleaner.CleanCache(1));
    EXPECT_FALSE(testing_support::HasCacheEntry(page));
    EXPECT_TRUE(testing_support::HasCacheEntry(cookie));
    EXPECT_EQ(1, cleaner.CleanCookies(1));
    EXPECT_FALSE(testing_support::HasCacheEntry(cookie));
    cleaner.CleanIndexFiles();
    EXPECT_TRUE(messages.Shown().empty());

    ASSERT_TRUE(testing_support::MakeCacheEntry(page, NORMAL_CACHE_ENTRY));
    EXPECT_TRUE(testing_support::HasCacheEntry(page));
    EXPECT_EQ(1, cleaner.CleanCache(1));
    EXPECT_FALSE(testing_support::HasCacheEntry(page));
}

} // namespace
