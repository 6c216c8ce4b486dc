#pragma once
// Pictures drawn for more than one display scale: beside "logo.png" a page's host may hold "logo_x125.png",
// "logo_x150.png", "logo_x200.png" and "logo_x300.png", the same picture at 1.25, 1.5, 2 and 3 times its size.

#include <string>
#include <string_view>

namespace engine {

// The factor of the picture to draw at a display scale: the nearest one carried that is not smaller,
// the largest above it.
float ImageVariantFactor(float scale);

// The URL of a picture at a factor ("art/logo.png" at 1.5 is "art/logo_x150.png"); the URL itself at 1.
std::u16string ImageVariantUrl(std::u16string_view url, float factor);

} // namespace engine
