#pragma once
// GDI+ started once for the process, on first use, from any thread.

namespace engine::win32 {

void EnsureGdiplus();

} // namespace engine::win32
