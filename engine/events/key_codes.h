#pragma once
// The virtual-key codes the engine's own key handling looks at; the platform-free parts of the engine do
// not include <windows.h>.

namespace engine {

constexpr unsigned kVkTab = 0x09;
constexpr unsigned kVkReturn = 0x0D;
constexpr unsigned kVkSpace = 0x20;

} // namespace engine
