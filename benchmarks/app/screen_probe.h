#pragma once
// A small area of the screen, read back to tell when a window's paint reached it.
// NOTE: reading the screen costs Wine an X round trip that grows with the area, so probes look at small
// areas that the awaited paint is sure to change.

#include <windows.h>

#include <vector>

class ScreenProbe {
  public:
    explicit ScreenProbe(RECT area) : area_(area) {
        screen_ = GetDC(nullptr);
        memory_ = CreateCompatibleDC(screen_);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, Width(), -Height(), 1, 32};
        bitmap_ =
            CreateDIBSection(screen_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        SelectObject(memory_, bitmap_);
    }
    ~ScreenProbe() {
        DeleteDC(memory_);
        DeleteObject(bitmap_);
        ReleaseDC(nullptr, screen_);
    }
    ScreenProbe(const ScreenProbe&) = delete;
    ScreenProbe& operator=(const ScreenProbe&) = delete;

    int Width() const { return area_.right - area_.left; }
    int Height() const { return area_.bottom - area_.top; }
    void Grab() {
        BitBlt(memory_, 0, 0, Width(), Height(), screen_, area_.left, area_.top, SRCCOPY);
        GdiFlush();
    }
    // Some pixel differs from `empty` (the bare display's colour).
    bool Painted(unsigned empty) {
        Grab();
        for (int i = 0; i < Width() * Height(); ++i)
            if ((bits_[i] & 0xFFFFFF) != empty) return true;
        return false;
    }
    std::vector<unsigned> Snapshot() {
        Grab();
        return std::vector<unsigned>(bits_, bits_ + Width() * Height());
    }
    bool Differs(const std::vector<unsigned>& before) {
        Grab();
        for (size_t i = 0; i < before.size(); ++i)
            if ((bits_[i] & 0xFFFFFF) != (before[i] & 0xFFFFFF)) return true;
        return false;
    }

  private:
    RECT area_{};
    HDC screen_ = nullptr, memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    unsigned* bits_ = nullptr;
};
