#pragma once

namespace engine::win32 {

// Starts GDI+ and loads the image codecs on a pool thread, once per process: called when a window first
// meets the engine, it lets the first page's parsing and styling hide what the first drawing would otherwise
// wait for (the codec library, GDI+'s first graphics; several milliseconds under Wine).
void WarmUpDrawing();

} // namespace engine::win32
