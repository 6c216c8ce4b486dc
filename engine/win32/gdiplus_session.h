#pragma once
// GDI+ started once for the process, on first use, and shut down at exit.

namespace engine::win32 {

void EnsureGdiplus();

} // namespace engine::win32
