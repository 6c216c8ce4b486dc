#include "engine/win32/png_encoder.h"

#include "engine/win32/com_ptr.h"
#include "engine/win32/gdiplus_session.h"

#include <vector>

namespace engine::win32 {

bool EncoderFor(const wchar_t* mimeType, CLSID& clsid) {
    EnsureGdiplus();
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<unsigned char> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (size == 0 || Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(codecs[i].MimeType) == mimeType) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

bool PngEncoder(CLSID& clsid) { return EncoderFor(L"image/png", clsid); }

std::string EncodePng(Gdiplus::Bitmap& bitmap) { return EncodeImage(bitmap, L"image/png"); }

std::string EncodeImage(Gdiplus::Bitmap& bitmap, const wchar_t* mimeType) {
    CLSID clsid;
    ComPtr<IStream> stream;
    if (!EncoderFor(mimeType, clsid) || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Out()))) return {};
    if (bitmap.Save(stream.Get(), &clsid, nullptr) != Gdiplus::Ok) return {};
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    std::string bytes(static_cast<std::size_t>(stat.cbSize.QuadPart), '\0');
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    bytes.resize(read);
    return bytes;
}

} // namespace engine::win32
