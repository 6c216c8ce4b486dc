#pragma once
// PNG bytes made with GDI+ for tests: a solid image of one colour (alpha allowed).

#include <cstdint>
#include <string>

namespace engine_test {

std::string SolidPng(int width, int height, std::uint32_t argb);

} // namespace engine_test
