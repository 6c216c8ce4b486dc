#pragma once
// The class id of GDI+'s PNG encoder, for saving images (screenshots, test images).

#include "engine/win32/gdiplus_include.h"

#include <string>

namespace engine::win32 {

bool PngEncoder(CLSID& clsid);
// The bitmap as PNG bytes; empty when it cannot be encoded.
std::string EncodePng(Gdiplus::Bitmap& bitmap);

} // namespace engine::win32
