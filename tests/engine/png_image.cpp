#include "png_image.h"

#include "engine/win32/gdiplus_include.h"
#include "engine/win32/gdiplus_session.h"
#include "engine/win32/png_encoder.h"

namespace engine_test {

std::string SolidPng(int width, int height, std::uint32_t argb) {
    engine::win32::EnsureGdiplus();
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, Gdiplus::Color(static_cast<Gdiplus::ARGB>(argb)));
    CLSID clsid;
    IStream* stream = nullptr;
    if (!engine::win32::PngEncoder(clsid) || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return {};
    std::string bytes;
    if (bitmap.Save(stream, &clsid, nullptr) == Gdiplus::Ok) {
        STATSTG stat{};
        stream->Stat(&stat, STATFLAG_NONAME);
        bytes.resize(static_cast<std::size_t>(stat.cbSize.QuadPart));
        LARGE_INTEGER zero{};
        stream->Seek(zero, STREAM_SEEK_SET, nullptr);
        ULONG read = 0;
        stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
        bytes.resize(read);
    }
    stream->Release();
    return bytes;
}

} // namespace engine_test
