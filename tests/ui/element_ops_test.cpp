// Element operations on a page: what a missing element does (nothing), showing and hiding, and the control
// values whose meaning depends on the control's type.
#include "page_window.h"

#include <gtest/gtest.h>

namespace {

using namespace htmlayout;

std::wstring Display(HELEMENT he) {
    const wchar_t* display = nullptr;
    HTMLayoutGetStyleAttribute(he, "display", &display);
    return display ? display : L"";
}

struct ElementOps : ::testing::Test {
    ui_test::PageWindow window{9003, RECT{80, 80, 280, 200}};
    scoped_element root = RootOf(window.hwnd());
    unsigned Checked() const {
        unsigned bits = 0, i = 0;
        for (const wchar_t* id : {L"b0", L"b1", L"b2", L"r0", L"r1", L"r2"})
            bits |= (ui_test::Has(window.Find(id), STATE_CHECKED) ? 1u : 0u) << i++;
        return bits;
    }
};

TEST_F(ElementOps, AnElementThePageLacksIsNoneAndEveryOperationOnItDoesNothing) {
    scoped_element missing = FindById(root, L"absent");
    EXPECT_EQ(missing.get(), nullptr);
    EXPECT_EQ(FindFirst(root, L"[name='absent']").get(), nullptr);
    EXPECT_EQ(FindFirst(nullptr, L"body").get(), nullptr);
    EXPECT_EQ(RootOf(nullptr).get(), nullptr);
    SetText(missing, L"text");
    SetStates(missing, STATE_CHECKED, 0);
    Show(missing, false);
    SetControlValue(missing, value(1));
    EXPECT_EQ(GetAttribute(missing, "id"), L"");
    EXPECT_EQ(GetValueText(missing), L"");
    EXPECT_EQ(GetStates(missing), 0u);
    EXPECT_FALSE(HasAttribute(missing, "id"));
}

TEST_F(ElementOps, ShowAndHideSetTheDisplayAndTextIsSetWhole) {
    scoped_element plain = FindById(root, L"plain");
    Show(plain, false);
    EXPECT_EQ(Display(plain), L"none");
    Show(plain, true);
    EXPECT_EQ(Display(plain), L"block");
    SetText(plain, std::wstring_view(L"two\0parts", 9).substr(0, 3));
    EXPECT_EQ(GetValueText(plain), L"two") << "the length given is the length set";
    EXPECT_EQ(IdOf(FindFirst(root, L"[name='plain']")), L"plain");
}

TEST_F(ElementOps, ControlValuesFollowTheControlsType) {
    SetControlValue(FindById(root, L"b1"), value(0b110));
    SetControlValue(FindById(root, L"r0"), value(1));
    EXPECT_EQ(Checked(), 0b010110u) << "boxes 1 and 2 of the group; radio button 1";
    SetControlValue(FindById(root, L"r2"), value(7));
    EXPECT_EQ(Checked(), 0b010110u) << "an index past the group changes nothing";
    SetControlValue(FindById(root, L"b0"), value(0));
    EXPECT_EQ(Checked(), 0b010000u);

    scoped_element notes = FindById(root, L"notes");
    SetControlValue(notes, value(L"<i>new</i> notes"));
    EXPECT_EQ(GetValueText(notes), L"new notes");
    EXPECT_TRUE(FindFirst(notes, L"i")) << "taken as HTML";
    SetControlValue(notes, value(L""));
    EXPECT_EQ(GetValueText(notes), L"");
}

} // namespace
