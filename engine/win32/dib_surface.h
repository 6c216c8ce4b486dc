#pragma once
// A 32-bit top-down DIB section with a memory DC: premultiplied pixels that GDI+ draws into and that
// BitBlt or UpdateLayeredWindow show.

#include <windows.h>

#include <cstdint>

namespace engine::win32 {

class DibSurface {
public:
    DibSurface() = default;
    ~DibSurface() { Release(); }
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    // False for an empty size, or when the system refuses one that large.
    bool Resize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    HDC Dc() const { return dc_; }
    std::uint32_t* Pixels() const { return pixels_; }
    std::uint32_t Pixel(int x, int y) const;

private:
    void Release();

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0, height_ = 0;
};

} // namespace engine::win32
