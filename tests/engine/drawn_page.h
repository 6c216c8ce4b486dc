#pragma once
// A page drawn into a bitmap by the real renderer; style and layout changes reach the renderer as they would
// in a window. Two small images are there to be asked for: half.png (half-transparent green), dot.png (blue).

#include "engine/win32/page_renderer.h"
#include "engine_test_support.h"

#include <memory>
#include <string>

namespace engine_test {

struct DrawnPage : TestHost {
    explicit DrawnPage(const std::string& html, int width = 100, int height = 60, bool transparent = true);
    void Invalidated(engine::View&, const engine::Invalidation& what) override;
    void DataArrived(engine::View&, const std::u16string&, unsigned) override;
    void Render();
    std::uint32_t At(int x, int y) const { return renderer->Surface().Pixel(x, y); }
    // Writes a pixel behind the renderer's back: it stays until that place is painted again.
    void Poke(int x, int y, std::uint32_t value) { renderer->Surface().Pixels()[y * width_ + x] = value; }
    engine::Element& Find(const char* selector) const;

    int width_, height_;
    bool transparent_;
    engine::View view{*this};
    std::unique_ptr<engine::win32::PageRenderer> renderer = std::make_unique<engine::win32::PageRenderer>(view);
};

} // namespace engine_test
