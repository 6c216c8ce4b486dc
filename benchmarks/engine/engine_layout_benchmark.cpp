// Times the layout of a text page with inline elements that have edges and backgrounds, text-indent,
// justified lines and images aligned in the lines, and hit tests among positioned boxes with z-index,
// against the same-session baseline of laying out the same words as plain text. Glyphs have fixed widths,
// so the figures are the layout's own work, not the font system's.
// Usage: engine_layout_benchmark [rounds]

#include "engine/layout/page_layout.h"
#include "engine/view/view.h"
#include "tests/engine/fixed_metrics.h"
#include "tests/support/timing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace engine;
using testing_support::Median;
using testing_support::TimeMs;

constexpr int kParagraphs = 100;
constexpr int kWords = 40;
constexpr float kWidth = 800, kHeight = 600;

class NoHost : public Host {
public:
    void RequestData(View&, const std::u16string&, unsigned, Element*) override {}
    bool FindBehavior(View&, Element&, const std::string&, HandlerEntry&) override { return false; }
};

std::string TextPage(bool decorated) {
    std::string html = "<style>html { font-size: 10px } p { width: 400px }"
                       ".t { background: #ff0; padding: 1px 3px; border: 1px solid }"
                       ".d { text-indent: 2em; text-align: justify }</style><body>";
    for (int p = 0; p < kParagraphs; ++p) {
        html += decorated ? "<p class=d>" : "<p>";
        for (int w = 0; w < kWords; ++w)
            html += decorated && w % 8 == 3 ? "<span class=t>word</span> " : "word ";
        if (decorated) html += "<img src=a.png style='vertical-align: middle'>";
        html += "</p>";
    }
    return html;
}

std::string StackedPage() {
    std::string html = "<body><div style='position: relative; height: 600px'>";
    for (int i = 0; i < 200; ++i)
        html += "<div style='position: absolute; width: 60px; height: 40px; left: " + std::to_string(i * 37 % 740) +
                "px; top: " + std::to_string(i * 53 % 560) + "px; z-index: " + std::to_string(i % 7 - 3) +
                "'><span style='padding: 2px'>box</span></div>";
    return html + "<p>flow text under the boxes</p></div></body>";
}

struct Laid {
    explicit Laid(const std::string& html) {
        metrics.images[u"a.png"] = {20, 20};
        view.LoadHtml(html, u"");
        view.UpdateStyle();
    }
    double Layout() {
        return TimeMs([&] {
            layout.Invalidate();
            layout.Update(view.GetDocument(), kWidth, kHeight);
        });
    }
    double HitTests() {
        return TimeMs([&] {
            for (int k = 0; k < 1000; ++k) layout.HitTest(float(k * 7 % 800), float(k * 13 % 600));
        });
    }

    NoHost host;
    View view{host};
    engine_test::FixedMetrics metrics;
    PageLayout layout{metrics};
};

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 50;
    Laid plain(TextPage(false)), decorated(TextPage(true)), stacked(StackedPage());
    std::vector<double> plainLayout, decoratedLayout, plainHits, decoratedHits, stackedHits;
    for (int i = 0; i < rounds; ++i) {
        plainLayout.push_back(plain.Layout());
        decoratedLayout.push_back(decorated.Layout());
        stacked.Layout();
        plainHits.push_back(plain.HitTests());
        decoratedHits.push_back(decorated.HitTests());
        stackedHits.push_back(stacked.HitTests());
    }
    double baseline = Median(plainLayout);
    auto line = [&](const char* what, const std::vector<double>& times) {
        std::printf("%-52s median %8.3f ms  (%.2fx the baseline)\n", what, Median(times), Median(times) / baseline);
    };
    std::printf("rounds %d, %d paragraphs of %d words\n", rounds, kParagraphs, kWords);
    line("layout, inline edges, indent, justify, aligned images", decoratedLayout);
    line("1000 hit tests, plain text", plainHits);
    line("1000 hit tests, inline edges", decoratedHits);
    line("1000 hit tests, 200 positioned boxes with z-index", stackedHits);
    std::printf("%-52s median %8.3f ms\n", "baseline: layout, the same words as plain text", baseline);
}
