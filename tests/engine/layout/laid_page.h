#pragma once
// A page laid out with fixed-width glyphs, asked where its elements are and what lies under a point.

#include "../engine_test_support.h"
#include "../fixed_metrics.h"
#include "engine/layout/page_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace engine_test {

// Fonts are 10px (5px glyphs, lines 10px) unless a test says otherwise.
inline constexpr char kLayoutBase[] = "<style>html { font-size: 10px } body { margin: 0 }</style>";

struct Laid {
    explicit Laid(const std::string& body, float width = 200, float height = 100) : page(kLayoutBase + body) {
        layout.Update(page.view.GetDocument(), width, height);
    }
    // Lays the page out again, as after an image arrives.
    void Relayout(float width = 200, float height = 100) {
        layout.Invalidate();
        layout.Update(page.view.GetDocument(), width, height);
    }
    engine::RectF Border(std::string_view selector) {
        engine::RectF border, content;
        EXPECT_TRUE(layout.Locate(page.Find(selector), border, content)) << selector;
        return border;
    }
    engine::RectF Content(std::string_view selector) {
        engine::RectF border, content;
        EXPECT_TRUE(layout.Locate(page.Find(selector), border, content)) << selector;
        return content;
    }
    std::string IdAt(float x, float y) {
        engine::Element* e = layout.HitTest(x, y);
        const std::u16string* id = e ? e->Id() : nullptr;
        return id ? std::string(id->begin(), id->end()) : e ? e->Tag() : "none";
    }

    Page page;
    FixedMetrics metrics;
    engine::PageLayout layout{metrics};
};

inline std::string Rect(const engine::RectF& r) {
    return std::to_string(int(r.x)) + "," + std::to_string(int(r.y)) + " " + std::to_string(int(r.w)) + "x" +
           std::to_string(int(r.h));
}

} // namespace engine_test
