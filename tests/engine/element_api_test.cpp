#include "engine_window.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using engine_test::EngineWindow;

constexpr char kPage[] = R"(<html><head><style>
  .hidden { display: none }
  #shown { display: block }
</style></head>
<body>
  <div id=list><span id=first name=n1>one</span><span id=second name=n2 class=hidden>two</span></div>
  <div id=shown>x</div>
  <div id=boxes><input type=checkbox name=grp id=c0><input type=checkbox name=grp id=c1><input type=checkbox name=grp id=c2></div>
  <div><input type=radio name=opt id=o0 checked><input type=radio name=opt id=o1></div>
  <progress id=bar max=100></progress>
  <richtext id=rich>old</richtext>
  <button id=btn role='default-button'>OK</button>
</body></html>)";

void HLCALL KeepText(const wchar_t* text, unsigned length, void* param) {
    static_cast<std::wstring*>(param)->assign(text, length);
}

void HLCALL KeepBytes(const unsigned char* bytes, unsigned length, void* param) {
    static_cast<std::string*>(param)->assign(reinterpret_cast<const char*>(bytes), length);
}

int HLCALL KeepFirst(HELEMENT he, void* param) {
    *static_cast<HELEMENT*>(param) = he;
    return 1;
}

std::wstring Text(HELEMENT he) {
    std::wstring out;
    HTMLayoutGetElementInnerText16(he, KeepText, &out);
    return out;
}

std::wstring Style(HELEMENT he, const char* name) {
    const wchar_t* value = nullptr;
    HTMLayoutGetStyleAttribute(he, name, &value);
    return value ? value : L"<none>";
}

struct ElementApi : ::testing::Test {
    void SetUp() override { window.Load(kPage); }
    EngineWindow window;
};

TEST_F(ElementApi, HandlesLiveWhileUsedAndAreRefusedAfter) {
    HELEMENT first = window.Find("#first");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(HTMLayout_UseElement(first), HL_OK);
    EXPECT_EQ(HTMLayoutDeleteElement(first), HL_OK);
    EXPECT_EQ(window.Find("#first"), nullptr);
    // Used, so still readable though out of the page.
    EXPECT_EQ(window.Attribute(first, "name"), L"n1");
    HELEMENT parent = reinterpret_cast<HELEMENT>(1);
    EXPECT_EQ(HTMLayoutGetParentElement(first, &parent), HL_OK);
    EXPECT_EQ(parent, nullptr);
    EXPECT_EQ(HTMLayout_UnuseElement(first), HL_OK);
    // The last use gone, the handle is stale and refused, not followed.
    EXPECT_EQ(HTMLayout_UnuseElement(first), HL_INVALID_HANDLE);
    EXPECT_EQ(HTMLayoutGetParentElement(first, &parent), HL_INVALID_HANDLE);
    EXPECT_EQ(HTMLayoutSetElementState(first, 0x40, 0, TRUE), HL_INVALID_HANDLE);
    EXPECT_EQ(HTMLayout_UseElement(nullptr), HL_INVALID_HANDLE);
    EXPECT_EQ(HTMLayout_UseElement(reinterpret_cast<HELEMENT>(0x7FFFFFFF)), HL_INVALID_HANDLE);
}

TEST_F(ElementApi, ElementsUsedAcrossAPageReloadSurviveDetached) {
    HELEMENT btn = window.Find("#btn");
    HTMLayout_UseElement(btn);
    HTMLayout_UseElement(btn);
    window.Load("<p>another page</p>");
    EXPECT_EQ(window.Attribute(btn, "id"), L"btn");
    HTMLayout_UnuseElement(btn);
    EXPECT_EQ(window.Attribute(btn, "id"), L"btn") << "one use is still held";
    HTMLayout_UnuseElement(btn);
    EXPECT_EQ(window.Attribute(btn, "id"), L"<none>");
}

TEST_F(ElementApi, TreeNavigation) {
    HELEMENT list = window.Find("#list");
    unsigned count = 0, index = 9;
    ASSERT_EQ(HTMLayoutGetChildrenCount(list, &count), HL_OK);
    EXPECT_EQ(count, 2u);
    HELEMENT second = nullptr, back = nullptr, none = reinterpret_cast<HELEMENT>(1);
    HTMLayoutGetNthChild(list, 1, &second);
    EXPECT_EQ(second, window.Find("#second"));
    HTMLayoutGetElementIndex(second, &index);
    EXPECT_EQ(index, 1u);
    HTMLayoutGetPreviousSibling(second, &back);
    EXPECT_EQ(back, window.Find("#first"));
    HTMLayoutGetNextSibling(second, &none);
    EXPECT_EQ(none, nullptr);
    HTMLayoutGetNthChild(list, 5, &none);
    EXPECT_EQ(none, nullptr);
    const char* tag = nullptr;
    HTMLayoutGetElementType(second, &tag);
    EXPECT_STREQ(tag, "span");
}

TEST_F(ElementApi, CreatedElementsGoWhereTheyMayOnly) {
    HELEMENT created = nullptr;
    ASSERT_EQ(HTMLayoutCreateElement("SPAN", L"new", &created), HL_OK);
    HELEMENT list = window.Find("#list");
    ASSERT_EQ(HTMLayoutInsertElement(created, list, 1), HL_OK);
    HTMLayout_UnuseElement(created);
    HELEMENT middle = nullptr;
    HTMLayoutGetNthChild(list, 1, &middle);
    EXPECT_EQ(middle, created) << "kept by the page after its creator's use is gone";
    EXPECT_EQ(Text(middle), L"new");
    EXPECT_EQ(HTMLayoutInsertElement(list, window.Find("#first"), 0), HL_INVALID_PARAMETER) << "under itself";
    EXPECT_EQ(HTMLayoutInsertElement(window.Root(), list, 0), HL_INVALID_PARAMETER) << "the root moves nowhere";
    EXPECT_EQ(HTMLayoutCreateElement("", nullptr, &created), HL_INVALID_PARAMETER);
}

TEST_F(ElementApi, LookupsBySelectorAndById) {
    EXPECT_EQ(window.Find("[name='n2']"), window.Find("#second"));
    EXPECT_EQ(window.Find("[type='checkbox'][name='grp']"), window.Find("#c0"));
    EXPECT_EQ(window.Find("[role='default-button']"), window.Find("#btn"));
    EXPECT_NE(window.Find("body"), nullptr);
    HELEMENT found = nullptr;
    EXPECT_EQ(HTMLayoutSelectElements(window.Root(), "[broken", KeepFirst, &found), HL_INVALID_PARAMETER);
    HTMLayoutVisitElements(window.Root(), nullptr, "id", L"rich", KeepFirst, &found, 0);
    EXPECT_EQ(window.Attribute(found, "id"), L"rich");
    int matches = 0;
    HTMLayoutElementMatches(found, "body > richtext", &matches);
    EXPECT_TRUE(matches);
    HELEMENT parent = nullptr;
    HTMLayoutSelectParent(window.Find("#c1"), "div", 0, &parent);
    EXPECT_EQ(parent, window.Find("#boxes"));
}

TEST_F(ElementApi, AttributesReadSetAndRemove) {
    HELEMENT first = window.Find("#first");
    EXPECT_EQ(window.Attribute(first, "ID"), L"first");
    EXPECT_EQ(window.Attribute(first, "missing"), L"<none>");
    HTMLayoutSetAttributeByName(first, "selected", L"");
    EXPECT_EQ(window.Attribute(first, "selected"), L"");
    HTMLayoutSetAttributeByName(first, "selected", nullptr);
    EXPECT_EQ(window.Attribute(first, "selected"), L"<none>");
    unsigned count = 0;
    HTMLayoutGetAttributeCount(first, &count);
    EXPECT_EQ(count, 2u);

    // A value the program holds stays valid while other attributes of the element change.
    const wchar_t* id = nullptr;
    HTMLayoutGetAttributeByName(first, "id", &id);
    for (int i = 0; i < 40; ++i) {
        std::string name(1, 'a');
        name += std::to_string(i);
        HTMLayoutSetAttributeByName(first, name.c_str(), L"v");
    }
    HTMLayoutSetAttributeByName(first, "name", nullptr);
    EXPECT_STREQ(id, L"first");
}

TEST_F(ElementApi, RuntimeDisplayOverridesTheSheet) {
    HELEMENT second = window.Find("#second");
    HELEMENT shown = window.Find("#shown");
    EXPECT_EQ(Style(second, "display"), L"none");
    HTMLayoutSetStyleAttribute(second, "display", L"block");
    HTMLayoutSetStyleAttribute(shown, "display", L"none");
    EXPECT_EQ(Style(second, "display"), L"block");
    EXPECT_EQ(Style(shown, "display"), L"none");
    HTMLayoutSetStyleAttribute(shown, "display", nullptr);
    EXPECT_EQ(Style(shown, "display"), L"block");
    EXPECT_EQ(Style(shown, "behavior"), L"<none>");
    EXPECT_EQ(Style(window.Find("#btn"), "behavior"), L"button");
}

TEST_F(ElementApi, StatesSetAndClear) {
    HELEMENT btn = window.Find("#btn");
    HTMLayoutSetElementState(btn, 0x80 | 0x08, 0, TRUE);
    EXPECT_EQ(window.State(btn) & (0x80 | 0x08), 0x80u | 0x08u);
    HELEMENT rich = window.Find("#rich");
    HTMLayoutSetElementState(rich, 0x08, 0, TRUE);
    EXPECT_EQ(window.State(btn) & 0x08, 0u) << "one element has the focus";
    HTMLayoutSetElementState(btn, 0, 0x80, FALSE);
    EXPECT_EQ(window.State(btn) & 0x80, 0u);
    HTMLayoutSetElementState(rich, 0x200, 0, TRUE);
    HTMLayoutSetElementState(rich, 0x400, 0, TRUE);
    EXPECT_EQ(window.State(rich) & (0x200 | 0x400), 0x400u);
}

TEST_F(ElementApi, TextAndHtml) {
    HELEMENT rich = window.Find("#rich");
    HTMLayoutSetElementInnerText16(rich, L"new <b>text</b>XYZ", 15);
    EXPECT_EQ(Text(rich), L"new <b>text</b>");
    const char html[] = "<b>bold</b> and <i>it</i>";
    HTMLayoutSetElementHtml(rich, reinterpret_cast<const unsigned char*>(html), sizeof html - 1);
    EXPECT_EQ(Text(rich), L"bold and it");
    std::string out;
    HTMLayoutGetElementHtml(rich, FALSE, KeepBytes, &out);
    EXPECT_EQ(out, html);
    HTMLayoutSetElementInnerText16(rich, nullptr, 0);
    EXPECT_EQ(Text(rich), L"");
    EXPECT_EQ(HTMLayoutSetElementInnerText16(rich, nullptr, 4), HL_INVALID_PARAMETER);
}

TEST_F(ElementApi, ControlTypesAndValues) {
    auto type = [&](const char* selector) {
        unsigned t = 99;
        HTMLayoutControlGetType(window.Find(selector), &t);
        return t;
    };
    EXPECT_EQ(type("#c0"), 5u);
    EXPECT_EQ(type("#o0"), 6u);
    EXPECT_EQ(type("#rich"), 11u);
    EXPECT_EQ(type("#btn"), 4u);
    EXPECT_EQ(type("#shown"), 0u);
    EXPECT_EQ(type("#bar"), 10u);

    HL_VALUE v;
    ValueInit(&v);
    ValueIntDataSet(&v, 1, T_INT, 0);
    HTMLayoutControlSetValue(window.Find("#c1"), &v);
    EXPECT_TRUE(window.State(window.Find("#c1")) & STATE_CHECKED);
    HTMLayoutControlSetValue(window.Find("#o1"), &v);
    EXPECT_TRUE(window.State(window.Find("#o1")) & STATE_CHECKED);
    EXPECT_FALSE(window.State(window.Find("#o0")) & STATE_CHECKED) << "one radio of a group is checked";

    ValueIntDataSet(&v, 42, T_INT, 0);
    HTMLayoutControlSetValue(window.Find("#bar"), &v);
    ValueClear(&v);
    HTMLayoutControlGetValue(window.Find("#bar"), &v);
    int n = 0;
    EXPECT_EQ(ValueIntData(&v, &n), unsigned(HV_OK));
    EXPECT_EQ(n, 42);

    HTMLayoutControlGetValue(window.Find("#c1"), &v);
    EXPECT_EQ(ValueToString(&v, 0), unsigned(HV_OK));
    const wchar_t* chars = nullptr;
    unsigned length = 0;
    ValueStringData(&v, &chars, &length);
    EXPECT_EQ(std::wstring(chars, length), L"true");
    ValueClear(&v);
}

TEST(Values, CopyClearAndConvert) {
    HL_VALUE a, b;
    ValueInit(&a);
    ValueInit(&b);
    ValueStringDataSet(&a, L"text", 4, 0);
    ValueCopy(&b, &a);
    ValueClear(&a);
    const wchar_t* chars = nullptr;
    unsigned length = 0;
    ASSERT_EQ(ValueStringData(&b, &chars, &length), unsigned(HV_OK));
    EXPECT_EQ(std::wstring(chars, length), L"text") << "a copy owns its text";
    int n = 0;
    EXPECT_EQ(ValueIntData(&b, &n), unsigned(HV_INCOMPATIBLE_TYPE));
    ValueIntDataSet(&b, -7, T_INT, 0);
    ValueToString(&b, 0);
    ValueStringData(&b, &chars, &length);
    EXPECT_EQ(std::wstring(chars, length), L"-7");
    ValueClear(&b);
    EXPECT_EQ(ValueClear(nullptr), unsigned(HV_BAD_PARAMETER));
}

} // namespace
