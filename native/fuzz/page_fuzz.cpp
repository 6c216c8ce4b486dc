// A page with its style sheet through parse, cascade, layout and hit testing. The input is the page; after
// the first NUL byte comes the text of the style sheet that a <link> of the page would load.
#include "tests/engine/fixed_metrics.h"
#include "engine/layout/page_layout.h"
#include "engine/view/view.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

class SheetHost : public engine::Host {
  public:
    explicit SheetHost(std::string_view sheet) : sheet_(sheet) {}
    void RequestData(engine::View& view, const std::u16string& url, unsigned, engine::Element*) override {
        if (url == u"fuzz.css") view.DataReady(url, sheet_);
    }
    bool FindBehavior(engine::View&, engine::Element&, const std::string&, engine::HandlerEntry&) override {
        return false;
    }

  private:
    std::string_view sheet_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    std::string_view page = input.substr(0, split);
    std::string_view sheet = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

    SheetHost host(sheet);
    engine::View view(host);
    view.LoadHtml(page, u"");
    view.UpdateStyle();
    engine_test::FixedMetrics metrics;
    engine::PageLayout layout(metrics);
    layout.Update(view.GetDocument(), 700, 500);
    for (float y = 0; y < 500; y += 50)
        layout.HitTest(350, y);
    layout.MinWidth(view.GetDocument());
    return 0;
}
