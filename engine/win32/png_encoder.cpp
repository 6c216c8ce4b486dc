#include "engine/win32/png_encoder.h"

#include "engine/win32/gdiplus_session.h"

#include <string>
#include <vector>

namespace engine::win32 {

bool PngEncoder(CLSID& clsid) {
    EnsureGdiplus();
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<unsigned char> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (size == 0 || Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(codecs[i].MimeType) == L"image/png") {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

} // namespace engine::win32
