// The option panels on a real engine page: boxes follow the flags, a box change flips one flag, and a tab
// switch shows the guidance or the Clean button by the rules of the tab.
#include "settings/clean_selection.h"
#include "settings/option_panels.h"
#include "ui/element_ops.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The ids the panels work on, and some boxes; `no_box` is a box the program does not know.
constexpr char kPage[] = R"html(<html><body>
<div id=pannel_guide><span id=pannel_guide_text>start text</span></div>
<div id=win_tab_msg>w</div><div id=brow_tab_msg>b</div><div id=panel_note>n</div>
<button id=btn_panelClean>Clean</button>
<button type=checkbox id=temp_files></button><button type=checkbox id=logon_user></button>
<button type=checkbox id=ie_downloadlocation disabled></button><button type=checkbox id=gc_pwd></button>
<button type=checkbox id=load_startup></button><button type=checkbox id=hot_key></button>
<button type=checkbox id=no_box></button>
<div id=main_panel_window></div><div id=main_panel_browser></div><div id=main_panel_setting></div>
<div id=main_panel_store></div><div id=windows_cleaning></div><div id=windows_application></div>
<div id=windows_startmenu></div><div id=browser_ie></div><div id=browser_chrome></div>
<div id=browser_firefox></div><div id=browser_edge></div><div id=browser_brave></div><div id=elsewhere></div>
</body></html>)html";

void HLCALL KeepText(const wchar_t* chars, unsigned length, void* out) {
    static_cast<std::wstring*>(out)->assign(chars, length);
}

class OptionPanels : public ::testing::Test {
protected:
    void SetUp() override {
        hwnd_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_TRUE(Load(kPage));
        saved_ = CleanSelection;
        CleanSelection = SelectionRecord{};
    }
    void TearDown() override {
        CleanSelection = saved_;
        view_ = TabGuidance{};
        root_.reset();
        HTMLayoutReleaseWindow(hwnd_);
        DestroyWindow(hwnd_);
    }
    bool Load(const std::string& html) {
        view_ = TabGuidance{};
        root_.reset();
        bool loaded = HTMLayoutLoadHtml(hwnd_, reinterpret_cast<const unsigned char*>(html.data()),
                                        static_cast<unsigned>(html.size()));
        root_ = htmlayout::RootOf(hwnd_);
        return loaded;
    }
    htmlayout::scoped_element Find(const wchar_t* id) const { return htmlayout::FindById(root_, id); }
    bool Checked(const wchar_t* id) const { return htmlayout::GetStates(Find(id)) & STATE_CHECKED; }
    bool Shown(const wchar_t* id) const {
        const wchar_t* display = nullptr;
        HTMLayoutGetStyleAttribute(Find(id), "display", &display);
        return display && std::wstring(display) != L"none";
    }
    // Which of guide, windows introduction, browser introduction, note and Clean button show.
    std::string Visible() const {
        std::string shown;
        for (auto [id, letter] : {std::pair{L"pannel_guide", 'g'}, {L"win_tab_msg", 'w'}, {L"brow_tab_msg", 'b'},
                                  {L"panel_note", 'n'}, {L"btn_panelClean", 'c'}})
            if (Shown(id)) shown += letter;
        return shown;
    }
    void Expand(const wchar_t* id) { OnTabExpanded(view_, Find(id)); }
    std::wstring GuideText() const {
        std::wstring text;
        HTMLayoutGetElementInnerText16(Find(L"pannel_guide_text"), KeepText, &text);
        return text;
    }

    HWND hwnd_ = nullptr;
    htmlayout::scoped_element root_;
    TabGuidance view_;
    SelectionRecord saved_{};
};

TEST_F(OptionPanels, SyncsSetEveryBoxFromItsFlagAndSkipBoxesThePageLacks) {
    CleanSelection.temp_files = 1;
    CleanSelection.ie_downloadlocation = 7; // any nonzero value counts
    CleanSelection.load_startup = 1;
    htmlayout::SetStates(Find(L"logon_user"), STATE_CHECKED, 0);
    htmlayout::SetStates(Find(L"hot_key"), STATE_CHECKED, 0);
    SyncWindowsBoxes(root_);
    SyncIeBoxes(root_);
    SyncFfBoxes(root_); // no Firefox box on this page
    SyncGcBoxes(root_);
    SyncSettingBoxes(root_);
    EXPECT_TRUE(Checked(L"temp_files"));
    EXPECT_FALSE(Checked(L"logon_user")) << "a cleared flag clears the box";
    EXPECT_TRUE(Checked(L"ie_downloadlocation")) << "disabled boxes show their flag too";
    EXPECT_FALSE(Checked(L"gc_pwd"));
    EXPECT_TRUE(Checked(L"load_startup"));
    EXPECT_FALSE(Checked(L"hot_key"));
}

TEST_F(OptionPanels, BoxChangeFlipsOnlyItsFlagAndTwiceRestoresIt) {
    CleanSelection.gc_pwd = 5;
    const SelectionRecord before = CleanSelection;
    ToggleItemById(Find(L"temp_files"));
    ToggleItemById(Find(L"gc_pwd"));
    ToggleItemById(Find(L"hot_key"));
    EXPECT_EQ(CleanSelection.temp_files, 1);
    EXPECT_EQ(CleanSelection.gc_pwd, 0);
    EXPECT_EQ(CleanSelection.hot_key, 1);
    EXPECT_EQ(CleanSelection.logon_user, 0);
    ToggleItemById(Find(L"temp_files"));
    ToggleItemById(Find(L"hot_key"));
    EXPECT_EQ(CleanSelection.temp_files, before.temp_files);
    EXPECT_EQ(CleanSelection.hot_key, before.hot_key);

    const SelectionRecord now = CleanSelection;
    ToggleItemById(Find(L"no_box"));
    ToggleItemById(Find(L"btn_panelClean"));
    ToggleItemById(nullptr);
    EXPECT_EQ(memcmp(&now, &CleanSelection, sizeof now), 0) << "ids of no item change nothing";
}

TEST_F(OptionPanels, TabsShowGuidanceUntilASubTabIsChosenAndRememberIt) {
    InitTabGuidance(view_, root_);
    EXPECT_EQ(Visible(), "gw");
    EXPECT_EQ(GuideText(), L"start text") << "the page's own text stays until a tab switch";

    Expand(L"main_panel_browser");
    EXPECT_EQ(view_.mainTab, 2);
    EXPECT_EQ(Visible(), "gb");
    EXPECT_EQ(GuideText(), L"Select \"Browser History\" options you want to clean...");

    Expand(L"browser_chrome");
    EXPECT_EQ(view_.browserSubTab, 2);
    EXPECT_EQ(Visible(), "nc");

    Expand(L"main_panel_window");
    EXPECT_EQ(view_.mainTab, 1);
    EXPECT_EQ(Visible(), "gw") << "no Windows sub-tab chosen yet";
    EXPECT_EQ(GuideText(), L"Select \"Windows History\" options you want to clean...");
    EXPECT_EQ(GuideText().size(), 53u);

    for (auto [id, expected] : {std::pair{L"windows_cleaning", 1}, {L"windows_startmenu", 3},
                                {L"windows_application", 2}}) {
        Expand(id);
        EXPECT_EQ(view_.windowsSubTab, expected);
        EXPECT_EQ(Visible(), "nc");
    }
    for (auto [id, expected] :
         {std::pair{L"browser_edge", 4}, {L"browser_brave", 5}, {L"browser_ie", 1}, {L"browser_firefox", 3}}) {
        Expand(id);
        EXPECT_EQ(view_.browserSubTab, expected);
    }

    for (auto [id, tab] : {std::pair{L"main_panel_setting", 3}, {L"main_panel_store", 4}}) {
        Expand(id);
        EXPECT_EQ(view_.mainTab, tab);
        EXPECT_EQ(Visible(), "") << "Settings and Store show no guidance and no Clean button";
    }
    Expand(L"elsewhere");
    EXPECT_EQ(Visible(), "");
    EXPECT_EQ(view_.mainTab, 4);

    Expand(L"main_panel_window");
    EXPECT_EQ(Visible(), "nc") << "the chosen sub-tab is remembered";
    Expand(L"main_panel_browser");
    EXPECT_EQ(Visible(), "nc");
    EXPECT_EQ(view_.windowsSubTab, 2);
    EXPECT_EQ(view_.browserSubTab, 3);
}

TEST_F(OptionPanels, PageWithoutTheGuidanceElementsStillRecordsTabs) {
    ASSERT_TRUE(Load("<html><body><div id=main_panel_browser></div><div id=browser_ie></div>"
                     "<button type=checkbox id=ie_urls></button></body></html>"));
    InitTabGuidance(view_, root_);
    Expand(L"main_panel_browser");
    Expand(L"browser_ie");
    EXPECT_EQ(view_.mainTab, 2);
    EXPECT_EQ(view_.browserSubTab, 1);
    CleanSelection.ie_urls = 1;
    SyncIeBoxes(root_);
    SyncWindowsBoxes(root_);
    EXPECT_TRUE(Checked(L"ie_urls"));
}

} // namespace
