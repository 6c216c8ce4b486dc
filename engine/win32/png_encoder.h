#pragma once
// GDI+'s image encoders, for saving images (screenshots, test images).

#include "engine/win32/gdiplus_include.h"

#include <string>

namespace engine::win32 {

bool EncoderFor(const wchar_t* mimeType, CLSID& clsid);
bool PngEncoder(CLSID& clsid);
// The bitmap as PNG bytes, or in the format of the MIME type; empty when it cannot be encoded.
std::string EncodePng(Gdiplus::Bitmap& bitmap);
std::string EncodeImage(Gdiplus::Bitmap& bitmap, const wchar_t* mimeType);

} // namespace engine::win32
