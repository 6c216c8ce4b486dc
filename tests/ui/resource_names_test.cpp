// The pages' names for their resources: what a URL names, and what the engine gets for it.
#include "page_window.h"
#include "ui/resource_data.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using htmlayout::LoadOwnResource;
using htmlayout::LoadPage;
using htmlayout::ResourceForUrl;

bool SameBytes(std::optional<htmlayout::resource_bytes> a, std::optional<htmlayout::resource_bytes> b) {
    return a && b && a->data() == b->data() && a->size() == b->size();
}

TEST(ResourceNames, AnImageIsThePngResourceNamedByItsStemInUpperCase) {
    auto png = ResourceForUrl(L"about.png");
    ASSERT_TRUE(png);
    ASSERT_GT(png->size(), 8u);
    EXPECT_EQ(std::memcmp(png->data(), "\x89PNG", 4), 0);
    EXPECT_TRUE(SameBytes(png, LoadOwnResource(L"ABOUT", L"PNG")));
    EXPECT_TRUE(SameBytes(ResourceForUrl(L"About.PNG"), png)) << "names and types are found whatever their case";
}

TEST(ResourceNames, HtmlInAnyCaseAndNoExtensionBothNameTheHtmlResource) {
    auto page = LoadPage(L"TEST_PAGE");
    ASSERT_TRUE(page);
    for (const wchar_t* url : {L"test_page.html", L"Test_Page.HTML", L"TEST_PAGE.hTmL", L"test_page"})
        EXPECT_TRUE(SameBytes(ResourceForUrl(url), page)) << url;
    // An all-digit stem is an integer id: the dialogs' pages.
    EXPECT_TRUE(SameBytes(ResourceForUrl(L"191.html"), LoadPage(191u)));
    EXPECT_TRUE(SameBytes(ResourceForUrl(L"192"), LoadPage(192u)));
    EXPECT_TRUE(SameBytes(ResourceForUrl(L"main_skin.html"), LoadPage(L"MAIN_SKIN")));
}

TEST(ResourceNames, TwoDotsKeepTheFirstInTheNameAndTakeTheTypeAfterTheLast) {
    EXPECT_TRUE(SameBytes(ResourceForUrl(L"my.page.png"), LoadOwnResource(L"MY.PAGE", L"PNG")));
    EXPECT_FALSE(ResourceForUrl(L"my.page.html")) << "an HTML resource MY.PAGE does not exist";
}

TEST(ResourceNames, MissingOrEmptyResourcesAreNotFound) {
    for (const wchar_t* url : {L"", L"missing.png", L"empty.png", L"9004.html", L"about.", L".png", L"about.gif"})
        EXPECT_FALSE(ResourceForUrl(url)) << "'" << std::wstring(url).size() << "' chars: " << std::string(url, url + wcslen(url));
    EXPECT_FALSE(LoadPage(4242u));
    EXPECT_FALSE(LoadPage(0u));
    EXPECT_FALSE(LoadPage(70000u));
}

TEST(ResourceNames, LongUrlsAreLookedUpWholeNeverCut) {
    // 300 characters of name: longer than a MAX_PATH buffer, and found as it is.
    std::wstring name(300, L'L');
    EXPECT_TRUE(SameBytes(ResourceForUrl(name + L".png"), LoadOwnResource(name.c_str(), L"PNG")));
    // Cut to 259 characters, the same URL would name nothing.
    EXPECT_FALSE(ResourceForUrl(name.substr(0, 255) + L".png"));
    EXPECT_FALSE(ResourceForUrl(std::wstring(4000, L'u') + L".png"));
    EXPECT_FALSE(ResourceForUrl(std::wstring(4000, L'u')));
}

TEST(ResourceNames, AWindowGetsItsPagesImagesFromTheResources) {
    // The page names about.png and an image with a 4,000-character URL; the first arrives, the second does
    // not, and the page shows without it.
    ui_test::PageWindow window(9002, RECT{40, 40, 640, 440});
    RECT pic{}, missing{};
    HTMLayoutGetElementLocation(window.Find(L"pic"), &pic, ROOT_RELATIVE | BORDER_BOX);
    HTMLayoutGetElementLocation(window.Find(L"long"), &missing, ROOT_RELATIVE | BORDER_BOX);
    EXPECT_EQ(pic.right - pic.left, 435);
    EXPECT_EQ(pic.bottom - pic.top, 342);
    EXPECT_LT(missing.right - missing.left, 435);
}

} // namespace
