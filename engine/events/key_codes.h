#pragma once
// The virtual-key codes the engine's own key handling looks at; the platform-free parts of the engine do
// not include <windows.h>.

namespace engine {

constexpr unsigned kVkTab = 0x09;
constexpr unsigned kVkReturn = 0x0D;
constexpr unsigned kVkSpace = 0x20;
constexpr unsigned kVkEnd = 0x23;
constexpr unsigned kVkHome = 0x24;
constexpr unsigned kVkLeft = 0x25;
constexpr unsigned kVkDown = 0x28;

} // namespace engine
