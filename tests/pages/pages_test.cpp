// The four pages as Tracewipe carries them: read from this program's own resources, loaded into the engine,
// and held to the ids, texts, titles, initial states and sizes that the program's code looks up.
#include "engine_window.h"

#include "settings/clean_item_catalogue.h"
#include "ui/resource_data.h"
#include "ui/resource_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using engine_test::EngineWindow;

std::string PageText(std::optional<htmlayout::resource_bytes> bytes) {
    return bytes ? std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size()) : std::string();
}

void HLCALL KeepText(const wchar_t* chars, unsigned length, void* out) {
    static_cast<std::wstring*>(out)->assign(chars, length);
}

int HLCALL Count(HELEMENT, void* count) {
    ++*static_cast<int*>(count);
    return 0;
}

std::string Page(unsigned id) { return PageText(htmlayout::LoadPage(id)); }
std::string MainPage() { return PageText(htmlayout::LoadPage(htmlayout::kMainPageName)); }

class PageTest : public ::testing::Test {
protected:
    void Load(const std::string& html) {
        ASSERT_FALSE(html.empty());
        window.Load(html);
    }

    HELEMENT ById(std::wstring_view id) const {
        std::string selector = "[id='" + std::string(id.begin(), id.end()) + "']";
        return window.Find(selector.c_str());
    }

    std::wstring Text(std::wstring_view id) const {
        HELEMENT he = ById(id);
        if (!he) return L"<missing>";
        std::wstring text;
        HTMLayoutGetElementInnerText16(he, KeepText, &text);
        return text;
    }

    std::wstring FirstChildText(std::wstring_view id) const {
        HELEMENT first = nullptr;
        std::wstring text;
        if (HELEMENT he = ById(id); he && HTMLayoutGetNthChild(he, 0, &first) == HL_OK && first)
            HTMLayoutGetElementInnerText16(first, KeepText, &text);
        return text;
    }

    std::wstring Attribute(std::wstring_view id, const char* name) const {
        HELEMENT he = ById(id);
        return he ? window.Attribute(he, name) : L"<missing>";
    }

    std::wstring InlineDisplay(std::wstring_view id) const {
        const wchar_t* value = nullptr;
        HELEMENT he = ById(id);
        if (!he || HTMLayoutGetStyleAttribute(he, "display", &value) != HL_OK || !value) return L"<none>";
        return value;
    }

    RECT Box(std::wstring_view id) const {
        RECT rc{};
        if (HELEMENT he = ById(id)) HTMLayoutGetElementLocation(he, &rc, ROOT_RELATIVE | BORDER_BOX);
        return rc;
    }

    bool Matches(std::wstring_view id, const char* selector) const {
        int matches = 0;
        HELEMENT he = ById(id);
        return he && HTMLayoutElementMatches(he, selector, &matches) == HL_OK && matches;
    }

    std::pair<UINT, UINT> MinSize() const {
        UINT width = HTMLayoutGetMinWidth(window.Hwnd());
        return {width, HTMLayoutGetMinHeight(window.Hwnd(), width)};
    }

    bool Requested(const wchar_t* url) const {
        for (const std::wstring& request : window.loadRequests)
            if (request == url) return true;
        return false;
    }

    EngineWindow window;
};

// Tracewipe.exe links the pages' generated resources beside its own .rc; both must survive the link, and
// every picture a page names (in markup or in its style sheet, in any state) must be found by the name rules.
TEST(PageResources, LiveBesideTheProgramsOwnAndNameOnlyPicturesThatExist) {
    EXPECT_NE(FindResourceW(nullptr, MAKEINTRESOURCEW(7), MAKEINTRESOURCEW(10)), nullptr);
    EXPECT_NE(FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)), nullptr);

    const std::regex picture(R"((?:url\(\s*["']?|src=["'])([^"')]+\.png))", std::regex::icase);
    std::set<std::string> named;
    for (const std::string& html : {MainPage(), Page(117), Page(191), Page(192)}) {
        ASSERT_FALSE(html.empty());
        EXPECT_EQ(html.find("<link"), std::string::npos) << "style sheets are inlined, one resource a page";
        for (auto it = std::sregex_iterator(html.begin(), html.end(), picture); it != std::sregex_iterator(); ++it)
            named.insert((*it)[1]);
    }
    EXPECT_GT(named.size(), 20u);
    for (const std::string& name : named) {
        std::wstring url(name.begin(), name.end());
        EXPECT_TRUE(htmlayout::ResourceForUrl(url).has_value()) << name;
    }
}

class MainPageTest : public PageTest {
protected:
    void SetUp() override { Load(MainPage()); }
};

TEST_F(MainPageTest, HasTheWindowsSizeCaptionButtonsAndCommands) {
    EXPECT_EQ(MinSize(), std::make_pair(702u, 502u));
    const std::pair<const wchar_t*, const wchar_t*> titles[] = {
        {L"exit", L"Exit"},          {L"minimize", L"Minimize"},
        {L"movetray", L"Move to Tray"}, {L"about", L"About"},
        {L"btn_cleanAll", L"Clean All Items"}, {L"btn_QuickClean", L"Clean All Selected Items"},
    };
    for (auto [id, title] : titles) EXPECT_EQ(Attribute(id, "title"), title) << id;
    for (const wchar_t* id : {L"exit", L"minimize", L"movetray", L"about"})
        EXPECT_TRUE(Matches(id, "#main_div button")) << id << " lies in the drag area";

    const std::pair<const wchar_t*, const wchar_t*> texts[] = {
        {L"update", L"Check for Updates"},
        {L"apply", L"Apply"},
        {L"btn_panelClean", L"Clean"},
        {L"btn_cleanAll", L"Clean All"},
        {L"btn_QuickClean", L"Clean Now"},
        {L"pannel_guide_text", L"Select \"Windows History\" options you want to clean..."},
        {L"win_tab_msg",
         L"Tracewipe is designed to protect your privacy by cleaning up all unwanted history generated by windows."},
        {L"brow_tab_msg", L"Tracewipe protects your privacy and improve your PC performance by cleaning unwanted data "
                          L"and internet tracks."},
        {L"panel_note", L"Note: This green \"Clean\" Button can only clean current tab selected items."},
    };
    for (auto [id, text] : texts) EXPECT_EQ(Text(id), text) << id;
    EXPECT_TRUE(Matches(L"pannel_guide_text", "#pannel_guide > *"));
    EXPECT_NE(window.Find("#pannel_guide > img"), nullptr);
    EXPECT_NE(window.Find("#company_logo_bottom img"), nullptr);
    EXPECT_NE(window.Find("#product_link img"), nullptr);
    EXPECT_TRUE(Matches(L"company_logo_bottom", "a[href]"));
    EXPECT_TRUE(Matches(L"product_link", "a[href]"));

    std::string html = MainPage();
    EXPECT_NE(html.find("Basic settings to control how Tracewipe functions"), std::string::npos);
    EXPECT_NE(html.find("\"Download\" or \"BUY\" our high-quality, low-price and easy-to-use software."),
              std::string::npos);
    EXPECT_TRUE(Matches(L"update", "[name=panel_setting] button"));
    EXPECT_TRUE(Matches(L"product_link", "[name=panel_store] a"));
}

TEST_F(MainPageTest, HasOneBoxPerCatalogueEntryWithItsLabelAndDisabledState) {
    int boxes = 0;
    HTMLayoutSelectElements(window.Root(), "button[type=checkbox]", Count, &boxes);
    EXPECT_EQ(boxes, static_cast<int>(Catalogue().size()));
    for (const CatalogueEntry& entry : Catalogue()) {
        SCOPED_TRACE(std::wstring(entry.boxId));
        EXPECT_TRUE(Matches(entry.boxId, entry.IsCleanItem() ? "button[type=checkbox].option"
                                                             : "button[type=checkbox].option2"));
        EXPECT_EQ(Text(entry.boxId), entry.label);
        unsigned state = 0;
        HTMLayoutGetElementState(ById(entry.boxId), &state);
        EXPECT_EQ((state & STATE_DISABLED) != 0, entry.disabled);
        EXPECT_EQ(state & STATE_CHECKED, 0u) << "the program sets the boxes from the stored selection";
    }
}

// The tabs behavior gives an initial selection only to a strip of class "strip": the sub-tab rows are of other
// classes, so that no sub-tab is current at start-up.
TEST_F(MainPageTest, TabsFollowTheStructureTheTabsBehaviorExpects) {
    EXPECT_EQ(std::count(window.behaviorRequests.begin(), window.behaviorRequests.end(), "tabs"), 3);

    const std::pair<const wchar_t*, const wchar_t*> mainTabs[] = {
        {L"main_panel_window", L"Windows History"}, {L"main_panel_browser", L"Browser History"},
        {L"main_panel_setting", L"Settings"},      {L"main_panel_store", L"Store"}};
    for (auto [id, label] : mainTabs) {
        EXPECT_TRUE(Matches(id, ".tabs > .strip > [panel]")) << id;
        EXPECT_EQ(Text(id), label);
    }
    EXPECT_EQ(Attribute(L"main_panel_window", "selected"), L"");
    for (const char* panel : {"panel_window", "panel_browser", "panel_setting", "panel_store"}) {
        std::string selector = ".tabs > .strip ~ [name=" + std::string(panel) + "], .tabs > [name=" + panel + "]";
        EXPECT_NE(window.Find(selector.c_str()), nullptr) << panel;
    }

    // Sub-tabs in strip order, each showing its group's panel and carrying its group's label.
    const std::pair<const wchar_t*, CleanGroup> windowsTabs[] = {{L"windows_startmenu", CleanGroup::StartMenu},
                                                                 {L"windows_cleaning", CleanGroup::WindowsCleaning},
                                                                 {L"windows_application", CleanGroup::Programs}};
    const std::pair<const wchar_t*, CleanGroup> browserTabs[] = {{L"browser_ie", CleanGroup::InternetExplorer},
                                                                 {L"browser_firefox", CleanGroup::Firefox},
                                                                 {L"browser_chrome", CleanGroup::Chrome},
                                                                 {L"browser_edge", CleanGroup::MicrosoftEdge},
                                                                 {L"browser_brave", CleanGroup::Brave}};
    auto checkRow = [&](const auto& tabs, const char* stripClass, const char* mainPanel) {
        unsigned expectedIndex = 0;
        for (auto [id, group] : tabs) {
            SCOPED_TRACE(std::wstring(id));
            EXPECT_TRUE(Matches(id, (std::string(".tabs > .") + stripClass + " > [panel]").c_str()));
            EXPECT_TRUE(Matches(id, (std::string("[name=") + mainPanel + "] *").c_str()));
            unsigned index = 99;
            HTMLayoutGetElementIndex(ById(id), &index);
            EXPECT_EQ(index, expectedIndex++);
            std::wstring panel = Attribute(id, "panel");
            std::string selector = "[name='" + std::string(panel.begin(), panel.end()) + "']";
            HELEMENT shown = window.Find(selector.c_str());
            ASSERT_NE(shown, nullptr);
            for (const CatalogueEntry& entry : Catalogue()) {
                if (entry.group != group) continue;
                EXPECT_TRUE(Matches(entry.boxId, (selector + " button").c_str())) << std::wstring(entry.boxId);
            }
            for (const CleanGroupInfo& info : CleanGroups()) {
                if (info.code != group) continue;
                std::wstring label(info.subTabLabel);
                std::erase(label, L'\n'); // the second line is a <br>
                EXPECT_EQ(Text(id), label);
                EXPECT_EQ(info.subTabLabel.find(L'\n') != std::wstring_view::npos,
                          window.Find(("#" + std::string(id, id + wcslen(id)) + " > br").c_str()) != nullptr);
            }
        }
    };
    checkRow(windowsTabs, "sub-strip", "panel_window");
    checkRow(browserTabs, "sub-strip2", "panel_browser");
    EXPECT_EQ(Attribute(L"windows_cleaning", "selected"), L"");
    EXPECT_EQ(Attribute(L"browser_ie", "selected"), L"");
}

class ProgressPageTest : public PageTest {
protected:
    void SetUp() override { Load(Page(htmlayout::kProgressPageId)); }
};

// Line id and text of every line, per group, in page order.
const std::vector<std::pair<CleanGroup, std::vector<std::pair<const wchar_t*, const wchar_t*>>>> kLines = {
    {CleanGroup::WindowsCleaning,
     {{L"temp_files", L"Temp Files / Folders"}, {L"clipboard", L"Clipboard"}, {L"recylebin", L"Empty Recycle Bin"},
      {L"opensavedialog", L"Open / Save Dialog"}}},
    {CleanGroup::Programs,
     {{L"mediaplayer", L"Media Player History"}, {L"mspaint", L"MS Paint History"}, {L"wordpad", L"Word Pad History"}}},
    {CleanGroup::StartMenu,
     {{L"recentdoc", L"Recent Document History"}, {L"run", L"Run History"}, {L"windowssearch", L"Windows Search History"},
      {L"findcomputer", L"Find Computer History"}, {L"network", L"Network History"}, {L"logon", L"LogOn User History"}}},
    {CleanGroup::InternetExplorer,
     {{L"ie_url", L"Type URLs"}, {L"ie_cookies", L"Cookies"}, {L"ie_browserhistory", L"Browser History"},
      {L"ie_autoform", L"Auto Complete Forms & Passwords"}, {L"ie_cache", L"Internet Cache"}, {L"ie_index", L"Index.dat"},
      {L"ie_downloadlocation", L"Last Download Location"}}},
    {CleanGroup::Firefox,
     {{L"ff_cache", L"Cache"}, {L"ff_cookies", L"Cookies"}, {L"ff_url", L"URLs"}, {L"ff_lastsesion", L"Last Sesion"},
      {L"ff_autoforms", L"Auto Complete Forms"}, {L"ff_downloadhistory", L"Download History"},
      {L"ff_passwords", L"Passwords"}}},
    {CleanGroup::Chrome,
     {{L"gc_cache", L"Cache"}, {L"gc_cookies", L"Cookies"}, {L"gc_url", L"URLs"}, {L"gc_password", L"Passwords"},
      {L"gc_lastsession", L"Last Session"}, {L"gc_downloadhistory", L"Download History"}}},
    {CleanGroup::MicrosoftEdge,
     {{L"me_cache", L"Cache"}, {L"me_cookies", L"Cookies"}, {L"me_url", L"URLs"}, {L"me_password", L"Passwords"},
      {L"me_lastsession", L"Last Session"}, {L"me_downloadhistory", L"Download History"}}},
    {CleanGroup::Brave,
     {{L"br_cache", L"Cache"}, {L"br_cookies", L"Cookies"}, {L"br_url", L"URLs"}, {L"br_password", L"Passwords"},
      {L"br_lastsession", L"Last Session"}, {L"br_downloadhistory", L"Download History"}}},
};

TEST_F(ProgressPageTest, StartsWithEveryListHiddenAndCarriesTheLinesTheDialogShows) {
    EXPECT_NE(Text(L"main_heading").find(L"Cleaning Item List"), std::wstring::npos);
    EXPECT_TRUE(Matches(L"exit", "#main_heading button"));
    EXPECT_EQ(Attribute(L"exit", "title"), L"Exit");
    EXPECT_EQ(Text(L"btn_Clean"), L"Clean");
    EXPECT_TRUE(Matches(L"progress_txt", "span"));

    unsigned type = 0;
    HTMLayoutControlGetType(ById(L"progress_bar"), &type);
    EXPECT_EQ(type, static_cast<unsigned>(CTL_PROGRESS));
    EXPECT_EQ(Attribute(L"progress_bar", "max"), L"100");

    int lines = 0;
    for (const CleanGroupInfo& info : CleanGroups()) {
        SCOPED_TRACE(std::wstring(info.listId));
        EXPECT_EQ(InlineDisplay(info.sectionId), L"none");
        EXPECT_EQ(InlineDisplay(info.listId), L"none");
        EXPECT_TRUE(Matches(info.listId, ("#" + std::string(info.sectionId.begin(), info.sectionId.end()) + " *").c_str()));
        EXPECT_EQ(FirstChildText(info.listId), info.listHeading);
        for (const auto& [group, groupLines] : kLines) {
            if (group != info.code) continue;
            for (auto [id, text] : groupLines) {
                EXPECT_EQ(Text(id), text);
                EXPECT_EQ(InlineDisplay(id), L"none") << id;
                EXPECT_TRUE(Matches(id, ("#" + std::string(info.listId.begin(), info.listId.end()) + " *").c_str())) << id;
                ++lines;
            }
        }
    }
    EXPECT_EQ(lines, kCleanItemCount);
    EXPECT_EQ(FirstChildText(L"windows_history_list"), L"Windows History");
    EXPECT_EQ(FirstChildText(L"browser_history_list"), L"Browser History");
    for (const CatalogueEntry& entry : Catalogue()) {
        if (!entry.IsCleanItem()) continue;
        EXPECT_NE(ById(entry.lineId), nullptr) << std::wstring(entry.lineId);
    }
}

// The dialog takes the page's minimal size: with all 45 lines shown the list scrolls and the dialog keeps its
// size; the engine draws no bar of its own, so the page's fill follows the value the dialog sets.
TEST_F(ProgressPageTest, ListScrollsWhenEveryLineShowsAndTheBarFollowsItsValue) {
    auto before = MinSize();
    std::vector<std::wstring> shown;
    for (const CleanGroupInfo& info : CleanGroups()) {
        shown.emplace_back(info.sectionId);
        shown.emplace_back(info.listId);
    }
    for (const auto& [group, groupLines] : kLines)
        for (auto [id, text] : groupLines) shown.emplace_back(id);
    for (const std::wstring& id : shown) HTMLayoutSetStyleAttribute(ById(id), "display", L"block");
    EXPECT_EQ(MinSize(), before);
    HELEMENT list = nullptr;
    HTMLayoutSelectParent(ById(L"windows_history_list"), "*", 2, &list);
    RECT listBox{};
    HTMLayoutGetElementLocation(list, &listBox, ROOT_RELATIVE | BORDER_BOX);
    EXPECT_GT(Box(L"br_downloadhistory").bottom, listBox.bottom);

    HELEMENT fill = window.Find("#progress_bar > *");
    ASSERT_NE(fill, nullptr);
    RECT bar = Box(L"progress_bar");
    for (int percent : {0, 50, 100}) {
        HL_VALUE value;
        ValueInit(&value);
        ValueIntDataSet(&value, percent, T_INT, 0);
        HTMLayoutControlSetValue(ById(L"progress_bar"), &value);
        RECT filled{};
        HTMLayoutGetElementLocation(fill, &filled, ROOT_RELATIVE | BORDER_BOX);
        EXPECT_EQ(filled.right - filled.left, (bar.right - bar.left) * percent / 100) << percent;
    }
}

class MessageBoxPageTest : public PageTest {
protected:
    void SetUp() override { Load(Page(htmlayout::kMsgBoxPageId)); }
};

TEST_F(MessageBoxPageTest, HasItsSizeBackgroundCaptionMessageAndDefaultCloseButton) {
    EXPECT_EQ(MinSize(), std::make_pair(340u, 198u));
    EXPECT_TRUE(Requested(L"txt-msg-bg.png"));
    EXPECT_TRUE(Matches(L"main_heading_text", "#main_heading span"));
    EXPECT_EQ(Text(L"main_heading_text"), L"Message Box");
    EXPECT_TRUE(Matches(L"exit", "#main_heading button"));
    EXPECT_EQ(Attribute(L"exit", "title"), L"Exit");
    EXPECT_NE(ById(L"msg_text"), nullptr);
    EXPECT_EQ(Text(L"close_btn"), L"Close");
    EXPECT_EQ(window.Find("[role='default-button']"), ById(L"close_btn"));
}

class AboutPageTest : public PageTest {
protected:
    void SetUp() override { Load(Page(htmlayout::kAboutPageId)); }
};

TEST_F(AboutPageTest, ShowsThePictureWithItsFourLinkAreasInPlace) {
    EXPECT_EQ(MinSize(), std::make_pair(435u, 342u));
    EXPECT_TRUE(Requested(L"about.png"));
    struct Area {
        const wchar_t* id;
        RECT box;
        const wchar_t* title;
    };
    const Area areas[] = {{L"website", {150, 218, 227, 241}, L"Go to our Website..."},
                          {L"product", {257, 218, 334, 241}, L"Go to Product Page..."},
                          {L"support", {181, 272, 237, 289}, L"support@example.com"},
                          {L"contact", {250, 272, 318, 289}, L"Go to Contact Us Page..."}};
    for (const Area& area : areas) {
        SCOPED_TRACE(std::wstring(area.id));
        EXPECT_TRUE(Matches(area.id, "a[href='#']"));
        EXPECT_EQ(Attribute(area.id, "title"), area.title);
        RECT box = Box(area.id);
        EXPECT_EQ(std::make_pair(box.left, box.top), std::make_pair(area.box.left, area.box.top));
        EXPECT_EQ(std::make_pair(box.right, box.bottom), std::make_pair(area.box.right, area.box.bottom));
        EXPECT_FALSE(Text(area.id).empty()) << "a link area shows its label";
    }
}

} // namespace
