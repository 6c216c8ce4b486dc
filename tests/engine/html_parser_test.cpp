#include "engine/dom/document.h"
#include "engine/dom/utf.h"
#include "engine/html/html_parser.h"
#include "engine/html/html_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace engine;

std::string Parsed(std::string_view html) {
    Document doc;
    ParseHtml(html, doc);
    return InnerHtml(doc.Root());
}

TEST(HtmlParser, TakesSloppyMarkupInStride) {
    struct Case {
        const char* input;
        const char* tree;
    } cases[] = {
        {"<div id=a class=x>t</div>", R"(<div id="a" class="x">t</div>)"},
        {"<DIV ID='a'>t</DIV>", R"(<div id="a">t</div>)"},
        {"<input type=checkbox checked><b>x", R"(<input type="checkbox" checked=""><b>x</b>)"},
        {"<p>one<p>two", "<p>one</p><p>two</p>"},
        {"<ul><li>a<li>b</ul>", "<ul><li>a</li><li>b</li></ul>"},
        {"<span>a</div>b</span>", "<span>ab</span>"},
        {"<div><span>open</div>after", "<div><span>open</span></div>after"},
        {"a<!-- <b>not</b> -->b<!doctype html><?xml?>", "ab"},
        {"<unknown-tag x=1>y</unknown-tag>", R"(<unknown-tag x="1">y</unknown-tag>)"},
        {"<br><img src=a.png>text", R"(<br><img src="a.png">text)"},
        {"<div/>after", "<div></div>after"},
        {"1 < 2 and 3 > 2", "1 &lt; 2 and 3 &gt; 2"},
        {"<a title=\"x\" title=\"y\">", R"(<a title="x"></a>)"},
        {"<table><tr><td>a<td>b<tr><td>c</table>",
         "<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>"},
    };
    for (const Case& c : cases) EXPECT_EQ(Parsed(c.input), c.tree) << c.input;
}

TEST(HtmlParser, DecodesReferencesInTextAndAttributes) {
    Document doc;
    ParseHtml("<p title='a&amp;b &quot;c&quot;'>&lt;&#65;&#x42;&copy;&nbsp;&bogus; &amp &#0;&#x110000;</p>", doc);
    Element* p = doc.FirstElementByTag("p");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(*p->GetAttribute("title"), u"a&b \"c\"");
    EXPECT_EQ(p->TextContent(), u"<AB\u00A9\u00A0&bogus; & \uFFFD\uFFFD");
}

TEST(HtmlParser, KeepsStyleAndScriptTextRaw) {
    Document doc;
    ParseHtml("<style>a > b { x: '<p>' }</style><script>if (a<b) {}</SCRIPT><p>x</p>", doc);
    EXPECT_EQ(doc.FirstElementByTag("style")->TextContent(), u"a > b { x: '<p>' }");
    EXPECT_EQ(doc.FirstElementByTag("script")->TextContent(), u"if (a<b) {}");
    EXPECT_NE(doc.FirstElementByTag("p"), nullptr);
    // An unterminated raw-text element takes the rest of the page.
    ParseHtml("<style>body{}", doc);
    EXPECT_EQ(doc.FirstElementByTag("style")->TextContent(), u"body{}");
}

TEST(HtmlParser, MergesHtmlAttributesIntoTheRoot) {
    Document doc;
    ParseHtml("<!DOCTYPE html>\n<html lang=en>\n<head><title>T</title></head><body class=b>x</body></html>", doc);
    EXPECT_EQ(*doc.Root().GetAttribute("lang"), u"en");
    ASSERT_EQ(doc.Root().Children().size(), 2u) << "spaces between head and body are dropped";
    EXPECT_EQ(doc.FirstElementByTag("body")->TextContent(), u"x");
}

TEST(HtmlParser, ReadsUtf16PagesAndReplacesBrokenUtf8) {
    std::string utf16("\xFF\xFE", 2);
    for (char16_t c : std::u16string(u"<p>\u00FCber</p>")) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    Document doc;
    ParseHtml(PageBytesToUtf8(utf16), doc);
    EXPECT_EQ(doc.FirstElementByTag("p")->TextContent(), u"\u00FCber");
    ParseHtml(PageBytesToUtf8("\xEF\xBB\xBF<p>a\xC3(\xF0\x9F\x98\x80</p>"), doc);
    EXPECT_EQ(doc.FirstElementByTag("p")->TextContent(), u"a\uFFFD(\U0001F600");
}

TEST(HtmlParser, BoundsDepthAndSize) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<div>";
    Document doc;
    HtmlLimits limits;
    ParseHtml(deep, doc, limits);
    int depth = 0;
    for (Element* e = &doc.Root(); e->FirstElementChild(); e = e->FirstElementChild()) ++depth;
    EXPECT_LE(depth, limits.maxDepth);

    std::string wide;
    for (int i = 0; i < 300000; ++i) wide += "<b>";
    limits.maxNodes = 1000;
    ParseHtml(wide, doc, limits);
    std::size_t count = 0;
    std::function<void(Element&)> countAll = [&](Element& e) {
        for (const auto& c : e.Children()) {
            ++count;
            if (c->IsElement()) countAll(static_cast<Element&>(*c));
        }
    };
    countAll(doc.Root());
    EXPECT_LE(count, 1000u);
}

TEST(HtmlParser, FragmentsReplaceContentAndRoundTrip) {
    Document doc;
    ParseHtml("<div id=d><i>old</i></div>", doc);
    Element& d = *doc.FirstElementByTag("div");
    ParseHtmlFragment("<b>bold</b> &amp; <input value=\"a&quot;b\">", d);
    std::string html = InnerHtml(d);
    EXPECT_EQ(html, R"(<b>bold</b> &amp; <input value="a&quot;b">)");
    ParseHtmlFragment(html, d);
    EXPECT_EQ(InnerHtml(d), html);
    EXPECT_EQ(OuterHtml(d), "<div id=\"d\">" + html + "</div>");
}

} // namespace
