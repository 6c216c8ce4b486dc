#include "engine/win32/image_decoder.h"

#include "engine/win32/com_ptr.h"
#include "engine/win32/gdiplus_session.h"
#include "engine/win32/pixel_target.h"

#include <shlwapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

namespace engine::win32 {
namespace {

constexpr std::int64_t kMaxPixels = 4096 * 4096;
constexpr std::size_t kCacheBudget = 64 << 20; // bytes of images nobody shows any more
constexpr unsigned char kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::unique_ptr<DecodedImage> Allocate(UINT width, UINT height) {
    if (width == 0 || height == 0 || std::int64_t(width) * height > kMaxPixels) return nullptr;
    auto image = std::make_unique<DecodedImage>();
    image->width = static_cast<int>(width);
    image->height = static_cast<int>(height);
    image->pixels.resize(std::size_t(width) * height);
    image->rowStart.resize(height);
    for (UINT y = 0; y < height; ++y)
        image->rowStart[y] = y * width;
    return image;
}

// The PNG decoder's class object, taken from the codec library itself: creating a decoder through COM
// activation or the imaging factory looked the codec up in the registry every time (about a millisecond
// each under Wine, against a few microseconds this way), and needs no COM apartment on the caller's thread.
IClassFactory* PngDecoderClass() {
    static IClassFactory* factory = [] {
        IClassFactory* found = nullptr;
        HMODULE codecs = LoadLibraryW(L"windowscodecs.dll"); // kept for the life of the process
        using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
        auto get = codecs ? reinterpret_cast<GetClassObject>(
                                reinterpret_cast<void*>(GetProcAddress(codecs, "DllGetClassObject")))
                          : nullptr;
        if (get && FAILED(get(CLSID_WICPngDecoder, IID_IClassFactory, reinterpret_cast<void**>(&found))))
            found = nullptr;
        return found;
    }();
    return factory;
}

bool IsPng(std::string_view bytes) {
    return bytes.size() > sizeof kPngSignature && std::memcmp(bytes.data(), kPngSignature, sizeof kPngSignature) == 0;
}

// PNGs of 8-bit RGB(A) straight from the decoder; other pixel formats are left to GDI+. `refused` says that
// the image is too large to be decoded any way.
std::unique_ptr<DecodedImage> DecodePng(std::string_view bytes, bool& refused) {
    IClassFactory* factory = PngDecoderClass();
    if (!factory || bytes.size() > UINT_MAX) return nullptr;
    ComPtr<IStream> stream;
    *stream.Out() = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (!stream.Get() || FAILED(factory->CreateInstance(nullptr, IID_IWICBitmapDecoder, reinterpret_cast<void**>(decoder.Out()))) ||
        FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) || FAILED(decoder->GetFrame(0, frame.Out())))
        return nullptr;
    UINT width = 0, height = 0;
    WICPixelFormatGUID format{};
    if (FAILED(frame->GetSize(&width, &height)) || FAILED(frame->GetPixelFormat(&format))) return nullptr;
    bool straight = format == GUID_WICPixelFormat32bppBGRA, premultiplied = format == GUID_WICPixelFormat32bppPBGRA;
    bool rgb = format == GUID_WICPixelFormat24bppBGR;
    refused = width == 0 || height == 0 || std::int64_t(width) * height > kMaxPixels;
    if (refused || (!straight && !premultiplied && !rgb)) return nullptr;
    auto image = Allocate(width, height);
    if (!image) return nullptr;
    if (rgb) {
        std::vector<BYTE> packed(std::size_t(width) * 3 * height);
        if (width > UINT_MAX / 3 || FAILED(frame->CopyPixels(nullptr, width * 3, static_cast<UINT>(packed.size()), packed.data())))
            return nullptr;
        for (std::size_t i = 0; i < image->pixels.size(); ++i)
            image->pixels[i] = 0xFF000000u | std::uint32_t(packed[i * 3 + 2]) << 16 | std::uint32_t(packed[i * 3 + 1]) << 8 |
                               packed[i * 3];
        return image;
    }
    if (FAILED(frame->CopyPixels(nullptr, width * 4, static_cast<UINT>(image->pixels.size() * 4),
                                 reinterpret_cast<BYTE*>(image->pixels.data()))))
        return nullptr;
    if (straight) std::transform(image->pixels.begin(), image->pixels.end(), image->pixels.begin(), Premultiplied);
    return image;
}

// Every other format and kind of PNG that GDI+ reads, converted to premultiplied pixels as it goes.
std::unique_ptr<DecodedImage> DecodeWithGdiplus(std::string_view bytes) {
    EnsureGdiplus();
    ComPtr<IStream> stream;
    *stream.Out() = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    if (!stream.Get()) return nullptr;
    Gdiplus::Bitmap decoded(stream.Get());
    if (decoded.GetLastStatus() != Gdiplus::Ok) return nullptr;
    auto image = Allocate(decoded.GetWidth(), decoded.GetHeight());
    if (!image) return nullptr;
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(image->width);
    data.Height = static_cast<UINT>(image->height);
    data.Stride = image->width * 4;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = image->pixels.data();
    Gdiplus::Rect all(0, 0, image->width, image->height);
    if (decoded.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppPARGB,
                         &data) != Gdiplus::Ok)
        return nullptr;
    decoded.UnlockBits(&data);
    return image;
}

std::shared_ptr<const DecodedImage> Decode(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > UINT_MAX) return nullptr;
    bool refused = false;
    std::unique_ptr<DecodedImage> image = IsPng(bytes) ? DecodePng(bytes, refused) : nullptr;
    if (!image && !refused) image = DecodeWithGdiplus(bytes);
    if (!image) return nullptr;
    image->ShareRepeatedRows();
    return std::shared_ptr<const DecodedImage>(std::move(image));
}

struct CachedImage {
    std::string bytes; // the whole content, so that equal hashes are never taken for equal images
    std::shared_ptr<const DecodedImage> image;
};

std::size_t Cost(const CachedImage& c) { return c.bytes.size() + (c.image ? c.image->pixels.size() * 4 : 0); }

} // namespace

// A window's frame is hundreds of equal rows between its rounded ends: held once, its 1.4 MB become a few
// dozen kilobytes. Rows move only towards the front, so the compaction needs no second buffer.
void DecodedImage::ShareRepeatedRows() {
    const std::size_t w = static_cast<std::size_t>(width);
    std::size_t kept = 0;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * w;
        if (y > 0 && std::equal(row, row + w, pixels.data() + rowStart[y - 1])) {
            rowStart[y] = rowStart[y - 1];
            continue;
        }
        if (pixels.data() + kept != row) std::copy(row, row + w, pixels.data() + kept);
        rowStart[y] = static_cast<std::uint32_t>(kept);
        kept += w;
    }
    if (kept == pixels.size()) return;
    pixels.resize(kept);
    pixels.shrink_to_fit();
}

Gdiplus::Bitmap* DecodedImage::Bitmap() const {
    std::call_once(made_, [this] {
        const std::uint32_t* first = pixels.data();
        if (pixels.size() != std::size_t(width) * height) {
            whole_.reserve(std::size_t(width) * height);
            for (int y = 0; y < height; ++y)
                whole_.insert(whole_.end(), Row(y), Row(y) + width);
            first = whole_.data();
        }
        EnsureGdiplus();
        auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, width * 4, PixelFormat32bppPARGB,
                                                        reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(first)));
        if (bitmap->GetLastStatus() == Gdiplus::Ok) bitmap_ = std::move(bitmap);
    });
    return bitmap_.get();
}

void LoadImageCodecs() { PngDecoderClass(); }

std::shared_ptr<const DecodedImage> DecodeImage(std::string_view bytes) {
    static std::mutex mutex;
    static std::unordered_multimap<std::size_t, CachedImage> cache;
    static std::size_t cached = 0;
    std::lock_guard<std::mutex> lock(mutex);
    std::size_t hash = std::hash<std::string_view>{}(bytes);
    auto [first, last] = cache.equal_range(hash);
    for (auto it = first; it != last; ++it)
        if (it->second.bytes == bytes) return it->second.image;
    if (cached > kCacheBudget) {
        for (auto it = cache.begin(); it != cache.end();) {
            if (it->second.image.use_count() > 1) { // still shown somewhere
                ++it;
                continue;
            }
            cached -= Cost(it->second);
            it = cache.erase(it);
        }
    }
    CachedImage entry{std::string(bytes), Decode(bytes)};
    cached += Cost(entry);
    return cache.emplace(hash, std::move(entry))->second.image;
}

} // namespace engine::win32
