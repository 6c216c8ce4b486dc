// Times the engine's first half on a page shaped like the main window's (about 150 elements, tabs, check
// boxes, 60 rules): load (parse, cascade, behaviors), a hover change and a tab switch, against a full
// restyle of the same page as the baseline.
// Usage: engine_style_benchmark [rounds]
#include "engine/css/selector_matcher.h"
#include "engine/view/view.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace engine;

class QuietHost : public Host {
public:
    void RequestData(View&, const std::u16string&, unsigned, Element*) override {}
    bool FindBehavior(View&, Element&, const std::string&, HandlerEntry&) override { return false; }
};

std::string MakePage() {
    std::string css = "<style>body { margin:0; font: 12px Tahoma } .tabs > [name] { display:none }"
                      ".tabs > [name]:expanded { display:block } .strip > [panel] { background: url(tab.png) }"
                      ".strip > [panel]:current { background: url(tab-on.png); color: white }"
                      ".btn:hover { background-image: url(btn-hover.png) } .btn:active { top: 1px }"
                      "input[type=checkbox]:checked + label { color: green } label:hover { text-decoration: underline }";
    for (int i = 0; i < 50; ++i)
        css += "#item" + std::to_string(i) + " { margin: 2px 4px; padding: 1px } .row" + std::to_string(i % 7) +
               " span { color: #333 }";
    css += "</style>";
    std::string body = "<body><div class=tabs id=main><div class=strip>";
    for (int t = 0; t < 4; ++t) body += "<span panel=p" + std::to_string(t) + (t ? ">" : " selected>") + "Tab</span>";
    body += "</div>";
    for (int t = 0; t < 4; ++t) {
        body += "<div name=p" + std::to_string(t) + ">";
        for (int i = 0; i < 12; ++i) {
            int n = t * 12 + i;
            body += "<div class='row" + std::to_string(n % 7) + "' id=item" + std::to_string(n) +
                    "><input type=checkbox id=box" + std::to_string(n) + "><label>Item <span>x</span></label></div>";
        }
        body += "</div>";
    }
    body += "<button class=btn id=clean>Clean</button></div></body>";
    return css + body;
}

double MedianMicroseconds(int rounds, const std::function<void()>& work) {
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

Element* First(Document& doc, const char* selector) {
    Element* found = nullptr;
    SelectElements(doc.Root(), *ParseSelectorList(selector), [&](Element& e) {
        found = &e;
        return true;
    });
    return found;
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    std::string page = MakePage();
    QuietHost host;
    View view(host);
    double load = MedianMicroseconds(rounds, [&] { view.LoadHtml(page, u""); });
    Document& doc = *view.GetDocument();
    std::size_t elements = 0;
    SelectElements(doc.Root(), *ParseSelectorList("*"), [&](Element&) { return ++elements, false; });

    double full = MedianMicroseconds(rounds, [&] {
        doc.Root().MarkStyleDirty();
        view.UpdateStyle();
    });
    Element* a = First(doc, "#clean");
    Element* b = First(doc, "#box3 + label");
    bool flip = false;
    double hover = MedianMicroseconds(rounds, [&] {
        doc.SetHover((flip = !flip) ? a : b);
        view.UpdateStyle();
    });
    Element* tab1 = First(doc, "[panel=p1]");
    Element* panel1 = First(doc, "[name=p1]");
    double tab = MedianMicroseconds(rounds, [&] {
        flip = !flip;
        tab1->ChangeStates(flip ? STATE_CURRENT : 0, flip ? 0 : STATE_CURRENT);
        panel1->ChangeStates(flip ? STATE_EXPANDED : STATE_COLLAPSED, 0);
        view.UpdateStyle();
    });
    std::printf("page of %zu elements, %d rounds, medians:\n", elements, rounds);
    std::printf("  load (parse, cascade, behaviors) %8.1f us  %5.2f x full restyle\n", load, load / full);
    std::printf("  full restyle (baseline)          %8.1f us  1.00\n", full);
    std::printf("  hover change                     %8.1f us  %5.2f x full restyle\n", hover, hover / full);
    std::printf("  tab switch (states)              %8.1f us  %5.2f x full restyle\n", tab, tab / full);
    return 0;
}
