#pragma once
// The class id of GDI+'s PNG encoder, for saving images (screenshots, test images).

#include "engine/win32/gdiplus_include.h"

namespace engine::win32 {

bool PngEncoder(CLSID& clsid);

} // namespace engine::win32
