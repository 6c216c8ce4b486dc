#pragma once
// PNG bytes made with GDI+ for tests: a solid image of one colour (alpha allowed), or rows of one colour each.

#include <cstdint>
#include <string>
#include <vector>

namespace engine_test {

std::string SolidPng(int width, int height, std::uint32_t argb);
std::string RowsPng(int width, const std::vector<std::uint32_t>& rowArgb);

} // namespace engine_test
