#include "drawn_page.h"

#include "png_image.h"

#include <gtest/gtest.h>

namespace engine_test {

DrawnPage::DrawnPage(const std::string& html, int width, int height, bool transparent)
    : width_(width), height_(height), transparent_(transparent) {
    answers[u"half.png"] = SolidPng(4, 4, 0x8000FF00);
    answers[u"dot.png"] = SolidPng(2, 2, 0xFF0000FF);
    view.LoadHtml("<style>body { margin: 0 }</style>" + html, u"");
    Render();
}

void DrawnPage::Invalidated(engine::View&, const engine::Invalidation& what) {
    if (renderer) renderer->Invalidate(what);
}

void DrawnPage::DataArrived(engine::View&, const std::u16string&, unsigned) {
    if (renderer) renderer->Invalidate({false, true, false});
}

void DrawnPage::Render() { ASSERT_TRUE(renderer->Render(width_, height_, transparent_)); }

engine::Element& DrawnPage::Find(const char* selector) const {
    engine::Element* found = FirstMatch(*view.GetDocument(), selector);
    if (!found) ADD_FAILURE() << "no element matches " << selector;
    return found ? *found : view.GetDocument()->Root();
}

} // namespace engine_test
